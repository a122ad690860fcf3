#!/usr/bin/env bash
# Draws the application icon: app/icons/kobalto.svg and its 32 × 32,
# 16-colour rendering app/icons/kobalto-32.png, from the same shapes.
#   tools/make-icon.sh      (needs ImageMagick 6)
set -euo pipefail
cd "$(dirname "$0")/.."
out=app/icons
mkdir -p "$out"

# A photo on the navy of the window, with an arrow into its lower-left
# corner: a picture made smaller.
navy='#000080'; white='#FFFFFF'; sky='#66CCFF'; hill='#339933'; sun='#FFCC00'; arrow='#FF6600'
shapes=(
  "rect|2|2|28|28|$navy"
  "rect|7|5|22|17|$white"
  "rect|9|7|18|13|$sky"
  "circle|22|11|2|$sun"
  "poly|9,20 14,13 19,17 22,14 27,20|$hill"
  "poly|4,28 4,20 7,23 14,16 16,18 9,25 12,28|$arrow"
)

svg="$out/kobalto.svg"
{
  echo '<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">'
  for s in "${shapes[@]}"; do
    IFS='|' read -r kind a b c d e <<<"$s"
    case "$kind" in
      rect) echo "  <rect x=\"$a\" y=\"$b\" width=\"$c\" height=\"$d\" rx=\"1\" fill=\"$e\"/>" ;;
      circle) echo "  <circle cx=\"$a\" cy=\"$b\" r=\"$c\" fill=\"$d\"/>" ;;
      poly) echo "  <polygon points=\"$a\" fill=\"$b\"/>" ;;
    esac
  done
  echo '</svg>'
} >"$svg"

draw=()
for s in "${shapes[@]}"; do
  IFS='|' read -r kind a b c d e <<<"$s"
  case "$kind" in
    rect) draw+=(-fill "$e" -draw "rectangle $a,$b $((a + c - 1)),$((b + d - 1))") ;;
    circle) draw+=(-fill "$d" -draw "circle $a,$b $((a + c)),$b") ;;
    poly) draw+=(-fill "$b" -draw "polygon $a") ;;
  esac
done
# Aliased shapes keep the colours to the seven above (transparency one of
# them), well within an icon of 16 colours.
/usr/bin/convert-im6.q16 -size 32x32 xc:none +antialias "${draw[@]}" \
  -background none -colors 16 -strip -define png:exclude-chunks=date,time \
  "PNG8:$out/kobalto-32.png"
echo "wrote $svg and $out/kobalto-32.png"
