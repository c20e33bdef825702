#!/usr/bin/env bash
# Installs the Debian packages a task needs, when missing.
# As root it runs apt-get; otherwise it prints the command and fails.
#
#   deps.sh [MODE | PACKAGE]...
#
# MODE is what the packages are for (default run):
#   build    configure and compile the tree
#   run      build, and what the window needs to show right (make run)
#   test     run and windows, and the tools the tests drive (make test)
#   windows  build, and MinGW-w64, Wine and wixl for the Windows tree (make windows)
#   bench    run, and the X server and Xlib of the start-up probe (make bench)
#   package  build, and what CPack needs for a .deb (make package)
#   fuzz     build, and clang with its libFuzzer run-time (make fuzz)
#   ci       all of the above (.ci/run)
# Any other word is taken as a package name.
set -euo pipefail

build=(
  cmake ninja-build g++ make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev
)
# Qt's own French texts, and Tahoma for the window's layout.
run=(qt6-translations-l10n fonts-wine)
# Xvfb for the screenshots, MinGW's windres for the Windows resources,
# dpkg-dev (dpkg-shlibdeps) for the package test.
test_tools=(
  xvfb xauth xdotool imagemagick
  binutils-mingw-w64-x86-64 dpkg-dev desktop-file-utils
  locales
)
bench_tools=(xvfb xauth libx11-dev)
package_tools=(dpkg-dev)
fuzz_tools=(clang-14 libclang-rt-14-dev)
# The cross-compiler, Wine to run what it makes (on Xvfb, for the window),
# msitools' wixl for the installer; glibc's French locale for Wine's LANG.
windows_tools=(
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine64 wine
  msitools wixl xvfb xauth xdotool imagemagick locales
)

packages=()
french_locale=0
add_mode() {
  case "$1" in
    build) packages+=("${build[@]}") ;;
    run) add_mode build; packages+=("${run[@]}") ;;
    test) add_mode run; add_mode windows; packages+=("${test_tools[@]}") ;;
    windows) add_mode build; packages+=("${windows_tools[@]}"); french_locale=1 ;;
    bench) add_mode run; packages+=("${bench_tools[@]}") ;;
    package) add_mode build; packages+=("${package_tools[@]}") ;;
    fuzz) add_mode build; packages+=("${fuzz_tools[@]}") ;;
    ci) add_mode test; add_mode bench; add_mode package; add_mode fuzz ;;
    *) return 1 ;;
  esac
}
[ $# -eq 0 ] && set -- run
for word in "$@"; do
  add_mode "$word" || packages+=("$word")
done

missing=()
for p in $(printf '%s\n' "${packages[@]}" | sort -u); do
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
if [ $french_locale -eq 1 ] && ! locale -a 2>/dev/null | grep -qix 'fr_FR\.utf-\?8'; then
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
