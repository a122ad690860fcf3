#!/usr/bin/env bash
# kobalto-cli shrinking 20 photos of 12 megapixels (automatic mode) with
# -j N (N: the number of cores) against -j 1: wall and CPU time, median of
# several rounds with least and most, and peak memory against N times that
# of one file alone. With -j 1 each file may decode on two cores, so the
# sequential run already uses part of the second one.
#   bench/compare-cli-parallel.sh [build-dir]
# Goal: at most 0.6 x the sequential time on 2 cores, peak at most N x one
# file's.
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/measure.sh
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

# The three runs in turn in every round (bench/interleave.py); the ratio is
# taken round by round.
python3 bench/interleave.py "$runs" --ratio parallel/sequential \
  ::: one "$cli" shrink -j 1 --out "$work/one" "${files[0]}" \
  ::: sequential "$cli" shrink -j 1 --out "$work/seq" "${files[@]}" \
  ::: parallel "$cli" shrink -j "$jobs" --out "$work/par" "${files[@]}" >"$work/times.txt"
for f in "${files[@]}"; do
  cmp -s "$work/seq/$(basename "$f")" "$work/par/$(basename "$f")" || { echo "outputs differ: $f" >&2; exit 1; }
done

echo "20 photos of 4000 x 3000 ($(stat -c %s "${files[0]}") bytes each), automatic shrink, $runs rounds (median [least, most]):"
awk -v n="$jobs" '
  $1 == "time" { w[$2] = $3; wl[$2] = $4; wm[$2] = $5; c[$2] = $6; peak[$2] = $9 }
  $1 == "ratio" { rw = $3; rl = $4; rm = $5; rc = $6 }
  END {
    printf "  one file, -j 1     %6.3f s [%.3f, %.3f]  CPU %6.3f s  peak %6.1f MB\n", w["one"], wl["one"], wm["one"], c["one"], peak["one"]/1024;
    printf "  20 files, -j 1     %6.3f s [%.3f, %.3f]  CPU %6.3f s  peak %6.1f MB\n", w["sequential"], wl["sequential"], wm["sequential"], c["sequential"], peak["sequential"]/1024;
    printf "  20 files, -j %-2d    %6.3f s [%.3f, %.3f]  CPU %6.3f s  peak %6.1f MB\n", n, w["parallel"], wl["parallel"], wm["parallel"], c["parallel"], peak["parallel"]/1024;
    printf "  -j %d / -j 1 wall time  %.2f [%.2f, %.2f], CPU %.2f  (goal at most 0.6 on 2 cores)\n", n, rw, rl, rm, rc;
    printf "  peak / (%d x one file)  %.2f  (goal at most 1)\n", n, peak["parallel"]/(n*peak["one"]) }' "$work/times.txt"
