#!/usr/bin/env bash
# Fuzzes every target of fuzz/ for SECONDS each (default 60) with libFuzzer,
# the libraries instrumented too, under AddressSanitizer and UBSan.
#   tools/fuzz.sh [SECONDS]          TARGETS="png gif" picks targets
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

dir=build-fuzz
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
summary=()
for format in "${targets[@]}"; do
  corpus="$dir/corpus/$format"
  findings="$dir/findings/$format"
  log="$dir/fuzz-$format.log"
  mkdir -p "$corpus" "$findings"
  inputs=("$corpus")
  if [ -d "$seeds/$format" ]; then
    inputs+=("$seeds/$format")
  else
    echo "fuzz_$format: no seeds in $seeds/$format, starting from the kept corpus only" >&2
  fi
  echo "fuzz_$format: $seconds s, log in $log"
  # Fork mode keeps going past a finding and counts each kind.
  "$dir/fuzz/fuzz_$format" -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=1048576 \
    -artifact_prefix="$findings/" "${inputs[@]}" >"$log" 2>&1 || true

  # The last status line: #RUNS: cov: EDGES ft: .. corp: .. exec/s: RATE
  # oom/timeout/crash: O/T/C time: ..
  stats=$(grep -E '^#[0-9]+: cov: ' "$log" | tail -1 || true)
  if [ -z "$stats" ]; then
    summary+=("$(printf '%-12s no status line: see %s' "fuzz_$format" "$log")")
    continue
  fi
  runs=$(sed -E 's/^#([0-9]+):.*/\1/' <<<"$stats")
  edges=$(sed -E 's/.* cov: ([0-9]+).*/\1/' <<<"$stats")
  rate=$(sed -E 's/.* exec\/s: ([0-9]+).*/\1/' <<<"$stats")
  IFS=/ read -r ooms timeouts crashes <<<"$(sed -E 's/.* oom\/timeout\/crash: ([0-9]+\/[0-9]+\/[0-9]+).*/\1/' <<<"$stats")"

  new=0
  for f in "$findings"/crash-* "$findings"/timeout-* "$findings"/oom-* "$findings"/leak-*; do
    [ -f "$f" ] || continue
    base=$(basename "$f")
    kept="$crashers/$format-${base%%-*}-$(sha1sum "$f" | cut -c1-12)"
    if [ ! -e "$kept" ]; then
      cp "$f" "$kept"
      new=$((new + 1))
    fi
  done
  summary+=("$(printf '%-12s runs %10s  runs/s %7s  edges %6s  crashes %3s  timeouts %3s  OOMs %3s  new kept %s' \
    "fuzz_$format" "$runs" "$rate" "$edges" "$crashes" "$timeouts" "$ooms" "$new")")
done

echo
echo "After $seconds s per target:"
printf '  %s\n' "${summary[@]}"
