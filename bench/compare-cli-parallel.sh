#!/usr/bin/env bash
# kobalto-cli shrinking 20 photos of 12 megapixels (automatic mode) with
# -j N (N: the number of cores) against -j 1: wall and CPU time, median of
# several rounds with least and most, and peak memory against N times that
# of one file alone.
#   bench/compare-cli-parallel.sh [build-dir]
# Goal: at most 0.6 x the sequential time on 2 cores, peak at most N x one
# file's.
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/measure.sh
. bench/rounds.sh
bench_setup "${1:-build}"
jobs=$(nproc)

photo 4000 3000 0.06 -quality 92 "$work/photo.jpg"
files=()
for i in $(seq -w 1 20); do
  cp "$work/photo.jpg" "$work/p$i.jpg"
  files+=("$work/p$i.jpg")
done
rm "$work/photo.jpg"
mkdir -p "$work/one" "$work/seq" "$work/par"

single=$(rounds "$cli" shrink -j 1 --out "$work/one" "${files[0]}")
sequential=$(rounds "$cli" shrink -j 1 --out "$work/seq" "${files[@]}")
parallel=$(rounds "$cli" shrink -j "$jobs" --out "$work/par" "${files[@]}")
for f in "${files[@]}"; do
  cmp -s "$work/seq/$(basename "$f")" "$work/par/$(basename "$f")" || { echo "outputs differ: $f" >&2; exit 1; }
done

echo "20 photos of 4000 x 3000 ($(stat -c %s "${files[0]}") bytes each), automatic shrink, $runs rounds (median [least, most]):"
echo "$single $sequential $parallel" | awk -v n="$jobs" '{
  printf "  one file, -j 1     %6.3f s [%.3f, %.3f]  CPU %6.3f s  peak %6.1f MB\n", $1, $2, $3, $4, $5/1024;
  printf "  20 files, -j 1     %6.3f s [%.3f, %.3f]  CPU %6.3f s  peak %6.1f MB\n", $6, $7, $8, $9, $10/1024;
  printf "  20 files, -j %-2d    %6.3f s [%.3f, %.3f]  CPU %6.3f s  peak %6.1f MB\n", n, $11, $12, $13, $14, $15/1024;
  printf "  -j %d / -j 1 wall time  %.2f [%.2f, %.2f]  (goal at most 0.6 on 2 cores)\n", n, $11/$6, $12/$8, $13/$7;
  printf "  peak / (%d x one file)  %.2f  (goal at most 1)\n", n, $15/(n*$5) }'
