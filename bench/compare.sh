#!/usr/bin/env bash
# The BMP-to-BMP shrink of a 6000 × 4000 photo-like picture to 50 %:
# kobalto-cli against ImageMagick (-sample 50 %). Prints the best wall time
# of several runs, peak memory against the source's pixel bytes and the ratio.
#   bench/compare.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/measure.sh
bench_setup "${1:-build}"

photo 6000 4000 0.15 -type TrueColor "BMP3:$work/in.bmp"
pixels=$((6000 * 4000 * 3))

mkdir -p "$work/out"
k=$(measure "$cli" shrink --percent 50 --out "$work/out" "$work/in.bmp")
m=$(measure "$convert" "$work/in.bmp" -sample 50% "BMP3:$work/im.bmp")
echo "BMP to BMP at 50 % (6000 x 4000, best of $runs):"
echo "$k $m" | awk -v px=$pixels '{
  printf "  kobalto-cli  %6.3f s  peak %7.1f MB  (%.2f x the source pixel bytes)\n", $1, $2/1024, $2*1024/px;
  printf "  ImageMagick  %6.3f s  peak %7.1f MB\n", $3, $4/1024;
  printf "  time ratio kobalto/ImageMagick: %.2f\n", $1/$3 }'
