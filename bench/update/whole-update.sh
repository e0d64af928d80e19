#!/usr/bin/env bash
# Whole-update benchmark: the updater, driven by the dialog robot against the update service
# stand-in, from start to exit for one package of a mixed payload, against the same steps by hand
# in the same layout: `curl -o`, `md5sum`, `xz --format=lzma -d -T1` of the package's LZMA part and
# the stand-in Installer. Prints wall time and the updater's peak resident memory per payload size;
# the goal is at most 1.3 times the steps by hand, and a peak under 128 MiB plus the LZMA dictionary
# that does not grow with the payload. The payloads are made here and deleted afterwards. Each updater
# run is bounded (KELVRIN_BENCH_UPDATE_TIMEOUT seconds, 900 unless given).
# usage: bench/update/whole-update.sh [MIB ...]   (default: 512 1024)
set -euo pipefail
cd "$(dirname "$0")/../.."
repo=$(pwd)
source scripts/lib/throwaway-run.sh

build=${KELVRIN_BENCH_BUILD_DIR:-build/bench}
runs=${KELVRIN_BENCH_RUNS:-3}
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(512 1024)

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --parallel 4 --target updater kelvrin_update_service vzippack standin_installer standin_open \
  kelvrinrobot >/dev/null
tr_build=$(cd "$build" && pwd)
work=$tr_build/update-work
rm -rf "$work"
trap 'tr_stop_all; rm -rf "$work"' EXIT

# Runs a command and prints "seconds peak-KiB".
measure() {
  local report
  report=$(mktemp)
  /usr/bin/time -f "%e %M" -o "$report" "$@" >/dev/null 2>&1
  cat "$report"
  rm -f "$report"
}

median() {
  printf "%s\n" "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Half random bytes, a quarter repeated text, an eighth zeros and an eighth counting numbers.
make_payload() { # FOLDER MIB
  mkdir -p "$1"
  head -c $(($2 << 19)) /dev/urandom >"$1/random.bin"
  # The producers end on a closed pipe, which is no failure here.
  (yes "Kelvrin PDF Reader: the payload of the whole-update benchmark, one line of text." || true) |
    head -c $(($2 << 18)) >"$1/text.txt"
  head -c $(($2 << 17)) /dev/zero >"$1/zeros.bin"
  (seq 1 100000000 || true) | head -c $(($2 << 17)) >"$1/numbers.txt"
}

printf "| payload | package | by hand (s) | updater (s) | ratio | updater peak RSS | by-hand runs (s) | updater runs (s) |\n"
printf "|---|---|---|---|---|---|---|---|\n"
for mib in "${sizes[@]}"; do
  tr_root=$work/$mib
  mkdir -p "$tr_root/service"
  make_payload "$tr_root/payload" "$mib"
  tr_make_package Payload "$tr_root/payload" "$tr_root/service/Payload.vzip" 2.0
  cat >"$tr_root/service/manifest.json" <<JSON
{ "modules": [ { "name": "Payload", "title": "Payload", "version": "2.0", "type": "service",
                 "package": "Payload.vzip" } ] }
JSON
  cat >"$tr_root/robot.script" <<'SCRIPT'
window DlgUpdatesTree
tick treeView_4 *
press button_download
window dlgfound
text btn_close Close
press btn_close
SCRIPT
  tr_enter_root
  tr_write_preferences 0
  tr_place_system
  tr_make_bundle "Payload 1.0"
  tr_start_service "$tr_root/service/manifest.json"
  tr_reader_arguments "Update List"
  export QT_QPA_PLATFORM=offscreen
  package=$tr_root/service/Payload.vzip
  lzma_length=$(od -An -tu4 -j16 -N4 "$package" | tr -d ' ')
  installer=$KELVRIN_SYSTEM_ROOT/System/Library/CoreServices/Installer.app/Contents/MacOS/Installer
  by_hand="curl -s -o '$tr_root/hand.vzip' 'http://127.0.0.1:$tr_port/packages/Payload.vzip' &&
    md5sum '$tr_root/hand.vzip' >/dev/null &&
    tail -c +29 '$tr_root/hand.vzip' | head -c $lzma_length | xz --format=lzma -d -T1 >'$tr_root/hand.out' &&
    '$installer' '$tr_root/payload/Payload.pkg'"

  hand_times=() updater_times=() updater_rss=0
  for ((run = 0; run < runs; ++run)); do
    rm -f "$tr_root/hand.vzip" "$tr_root/hand.out"
    sync
    read -r seconds _ < <(measure sh -c "$by_hand")
    hand_times+=("$seconds")
    rm -f "$tr_root/hand.vzip" "$tr_root/hand.out"
    rm -rf "$XDG_DATA_HOME/Kelvrin Software" "$KELVRIN_SYSTEM_ROOT/Users/Shared/Payload-installed.txt"
    sync
    tr_use_robot "$tr_root/robot.script" "$tr_root/robot.log"
    read -r seconds kib < <(measure timeout --kill-after=5 "${KELVRIN_BENCH_UPDATE_TIMEOUT:-900}" "$tr_updater" \
      "${tr_arguments[@]}")
    unset QT_QPA_GENERIC_PLUGINS
    [ -f "$KELVRIN_SYSTEM_ROOT/Users/Shared/Payload-installed.txt" ] ||
      { echo "the updater did not install the payload" >&2; cat "$tr_root/robot.log" >&2; exit 1; }
    updater_times+=("$seconds")
    [ "$kib" -gt "$updater_rss" ] && updater_rss=$kib
  done
  tr_stop_all
  tr_pids=()

  hand=$(median "${hand_times[@]}")
  updater=$(median "${updater_times[@]}")
  ratio=$(awk -v a="$updater" -v b="$hand" 'BEGIN { printf "%.2f", a / b }')
  printf "| %s MiB | %s MiB | %s | %s | %s | %s MiB | %s | %s |\n" "$mib" $(($(stat -c %s "$package") >> 20)) \
    "$hand" "$updater" "$ratio" $((updater_rss >> 10)) "${hand_times[*]}" "${updater_times[*]}"
  rm -rf "$tr_root"
done
