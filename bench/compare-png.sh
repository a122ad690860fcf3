#!/usr/bin/env bash
# A 4000 × 3000 photo-like PNG shrunk to 50 %: kobalto-cli against
# ImageMagick (-sample 50 %, deflate level 7 like ours), and its automatic
# shrink against ImageMagick sampling to the same size. Prints the median,
# least and most wall and CPU times of several rounds, the ratios taken
# round by round, and peak memory against the decoded picture's bytes.
#   bench/compare-png.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/measure.sh
bench_setup "${1:-build}"

# 8-bit RGB as cameras and editors save it.
photo 4000 3000 0.06 -depth 8 "PNG24:$work/in.png"
decoded=$((4000 * 3000 * 3))

# pair LABEL SIZE ARGS...: kobalto-cli with ARGS and ImageMagick sampling to
# SIZE, in turn in every round (bench/interleave.py); the ratio is taken
# round by round.
pair() {
  local label=$1 size=$2; shift 2
  rm -rf "$work/out" && mkdir -p "$work/out"
  python3 bench/interleave.py "$runs" --ratio kobalto/imagemagick \
    ::: kobalto "$cli" shrink "$@" --out "$work/out" "$work/in.png" \
    ::: imagemagick "$convert" "$work/in.png" -sample "$size" -define png:compression-level=7 "$work/im.png" |
  awk -v px="$decoded" -v label="$label" -v goal="$GOAL" '
    $1 == "time" { w[$2] = $3; wl[$2] = $4; wm[$2] = $5; c[$2] = $6; peak[$2] = $9 }
    $1 == "ratio" { r = sprintf("wall %.2f [%.2f, %.2f]  CPU %.2f [%.2f, %.2f]", $3, $4, $5, $6, $7, $8) }
    END {
      printf "%s\n", label;
      printf "  kobalto-cli   %6.3f s [%.3f, %.3f]  CPU %6.3f s  peak %6.1f MB  (%.2f x the decoded picture)\n", w["kobalto"], wl["kobalto"], wm["kobalto"], c["kobalto"], peak["kobalto"]/1024, peak["kobalto"]*1024/px;
      printf "  ImageMagick   %6.3f s [%.3f, %.3f]  CPU %6.3f s  peak %6.1f MB\n", w["imagemagick"], wl["imagemagick"], wm["imagemagick"], c["imagemagick"], peak["imagemagick"]/1024;
      printf "  kobalto / ImageMagick  %s  (goal %s)\n", r, goal }'
}

GOAL="below 1; peak at most 1.40 x decoded" pair \
  "PNG shrink to 50 % of a 4000 x 3000 PNG of $(stat -c %s "$work/in.png") bytes ($runs rounds, median [least, most]):" \
  50% --percent 50
echo "  output: kobalto $(stat -c %s "$work/out/in.png") bytes, ImageMagick $(stat -c %s "$work/im.png") bytes"

# The automatic shrink (2000 KB worth of pixels) of the same file, against
# ImageMagick sampling to the same size.
mkdir -p "$work/auto"
"$cli" shrink --out "$work/auto" "$work/in.png" >/dev/null
size=$(/usr/bin/identify -format '%wx%h' "$work/auto/in.png")
GOAL="at most 0.25" pair "Automatic shrink of the same PNG to $size ($runs rounds, median [least, most]):" "$size!"
