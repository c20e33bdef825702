#!/bin/bash
# The Windows window on an X server (Xvfb), in a Wine desktop: the test
# program types 100 and clicks "K" of the first group (Window.ScreenshotWindow),
# says where the client area is, and waits; the screen is taken with import
# and each colour the layout declares is looked for where it puts its control.
# Those colours hold whatever the style paints around them.
#
#   screenshot_test.sh WINE TESTS.exe SHOT.png
#
# Exits 77 (skipped) without xvfb-run or ImageMagick's import and convert.
set -u

wine=${1:?usage: screenshot_test.sh WINE TESTS.exe SHOT.png}
tests=${2:?usage: screenshot_test.sh WINE TESTS.exe SHOT.png}
shot=${3:?usage: screenshot_test.sh WINE TESTS.exe SHOT.png}

if [ -z "${BRINDELOR_IN_XVFB:-}" ]; then
  for tool in xvfb-run import convert; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      echo "SKIP: $tool is not installed"
      exit 77
    fi
  done
  BRINDELOR_IN_XVFB=1 exec xvfb-run -a -s '-screen 0 800x600x24' "$0" "$@"
fi

export WINEDEBUG=${WINEDEBUG:--all}
wineserver -p </dev/null >/dev/null 2>&1
"$wine" cmd /c exit </dev/null >/dev/null 2>&1

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
LANG=fr_FR.UTF-8 LC_ALL=fr_FR.UTF-8 BRINDELOR_SHOT_DIR=$dir BRINDELOR_TEST_RC=$dir/rc \
  "$wine" explorer "/desktop=shot-$$,800x600" "$tests" --gtest_filter=Window.ScreenshotWindow </dev/null &
driver=$!

for _ in $(seq 600); do
  [ -s "$dir/client" ] && break
  kill -0 "$driver" 2>/dev/null || break
  sleep 0.1
done
if [ ! -s "$dir/client" ]; then
  wait "$driver"
  code=$(cat "$dir/rc" 2>/dev/null)
  if [ "$code" = 77 ]; then
    echo "SKIP: the test program skipped the window (see above)"
    exit 77
  fi
  echo "FAIL the window was never ready for the screenshot"
  exit 1
fi
read -r X Y WIDTH HEIGHT <"$dir/client"
echo "client area at $X,$Y, ${WIDTH}x$HEIGHT"
# A screen that has stopped changing: every paint has reached the X server.
for _ in 1 2 3 4 5; do
  import -window root "$shot"
  imported=$?
  sleep 0.2
  import -window root "$dir/again.png" && cmp -s <(convert "$shot" rgb:-) <(convert "$dir/again.png" rgb:-) && break
done
touch "$dir/taken"
wait "$driver"
if [ "$(cat "$dir/rc" 2>/dev/null)" != 0 ]; then
  echo "FAIL the test program failed (see above)"
  exit 1
fi
[ $imported -eq 0 ] || { echo "FAIL import"; exit 1; }

fail=0
check() { # message, condition already evaluated as 0/1
  if [ "$2" -eq 1 ]; then echo "ok   $1"; else echo "FAIL $1"; fail=1; fi
}

# count KIND LEFT TOP W H R G B TOL: pixels of the client rectangle in the
# colour, the rectangle's size and the longest horizontal run of them, as
# "n total run". KIND "fill": within TOL of the colour. KIND "text": a blend
# of at least half the colour with the rectangle's most frequent colour (its
# background, whatever the style made it), within TOL of that blend, since
# text is smoothed against its background; the frame of an edit is left out
# by giving its inside.
count() {
  convert "$shot" -crop "$4x$5+$(( X + $2 ))+$(( Y + $3 ))" -depth 8 txt:- |
    awk -v kind="$1" -v r="$6" -v g="$7" -v b="$8" -v t="$9" '
      function abs(v) { return v < 0 ? -v : v }
      /^[0-9]/ {
        split($1, at, /[,:]/)
        v = $2; gsub(/[()]/, "", v); split(v, c, ",")
        N++; PX[N] = at[1]; PY[N] = at[2]; R[N] = c[1]; G[N] = c[2]; B[N] = c[3]
        freq[c[1] "," c[2] "," c[3]]++
      }
      END {
        for (k in freq) if (freq[k] > most) { most = freq[k]; background = k }
        split(background, bg, ",")
        dr = r - bg[1]; dg = g - bg[2]; db = b - bg[3]; span = dr * dr + dg * dg + db * db
        for (i = 1; i <= N; i++) {
          if (kind == "fill") {
            hit = abs(R[i] - r) <= t && abs(G[i] - g) <= t && abs(B[i] - b) <= t
          } else {
            # the text colour must stand apart from the background at all
            a = span < 900 ? -1 : ((R[i] - bg[1]) * dr + (G[i] - bg[2]) * dg + (B[i] - bg[3]) * db) / span
            er = R[i] - bg[1] - a * dr; eg = G[i] - bg[2] - a * dg; eb = B[i] - bg[3] - a * db
            hit = a >= 0.5 && a <= 1.15 && abs(er) <= t && abs(eg) <= t && abs(eb) <= t
          }
          if (hit) {
            n++
            line = (PY[i] == lasty && PX[i] == lastx + 1) ? line + 1 : 1
            if (line > run) run = line
            lastx = PX[i]; lasty = PY[i]
          }
        }
        print n + 0, N + 0, run + 0
      }'
}

# expect KIND NAME LEFT TOP W H R G B TOL MIN [RUN]: at least MIN (a count,
# or a percentage with %) of the rectangle's pixels in that colour, and a
# horizontal line of at least RUN of them.
expect() {
  local kind=$1 name=$2 min=${11} line=${12:-0} n total run need
  read -r n total run < <(count "$kind" "$3" "$4" "$5" "$6" "$7" "$8" "$9" "${10}")
  if [[ $min == *% ]]; then need=$(( total * ${min%\%} / 100 )); else need=$min; fi
  check "$name: $n of $total pixels, at least $need" $(( total > 0 && n >= need ))
  if [ "$line" -gt 0 ]; then
    check "$name: a line of $run pixels, at least $line" $(( run >= line ))
  fi
}

check "client area 220x359" $(( WIDTH == 220 && HEIGHT == 359 ))
# Edit_taux (114, 186, 75 x 21): yellow text on 255, 128, 128.
expect fill "Edit_taux background 255,128,128" 114 186 75 21 255 128 128 4 50%
expect text "Edit_taux yellow text" 116 188 71 17 255 255 0 24 15
# GroupBox3 (7, 213, 206 x 140): its own 240, 240, 240.
expect fill "GroupBox3 background 240,240,240" 7 213 206 140 240 240 240 2 40%
# In GroupBox3: Edit_valeur_14 (107, 48) "124,32" struck out: one line
# through all its characters; Edit_delta (107, 102), 75 x 21.
expect text "Edit_valeur_14 silver struck-out text" $(( 7 + 109 )) $(( 213 + 50 )) 71 17 192 192 192 24 15 20
expect text "Edit_delta red text" $(( 7 + 109 )) $(( 213 + 104 )) 71 17 255 0 0 24 15
# The links: JvLabel2 (11, 15, 75 x 13), JvLabel1 in GroupBox3 (25, 77, 49 x 15).
expect text "JvLabel2 blue" 11 15 75 13 0 0 255 24 40
expect text "JvLabel1 blue" $(( 7 + 25 )) $(( 213 + 77 )) 49 15 0 0 255 24 25

exit $fail
