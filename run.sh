#!/usr/bin/env bash
# Installs what is missing, builds, and starts Kobalto's window. Without a
# display it says so; the command-line tool runs the same pipeline.
set -euo pipefail
cd "$(dirname "$0")"

./tools/install-deps.sh --run
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cmake --build build -j"$jobs" --target kobalto kobalto-cli
  echo "No display here (neither DISPLAY nor WAYLAND_DISPLAY is set): the window cannot open."
  echo "Start it from a desktop session with ./build/app/kobalto, or shrink files without a window:"
  echo
  ./build/cli/kobalto-cli --help
  exit 0
fi

cmake --build build -j"$jobs" --target kobalto
exec ./build/app/kobalto
