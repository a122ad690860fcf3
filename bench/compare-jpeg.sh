#!/usr/bin/env bash
# The shrink of a 12-megapixel photo-like JPEG of about 5 MB, in the
# automatic mode and at 50 %: kobalto-cli against ImageMagick (-sample to the
# same size, quality 80) and against the floor, libjpeg-turbo's own tools
# doing only the codec work (djpeg of the whole input, cjpeg -quality 80 of
# an output-sized picture). Prints the median, minimum and maximum of the
# wall and CPU times of several runs, the peak memory, and the ratios of
# the medians. CPU time (user + system) is the steadier figure on a busy
# machine; the load average is printed with the figures.
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

# measure COMMAND...: median, minimum and maximum of the wall and of the CPU
# time (s) of $runs runs, and the largest peak RSS (KB), from the kernel's
# accounting of the finished child.
measure() {
  python3 - "$runs" "$@" <<'PY'
import os, statistics, subprocess, sys, time
runs, cmd = int(sys.argv[1]), sys.argv[2:]
walls, cpus, peak = [], [], 0
for _ in range(runs):
    start = time.perf_counter()
    child = subprocess.Popen(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    walls.append(time.perf_counter() - start)
    cpus.append(usage.ru_utime + usage.ru_stime)
    peak = max(peak, usage.ru_maxrss)
    if status:
        sys.exit("failed: " + " ".join(cmd))
m = statistics.median
print(f"{m(walls):.4f} {min(walls):.4f} {max(walls):.4f} {m(cpus):.4f} {min(cpus):.4f} {max(cpus):.4f} {peak}")
PY
}

# one LABEL ARGS...: one mode side by side.
one() {
  local label=$1; shift
  rm -rf "$work/out" && mkdir -p "$work/out"
  local k m d c size
  k=$(measure "$cli" shrink "$@" --out "$work/out" "$work/in.jpg")
  # The peers make the size the batch chose.
  size=$("$identify" -format '%wx%h' "$work/out/in.jpg")
  m=$(measure "$convert" "$work/in.jpg" -sample "$size!" -quality 80 "$work/im.jpg")
  "$convert" "$work/in.jpg" -sample "$size!" "$work/small.ppm"
  d=$(measure djpeg -outfile /dev/null "$work/in.jpg")
  c=$(measure cjpeg -quality 80 -outfile /dev/null "$work/small.ppm")
  local bitmap=$((${size%x*} * 3 * ${size#*x}))
  echo "$label shrink of a 4000 x 3000 JPEG of $(stat -c %s "$work/in.jpg") bytes to $size" \
       "(median of $runs, min-max; load average $(cut -d' ' -f1-3 /proc/loadavg)):"
  echo "$k $m $d $c" | awk -v out="$bitmap" -v file="$(stat -c %s "$work/in.jpg")" -v goal="$GOAL" '{
    # fields: 1-7 kobalto, 8-14 ImageMagick, 15-21 djpeg, 22-28 cjpeg
    printf "                       wall                     CPU                      peak RSS\n";
    printf "  kobalto-cli          %.3f s (%.3f-%.3f)  %.3f s (%.3f-%.3f)  %6.1f MB\n", $1, $2, $3, $4, $5, $6, $7/1024;
    printf "  ImageMagick          %.3f s (%.3f-%.3f)  %.3f s (%.3f-%.3f)  %6.1f MB\n", $8, $9, $10, $11, $12, $13, $14/1024;
    printf "  floor djpeg + cjpeg  %.3f s                %.3f s\n", $15 + $22, $18 + $25;
    printf "  kobalto / floor        wall %.2f  CPU %.2f  (goal at most %s)\n", $1/($15 + $22), $4/($18 + $25), goal;
    printf "  kobalto / ImageMagick  wall %.2f  CPU %.2f\n", $1/$8, $4/$11;
    extra = $7*1024 - out - file;
    printf "  peak - output bitmap - file held  %.1f MiB  (goal at most 20 MiB and the decoder'"'"'s buffers)\n", extra/1048576 }'
}

GOAL=0.85 one "Automatic"
GOAL=1.00 one "50 %" --percent 50
