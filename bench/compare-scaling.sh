#!/usr/bin/env bash
# The automatic shrink of photo-like JPEG and PNG files of 3, 12, 48 and 100
# megapixels: time and peak memory per megapixel, which should stay flat
# (within 15 %) as the picture grows. With --cap, also a picture of 2^28
# pixels (16384 x 16384, the largest the readers take), which must shrink
# within the machine's memory.
#   bench/compare-scaling.sh [--cap] [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
cap=0
if [ "${1:-}" = --cap ]; then cap=1; shift; fi
. bench/measure.sh
. bench/rounds.sh
bench_setup "${1:-build}" python3-pil
runs=${RUNS:-5}

# photo_pil WIDTH HEIGHT OUTPUT: the light and grain of photo(), made with
# Pillow, which (unlike ImageMagick under its default limits) builds
# pictures of hundreds of megapixels.
photo_pil() {
  /usr/bin/python3 - "$@" <<'PY'
import sys
from PIL import Image, ImageChops
w, h, out = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
ramp = Image.linear_gradient("L").resize((w, h))
grain = Image.effect_noise((w, h), 8)
channels = []
for top, bottom in ((0x20, 0xE0), (0x60, 0xC0), (0xA0, 0x80)):
    c = ramp.point(lambda v, t=top, b=bottom: t + (b - t) * v // 255)
    channels.append(ImageChops.add(c, grain, 1.0, -128))
picture = Image.merge("RGB", channels)
if out.endswith(".jpg"):
    picture.save(out, quality=92)
else:
    picture.save(out, compress_level=6)
PY
}

sizes="2000x1500 4000x3000 8000x6000 11548x8660"
[ $cap = 1 ] && sizes="$sizes 16384x16384"
mkdir -p "$work/out"
printf '%-6s %-12s %8s %10s %10s %10s %9s %10s\n' format size MP "median s" "least s" "most s" "CPU s/MP" "peak MB/MP"
for format in jpg png; do
  for size in $sizes; do
    w=${size%x*} h=${size#*x}
    in="$work/in.$format"
    photo_pil "$w" "$h" "$in"
    n=$runs
    # Two rounds at the cap: each takes a while.
    [ "$size" = 16384x16384 ] && runs=2
    r=$(rounds "$cli" shrink -j 1 --out "$work/out" "$in")
    runs=$n
    [ -s "$work/out/in.$format" ] || { echo "no output for $format $size" >&2; exit 1; }
    echo "$format $size $w $h $r" | awk '{
      mp = $3 * $4 / 1e6;
      printf "%-6s %-12s %8.1f %10.3f %10.3f %10.3f %9.4f %10.2f\n", $1, $2, mp, $5, $6, $7, $8 / mp, $9 / 1024 / mp }'
    rm -f "$in" "$work/out/in.$format"
  done
done
echo "(median, least and most wall time of $runs rounds; CPU and peak per megapixel should stay flat)"
