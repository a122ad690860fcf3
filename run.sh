#!/usr/bin/env bash
# Installs what is missing, builds, and starts Kobalto.
set -euo pipefail
cd "$(dirname "$0")"

./tools/install-deps.sh
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs" --target kobalto-cli

# The window is not built yet; the command-line tool runs the same pipeline.
./build/cli/kobalto-cli --help
