#!/usr/bin/env bash
# Fuzzes every target of fuzz/ for SECONDS each (default 60) with libFuzzer,
# the libraries instrumented too, under AddressSanitizer and UBSan.
#   tools/fuzz.sh [SECONDS]          TARGETS="png gif" picks targets,
#                                    JOBS=n runs n campaigns at once (default: cores),
#                                    FUZZ_BUILD=dir builds elsewhere than build-fuzz
# Each target starts from ../shared/corpus/<format>/ (when present) plus
# what earlier runs kept in build-fuzz/corpus/<format>/. Crashes, timeouts
# and out-of-memory inputs do not stop a run; new ones are copied to
# tests/data/crashers/ as <format>-<kind>-<hash>, where the replay tests of
# ./test.sh pick them up. Ends with one line per target: runs, runs per
# second, edges covered, crashes, timeouts, out-of-memory.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
case "$seconds" in
  ''|*[!0-9]*) echo "usage: tools/fuzz.sh [SECONDS]" >&2; exit 2 ;;
esac

# Only here, so that ./test.sh stays lean: clang with its libFuzzer runtime.
./tools/install-deps.sh clang lld libclang-rt-dev

dir=${FUZZ_BUILD:-build-fuzz}
jobs=$(nproc 2>/dev/null || echo 2)
targets=()
for src in fuzz/fuzz_*.cpp; do
  name=$(basename "$src" .cpp)
  format=${name#fuzz_}
  if [ -n "${TARGETS:-}" ] && [[ " $TARGETS " != *" $format "* ]]; then continue; fi
  targets+=("$format")
done
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz target matches TARGETS=$TARGETS" >&2; exit 2; }

CC=clang CXX=clang++ cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOBALTO_FUZZ=ON \
  -DKOBALTO_SANITIZE=ON -DKOBALTO_BENCH=OFF -DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld >/dev/null
cmake --build "$dir" -j"$jobs" --target "${targets[@]/#/fuzz_}"

crashers=tests/data/crashers
seeds=../shared/corpus
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# seed_dir FORMAT: the folder of real files a campaign starts from. Formats
# without a folder of their own take theirs by extension from misc/; the
# decompressors start from fax and run-length files of their formats.
seed_dir() {
  local format=$1 pattern=()
  case "$format" in
    icon) [ -d "$seeds/ico" ] && echo "$seeds/ico"; return ;;
    autodesk) pattern=('*.[cC][eE][lL]' '*.[pP][iI][cC]') ;;
    rla) pattern=('*.[rR][lL][aA]' '*.[rR][pP][fF]') ;;
    decompress) pattern=('*.[gG]3') ;;
    *) [ -d "$seeds/$format" ] && echo "$seeds/$format"; return ;;
  esac
  local picked="$dir/seeds/$format" p f
  mkdir -p "$picked"
  for p in "${pattern[@]}"; do
    for f in "$seeds"/misc/$p; do [ -f "$f" ] && cp -f "$f" "$picked/"; done
  done
  if [ "$format" = decompress ]; then
    for f in "$seeds"/pcx/* "$seeds"/tga/*; do [ -f "$f" ] && cp -f "$f" "$picked/"; done
  fi
  [ -n "$(ls -A "$picked")" ] && echo "$picked"
  return 0
}

# fuzz_one FORMAT: one campaign; its summary line goes to $dir/summary-FORMAT.
fuzz_one() {
  local format=$1
  local corpus="$dir/corpus/$format" findings="$dir/findings/$format"
  local log="$dir/fuzz-$format.log" line
  mkdir -p "$corpus" "$findings"
  rm -f "$findings"/crash-* "$findings"/timeout-* "$findings"/oom-* "$findings"/leak-*
  local inputs=("$corpus") seed
  seed=$(seed_dir "$format")
  if [ -n "$seed" ]; then
    inputs+=("$seed")
  else
    echo "fuzz_$format: no seeds for it in $seeds, starting from the kept corpus only" >&2
  fi
  echo "fuzz_$format: $seconds s, log in $log"
  # Fork mode keeps going past a finding and counts each kind.
  "$dir/fuzz/fuzz_$format" -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=1048576 \
    -artifact_prefix="$findings/" "${inputs[@]}" >"$log" 2>&1 || true

  # The last status line: #RUNS: cov: EDGES ft: .. corp: .. exec/s: RATE
  # oom/timeout/crash: O/T/C time: ..
  local stats
  stats=$(grep -E '^#[0-9]+: cov: ' "$log" | tail -1 || true)
  if [ -z "$stats" ]; then
    printf '%-16s no status line: see %s\n' "fuzz_$format" "$log" >"$dir/summary-$format"
    return
  fi
  local runs edges rate ooms timeouts crashes
  runs=$(sed -E 's/^#([0-9]+):.*/\1/' <<<"$stats")
  edges=$(sed -E 's/.* cov: ([0-9]+).*/\1/' <<<"$stats")
  rate=$(sed -E 's/.* exec\/s:? ([0-9]+).*/\1/' <<<"$stats")
  IFS=/ read -r ooms timeouts crashes <<<"$(sed -E 's/.* oom\/timeout\/crash: ([0-9]+\/[0-9]+\/[0-9]+).*/\1/' <<<"$stats")"

  local new=0 f base kept
  for f in "$findings"/crash-* "$findings"/timeout-* "$findings"/oom-* "$findings"/leak-*; do
    [ -f "$f" ] || continue
    base=$(basename "$f")
    kept="$crashers/$format-${base%%-*}-$(sha1sum "$f" | cut -c1-12)"
    if [ ! -e "$kept" ]; then
      cp "$f" "$kept"
      new=$((new + 1))
    fi
  done
  printf '%-16s runs %10s  runs/s %7s  edges %6s  crashes %3s  timeouts %3s  OOMs %3s  new kept %s\n' \
    "fuzz_$format" "$runs" "$rate" "$edges" "$crashes" "$timeouts" "$ooms" "$new" >"$dir/summary-$format"
}

# JOBS campaigns at once (default: one per core); each is one process.
parallel=${JOBS:-$jobs}
for format in "${targets[@]}"; do
  rm -f "$dir/summary-$format"
  while [ "$(jobs -rp | wc -l)" -ge "$parallel" ]; do wait -n || true; done
  fuzz_one "$format" &
done
wait

summary=()
for format in "${targets[@]}"; do
  summary+=("$(cat "$dir/summary-$format" 2>/dev/null || echo "fuzz_$format: no summary")")
done

echo
echo "After $seconds s per target:"
printf '  %s\n' "${summary[@]}"
