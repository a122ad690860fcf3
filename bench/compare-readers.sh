#!/usr/bin/env bash
# Reading side by side: a 4000 × 3000 photo-like picture as a run-length
# Photoshop file, a binary PPM and a 24-bit PCX file, shrunk by kobalto-cli in
# the automatic mode (2000 KB worth of pixels) to the same format, and by
# ImageMagick to the same size (`convert in -sample WxH out`). Prints the best
# wall time of $RUNS runs per job, the ratio, and peak memory against the
# decoded picture's bytes.
#   bench/compare-readers.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/measure.sh
bench_setup "${1:-build}"

photo 4000 3000 0.06 -type TrueColor -depth 8 "$work/in.miff"
"$convert" "$work/in.miff" -compress RLE "PSD:$work/in.psd"
"$convert" "$work/in.miff" "PPM:$work/in.ppm"
"$convert" "$work/in.miff" "PCX:$work/in.pcx"
decoded=$((4000 * 3000 * 3))

echo "Automatic shrink of a 4000 x 3000 picture (best of $runs; decoded picture $((decoded / 1048576)) MB):"
for ext in psd ppm pcx; do
  mkdir -p "$work/out-$ext"
  k=$(measure_cpu "$cli" shrink --out "$work/out-$ext" "$work/in.$ext")
  size=$("$convert" "$work/out-$ext/in.$ext" -format '%wx%h' info:)
  m=$(measure_cpu "$convert" "$work/in.$ext" -sample "$size!" "$work/im.$ext")
  goal=0.50
  [ "$ext" = pcx ] && goal=0.60
  echo "$k $m" | awk -v ext="$ext" -v size="$size" -v px="$decoded" -v goal="$goal" \
    -v insize="$(stat -c %s "$work/in.$ext")" -v outsize="$(stat -c %s "$work/out-$ext/in.$ext")" '{
    printf "  %s (%d bytes) to %s (%d bytes): kobalto %6.3f s (CPU %6.3f s), peak %6.1f MB (%.2f x decoded); ImageMagick %6.3f s (CPU %6.3f s), peak %6.1f MB (%.2f x); ratio %.2f, CPU %.2f (goal at most %s)\n",
      ext, insize, size, outsize, $1, $2, $3/1024, $3*1024/px, $4, $5, $6/1024, $6*1024/px, $1/$4, $2/$5, goal }'
done
