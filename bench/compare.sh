#!/usr/bin/env bash
# Runs kobalto-cli and ImageMagick side by side on the same pictures and
# prints wall time and peak memory of each, with the ratio.
#   bench/compare.sh [build-dir]
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

# A photo-like 6000 × 4000 picture: smooth gradients with fine noise.
if [ ! -f "$work/in.bmp" ]; then
  "$convert" -size 6000x4000 gradient:'#2060a0-#e0c080' \
    \( -size 6000x4000 xc: +noise Random -channel RGB -evaluate multiply 0.15 \) \
    -compose plus -composite -type TrueColor "BMP3:$work/in.bmp"
fi
pixels=$((6000 * 4000 * 3))

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

mkdir -p "$work/out"
k=$(measure kobalto "$cli" shrink --percent 50 --out "$work/out" "$work/in.bmp")
m=$(measure imagemagick "$convert" "$work/in.bmp" -sample 50% "BMP3:$work/im.bmp")
echo "BMP to BMP at 50 % (6000 x 4000, best of $runs):"
echo "$k $m" | awk -v px=$pixels '{
  printf "  kobalto-cli  %6.3f s  peak %7.1f MB  (%.2f x the source pixel bytes)\n", $2, $3/1024, $3*1024/px;
  printf "  ImageMagick  %6.3f s  peak %7.1f MB\n", $5, $6/1024;
  printf "  time ratio kobalto/ImageMagick: %.2f\n", $2/$5 }'
