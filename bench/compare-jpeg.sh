#!/usr/bin/env bash
# The automatic-mode shrink of a 12-megapixel photo-like JPEG of about 5 MB:
# kobalto-cli against ImageMagick (-sample to the same size, quality 80) and
# against the floor, libjpeg-turbo's own tools doing only the codec work
# (djpeg of the input, cjpeg -quality 80 of an output-sized picture).
# Prints the best wall and CPU times of several runs, peak memory and the
# ratios. CPU time (user + system) is the steadier figure on a busy machine.
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
decoded=$((4000 * 3000 * 3))

# measure COMMAND...: the best wall time and the best CPU time (s) of $runs
# runs, and the largest peak RSS (KB), from the kernel's accounting of the
# finished child.
measure() {
  python3 - "$runs" "$@" <<'PY'
import os, subprocess, sys, time
runs, cmd = int(sys.argv[1]), sys.argv[2:]
wall = cpu = float('inf')
peak = 0
for _ in range(runs):
    start = time.perf_counter()
    child = subprocess.Popen(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    wall = min(wall, time.perf_counter() - start)
    cpu = min(cpu, usage.ru_utime + usage.ru_stime)
    peak = max(peak, usage.ru_maxrss)
    if status:
        sys.exit("failed: " + " ".join(cmd))
print(f"{wall:.4f} {cpu:.4f} {peak}")
PY
}

mkdir -p "$work/out"
k=$(measure "$cli" shrink --out "$work/out" "$work/in.jpg")
# The peers make the size the batch chose.
size=$("$identify" -format '%wx%h' "$work/out/in.jpg")
m=$(measure "$convert" "$work/in.jpg" -sample "$size!" -quality 80 "$work/im.jpg")
"$convert" "$work/in.jpg" -sample "$size!" "$work/small.ppm"
d=$(measure djpeg -outfile /dev/null "$work/in.jpg")
c=$(measure cjpeg -quality 80 -outfile /dev/null "$work/small.ppm")

echo "Automatic shrink of a 4000 x 3000 JPEG of $(stat -c %s "$work/in.jpg") bytes to $size (best of $runs):"
echo "$k $m $d $c" | awk -v px=$decoded '{
  fw = $7 + $10; fc = $8 + $11;
  printf "                       wall      CPU       peak RSS\n";
  printf "  kobalto-cli          %6.3f s  %6.3f s  %6.1f MB (%.2f x the decoded picture)\n", $1, $2, $3/1024, $3*1024/px;
  printf "  ImageMagick          %6.3f s  %6.3f s  %6.1f MB\n", $4, $5, $6/1024;
  printf "  floor djpeg + cjpeg  %6.3f s  %6.3f s\n", fw, fc;
  printf "  kobalto / floor        wall %.2f  CPU %.2f  (goal at most 1.15)\n", $1/fw, $2/fc;
  printf "  kobalto / ImageMagick  wall %.2f  CPU %.2f  (goal at most 0.50)\n", $1/$4, $2/$5;
  printf "  peak / decoded bytes   %.2f  (goal at most 1.40)\n", $3*1024/px }'
