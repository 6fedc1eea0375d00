#!/usr/bin/env bash
# Installs the Debian packages ZorelControl needs to build, test and run,
# skipping what is already there so that repeated runs cost nothing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev clang-format
  librtmidi-dev librtaudio-dev libjack-jackd2-dev jackd2
  libgtk-3-dev libcairo2-dev librsvg2-dev libfreetype-dev libpng-dev
  fonts-roboto fonts-dseg fonts-fork-awesome fonts-dejavu-core fonts-league-spartan fonts-entypo
  xvfb xauth xdg-utils xdotool desktop-file-utils dpkg-dev gdb stress-ng
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq || true
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
