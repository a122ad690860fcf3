#!/usr/bin/env bash
# Takes docs/screenshot.png: the window under Xvfb right after a photo was
# dropped on it.
#   tools/screenshot.sh [PHOTO]   (default: a generated 1600 × 1200 photo)
# Needs xvfb and imagemagick (tools/install-deps.sh installs them).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DKOBALTO_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target kobalto-drop-demo >/dev/null

work=$(mktemp -d)
demo_pid= xvfb_pid=
cleanup() {
  [ -n "$demo_pid" ] && kill "$demo_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

photo=${1:-}
if [ -z "$photo" ]; then
  # A stand-in photo: sky, sea, sand and a sun, as a 24-bit BMP.
  photo=$work/beach.bmp
  /usr/bin/convert-im6.q16 -size 1600x1200 gradient:'#3a7bd5'-'#bfe6ff' \
    -fill '#1f5f8b' -draw 'rectangle 0,700 1600,950' \
    -fill '#e8d5a3' -draw 'polygon 0,950 1600,880 1600,1200 0,1200' \
    -fill '#ffd23f' -draw 'circle 1200,300 1200,390' \
    -type TrueColor "BMP3:$photo"
fi

# A display of its own, with no window manager: the window has no frame.
number=$((90 + RANDOM % 100))
display=:$number
Xvfb "$display" -screen 0 1024x640x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -S "/tmp/.X11-unix/X$number" ] && break; sleep 0.1; done

# The window keeps its settings and output in the scratch folder; the drop
# comes before the introduction would give way, and hides the panel.
printf '[MAIN]\nTop=20\nLeft=20\n[OPT]\nTime=10000\n' >"$work/kobalto.ini"
DISPLAY=$display QT_QPA_PLATFORM=xcb "$root/$build/app/kobalto-drop-demo" \
  --out "$work/out" --settings "$work/kobalto.ini" --wait 800 "$photo" >"$work/demo.log" 2>&1 &
demo_pid=$!
for _ in $(seq 100); do grep -q '^done ' "$work/demo.log" && break; sleep 0.1; done
grep -q '^done ' "$work/demo.log" || { cat "$work/demo.log"; echo "the drop did not finish" >&2; exit 1; }
sleep 0.5

mkdir -p docs
DISPLAY=$display /usr/bin/import -window root -crop 670x542+20+20 +repage -strip docs/screenshot.png
grep '^caption ' "$work/demo.log" | tail -1
echo "wrote docs/screenshot.png"
