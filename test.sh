#!/usr/bin/env bash
# Installs what is missing, builds and runs every test.
#   ./test.sh             the normal build, in build/
#   ./test.sh --sanitize  AddressSanitizer + UBSan, in build-sanitize/
set -euo pipefail
cd "$(dirname "$0")"

sanitize=OFF
dir=build
for arg in "$@"; do
  case "$arg" in
    --sanitize) sanitize=ON; dir=build-sanitize ;;
    *) echo "usage: ./test.sh [--sanitize]" >&2; exit 2 ;;
  esac
done

./tools/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
bench=ON
[ "$sanitize" = ON ] && bench=OFF
# The tree builds without warnings; -Werror keeps it so.
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOBALTO_SANITIZE="$sanitize" -DKOBALTO_BENCH="$bench" \
  -DKOBALTO_WERROR=ON >/dev/null
cmake --build "$dir" -j"$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$dir" --output-on-failure -j"$jobs"
