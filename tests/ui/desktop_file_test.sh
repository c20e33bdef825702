#!/bin/bash
# The desktop entry as desktop-file-validate reads it.
#
#   desktop_file_test.sh brindelor.desktop
#
# Exits 77 (skipped) without desktop-file-validate.
set -u
desktop=${1:?usage: desktop_file_test.sh brindelor.desktop}
if ! command -v desktop-file-validate >/dev/null 2>&1; then
  echo "SKIP: desktop-file-validate is not installed (Debian: desktop-file-utils)"
  exit 77
fi
exec desktop-file-validate "$desktop"
