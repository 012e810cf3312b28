#!/usr/bin/env bash
# Starts the real saver in preview mode inside a host window (lumivane-preview-host) and
# checks from outside: the effect fills the host, follows a resize, and the saver ends with
# code 0 soon after the host is destroyed (or disabled); bad hosts end cleanly with code 0.
#   e2e_preview.sh --x11  ""         <lumivane-preview-host>     <lumivane>
#   e2e_preview.sh --wine <wine-run> <lumivane-preview-host.exe> <lumivane.scr>
# Under Wine GL drawn into another process's window is not shown, so the picture is checked
# with the host running the saver in its own process (--in-process); the real cross-process
# start must end with a clear failure or a clean exit, never hang.
# LV_PREVIEW_SHOTS=<dir> keeps the screenshots there.
set -u
mode=$1 wine=$2 host_tool=$3 saver=$4

work=$(mktemp -d)
pids=()
cleanup() {
  exec 3>&- 2>/dev/null
  for p in "${pids[@]}"; do
    if kill -0 "$p" 2>/dev/null; then
      kill "$p" 2>/dev/null
      sleep 0.2
      kill -9 "$p" 2>/dev/null
    fi
  done
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  for f in "$work"/*.out "$work"/*.err; do [ -s "$f" ] && { echo "--- $f"; cat "$f"; } >&2; done
  exit 1
}
now_ms() { echo $(($(date +%s%N) / 1000000)); }
. "$(dirname "${BASH_SOURCE[0]}")/../support/e2e_lib.sh"

[ -n "${DISPLAY:-}" ] || fail "no DISPLAY"
xdpyinfo >/dev/null 2>&1 || fail "display $DISPLAY does not answer"
# The single-instance guard of a saver run elsewhere on this machine must not meet ours.
export XDG_RUNTIME_DIR=$work
shots=${LV_PREVIEW_SHOTS:-$work}
mkdir -p "$shots"

# shot <x window> <file>: the window's pixels as they are on the screen, children included.
shot() { import -window "$1" "$2" 2>/dev/null; }
size_of() { identify -format "%wx%h" "$1" 2>/dev/null; }
# Pixels of the host's own magenta: where the saver does not draw.
magenta() { convert "$1" -alpha off -fill black +opaque "#FF00FF" -fill white -opaque "#FF00FF" \
  -format "%[fx:round(mean*w*h)]" info: 2>/dev/null; }
# Pixels of the streaks: clearly brighter than the dark ground.
bright() { convert "$1" -alpha off -colorspace gray -threshold 30% -format "%[fx:round(mean*w*h)]" info: 2>/dev/null; }
# drawn <x window> <WxH> <file>: the window has that size and the effect covers all of it.
drawn() {
  shot "$1" "$3" && [ "$(size_of "$3")" = "$2" ] && [ "$(magenta "$3")" = 0 ] && [ "$(bright "$3")" -gt 0 ]
}
report_line() { { tr -d '\r' <"$1"; } 2>/dev/null | grep -m1 "$2"; }

if [ "$mode" = --x11 ]; then
  # 1. A host with commands on a pipe; the saver inside it.
  mkfifo "$work/commands"
  "$host_tool" --size 240x180 --stdin -- "$saver" <"$work/commands" >"$work/host.out" 2>"$work/host.err" &
  pids+=($!)
  host_pid=$!
  exec 3>"$work/commands"
  has_host() { report_line "$work/host.out" '^host ' >/dev/null; }
  poll 10 has_host || fail "the host did not start"
  host=$(report_line "$work/host.out" '^host ' | cut -d' ' -f2)
  started=$(now_ms)
  poll 20 drawn "$host" 240x180 "$shots/x11_preview_240x180.png" ||
    fail "the effect does not fill the 240x180 host (magenta $(magenta "$shots/x11_preview_240x180.png"))"
  pass "effect fills the 240x180 host $(($(now_ms) - started)) ms after start"

  # 2. A second preview of the same window (in either spelling of its id) leaves at once;
  #    the first goes on. The guard is per window here: a full-screen run beside it may start.
  for second in "/p $host" "/p $(printf '0x%x' "$host")" "--window-id $host"; do
    t0=$(now_ms)
    # shellcheck disable=SC2086
    timeout 10 "$saver" $second >"$work/second.out" 2>&1
    code=$?
    [ "$code" -eq 0 ] || fail "second instance '$second' exit code $code"
    [ $(($(now_ms) - t0)) -lt 3000 ] || fail "second instance '$second' took $(($(now_ms) - t0)) ms"
  done
  children=$(xwininfo -children -id "$host" | grep -c '^     0x')
  [ "$children" -eq 1 ] || fail "the host has $children child windows"
  kill -0 "$host_pid" 2>/dev/null || fail "the host went away"
  pass "second copies on the same window exit 0 at once; one saver window in the host"

  # 3. The host grows: the saver's window and picture follow.
  echo "resize 320x240" >&3
  t0=$(now_ms)
  poll 10 drawn "$host" 320x240 "$shots/x11_preview_320x240.png" ||
    fail "the effect does not fill the host after the resize (size $(size_of "$shots/x11_preview_320x240.png"), magenta $(magenta "$shots/x11_preview_320x240.png"))"
  child=$(xwininfo -children -id "$host" | awk '/^     0x/{print $1; exit}')
  child_size=$(xwininfo -id "$child" | awk '/^  Width/{w=$2} /^  Height/{h=$2} END{print w"x"h}')
  [ "$child_size" = 320x240 ] || fail "the saver's window is $child_size"
  pass "resized host filled again in $(($(now_ms) - t0)) ms (saver window $child_size)"

  # 4. The host goes: the saver leaves with code 0.
  echo destroy >&3
  exited() { report_line "$work/host.out" '^saver exited' >/dev/null; }
  poll 12 exited || fail "no end of the saver after the host was destroyed"
  line=$(report_line "$work/host.out" '^saver exited')
  echo "$line"
  [[ "$line" =~ ^saver\ exited\ code\ 0\ ([0-9]+)\ ms\ after\ destroy$ ]] || fail "$line"
  pass "host destroyed: saver exit code 0 after ${BASH_REMATCH[1]} ms"
  exec 3>&-
  wait "$host_pid" 2>/dev/null

  # 5. Bad hosts: a clear failure, exit code 0, no hang. On that path GLFW's terminate unloads
  #    libraries, whose allocations a sanitizer build's leak check could then not attribute;
  #    leaks are the in-process tests' business.
  export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
  for bad in 0 4294967295 "$host"; do
    t0=$(now_ms)
    timeout 10 "$saver" /p "$bad" >"$work/bad.out" 2>&1
    code=$?
    [ "$code" -eq 0 ] || fail "/p $bad: exit code $code"
    grep -q "^Debug: Failed to open window$" "$work/bad.out" || fail "/p $bad: $(cat "$work/bad.out")"
    echo "/p $bad: exit 0 after $(($(now_ms) - t0)) ms, $(grep -c . "$work/bad.out") report lines"
  done
  pass "bad hosts (0, no such window, a destroyed host) end with \"Failed to open window\" and code 0"

  # 6. The host from XSCREENSAVER_WINDOW, as xscreensaver starts its hacks.
  "$host_tool" --size 160x120 --xscreensaver --stdin -- "$saver" <"$work/commands" >"$work/xss.out" 2>"$work/xss.err" &
  pids+=($!)
  xss_pid=$!
  exec 3>"$work/commands"
  xss_host() { report_line "$work/xss.out" '^host ' >/dev/null; }
  poll 10 xss_host || fail "the second host did not start"
  host=$(report_line "$work/xss.out" '^host ' | cut -d' ' -f2)
  poll 20 drawn "$host" 160x120 "$work/xss.png" || fail "no picture in the XSCREENSAVER_WINDOW host"
  echo destroy >&3
  xss_exited() { report_line "$work/xss.out" '^saver exited' >/dev/null; }
  poll 12 xss_exited || fail "no end after the XSCREENSAVER_WINDOW host went"
  line=$(report_line "$work/xss.out" '^saver exited')
  [[ "$line" =~ ^saver\ exited\ code\ 0 ]] || fail "$line"
  exec 3>&-
  wait "$xss_pid" 2>/dev/null
  pass "XSCREENSAVER_WINDOW host drawn; $line"

  # 7. A host that vanishes while the saver starts.
  for delay in 0 0.3; do
    timeout 20 "$host_tool" --size 160x120 --step "$delay:destroy" -- "$saver" >"$work/vanish.out" 2>"$work/vanish.err"
    code=$?
    line=$(report_line "$work/vanish.out" '^saver exited')
    [ "$code" -eq 0 ] && [[ "$line" =~ ^saver\ exited\ code\ 0 ]] || fail "host gone after $delay s: host code $code, $line"
    echo "host destroyed $delay s after the start: $line"
  done
  pass "a host that vanishes during start-up: exit code 0"
  exit 0
fi

# ---- Wine ----
run_host() { "$wine" "$host_tool" "$@"; }
# Message boxes wait for a click; dismiss those of the saver, noting their titles.
dismiss_boxes() {
  local w title
  for w in $(xdotool search --onlyvisible --name '^(Error|Debug)$' 2>/dev/null); do
    title=$(xdotool getwindowname "$w" 2>/dev/null)
    echo "$title" >>"$work/boxes.txt"
    xdotool windowfocus --sync "$w" key Return 2>/dev/null
  done
  return 1
}
win_of() { xdotool search --onlyvisible --name '^Lumivane preview host$' 2>/dev/null | head -n1; }

# 1. The saver on the host's own thread: picture, resize, destroy.
run_host --in-process --size 240x180 --report "$work/inproc.out" --step "6:resize 320x240" --step 8:destroy \
  >/dev/null 2>"$work/inproc.err" &
pids+=($!)
inproc_pid=$!
started=$(now_ms)
found() { window=$(win_of); [ -n "$window" ]; }
poll 20 found || fail "no host window"
poll 6 drawn "$window" 240x180 "$shots/wine_preview_240x180.png" ||
  fail "the effect does not fill the 240x180 host (size $(size_of "$shots/wine_preview_240x180.png"), magenta $(magenta "$shots/wine_preview_240x180.png"))"
pass "effect fills the 240x180 host $(($(now_ms) - started)) ms after start"
resized() { report_line "$work/inproc.out" '^resized' >/dev/null; }
poll 10 resized || fail "the host did not resize"
t0=$(now_ms)
drawn_again() { found && drawn "$window" 320x240 "$shots/wine_preview_320x240.png"; }
poll 3 drawn_again || fail "the effect does not fill the host after the resize (size $(size_of "$shots/wine_preview_320x240.png"), magenta $(magenta "$shots/wine_preview_320x240.png"))"
pass "resized host filled again within $(($(now_ms) - t0)) ms of seeing the resize"
exited() { report_line "$work/inproc.out" '^saver exited' >/dev/null; }
poll 15 exited || fail "no end of the saver after the host was destroyed"
line=$(report_line "$work/inproc.out" '^saver exited')
echo "$line"
[[ "$line" =~ ^saver\ exited\ code\ 0\ ([0-9]+)\ ms\ after\ destroy$ ]] || fail "$line"
wait "$inproc_pid"
code=$?
[ "$code" -eq 0 ] || fail "host exit code $code"
pass "host destroyed: saver returned 0 after ${BASH_REMATCH[1]} ms, process exit code 0"

# 2. A disabled host ends the preview too.
timeout 60 "$wine" "$host_tool" --in-process --size 120x90 --report "$work/disable.out" --step 2:disable \
  >/dev/null 2>"$work/disable.err"
code=$?
line=$(report_line "$work/disable.out" '^saver exited')
[ "$code" -eq 0 ] && [[ "$line" =~ ^saver\ exited\ code\ 0 ]] || fail "disabled host: exit code $code, $line"
pass "host disabled: $line"

# 3. The real cross-process start: Wine refuses GL in another process's window, so the user
#    sees "Failed to open window" and the saver ends with code 0 (or, where GL works there,
#    it runs until the host goes). Never a hang.
: >"$work/boxes.txt"
run_host --size 160x120 --report "$work/cross.out" --step 8:destroy "$saver" >/dev/null 2>"$work/cross.err" &
pids+=($!)
cross_pid=$!
cross_done() { dismiss_boxes; report_line "$work/cross.out" '^saver exited' >/dev/null; }
poll 40 cross_done || fail "the cross-process preview did not end"
line=$(report_line "$work/cross.out" '^saver exited')
wait "$cross_pid"
[[ "$line" =~ ^saver\ exited\ code\ 0 ]] || fail "cross-process: $line"
boxes=$(sort -u "$work/boxes.txt" | tr '\n' ' ')
echo "cross-process: $line; boxes: ${boxes:-none}"
grep -q '^Debug$' "$work/boxes.txt" || [[ "$line" =~ after\ destroy ]] || fail "neither a failure box nor a run until the host went"
pass "cross-process preview ends with code 0"

# 4. Handles that name no window.
for bad in 0 12345678; do
  : >"$work/boxes.txt"
  "$wine" "$saver" /p "$bad" >/dev/null 2>&1 &
  pids+=($!)
  bad_pid=$!
  bad_done() { dismiss_boxes; ! kill -0 "$bad_pid" 2>/dev/null; }
  poll 30 bad_done || fail "/p $bad still running"
  wait "$bad_pid"
  code=$?
  [ "$code" -eq 0 ] || fail "/p $bad: exit code $code"
  grep -q '^Debug$' "$work/boxes.txt" || fail "/p $bad: no \"Debug\" box"
  echo "/p $bad: boxes $(sort -u "$work/boxes.txt" | tr '\n' ' ')exit 0"
done
pass "handles of no window end with \"Failed to open window\" and code 0"
