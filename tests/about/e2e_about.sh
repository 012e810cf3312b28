#!/usr/bin/env bash
# Starts the real saver with "/c" on the current X display and checks the About window from
# outside: placement, colours, the picture, a click on the notice and on the button (the link
# reaches a stand-in xdg-open), and closing (exit code 0).
#   e2e_about.sh --x11  <x11_close_window> <lumivane>     <about.bmp> [<x11_frame_wm>]
#   e2e_about.sh --wine <wine-run>         <lumivane.scr> <about.bmp>
# With x11_frame_wm the display gets a window manager that announces a 3, 3, 22, 3 frame;
# the window must then leave room for it inside the 400 x 300.
# LV_ABOUT_SHOT=<file.png> keeps the screenshot.
set -u
mode=$1 helper=$2 binary=$3 picture=$4 frame_wm=${5:-}
link="https://www.lumivane.net/?utm_source=About"
background="#B1E8B3" title_colour="#000000" notice_colour="#0033FF"

work=$(mktemp -d)
pid=""
wm_pid=""
cleanup() {
  if [ -n "$wm_pid" ]; then
    kill "$wm_pid" 2>/dev/null
    wait "$wm_pid" 2>/dev/null
  fi
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null
    sleep 0.2
    kill -9 "$pid" 2>/dev/null
  fi
  if [ -f "$work/openers" ]; then
    while read -r opener; do kill "$opener" 2>/dev/null; done <"$work/openers"
  fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
. "$(dirname "${BASH_SOURCE[0]}")/../support/e2e_lib.sh"

[ -n "${DISPLAY:-}" ] || fail "no DISPLAY"
xdpyinfo >/dev/null 2>&1 || fail "display $DISPLAY does not answer"
if xdotool search --name '^About$' >/dev/null 2>&1; then fail "an About window is already open"; fi

# The desktop's link handler, replaced by one that writes down what it was given and then
# stays, as xdg-open does while the browser it started runs: the window must not wait for it.
mkdir -p "$work/bin"
cat >"$work/bin/xdg-open" <<EOF
#!/bin/sh
exec </dev/null >/dev/null 2>&1
echo \$\$ >>"$work/openers"
printf '%s\n' "\$*" >>"$work/opened"
exec sleep 60
EOF
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH"

client_width=400 client_height=300
if [ -n "$frame_wm" ]; then
  "$frame_wm" 3 3 22 3 >"$work/wm.out" &
  wm_pid=$!
  wm_ready() { grep -q ready "$work/wm.out"; }
  poll 10 wm_ready || fail "the stand-in window manager did not start"
  client_width=394 client_height=275
fi

started=$(date +%s%N)
if [ "$mode" = --wine ]; then
  "$helper" "$binary" /c &
else
  "$binary" /c &
fi
pid=$!

find_window() { window=$(xdotool search --onlyvisible --name '^About$' 2>/dev/null | head -n1); [ -n "$window" ]; }
poll 30 find_window || fail "no window named About within 30 s"

geometry() {
  eval "$(xwininfo -id "$1" | awk '/Absolute upper-left X/{print "X="$4} /Absolute upper-left Y/{print "Y="$4}
                                  /^  Width/{print "W="$2} /^  Height/{print "H="$2}')"
}
eval "$(xwininfo -root | awk '/^  Width/{print "SW="$2} /^  Height/{print "SH="$2}')"
geometry "$window"
# Outer window centred; bash's division drops the half pixel toward zero like the program.
OX=$(((SW - 400) / 2)) OY=$(((SH - 300) / 2))
echo "screen ${SW}x${SH}; expected outer 400x300+$OX+$OY; X window ${W}x${H}+$X+$Y"
if [ "$mode" = --wine ]; then
  # Without a window manager Wine maps the client area alone; its frame is Wine's, so the
  # client must sit inside the outer rectangle with equal borders left, right and below and
  # the caption above.
  left=$((X - OX)) right=$((OX + 400 - X - W)) bottom=$((OY + 300 - Y - H)) top=$((Y - OY))
  echo "frame: left $left right $right bottom $bottom top $top"
  [ "$left" -ge 0 ] && [ "$left" -eq "$right" ] && [ "$bottom" -eq "$left" ] && [ "$top" -gt "$left" ] ||
    fail "client area is not inside a centred 400x300 frame"
  pass "outer 400x300 at $OX,$OY (client ${W}x${H} at $X,$Y)"
else
  # The frame (if any) is the window manager's; the window asks for the frame's corner at the
  # centred position, which a stand-in that frames nothing leaves as the window's own.
  expected="$OX,$OY,$client_width,$client_height"
  [ "$X,$Y,$W,$H" = "$expected" ] || fail "window is ${W}x${H}+$X+$Y, expected $expected"
  hints=$(xprop -id "$window" WM_NORMAL_HINTS)
  echo "$hints" | grep -q "minimum size: $client_width by $client_height" &&
    echo "$hints" | grep -q "maximum size: $client_width by $client_height" &&
    echo "$hints" | grep -q "window gravity: NorthWest" ||
    fail "size hints do not fix the size: $hints"
  pass "${client_width}x${client_height} at $OX,$OY, not resizable"
fi

shot=${LV_ABOUT_SHOT:-$work/screen.png}
# The client area, one pixel a line as "#RRGGBB", rows from the top.
capture() {
  import -window root "$shot" 2>/dev/null &&
    convert "$shot" -crop "${W}x${H}+$X+$Y" +repage -depth 8 rgb:- 2>/dev/null |
    od -An -v -tx1 -w3 | tr -d ' ' | tr a-f A-F | sed 's/^/#/' >"$work/client.txt"
}
pixel() { sed -n "$(($2 * W + $1 + 1))p" "$work/client.txt"; }
painted() { capture && [ "$(pixel 2 2)" = "$background" ] && [ "$(pixel 200 226)" != "$background" ]; }
poll 10 painted || fail "window not painted within 10 s (corner $(pixel 2 2))"
echo "shown and painted $((($(date +%s%N) - started) / 1000000)) ms after start"

for point in "2 2" "100 120" "$((W - 6)) 120" "5 $((H - 10))" "141 60" "252 60" "150 54" "150 138" "300 260"; do
  value=$(pixel $point)
  [ "$value" = "$background" ] || fail "background at $point is $value"
done
pass "background $background"

# The picture: exactly the bitmap's pixels at 142,55.
convert "$shot" -crop "110x83+$((X + 142))+$((Y + 55))" +repage "$work/picture.png"
differing=$(compare -metric AE "$work/picture.png" "$picture" null: 2>&1)
[ "$differing" = 0 ] || fail "picture at 142,55 differs from the bitmap in $differing pixels"
pass "picture 110x83 at 142,55"

# count <colour> <x0> <y0> <x1> <y1>: pixels of that exact colour in the rectangle (x1, y1 excluded).
count() {
  awk -v w="$W" -v c="$1" -v x0="$2" -v y0="$3" -v x1="$4" -v y1="$5" '
    { x = (NR - 1) % w; y = int((NR - 1) / w); if (x >= x0 && x < x1 && y >= y0 && y < y1 && $1 == c) n++ }
    END { print n + 0 }' "$work/client.txt"
}
# widest_row <colour> <x0> <y0> <x1> <y1>: the largest count of that colour on one row.
widest_row() {
  awk -v w="$W" -v c="$1" -v x0="$2" -v y0="$3" -v x1="$4" -v y1="$5" '
    { x = (NR - 1) % w; y = int((NR - 1) / w); if (x >= x0 && x < x1 && y >= y0 && y < y1 && $1 == c) row[y]++ }
    END { m = 0; for (r in row) if (row[r] > m) m = row[r]; print m }' "$work/client.txt"
}
title_right=$((W < 390 ? W : 390))
title_ink=$(count "$title_colour" 110 20 "$title_right" 40)
title_blue=$(count "$notice_colour" 110 20 "$title_right" 40)
underline=$(widest_row "$title_colour" 110 20 "$title_right" 40)
echo "title: $title_ink black pixels, $title_blue blue, widest black row $underline"
[ "$title_ink" -ge 150 ] && [ "$title_blue" -eq 0 ] || fail "title is not black"
[ "$underline" -ge 120 ] || fail "title is not underlined"
pass "title black and underlined"

notice_right=$((W < 400 ? W : 400))
notice_ink=$(count "$notice_colour" 20 150 "$notice_right" 210)
notice_black=$(count "$title_colour" 20 150 "$notice_right" 210)
echo "notice: $notice_ink blue pixels, $notice_black black"
[ "$notice_ink" -ge 40 ] && [ "$notice_black" -eq 0 ] || fail "notice is not blue"
pass "notice blue"

# The notice shares the button's id but is no button; then the button itself.
xdotool mousemove $((X + 40)) $((Y + 160)) click 1
sleep 0.3
xdotool mousemove $((X + 200)) $((Y + 226)) click 1
opened() { [ -s "$work/opened" ]; }
poll 15 opened || fail "the button opened nothing within 15 s"
sleep 0.5
[ "$(cat "$work/opened")" = "$link" ] || fail "opened: $(cat "$work/opened")"
kill -0 "$pid" 2>/dev/null && xwininfo -id "$window" >/dev/null 2>&1 || fail "the window went away after the link"
pass "button opened $link once; window stays"

if [ "$mode" = --wine ]; then
  # No window manager draws Wine's caption here; Alt+F4 reaches the same close command.
  xdotool windowfocus --sync "$window" key alt+F4
else
  "$helper" "$window" || fail "could not send WM_DELETE_WINDOW"
fi
ended() { ! kill -0 "$pid" 2>/dev/null; }
poll 10 ended || fail "still running 10 s after the close request (the opener still runs)"
wait "$pid"
code=$?
pid=""
[ "$code" -eq 0 ] || fail "exit code $code"
gone() { ! xwininfo -id "$window" >/dev/null 2>&1; }
poll 5 gone || fail "the window outlives its process"
pass "closed while the opener still runs, exit code 0, window gone"
