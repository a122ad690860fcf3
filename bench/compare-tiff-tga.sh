#!/usr/bin/env bash
# The automatic-mode shrink of 12-megapixel TIFF (uncompressed, deflate,
# JPEG) and TGA files: kobalto-cli against ImageMagick (-sample to the size
# the batch chose, same output format). Prints the best wall time of several
# runs, peak memory against the decoded picture's bytes, and the ratios.
#   bench/compare-tiff-tga.sh [build-dir]        RUNS=n sets the number of runs
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/measure.sh
bench_setup "${1:-build}"
identify=/usr/bin/identify
decoded=$((4000 * 3000 * 3))

photo 4000 3000 0.06 -type TrueColor "$work/photo.ppm"
"$convert" "$work/photo.ppm" -compress none "$work/none.tif"
"$convert" "$work/photo.ppm" -compress zip "$work/deflate.tif"
"$convert" "$work/photo.ppm" -compress jpeg -quality 90 "$work/jpeg.tif"
"$convert" "$work/photo.ppm" -compress none "$work/none.tga"

# goal: the ratio of wall times the shrink of each file should stay under
printf "%-12s %8s %8s %7s %9s %6s\n" file kobalto magick ratio "peak/px" goal
for f in none.tif:0.5 deflate.tif:0.8 jpeg.tif:1.0 none.tga:0.5; do
  name=${f%%:*} goal=${f##*:}
  rm -rf "$work/out" && mkdir -p "$work/out"
  k=$(measure "$cli" shrink --out "$work/out" "$work/$name")
  size=$("$identify" -format '%wx%h' "$work/out/$name")
  m=$(measure "$convert" "$work/$name" -sample "$size!" "$work/im-$name")
  echo "$name $k $m $goal" | awk -v px=$decoded '{
    printf "%-12s %7.3fs %7.3fs %7.2f %9.2f %6.2f\n", $1, $2, $4, $2/$4, $3*1024/px, $6 }'
done
echo "(best of $runs runs; peak/px is kobalto-cli's peak RSS over the decoded picture's bytes, goal 1.40)"
