#!/usr/bin/env bash
# Runs a command (ctest of the Windows tree, say) with a Wine of its own: a
# fresh prefix in a temporary folder, the fonts the window needs, a French
# user locale from LANG, and the wineserver ended afterwards.
# Usage: wine-run.sh COMMAND [ARGS...]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

export WINEPREFIX="${WINEPREFIX_BASE:-${TMPDIR:-/tmp}}/brindelor-wine.$$"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" # no Mono or Gecko prompt
mkdir -p "$WINEPREFIX"
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT

# Wine's services inherit the pipes of whoever starts them: start them here,
# with none, or ctest waits for them forever.
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1
# The first start restarts Wine's services a little later; each writes the
# locale values of its LANG into the prefix, which programs then read. Let
# them be up before the command's programs start under their own LANG.
for _ in $(seq 80); do
  pgrep -f 'system32.rpcss\.exe' >/dev/null && pgrep -f 'system32.plugplay\.exe' >/dev/null \
    && pgrep -f 'system32.svchost\.exe' >/dev/null && break
  sleep 0.25
done

# Wine 8 does not read Debian's fonts-wine: copy Tahoma and Marlett in.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$fonts"
cp /usr/share/wine/fonts/*.ttf "$fonts/" 2>/dev/null || true

"$@"
