#!/usr/bin/env bash
# A 4000 × 3000 photo-like picture halved into a Photoshop file, side by side
# with ImageMagick's `convert in.psd -sample 50% out.psd`. Each of $ROUNDS
# rounds (default 3) times both jobs (best of $RUNS) one after the other and
# prints their ratio; the median ratio comes last.
#   bench/compare-psd.sh [build-dir]
#
# Until kobalto reads Photoshop files, its side starts from the same
# picture as a BMP (`kobalto-cli convert --factor 0.5 in.bmp out.psd`), and
# ImageMagick's same job from the BMP is timed too, for a like-for-like ratio.
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/measure.sh
bench_setup "${1:-build}"
rounds=${ROUNDS:-3}

photo 4000 3000 0.06 -type TrueColor "BMP3:$work/in.bmp"
"$convert" "$work/in.bmp" -depth 8 "PSD:$work/in.psd"
mkdir -p "$work/out"

reads_psd=no
if "$cli" shrink --percent 50 --out "$work/out" "$work/in.psd" >/dev/null 2>&1; then
  reads_psd=yes
fi

echo "Photoshop output at 50 % of a 4000 x 3000 picture (best of $runs per job, $rounds rounds):"
ratios=() ratios_bmp=()
for round in $(seq "$rounds"); do
  if [ "$reads_psd" = yes ]; then
    k=$(measure "$cli" shrink --percent 50 --out "$work/out" "$work/in.psd")
    kout="$work/out/in.psd"
  else
    k=$(measure "$cli" convert --factor 0.5 "$work/in.bmp" "$work/k.psd")
    kout="$work/k.psd"
  fi
  m=$(measure "$convert" "$work/in.psd" -sample 50% "$work/im.psd")
  b=$(measure "$convert" "$work/in.bmp" -sample 50% "$work/imb.psd")
  ratio=$(echo "$k $m" | awk '{printf "%.3f", $1/$3}')
  ratios+=("$ratio")
  ratios_bmp+=("$(echo "$k $b" | awk '{printf "%.3f", $1/$3}')")
  echo "$k $m $b" | awk -v r="$round" -v src="$([ "$reads_psd" = yes ] && echo psd || echo bmp)" '{
    printf "  round %d: kobalto (from %s) %6.3f s, ImageMagick from psd %6.3f s, from bmp %6.3f s;", r, src, $1, $3, $5;
    printf " ratio to psd job %.3f, to bmp job %.3f\n", $1/$3, $1/$5 }'
done
echo "  output: kobalto $(stat -c %s "$kout") bytes, ImageMagick $(stat -c %s "$work/im.psd") bytes"
[ "$reads_psd" = yes ] || echo "  (kobalto cannot read .psd yet: its side starts from the BMP)"
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {printf "%.3f", a[int((NR+1)/2)]}'; }
echo "  median kobalto / ImageMagick, psd job: $(median "${ratios[@]}")  (goal at most 0.50)"
echo "  median kobalto / ImageMagick, same job from the bmp: $(median "${ratios_bmp[@]}")"
