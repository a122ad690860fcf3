#!/usr/bin/env bash
# The GIF shrink side by side with ImageMagick: a photo-like 2000 × 1500
# picture halved and written as a 256-colour, Floyd–Steinberg dithered GIF.
# Prints the best wall time of each, the peak memory and the time ratio.
#   bench/compare-gif.sh [build-dir]
#
# Two runs of the same work:
#  - convert: kobalto-cli convert --factor 0.5 in.bmp out.gif against
#    convert in.bmp -sample 50% -dither FloydSteinberg -colors 256 out.gif,
#    a true-colour source as the shrink of a photograph meets it;
#  - shrink: kobalto-cli shrink --percent 50 on in.gif (shrinking keeps the
#    file's name and format) against the same convert line on in.gif.
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

# Smooth gradients with fine noise, like a photograph.
"$convert" -size 2000x1500 gradient:'#2060a0-#e0c080' \
  \( -size 2000x1500 xc: +noise Random -channel RGB -evaluate multiply 0.15 \) \
  -compose plus -composite -type TrueColor "BMP3:$work/in.bmp"
"$convert" "$work/in.bmp" "$work/in.gif"

# measure NAME COMMAND...: best wall time of $runs runs and the peak RSS.
measure() {
  local name=$1; shift
  local best=999999 peak=0
  for _ in $(seq $runs); do
    /usr/bin/time -o "$work/time.txt" -f '%e %M' "$@" >/dev/null 2>&1
    local out t m
    out=$(tail -1 "$work/time.txt")
    t=${out% *} m=${out#* }
    best=$(echo "$t $best" | awk '{print ($1 < $2) ? $1 : $2}')
    [ "$m" -gt "$peak" ] && peak=$m
  done
  echo "$name $best $peak"
}

report() {
  echo "$1"
  echo "$2 $3" | awk '{
    printf "  kobalto-cli  %6.3f s  peak %7.1f MB\n", $2, $3/1024;
    printf "  ImageMagick  %6.3f s  peak %7.1f MB\n", $5, $6/1024;
    printf "  time ratio kobalto/ImageMagick: %.2f\n", $2/$5 }'
}

k=$(measure kobalto "$cli" convert --factor 0.5 "$work/in.bmp" "$work/k.gif")
m=$(measure imagemagick "$convert" "$work/in.bmp" -sample 50% -dither FloydSteinberg -colors 256 "$work/m.gif")
report "BMP to GIF at 50 % (2000 x 1500, best of $runs):" "$k" "$m"

mkdir -p "$work/out"
k=$(measure kobalto "$cli" shrink --percent 50 --out "$work/out" "$work/in.gif")
m=$(measure imagemagick "$convert" "$work/in.gif" -sample 50% -dither FloydSteinberg -colors 256 "$work/m2.gif")
report "GIF to GIF at 50 % (2000 x 1500, best of $runs):" "$k" "$m"

# Both outputs must be GIFs of the halved size.
for f in "$work/k.gif" "$work/out/in.gif"; do
  /usr/bin/identify -format '%m %wx%h\n' "$f" | grep -qx 'GIF 1000x750' || { echo "bad output $f" >&2; exit 1; }
done
