#!/usr/bin/env bash
# The Windows installer under Wine: a silent install per machine into
# Program Files with both programs, the Start-menu shortcut and the entry in
# the installed programs; the programs run from there; a later version
# replaces it in place; a silent removal leaves nothing.
# Usage: msi_test.sh <msi> <wxs staged beside its files>; run inside
# scripts/wine-run.sh (a Wine prefix of its own). 77: a tool is missing.
set -u
msi=$1
wxs=$2
for tool in wine wixl msiinfo; do
  command -v "$tool" >/dev/null || { echo "SKIP: no $tool"; exit 77; }
done
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
dir="$WINEPREFIX/drive_c/Program Files/Brindelor"
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
entries() { wine reg query "$uninstall" /s 2>/dev/null | tr -d '\r' | grep -c 'DisplayName *REG_SZ *Brindelor$'; }
version() { wine reg query "$uninstall" /s 2>/dev/null | tr -d '\r' | grep -A12 'DisplayName *REG_SZ *Brindelor$' \
              | sed -n 's/.*DisplayVersion *REG_SZ *//p' | head -1; }

winpath() { echo "Z:$(realpath "$1" | tr / '\\')"; }

wine msiexec /i "$(winpath "$msi")" /qn; rc=$?
[ $rc -eq 0 ] || fail "install: exit $rc"
[ -f "$dir/brindelor.exe" ] || fail "no brindelor.exe in Program Files"
[ -f "$dir/brindelor-calc.exe" ] || fail "no brindelor-calc.exe in Program Files"
find "$WINEPREFIX/drive_c" -iname 'Brindelor.lnk' | grep -q . || fail "no Start-menu shortcut"
[ "$(entries)" = 1 ] || fail "installed programs: $(entries) entries"
[ "$(version)" = "$(msiinfo export "$msi" Property | sed -n 's/^ProductVersion\t//p' | tr -d '\r')" ] \
  || fail "installed programs: version $(version)"

# Run from there.
out=$(echo '100;K;' | wine "C:\\Program Files\\Brindelor\\brindelor-calc.exe" --decimal-separator=,)
[ "$out" = "11,5%;111,5;124,32;123;1,32;" ] || fail "companion from Program Files: $out"
if command -v xvfb-run >/dev/null && command -v xdotool >/dev/null; then
  shown=$(xvfb-run -a -s '-screen 0 800x600x24' bash -c '
    wine explorer /desktop=msi,800x600 "C:\\Program Files\\Brindelor\\brindelor.exe" </dev/null >/dev/null 2>&1 &
    for i in $(seq 40); do
      if xdotool search --name "^Brindelor$" >/dev/null 2>&1; then echo yes; break; fi
      sleep 0.25
    done
    wineserver -k')
  [ "$shown" = yes ] || fail "the window from Program Files never showed"
fi

# A later version replaces it in place.
later=$(mktemp -d)
cp "$(dirname "$wxs")"/*.exe "$(dirname "$wxs")"/*.ico "$later/"
sed -E 's/ Version="[0-9.]+"/ Version="99.0.0.0"/' "$wxs" >"$later/brindelor.wxs"
(cd "$later" && wixl -a x64 -o later.msi brindelor.wxs) || fail "later version: wixl"
wine msiexec /i "$(winpath "$later/later.msi")" /qn; rc=$?
[ $rc -eq 0 ] || fail "upgrade: exit $rc"
[ "$(entries)" = 1 ] || fail "after the upgrade: $(entries) entries"
[ "$(version)" = "99.0.0.0" ] || fail "after the upgrade: version $(version)"
[ -f "$dir/brindelor.exe" ] || fail "after the upgrade: no brindelor.exe"

# Removed silently, nothing left.
wine msiexec /x "$(winpath "$later/later.msi")" /qn; rc=$?
[ $rc -eq 0 ] || fail "removal: exit $rc"
[ ! -e "$dir" ] || fail "Program Files\\Brindelor is still there"
[ "$(entries)" = 0 ] || fail "installed programs after removal: $(entries) entries"
rm -rf "$later"

if [ $failures -ne 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "msi: all checks passed"
