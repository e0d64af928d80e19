#!/usr/bin/env bash
# Unpack benchmark: CZR_Vzip::Unzip2 against `xz --format=lzma -d -T1` decoding the same LZMA part
# into a file, for a package of mixed data and one four times larger. Prints time and peak
# resident memory of both. The payloads are generated here and deleted afterwards, unless
# KELVRIN_BENCH_REUSE=1: then each size's payload and package stay in the work folder and later runs
# measure them again without rebuilding (building the package is most of a run's time).
# On a shared machine one run of either program varies by well over ten per cent, more than the gap
# being measured, so each size runs both programs KELVRIN_BENCH_RUNS times (default 3), taking turns,
# and compares the medians; every run's time is printed too.
# usage: bench/vzip/vzip_unpack.sh [MIB ...]   (default: 512 2048)
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${KELVRIN_BENCH_BUILD_DIR:-build/bench}
work=${KELVRIN_BENCH_WORK_DIR:-$build/vzip-work}
reuse=${KELVRIN_BENCH_REUSE:-0}
runs=${KELVRIN_BENCH_RUNS:-3}
dictionary=$((8 << 20))
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(512 2048)

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVRIN_BENCHMARKS=ON >/dev/null
cmake --build "$build" --parallel 4 --target vzippack vzip_unpack_bench >/dev/null
pack="$build/tools/vzippack/vzippack"
driver="$build/bench/vzip/vzip_unpack_bench"

# Runs a command and prints "seconds peak-KiB".
measure() {
  local report
  report=$(mktemp)
  /usr/bin/time -f "%e %M" -o "$report" "$@" >/dev/null
  cat "$report"
  rm -f "$report"
}

median() {
  printf "%s\n" "$@" | sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

largest() {
  printf "%s\n" "$@" | sort -g | tail -n 1
}

export TMPDIR="$PWD/$work/tmp"
printf "| payload | package | xz time (s) | xz peak RSS | Unzip2 time (s) | Unzip2 peak RSS | time ratio | xz runs (s) | Unzip2 runs (s) |\n"
printf "|---|---|---|---|---|---|---|---|---|\n"
[ "$reuse" = 1 ] || rm -rf "$work"
for mib in "${sizes[@]}"; do
  sized="$work/$mib"
  if [ "$reuse" != 1 ] || [ ! -f "$sized/package.vzip" ]; then
    rm -rf "$sized"
    mkdir -p "$sized"
    "$driver" payload "$sized/payload" "$mib"
    "$pack" --level 1 --dictionary "$dictionary" "$sized/payload" "$sized/package.part"
    mv "$sized/package.part" "$sized/package.vzip"
  fi
  rm -rf "$sized/dest" "$work/tmp"
  mkdir -p "$work/tmp"
  lzma_length=$(od -An -tu4 -j16 -N4 "$sized/package.vzip" | tr -d ' ')
  tail -c +29 "$sized/package.vzip" | head -c "$lzma_length" > "$sized/part.lzma"
  package_mib=$(( $(stat -c %s "$sized/package.vzip") >> 20 ))
  sync

  xz_times=() xz_rsss=() vzip_times=() vzip_rsss=()
  for ((run = 0; run < runs; ++run)); do
    read -r seconds kib < <(measure sh -c "xz --format=lzma -d -T1 -c '$sized/part.lzma' > '$sized/xz.out'")
    xz_times+=("$seconds") xz_rsss+=("$kib")
    rm -f "$sized/xz.out"
    sync
    read -r seconds kib < <(measure "$driver" unpack "$sized/package.vzip" "$sized/dest")
    vzip_times+=("$seconds") vzip_rsss+=("$kib")
    diff -r -q "$sized/payload" "$sized/dest" >/dev/null || { echo "unpacked files differ" >&2; exit 1; }
    rm -rf "$sized/dest"
    sync
  done
  rm -f "$sized/part.lzma"

  xz_time=$(median "${xz_times[@]}")
  vzip_time=$(median "${vzip_times[@]}")
  ratio=$(awk -v a="$vzip_time" -v b="$xz_time" 'BEGIN { printf "%.2f", a / b }')
  printf "| %d MiB | %d MiB | %s | %d MiB | %s | %d MiB | %s | %s | %s |\n" "$mib" "$package_mib" \
    "$xz_time" $(($(largest "${xz_rsss[@]}") >> 10)) "$vzip_time" $(($(largest "${vzip_rsss[@]}") >> 10)) "$ratio" \
    "${xz_times[*]}" "${vzip_times[*]}"
done
[ "$reuse" = 1 ] || rm -rf "$work"
printf "\nLZMA dictionary: %d MiB (level 1). Goal: Unzip2 at most 1.15x the xz time, peak RSS under 16 MiB + dictionary.\n" $((dictionary >> 20))
