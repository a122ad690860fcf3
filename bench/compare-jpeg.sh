#!/usr/bin/env bash
# The shrink of a 12-megapixel photo-like JPEG of about 5 MB, in the
# automatic mode and at 50 %: kobalto-cli against ImageMagick (-sample to the
# same size, quality 80) and against the floor, libjpeg-turbo's own tools
# doing only the codec work (djpeg of the whole input, cjpeg -quality 80 of
# an output-sized picture). Prints the median, least and most of the wall
# and CPU times of several rounds, the peak memory, and the ratios taken
# round by round. CPU time (user + system) is the steadier figure on a busy
# machine; the load average is printed with the figures. On a machine with
# a spare core a large JPEG is decoded on two, so wall time falls below
# the floor's while CPU time rises above it.
#   bench/compare-jpeg.sh [build-dir]        RUNS=n sets the number of runs
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
./tools/install-deps.sh time libjpeg-turbo-progs
cli="$build/cli/kobalto-cli"
convert=/usr/bin/convert-im6.q16
[ -x "$convert" ] || convert=/usr/bin/convert
identify=/usr/bin/identify
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
runs=${RUNS:-7}

# Smooth light with fine grain, 4000 × 3000, quality 94: about 5 MB.
"$convert" -seed 7 -size 4000x3000 gradient:'#2060a0-#e0c080' \
  \( -size 4000x3000 xc: +noise Random -channel RGB -evaluate multiply 0.06 \) \
  -compose plus -composite -quality 94 "$work/in.jpg"

# one LABEL ARGS...: one mode side by side, the four commands in turn in
# every round (bench/interleave.py), so the ratios are taken round by round.
one() {
  local label=$1; shift
  rm -rf "$work/out" && mkdir -p "$work/out"
  # The peers make the size the batch chose.
  "$cli" shrink "$@" --out "$work/out" "$work/in.jpg" >/dev/null
  local size
  size=$("$identify" -format '%wx%h' "$work/out/in.jpg")
  "$convert" "$work/in.jpg" -sample "$size!" "$work/small.ppm"
  local bitmap=$((${size%x*} * 3 * ${size#*x}))
  echo "$label shrink of a 4000 x 3000 JPEG of $(stat -c %s "$work/in.jpg") bytes to $size" \
       "($runs rounds, median [least, most]; load average $(cut -d' ' -f1-3 /proc/loadavg)):"
  python3 bench/interleave.py "$runs" --ratio kobalto/djpeg+cjpeg --ratio kobalto/imagemagick \
    ::: kobalto "$cli" shrink "$@" --out "$work/out" "$work/in.jpg" \
    ::: imagemagick "$convert" "$work/in.jpg" -sample "$size!" -quality 80 "$work/im.jpg" \
    ::: djpeg djpeg -outfile /dev/null "$work/in.jpg" \
    ::: cjpeg cjpeg -quality 80 -outfile /dev/null "$work/small.ppm" |
  awk -v out="$bitmap" -v file="$(stat -c %s "$work/in.jpg")" -v goal="$GOAL" '
    $1 == "time" { w[$2] = $3; wl[$2] = $4; wm[$2] = $5; c[$2] = $6; cl[$2] = $7; cm[$2] = $8; peak[$2] = $9 }
    $1 == "ratio" { r[$2] = sprintf("wall %.2f [%.2f, %.2f]  CPU %.2f [%.2f, %.2f]", $3, $4, $5, $6, $7, $8) }
    END {
      printf "                       wall                     CPU                      peak RSS\n";
      printf "  kobalto-cli          %.3f s [%.3f, %.3f]  %.3f s [%.3f, %.3f]  %6.1f MB\n", w["kobalto"], wl["kobalto"], wm["kobalto"], c["kobalto"], cl["kobalto"], cm["kobalto"], peak["kobalto"]/1024;
      printf "  ImageMagick          %.3f s [%.3f, %.3f]  %.3f s [%.3f, %.3f]  %6.1f MB\n", w["imagemagick"], wl["imagemagick"], wm["imagemagick"], c["imagemagick"], cl["imagemagick"], cm["imagemagick"], peak["imagemagick"]/1024;
      printf "  floor djpeg + cjpeg  %.3f s                %.3f s\n", w["djpeg"] + w["cjpeg"], c["djpeg"] + c["cjpeg"];
      printf "  kobalto / floor        %s  (goal at most %s)\n", r["kobalto/djpeg+cjpeg"], goal;
      printf "  kobalto / ImageMagick  %s\n", r["kobalto/imagemagick"];
      extra = peak["kobalto"]*1024 - out - file;
      printf "  peak - output bitmap - file held  %.1f MiB  (goal at most 20 MiB and the decoder'"'"'s buffers)\n", extra/1048576 }'
}

GOAL=0.85 one "Automatic"
GOAL=1.00 one "50 %" --percent 50
