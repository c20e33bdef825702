#!/bin/bash
# The real program on an X server (Xvfb): type 100, click "K" of the first
# group, take a screenshot and find each declared colour where the layout
# puts its control.
#
#   screenshot_test.sh BRINDELOR SHOT.png [SCALE]
#
# SCALE (1 or 2) is handed to Qt as QT_SCALE_FACTOR. Exits 77 (skipped)
# without xvfb-run (and the xauth it runs), xdotool or ImageMagick.
set -u

bin=${1:?usage: screenshot_test.sh BRINDELOR SHOT.png [SCALE]}
shot=${2:?usage: screenshot_test.sh BRINDELOR SHOT.png [SCALE]}
scale=${3:-1}

if [ -z "${BRINDELOR_IN_XVFB:-}" ]; then
  for tool in xvfb-run xauth xdotool import convert; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      echo "SKIP: $tool is not installed"
      exit 77
    fi
  done
  BRINDELOR_IN_XVFB=1 exec xvfb-run -a -s '-screen 0 1024x768x24' "$0" "$@"
fi

fail=0
check() { # message, condition already evaluated as 0/1
  if [ "$2" -eq 1 ]; then echo "ok   $1"; else echo "FAIL $1"; fail=1; fi
}

# ctest may have set the offscreen platform for the widget tests.
LC_ALL=fr_FR.UTF-8 QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale "$bin" &
pid=$!
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null' EXIT

wid=$(timeout 20 xdotool search --sync --onlyvisible --name '^Brindelor$' | head -n 1)
if [ -z "$wid" ]; then
  echo "FAIL the window never showed"
  exit 1
fi
eval "$(xdotool getwindowgeometry --shell "$wid")" # X Y WIDTH HEIGHT
echo "window $wid at $X,$Y, ${WIDTH}x$HEIGHT"
check "client area 220x359 at scale $scale" \
  $(( WIDTH == 220 * scale && HEIGHT == 359 * scale ))
# No window manager here: the client area is the whole window.
dx=$(( 2 * X + WIDTH - 1024 )); dy=$(( 2 * Y + HEIGHT - 768 ))
check "centred on the screen (twice the offset: $dx, $dy)" \
  $(( dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2 ))

# Window coordinates of the layout, in device pixels.
at() { echo $(( $1 * scale )); }

# Focus follows the pointer without a window manager: keep it on the window.
xdotool mousemove "$(( X + $(at 150) ))" "$(( Y + $(at 4) ))"
xdotool windowfocus --sync "$wid" 2>/dev/null
xdotool type --delay 50 100
# "K" of GroupBox1 (8, 35): RadioButton5 at (16, 112), 57 x 17; its 13 px
# indicator sits at its left, centred in its height.
xdotool mousemove "$(( X + $(at 8) + $(at 16) + $(at 6) ))" "$(( Y + $(at 35) + $(at 112) + $(at 8) ))"
xdotool click 1
xdotool mousemove "$(( X + $(at 150) ))" "$(( Y + $(at 4) ))" # off the links: no hot tracking
sleep 1
import -window root "$shot" || { echo "FAIL import"; exit 1; }

# count LEFT TOP W H R G B TOL: pixels of the window's rectangle within TOL
# of the colour, and the rectangle's size, as "n total".
count() {
  convert "$shot" -crop "$(at "$3")x$(at "$4")+$(( X + $(at "$1") ))+$(( Y + $(at "$2") ))" \
    -depth 8 txt:- |
    awk -v r="$5" -v g="$6" -v b="$7" -v t="$8" '
      function abs(v) { return v < 0 ? -v : v }
      /^[0-9]/ {
        v = $2; gsub(/[()]/, "", v); split(v, c, ",")
        total++
        if (abs(c[1] - r) <= t && abs(c[2] - g) <= t && abs(c[3] - b) <= t) n++
      }
      END { print n + 0, total + 0 }'
}

# expect NAME LEFT TOP W H R G B TOL MIN: at least MIN (a count, or a
# percentage with %) of the rectangle's pixels in that colour.
expect() {
  local name=$1 min=${10} n total need
  read -r n total < <(count "$2" "$3" "$4" "$5" "$6" "$7" "$8" "$9")
  if [[ $min == *% ]]; then need=$(( total * ${min%\%} / 100 )); else need=$(( min * scale * scale )); fi
  check "$name: $n of $total pixels, at least $need" $(( total > 0 && n >= need ))
}

# Edit_taux (114, 186, 75 x 21): yellow text on 255, 128, 128.
expect "Edit_taux background 255,128,128" 114 186 75 21 255 128 128 4 50%
expect "Edit_taux yellow text" 114 186 75 21 255 255 0 60 10
# GroupBox3 (7, 213, 206 x 140): its own 240, 240, 240.
expect "GroupBox3 background 240,240,240" 7 213 206 140 240 240 240 2 50%
# In GroupBox3: Edit_valeur_14 (107, 48), Edit_delta (107, 102), 75 x 21.
expect "Edit_valeur_14 silver text" $(( 7 + 107 )) $(( 213 + 48 )) 75 21 192 192 192 16 15
expect "Edit_delta red text" $(( 7 + 107 )) $(( 213 + 102 )) 75 21 255 0 0 60 8
# The links: JvLabel2 (11, 15, 75 x 13), JvLabel1 in GroupBox3 (25, 77, 49 x 15).
expect "JvLabel2 blue" 11 15 75 13 0 0 255 60 40
expect "JvLabel1 blue" $(( 7 + 25 )) $(( 213 + 77 )) 49 15 0 0 255 60 25
# Before the computation these fields are empty: no text colour at all.
expect "Edit_valeur_13 text written" $(( 7 + 107 )) $(( 213 + 20 )) 75 21 30 41 53 60 10

exit $fail
