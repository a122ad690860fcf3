#!/usr/bin/env bash
# The GIF output side by side with ImageMagick: a photo-like 2000 × 1500
# picture halved and written as a 256-colour, Floyd–Steinberg dithered GIF.
# Prints the best wall time of each, the peak memory and the time ratio.
#   bench/compare-gif.sh [build-dir]
#
# The same work from three sources, against
#   convert IN -sample 50% -dither FloydSteinberg -colors 256 out.gif:
#  - PNG and BMP: kobalto-cli convert --factor 0.5 IN out.gif, a true-colour
#    source as the shrink of a photograph meets it;
#  - GIF: kobalto-cli shrink --percent 50 (shrinking keeps the file's name
#    and so its format).
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/measure.sh
bench_setup "${1:-build}"

photo 2000 1500 0.15 -type TrueColor "BMP3:$work/in.bmp"
"$convert" "$work/in.bmp" -depth 8 "PNG24:$work/in.png"
"$convert" "$work/in.bmp" "$work/in.gif"

# compare LABEL KOBALTO-COMMAND... -- IMAGEMAGICK-INPUT
compare() {
  local label=$1; shift
  local args=()
  while [ "$1" != "--" ]; do args+=("$1"); shift; done
  local k m
  k=$(measure "${args[@]}")
  m=$(measure "$convert" "$2" -sample 50% -dither FloydSteinberg -colors 256 "$work/im.gif")
  echo "$label (2000 x 1500 to 1000 x 750, best of $runs):"
  echo "$k $m" | awk '{
    printf "  kobalto-cli  %6.3f s  peak %7.1f MB\n", $1, $2/1024;
    printf "  ImageMagick  %6.3f s  peak %7.1f MB\n", $3, $4/1024;
    printf "  time ratio kobalto/ImageMagick: %.2f  (goal below 1)\n", $1/$3 }'
}

check() {
  /usr/bin/identify -format '%m %wx%h\n' "$1" | grep -qx 'GIF 1000x750' || { echo "bad output $1" >&2; exit 1; }
}

if "$cli" convert "$work/in.png" "$work/probe.bmp" >/dev/null 2>&1; then
  compare "PNG to GIF" "$cli" convert --factor 0.5 "$work/in.png" "$work/k.gif" -- "$work/in.png"
  check "$work/k.gif"
else
  echo "PNG to GIF: skipped, this kobalto-cli does not read PNG"
fi
compare "BMP to GIF" "$cli" convert --factor 0.5 "$work/in.bmp" "$work/k.gif" -- "$work/in.bmp"
check "$work/k.gif"
mkdir -p "$work/out"
compare "GIF shrink" "$cli" shrink --percent 50 --out "$work/out" "$work/in.gif" -- "$work/in.gif"
check "$work/out/in.gif"
