#!/bin/bash
# Runs a cross-built test program inside a Wine desktop on an Xvfb of its
# own, under a given LANG, and exits with the program's code (which Wine's
# explorer does not give back: the program writes it to a file).
#
#   run_in_desktop.sh LANG WINE PROGRAM.exe [ARGS...]
#
# Exits 77 (skipped) without xvfb-run.
set -u

lang=${1:?usage: run_in_desktop.sh LANG WINE PROGRAM.exe [ARGS...]}
wine=${2:?usage: run_in_desktop.sh LANG WINE PROGRAM.exe [ARGS...]}
shift 2

if [ -z "${BRINDELOR_IN_XVFB:-}" ]; then
  if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "SKIP: xvfb-run is not installed"
    exit 77
  fi
  BRINDELOR_IN_XVFB=1 exec xvfb-run -a -s '-screen 0 800x600x24' "$0" "$lang" "$wine" "$@"
fi

export WINEDEBUG=${WINEDEBUG:--all}
# Wine's services inherit the pipes of the first Wine program: when no
# wineserver runs yet (ctest outside scripts/wine-run.sh), start them with none.
wineserver -p </dev/null >/dev/null 2>&1
"$wine" cmd /c exit </dev/null >/dev/null 2>&1

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
# LANG reaches the program and what it starts: Wine takes a process's locale
# from its Unix environment.
LANG=$lang LC_ALL=$lang BRINDELOR_TEST_RC=$dir/rc \
  "$wine" explorer "/desktop=brindelor-$$,800x600" "$@" </dev/null
if [ ! -s "$dir/rc" ]; then
  echo "FAIL: the test program ended without writing its exit code"
  exit 1
fi
exit "$(cat "$dir/rc")"
