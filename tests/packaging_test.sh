#!/bin/bash
# The Debian package CPack makes from a build tree: what it holds, and that
# the program it carries starts and keeps running.
#
#   packaging_test.sh BUILD_DIR VERSION
#
# Exits 77 (skipped) without cpack, dpkg-deb, dpkg-shlibdeps (which CPack
# runs for the dependencies) or timeout.
set -u

build=${1:?usage: packaging_test.sh BUILD_DIR VERSION}
version=${2:?usage: packaging_test.sh BUILD_DIR VERSION}

for tool in cpack dpkg-deb dpkg-shlibdeps timeout; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed"
    exit 77
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail=0
check() { # message, 0/1
  if [ "$2" -eq 1 ]; then echo "ok   $1"; else echo "FAIL $1"; fail=1; fi
}

# What the package target runs, with the output kept out of the build tree.
if ! (cd "$build" && cpack --config CPackConfig.cmake -B "$work/out") >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "FAIL cpack"
  exit 1
fi
deb=$(ls "$work"/out/*.deb 2>/dev/null | head -n 1)
if [ -z "$deb" ]; then
  echo "FAIL no .deb made"
  exit 1
fi
echo "package $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
check "Package brindelor" $([ "$(field Package)" = brindelor ] && echo 1 || echo 0)
check "Version $version" $([ "$(field Version)" = "$version" ] && echo 1 || echo 0)
depends=$(field Depends)
check "depends on Qt's widgets ($depends)" \
  $([[ $depends == *libqt6widgets6* ]] && echo 1 || echo 0)

contents=$(dpkg-deb -c "$deb" | awk '{ print $NF }')
expect_file() {
  check "holds $1" $(grep -qx "\\./${1#/}" <<<"$contents" && echo 1 || echo 0)
}
expect_file /usr/bin/brindelor
expect_file /usr/bin/brindelor-calc
expect_file /usr/share/applications/brindelor.desktop
for size in 16 24 32 48 64 128; do
  expect_file "/usr/share/icons/hicolor/${size}x${size}/apps/brindelor.png"
done
expect_file /usr/share/icons/hicolor/scalable/apps/brindelor.svg

dpkg-deb -x "$deb" "$work/root"
desktop="$work/root/usr/share/applications/brindelor.desktop"
check "the desktop entry starts brindelor" \
  $(grep -qx 'Exec=brindelor' "$desktop" && echo 1 || echo 0)
check "the desktop entry names the icon brindelor" \
  $(grep -qx 'Icon=brindelor' "$desktop" && echo 1 || echo 0)

# Still running when the timeout ends it: it started and sits in its loop.
QT_QPA_PLATFORM=offscreen LC_ALL=fr_FR.UTF-8 timeout 3 "$work/root/usr/bin/brindelor" \
  >"$work/run.log" 2>&1
status=$?
check "the packaged brindelor runs until stopped (exit $status, 124 expected)" \
  $([ "$status" -eq 124 ] && echo 1 || echo 0)
[ "$status" -eq 124 ] || cat "$work/run.log"

exit $fail
