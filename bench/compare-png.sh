#!/usr/bin/env bash
# A 4000 × 3000 photo-like PNG shrunk to 50 %: kobalto-cli against
# ImageMagick (-sample 50 %, deflate level 7 like ours). Prints best wall
# times of several runs, peak memory against the decoded picture's bytes and
# the ratios.
#   bench/compare-png.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/measure.sh
bench_setup "${1:-build}"

# 8-bit RGB as cameras and editors save it.
photo 4000 3000 0.06 -depth 8 "PNG24:$work/in.png"
decoded=$((4000 * 3000 * 3))

mkdir -p "$work/out"
k=$(measure "$cli" shrink --percent 50 --out "$work/out" "$work/in.png")
m=$(measure "$convert" "$work/in.png" -sample 50% -define png:compression-level=7 "$work/im.png")

echo "PNG shrink to 50 % of a 4000 x 3000 PNG of $(stat -c %s "$work/in.png") bytes (best of $runs):"
echo "  output: kobalto $(stat -c %s "$work/out/in.png") bytes, ImageMagick $(stat -c %s "$work/im.png") bytes"
echo "$k $m" | awk -v px=$decoded '{
  printf "  kobalto-cli   %6.3f s  peak %6.1f MB  (%.2f x the decoded picture)\n", $1, $2/1024, $2*1024/px;
  printf "  ImageMagick   %6.3f s  peak %6.1f MB\n", $3, $4/1024;
  printf "  kobalto / ImageMagick  %.2f  (goal below 1)\n", $1/$3;
  printf "  peak / decoded bytes   %.2f  (goal at most 1.40)\n", $2*1024/px }'

# The automatic shrink (2000 KB worth of pixels) of the same file, against
# ImageMagick sampling to the same size: median, least and most of $runs
# rounds, wall and CPU time.
. bench/rounds.sh
mkdir -p "$work/auto"
"$cli" shrink -j 1 --out "$work/auto" "$work/in.png" >/dev/null
size=$(/usr/bin/identify -format '%wx%h' "$work/auto/in.png")
k=$(rounds "$cli" shrink -j 1 --out "$work/auto" "$work/in.png")
m=$(rounds "$convert" "$work/in.png" -sample "$size!" -define png:compression-level=7 "$work/im-auto.png")
echo "Automatic shrink of the same PNG to $size ($runs rounds, median [least, most]):"
echo "$k $m" | awk '{
  printf "  kobalto-cli   %6.3f s [%.3f, %.3f]  CPU %6.3f s  peak %6.1f MB\n", $1, $2, $3, $4, $5/1024;
  printf "  ImageMagick   %6.3f s [%.3f, %.3f]  CPU %6.3f s  peak %6.1f MB\n", $6, $7, $8, $9, $10/1024;
  printf "  kobalto / ImageMagick  wall %.2f [%.2f, %.2f]  CPU %.2f  (goal at most 0.25)\n", $1/$6, $2/$8, $3/$7, $4/$9 }'
