#!/usr/bin/env bash
# A 4000 × 3000 photo-like PNG shrunk to 50 %: kobalto-cli against
# ImageMagick (-sample 50 %, deflate level 7 like ours). Prints best wall
# times of several runs, peak memory against the decoded picture's bytes and
# the ratios.
#   bench/compare-png.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
./tools/install-deps.sh time
cli="$build/cli/kobalto-cli"
convert=/usr/bin/convert-im6.q16
[ -x "$convert" ] || convert=/usr/bin/convert
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
runs=5

# Smooth light with fine grain, 8-bit RGB as cameras and editors save it.
"$convert" -seed 7 -size 4000x3000 gradient:'#2060a0-#e0c080' \
  \( -size 4000x3000 xc: +noise Random -channel RGB -evaluate multiply 0.06 \) \
  -compose plus -composite -depth 8 "PNG24:$work/in.png"
decoded=$((4000 * 3000 * 3))

. bench/measure.sh

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
