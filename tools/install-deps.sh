#!/usr/bin/env bash
# Installs, with apt-get, whatever the build and the tests need and the
# machine lacks. Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  libjpeg62-turbo-dev zlib1g-dev
  libgtest-dev libbenchmark-dev
  # Peer tools the tests use as oracles.
  imagemagick libtiff-tools pngcheck giflib-tools python3-pil
)
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
