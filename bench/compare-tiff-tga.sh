#!/usr/bin/env bash
# The automatic-mode shrink of 12-megapixel TIFF (uncompressed and deflate
# with 16-bit samples, as ImageMagick writes its own gradient, and with 8-bit
# ones; JPEG; one turned a quarter and one deflate file in a single strip)
# and TGA files: kobalto-cli against ImageMagick (-sample to the size the
# batch chose, same output format). Prints the best wall and CPU times of
# several runs, both programs' peak memory against the decoded picture's
# bytes, and the ratios.
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
"$convert" "$work/photo.ppm" -depth 8 "$work/photo8.ppm"
"$convert" "$work/photo8.ppm" -compress none "$work/none8.tif"
"$convert" "$work/photo8.ppm" -compress zip "$work/deflate8.tif"
"$convert" "$work/photo8.ppm" -orient RightTop -compress none "$work/turned.tif"
"$convert" "$work/photo8.ppm" -define tiff:rows-per-strip=3000 -compress zip "$work/onestrip.tif"

# goal: the ratio of wall times the shrink of each file should stay under
printf "%-13s %15s %15s %11s %13s %5s\n" file "kobalto wall/cpu" "magick wall/cpu" "ratio w/c" "peak/px k, m" goal
for f in none.tif:0.5 deflate.tif:0.8 none8.tif:0.5 deflate8.tif:0.8 jpeg.tif:1.0 none.tga:0.5 turned.tif:0.5 \
  onestrip.tif:0.8; do
  name=${f%%:*} goal=${f##*:}
  rm -rf "$work/out" && mkdir -p "$work/out"
  k=$(measure_cpu "$cli" shrink --out "$work/out" "$work/$name")
  size=$("$identify" -format '%wx%h' "$work/out/$name" 2>/dev/null)
  m=$(measure_cpu "$convert" "$work/$name" -sample "$size!" "$work/im-$name")
  echo "$name $k $m $goal" | awk -v px=$decoded '{
    printf "%-13s %6.3fs %6.3fs  %6.3fs %6.3fs  %4.2f %4.2f  %5.2f %5.2f  %5.2f\n",
      $1, $2, $3, $5, $6, $2/$5, $3/$6, $4*1024/px, $7*1024/px, $8 }'
done
echo "(best of $runs runs; peak/px: peak RSS over the decoded picture's bytes, goal for kobalto 1.40)"
