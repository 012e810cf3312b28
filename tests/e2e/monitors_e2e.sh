#!/usr/bin/env bash
# The full-screen saver on a display with two monitors: a window left open on the second
# monitor is covered, every monitor shows the effect, and the saver ends with code 0 on a key
# (xinerama) or on a click over the second monitor's own window (randr).
#   monitors_e2e.sh LAYOUT EXPECT MATCH_TOOL OUT_DIR LAUNCHER...
# LAYOUT
#   randr     a private Xorg server (dummy driver) with two RandR outputs, 640x480 and a
#             480x270 one beside it, which GLFW lists as two monitors. While the saver runs a
#             third output appears below the first (it must be covered too) and goes again.
#   xinerama  Xephyr with two 640x480 heads (+xinerama, no RandR), shown on the test display.
#             Wine lists two monitors there; GLFW's own X11 code lists one that spans both.
# EXPECT
#   per-head  each monitor shows the effect drawn at its own size
#   spanning  one picture drawn at the size of the whole screen covers both heads
# LAUNCHER is the saver binary, or scripts/wine-run and lumivane.scr. The servers need root
# (Xorg) and a display to show Xephyr in; without them the test is skipped (code 77).
set -u
layout=$1 expect=$2 match=$3 out=$4
shift 4
launcher=("$@")
title="Lumivane 3D Screensaver"
name=${layout}_${expect}
out=$out/monitors_$name
mkdir -p "$out"
rm -f "$out"/*.png "$out"/*.txt "$out"/mismatches.log
. "$(dirname "${BASH_SOURCE[0]}")/../support/e2e_lib.sh"

pids=()
server_pid=""
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null; done
  if [ -n "${WINEPREFIX:-}" ] && [ "${launcher[0]##*/}" = wine-run ]; then
    WINEPREFIX=$WINEPREFIX wineserver -k 2>/dev/null
  fi
  if [ -n "$server_pid" ]; then
    kill "$server_pid" 2>/dev/null
    wait "$server_pid" 2>/dev/null
  fi
}
trap cleanup EXIT
fail() {
  echo "FAIL ($name): $*"
  for f in "$out"/saver.stderr "$out"/server.log; do
    [ -s "$f" ] && { echo "--- $f"; tail -20 "$f"; }
  done
  exit 1
}
skip() { echo "SKIP ($name): $*"; exit 77; }

free_display() {
  local n
  for n in $(seq 210 249); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { echo "$n"; return; }
  done
  return 1
}
answers() { xdpyinfo -display ":$1" >/dev/null 2>&1; }

# A modeline of the given size for xrandr (gtf ships with the X server).
add_mode() {  # add_mode NAME WIDTH HEIGHT
  # shellcheck disable=SC2046
  xrandr --newmode "$1" $(gtf "$2" "$3" 60 | awk '/Modeline/ { $1 = ""; $2 = ""; print }') 2>/dev/null
}
output_on() {  # output_on OUTPUT WIDTH HEIGHT X Y
  local mode=m$2x$3
  add_mode "$mode" "$2" "$3"
  xrandr --addmode "$1" "$mode" && xrandr --output "$1" --mode "$mode" --pos "$4x$5" &&
    xrandr >/dev/null  # the dummy driver reports the output connected only at the next query
}

n=$(free_display) || skip "no free display number"
case "$layout" in
  randr)
    [ "$(id -u)" = 0 ] || skip "Xorg needs root here"
    command -v Xorg >/dev/null && [ -e /usr/lib/xorg/modules/drivers/dummy_drv.so ] ||
      skip "no Xorg with the dummy driver (xserver-xorg-core, xserver-xorg-video-dummy)"
    Xorg ":$n" -config "$(dirname "${BASH_SOURCE[0]}")/../support/xorg-dummy.conf" -noreset -nolisten tcp -novtswitch -sharevts \
      -logfile "$out/server.log" >/dev/null 2>&1 &
    server_pid=$!
    poll 30 answers "$n" && kill -0 "$server_pid" 2>/dev/null || fail "Xorg :$n did not start"
    export DISPLAY=":$n"
    output_on DUMMY0 640 480 0 0 && xrandr --output DUMMY0 --primary || fail "cannot set up the first output"
    output_on DUMMY1 480 270 640 0 || fail "cannot set up the second output"
    heads=("640 480 0 0" "480 270 640 0")
    ;;
  xinerama)
    command -v Xephyr >/dev/null || skip "no Xephyr (xserver-xephyr)"
    [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1 || skip "no display to show Xephyr on"
    Xephyr ":$n" +xinerama -extension RANDR -screen 640x480 -screen 640x480 -nolisten tcp -noreset \
      >"$out/server.log" 2>&1 &
    server_pid=$!
    poll 30 answers "$n" && kill -0 "$server_pid" 2>/dev/null || fail "Xephyr :$n did not start"
    export DISPLAY=":$n"
    heads=("640 480 0 0" "640 480 640 0")
    ;;
  *) fail "unknown layout" ;;
esac
geometry=$(xdpyinfo | awk '/dimensions:/ { print $2 }')
screen_w=${geometry%x*} screen_h=${geometry#*x}
echo "display $DISPLAY, $geometry, heads: ${heads[*]}"

# Pixels of pure magenta in a picture.
magenta() { convert "$1" -alpha off -fill black +opaque "#FF00FF" -fill white -opaque "#FF00FF" \
  -format "%[fx:round(mean*w*h)]" info: 2>/dev/null; }
shoot() { import -window root "$1" 2>/dev/null; }
crop() {  # crop SHOT W H X Y OUT
  convert "$1" -crop "$2x$3+$4+$5" +repage "$6"
}
# matches SHOT W H X Y: the head at that place shows the effect. Per head: the crop is a
# picture of its own size; spanning: that part of one picture of the whole screen.
matches() {
  local shot=$1 w=$2 h=$3 x=$4 y=$5 rw rh
  rw=$((w / 2)) rh=$((h / 2))
  if [ "$expect" = per-head ]; then
    crop "$shot" "$w" "$h" "$x" "$y" "$shot.$x.$y.png" &&
      "$match" "$shot.$x.$y.png" --region $((w / 4)) $((h / 4)) "$rw" "$rh"
  else
    "$match" "$shot" --region $((x + w / 4)) $((y + h / 4)) "$rw" "$rh"
  fi
}
# bright SHOT W H X Y: streaks of the effect (or of anything bright) on that head.
bright() {
  convert "$1" -crop "$2x$3+$4+$5" +repage -alpha off -colorspace gray -threshold 30% \
    -format "%[fx:round(mean*w*h)]" info: 2>/dev/null
}
# lit SHOT: a cheap look: no magenta left and something bright on every head.
lit() {
  local head
  shoot "$1" && [ "$(magenta "$1")" = 0 ] || return 1
  for head in "${heads[@]}"; do
    # shellcheck disable=SC2086
    [ "$(bright "$1" $head)" -gt 0 ] || return 1
  done
}
# covered SHOT: every head matches the formula; the figures go to SHOT.txt.
covered() {
  local head w h x y line
  shoot "$1" || return 1
  : >"$1.txt"
  for head in "${heads[@]}"; do
    read -r w h x y <<<"$head"
    line=$(matches "$1" "$w" "$h" "$x" "$y") || { echo "$line" >>"$out/mismatches.log"; return 1; }
    echo "monitor ${w}x${h} at $x,$y: ${line#*: }" >>"$1.txt"
  done
}
# shown WHAT: waits (cheaply) until every head is lit, then compares a few shots with the
# formula: a shot can mix two frames.
shown() {
  local try
  shot=$((shot + 1))
  poll 120 lit "$out/shot$shot.png" || fail "$1: not every monitor is lit (last shot $out/shot$shot.png)"
  for try in 1 2 3; do
    shot=$((shot + 1))
    if covered "$out/shot$shot.png"; then
      while read -r line; do pass "$line"; done <"$out/shot$shot.png.txt"
      return 0
    fi
  done
  fail "$1: no shot matches the formula on every monitor (see $out/mismatches.log)"
}
count_windows() { xdotool search --onlyvisible --name "$title" 2>/dev/null | wc -l; }
windows_are() { [ "$(count_windows)" -eq "$1" ]; }

# A window of known content on the second monitor.
read -r w2 h2 x2 y2 <<<"${heads[1]}"
convert -size 200x150 xc:'#FF00FF' "$out/magenta.png"
display -geometry "+$((x2 + 40))+$((y2 + 40))" "$out/magenta.png" >/dev/null 2>&1 &
pids+=($!)
shows_magenta() { shoot "$out/before.png" && [ "$(magenta "$out/before.png")" -gt 20000 ]; }
poll 30 shows_magenta || fail "the window on the second monitor does not show"
pass "a magenta window shows on the second monitor ($(magenta "$out/before.png") pixels)"

"${launcher[@]}" /s >"$out/saver.stdout" 2>"$out/saver.stderr" &
saver=$!
pids+=("$saver")
shot=0
shown "with the saver"
kill -0 "$saver" 2>/dev/null || fail "the saver ended on its own"
pass "the magenta window is covered"

if [ "$layout" = randr ]; then
  # A monitor that appears while the saver runs is covered as well, and its window goes
  # with it.
  windows=$(count_windows)
  output_on DUMMY2 320 240 0 480 || fail "cannot add a third output"
  heads+=("320 240 0 480")
  # The dummy driver reports the output to clients only when asked again.
  xrandr >/dev/null
  shown "a third monitor added"
  xrandr --output DUMMY2 --off || fail "cannot remove the third output"
  unset 'heads[2]'
  poll 30 windows_are "$windows" || fail "$(count_windows) saver windows after the third monitor went, not $windows"
  pass "its window went with it ($windows saver windows)"
fi

kill -0 "$saver" 2>/dev/null || fail "the saver ended on its own"
if [ "$layout" = randr ]; then
  # Over the second monitor's own window: the pointer and the wheel leave the saver
  # running, a click ends it.
  xdotool mousemove $((x2 + w2 / 2)) $((y2 + h2 / 2)) && sleep 0.3 && xdotool click 4 click 5 && sleep 1
  kill -0 "$saver" 2>/dev/null || fail "the pointer or the wheel over the second monitor ended the saver"
  ending="a click on the second monitor"
  t0=$(date +%s%N)
  xdotool click 1
else
  ending="a key"
  t0=$(date +%s%N)
  xdotool key x
fi
deadline=$(($(date +%s) + 20))
while kill -0 "$saver" 2>/dev/null && [ "$(date +%s)" -lt "$deadline" ]; do sleep 0.05; done
kill -0 "$saver" 2>/dev/null && fail "the saver still runs 20 s after $ending"
wait "$saver"
code=$?
[ "$code" = 0 ] || fail "exit code after $ending: $code"
pass "$ending ended the saver with code 0 after $((($(date +%s%N) - t0) / 1000000)) ms"
echo "PASS ($name)"
