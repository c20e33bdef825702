#!/usr/bin/env bash
# brindelor-calc end to end: the table of rows, refused rows, hostile input,
# the options and the locale default.
#
#   companion_test.sh VERSION [EMULATOR] BRINDELOR-CALC
set -u
version=${1:?usage: companion_test.sh VERSION [EMULATOR] BRINDELOR-CALC}
shift
calc=("$@") # the program, after its emulator if any
here="$(cd "$(dirname "$0")" && pwd)"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

fr=(--decimal-separator=, "--group-separator= ")

# The table: every row answered as the window would.
"${calc[@]}" "${fr[@]}" <"$here/rows.in" >"$tmp/out" 2>"$tmp/err"; rc=$?
[ $rc -eq 0 ] || fail "table: exit $rc, stderr: $(cat "$tmp/err")"
diff -u "$here/rows.expected" "$tmp/out" || fail "table output differs"

# Refused rows: no output line, the line number on stderr, exit 1.
printf '100;K;\n100;K;K;K\n100;Z;\n5;;9\n' | "${calc[@]}" "${fr[@]}" >"$tmp/out" 2>"$tmp/err"; rc=$?
[ $rc -eq 1 ] || fail "refused rows: exit $rc"
[ "$(wc -l <"$tmp/out")" -eq 2 ] || fail "refused rows: $(wc -l <"$tmp/out") output lines"
grep -q 'ligne 2 : trop de champs' "$tmp/err" || fail "no line-2 message: $(cat "$tmp/err")"
grep -q 'ligne 3 : modificateur inconnu' "$tmp/err" || fail "no line-3 message: $(cat "$tmp/err")"

# CRLF and a last line without its end.
printf '100;K;\r\n25;O;' | "${calc[@]}" "${fr[@]}" >"$tmp/out" 2>&1
[ "$(cat "$tmp/out")" = "$(printf '11,5%%;111,5;124,32;123;1,32;\n0,3%%;25,08;25,15;25,15;0;')" ] \
  || fail "CRLF / unterminated: $(cat "$tmp/out")"

# Binary input and a line of megabytes: an answer, never a crash.
head -c 200000 /dev/urandom >"$tmp/bin"
"${calc[@]}" "${fr[@]}" <"$tmp/bin" >/dev/null 2>&1; rc=$?
[ $rc -le 1 ] || fail "binary input: exit $rc"
{ printf '1'; head -c 3000000 /dev/zero | tr '\0' '7'; printf ';K;\n'; } >"$tmp/big"
"${calc[@]}" "${fr[@]}" <"$tmp/big" >"$tmp/out" 2>&1; rc=$?
[ $rc -eq 0 ] || fail "megabyte line: exit $rc"
grep -qx ';;;;;Débordement en virgule flottante' "$tmp/out" || fail "megabyte line: $(head -c 200 "$tmp/out")"

# Options.
[ "$("${calc[@]}" --version)" = "brindelor-calc $version" ] || fail "--version: $("${calc[@]}" --version)"
"${calc[@]}" --help | grep -q 'BASE;MOD1;MOD2' || fail "--help"
"${calc[@]}" --bogus >/dev/null 2>&1; [ $? -eq 2 ] || fail "unknown option not refused"
"${calc[@]}" --decimal-separator=';' </dev/null >/dev/null 2>&1; [ $? -eq 2 ] || fail "';' accepted as a separator"
[ "$(echo '1234,5;X;' | "${calc[@]}" --decimal-separator=, --group-separator=.)" = "8%;1333,26;1439,92;1432,02;7,9;" ] \
  || fail "separators as options"

# The user's locale by default (Qt's own locale data: no glibc locale needed).
[ "$(echo '100;K;' | LC_ALL=fr_FR.UTF-8 "${calc[@]}")" = "11,5%;111,5;124,32;123;1,32;" ] || fail "French locale default"
[ "$(echo '1234.5;X;' | LC_ALL=C "${calc[@]}")" = "8%;1333.26;1439.92;1432.02;7.9;" ] || fail "C locale default"

# One separator given, the other from a locale that uses the same: the given
# one wins, the locale's gives way to a no-break space.
for loc in C en_US.UTF-8; do
  [ "$(echo '100;K;' | LC_ALL=$loc "${calc[@]}" --decimal-separator=,)" = "11,5%;111,5;124,32;123;1,32;" ] \
    || fail "--decimal-separator=, under $loc"
  [ "$(echo '1 234,5;X;' | LC_ALL=$loc "${calc[@]}" --decimal-separator=,)" = "8%;1333,26;1439,92;1432,02;7,9;" ] \
    || fail "grouped base with --decimal-separator=, under $loc"
done
nbsp=$(printf '\302\240')
[ "$(echo "1.234${nbsp}5;X;" | LC_ALL=C "${calc[@]}" --group-separator=.)" = "8%;1333${nbsp}26;1439${nbsp}92;1432${nbsp}02;7${nbsp}9;" ] \
  || fail "--group-separator=. under C"
# Both given and equal: still refused.
echo '1;K;' | "${calc[@]}" --decimal-separator=, --group-separator=, >/dev/null 2>&1; [ $? -eq 2 ] || fail "equal separators accepted"

if [ $failures -ne 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "companion: all checks passed"
