#!/usr/bin/env bash
# Installs, with apt-get, whatever the build, the tests and the window need
# and the machine lacks. Safe to run again: it installs only what is missing.
#   tools/install-deps.sh [--run | --list] [PACKAGE...]
# --run: only what building and starting the programs needs (./run.sh).
# --list: prints every package named here, one a line, and installs nothing.
# Extra PACKAGEs are installed too (tools/fuzz.sh adds clang's packages, so
# that ./test.sh stays lean). tools/check-deps.sh keeps these lists
# honest: every package the build or a test uses must stand here.
set -euo pipefail

# Building and running the two programs; CMake configures the tests and
# benchmarks as well, so their libraries come here too.
run_packages=(
  cmake g++ make pkg-config
  libjpeg62-turbo-dev zlib1g-dev libdeflate-dev libcairo2-dev libgtest-dev libbenchmark-dev
  # The archives kobalto-cli takes Cairo and what it draws with from
  # (graphics/CMakeLists.txt); libcairo2-dev brings them too.
  libpixman-1-dev libfontconfig-dev libfreetype-dev libpng-dev libexpat1-dev libbrotli-dev
  # Qt Widgets; the xcb platform plugin comes with libqt6gui6.
  qt6-base-dev
  # The faces the window writes its Japanese texts in.
  fonts-ipafont-gothic fonts-ipafont-mincho
)
# Running the tests and making the package.
test_packages=(
  # Peer tools the tests use as oracles.
  imagemagick libtiff-tools pngcheck giflib-tools python3 python3-pil inkscape
  # The window on a real X server, and the desktop files' validators.
  xvfb xauth x11-utils desktop-file-utils appstream
  # The .deb (dpkg-shlibdeps, and file, which CPack asks about each
  # binary) and the man page's check.
  dpkg-dev file man-db groff-base
  # The floor the JPEG benchmark measures against (djpeg, cjpeg).
  libjpeg-turbo-progs
)

packages=("${run_packages[@]}")
case "${1:-}" in
  --run) shift ;;
  --list) printf '%s\n' "${run_packages[@]}" "${test_packages[@]}"; exit 0 ;;
  *) packages+=("${test_packages[@]}") ;;
esac
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
