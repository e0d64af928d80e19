#!/usr/bin/env bash
# Unpack benchmark: CZR_Vzip::Unzip2 against `xz --format=lzma -d -T1` decoding the same LZMA part
# into a file, for a package of mixed data and one four times larger. Prints time and peak
# resident memory of both. The payloads are generated here and deleted afterwards.
# usage: bench/vzip/vzip_unpack.sh [MIB ...]   (default: 512 2048)
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${KELVRIN_BENCH_BUILD_DIR:-build/bench}
work=${KELVRIN_BENCH_WORK_DIR:-$build/vzip-work}
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

export TMPDIR="$PWD/$work/tmp"
printf "| payload | package | xz time (s) | xz peak RSS | Unzip2 time (s) | Unzip2 peak RSS | time ratio |\n"
printf "|---|---|---|---|---|---|---|\n"
for mib in "${sizes[@]}"; do
  rm -rf "$work"
  mkdir -p "$work/tmp"
  "$driver" payload "$work/payload" "$mib"
  "$pack" --level 1 --dictionary "$dictionary" "$work/payload" "$work/package.vzip"
  lzma_length=$(od -An -tu4 -j16 -N4 "$work/package.vzip" | tr -d ' ')
  tail -c +29 "$work/package.vzip" | head -c "$lzma_length" > "$work/part.lzma"
  package_mib=$(( $(stat -c %s "$work/package.vzip") >> 20 ))
  sync

  read -r xz_time xz_rss < <(measure sh -c "xz --format=lzma -d -T1 -c '$work/part.lzma' > '$work/xz.out'")
  rm -f "$work/xz.out"
  read -r vzip_time vzip_rss < <(measure "$driver" unpack "$work/package.vzip" "$work/dest")
  diff -r -q "$work/payload" "$work/dest" >/dev/null || { echo "unpacked files differ" >&2; exit 1; }

  ratio=$(awk -v a="$vzip_time" -v b="$xz_time" 'BEGIN { printf "%.2f", a / b }')
  printf "| %d MiB | %d MiB | %s | %d MiB | %s | %d MiB | %s |\n" "$mib" "$package_mib" \
    "$xz_time" $((xz_rss >> 10)) "$vzip_time" $((vzip_rss >> 10)) "$ratio"
done
rm -rf "$work"
printf "\nLZMA dictionary: %d MiB (level 1). Goal: Unzip2 at most 1.15x the xz time, peak RSS under 16 MiB + dictionary.\n" $((dictionary >> 20))
