#!/usr/bin/env bash
# Compiles the Windows resource script with MinGW's windres and checks what
# went into the .res: the version record, the manifest and the six icons.
#
#   check-windres.sh BRINDELOR.RC FILE_VERSION PRODUCT_VERSION
#
# BRINDELOR.RC is the script CMake generates (BUILD/generated/windows/) and
# the versions are the ones it was generated with. WINDRES overrides the
# compiler (default x86_64-w64-mingw32-windres). Exits 77 (skipped) without it.
set -euo pipefail

usage="usage: check-windres.sh BRINDELOR.RC FILE_VERSION PRODUCT_VERSION"
rc=${1:?$usage}
file_version=${2:?$usage}
product_version=${3:?$usage}
windres=${WINDRES:-x86_64-w64-mingw32-windres}

fail() { echo "check-windres: FAIL: $*" >&2; exit 1; }

if ! command -v "$windres" >/dev/null; then
  echo "SKIP: $windres is not installed (Debian: binutils-mingw-w64-x86-64)"
  exit 77
fi
[[ -f $rc ]] || fail "no resource script at $rc"

# windres preprocesses with the cross gcc; without it the host cpp will do,
# the script includes no Windows headers.
pre=()
prefix=${windres%windres}
if ! command -v "${prefix}gcc" >/dev/null; then
  pre=(--preprocessor=cpp)
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

if ! "$windres" "${pre[@]}" --input-format=rc --output-format=res \
     -i "$rc" -o "$tmp/brindelor.res" 2>"$tmp/err"; then
  cat "$tmp/err" >&2
  fail "$rc does not compile"
fi
[[ -s $tmp/err ]] && { cat "$tmp/err" >&2; fail "windres printed warnings"; }

# Read the compiled resources back as text to see what really went in.
"$windres" --input-format=res --output-format=rc -i "$tmp/brindelor.res" -o "$tmp/back.rc"
back=$tmp/back.rc

expect() { # expect <description> <fixed string>
  grep -qF -- "$2" "$back" || fail "$1: '$2' missing from the compiled resources"
}
dotted=${file_version//./, }
expect "binary file version" "FILEVERSION $dotted"
expect "binary product version" "PRODUCTVERSION ${product_version//./, }"
expect "string table language" 'BLOCK "040904E4"'
expect "FileVersion" "VALUE \"FileVersion\", \"$file_version\""
expect "ProductVersion" "VALUE \"ProductVersion\", \"$product_version\""
for key in FileDescription ProductName CompanyName LegalCopyright OriginalFilename; do
  expect "$key" "VALUE \"$key\", \""
done
expect "translation" 'VALUE "Translation", 0x409, 1252'
expect "manifest as RT_MANIFEST 1" '1 24 /* RT_MANIFEST */'
# windres writes the manifest back as rc strings, quotes doubled.
expect "manifest assembly version" "name=\"\"Brindelor.Brindelor\"\" version=\"\"$file_version\"\""
expect "common controls 6 in the manifest" 'Microsoft.Windows.Common-Controls'
expect "asInvoker in the manifest" 'asInvoker'
expect "icon group" '"IDI_ICON1" 14 /* RT_GROUP_ICON */'
expect "six icon sizes" 'Has 6 elements'
for size in '\020\020' '\030\030' '\040\040' '\060\060' '\100\100' '\200\200'; do
  expect "icon image ${size}" "\"$size\\000\\000\""
done

echo "check-windres: OK: $rc ($file_version)"
