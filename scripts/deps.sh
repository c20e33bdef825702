#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
# As root it runs apt-get; otherwise it prints the command and fails.
set -euo pipefail

packages=(
  cmake ninja-build g++ make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-translations-l10n
  fonts-wine
  xvfb xauth libx11-dev xdotool imagemagick
  binutils-mingw-w64-x86-64 dpkg-dev desktop-file-utils
  locales
)
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
  else
    echo "Missing packages: ${missing[*]}" >&2
    echo "Install them with:" >&2
    echo "  sudo apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
fi

# The French glibc locale: Wine follows LANG for the user locale only when
# glibc has it, and the window tests read French numbers.
if ! locale -a 2>/dev/null | grep -qix 'fr_FR\.utf-\?8'; then
  if [ "$(id -u)" -eq 0 ]; then
    echo "Generating the fr_FR.UTF-8 locale"
    sed -i 's/^# *fr_FR.UTF-8/fr_FR.UTF-8/' /etc/locale.gen
    grep -q '^fr_FR.UTF-8' /etc/locale.gen || echo 'fr_FR.UTF-8 UTF-8' >>/etc/locale.gen
    locale-gen
  else
    echo "Missing locale: fr_FR.UTF-8" >&2
    echo "Generate it with:" >&2
    echo "  sudo sed -i 's/^# *fr_FR.UTF-8/fr_FR.UTF-8/' /etc/locale.gen && sudo locale-gen" >&2
    exit 1
  fi
fi
