#!/usr/bin/env bash
# The hack under the real xscreensaver daemon, on a display with two monitors:
#   xscreensaver_e2e.sh BUILD_DIR MATCH_TOOL
# installs BUILD_DIR (cmake --install) into a scratch prefix, starts the daemon with
# "lumivane --root" as its only program, blanks, and checks that:
#   - one copy runs per monitor and both halves of the screen show the effect;
#   - the daemon started each copy once (no restarts) and logged no abnormal exit;
#   - the saver opened no top-level window of its own (it draws inside the daemon's windows);
#   - a copy for a settings preview window ("--window-id") runs beside the blanked screen;
#   - deactivating leaves no process behind.
# The daemon refuses to run hacks as root, so it runs as the unprivileged user lumivane-test,
# made here when missing. Exit 77 (skipped) without root or without the daemon.
set -u
build=$1 match=$2
user=lumivane-test
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/../support/e2e_lib.sh"
. "$here/../../scripts/lib/xvfb.sh"

command -v xscreensaver >/dev/null && command -v xscreensaver-command >/dev/null ||
  { echo "SKIP: xscreensaver is not installed (scripts/setup installs it)"; exit 77; }
[ "$(id -u)" -eq 0 ] || { echo "SKIP: needs root to run the daemon as the user $user"; exit 77; }
id "$user" >/dev/null 2>&1 || useradd --system --no-create-home --home-dir /nonexistent \
  --shell /usr/sbin/nologin "$user" || { echo "FAIL: cannot create the user $user"; exit 1; }

work=$(mktemp -d)
chmod 755 "$work"
home=$work/home
log=$home/xscreensaver.log
daemon_pid=""
host_pid=""
cleanup() {
  [ -n "$host_pid" ] && kill "$host_pid" 2>/dev/null
  [ -n "$daemon_pid" ] && kill "$daemon_pid" 2>/dev/null
  pkill -KILL -u "$user" -x lumivane 2>/dev/null
  lv_stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  [ -f "$log" ] && { echo "--- the daemon's log (last lines)"; tail -25 "$log"; }
  exit 1
}

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install $build"
[ -x "$prefix/libexec/xscreensaver/lumivane" ] || fail "no hack in libexec/xscreensaver"
chmod -R a+rX "$prefix"

# A display of our own: two monitors side by side, kept across clients (-noreset).
unset DISPLAY
lv_start_xvfb 1280x720x24 || fail "no Xvfb"
trap cleanup EXIT  # lv_start_xvfb sets its own
xrandr --setmonitor L 640/169x720/190+0+0 screen >/dev/null &&
  xrandr --setmonitor R 640/169x720/190+640+0 none >/dev/null || fail "xrandr --setmonitor"

mkdir -p "$home/run"
cat >"$home/.xscreensaver" <<'EOF'
timeout:	0:30:00
lock:		False
fade:		False
unfade:		False
splash:		False
mode:		one
selected:	0
programs:	GL: lumivane --root \n
EOF
chown -R "$user" "$home"
chmod 700 "$home/run"
as_user() {
  runuser -u "$user" -- env -i HOME="$home" DISPLAY="$DISPLAY" XDG_RUNTIME_DIR="$home/run" \
    PATH="$prefix/libexec/xscreensaver:/usr/bin:/bin" LIBGL_ALWAYS_SOFTWARE=1 "$@"
}
as_user xscreensaver --no-splash --verbose --log "$log" >/dev/null 2>&1 &
daemon_pid=$!
poll 20 as_user xscreensaver-command -time >/dev/null 2>&1 || fail "the daemon does not answer"

# Copies of the hack that are alive (a killed copy stays a zombie until it is reaped).
copies() { ps -u "$user" -o stat=,comm= 2>/dev/null | awk '$2 == "lumivane" && $1 !~ /^Z/' | wc -l; }
copies_are() { [ "$(copies)" -eq "$1" ]; }
# matches <shot> <x>: the monitor at x shows the effect, judged at its own size.
matches() {
  convert "$1" -crop "640x720+$2+0" +repage "$1.$2.png" &&
    "$match" "$1.$2.png" --region 160 240 320 240 >"$1.$2.txt" 2>&1
}
both_match() {
  import -window root "$work/shot.png" 2>/dev/null && matches "$work/shot.png" 0 && matches "$work/shot.png" 640
}

as_user xscreensaver-command -activate >/dev/null || fail "xscreensaver-command -activate"
poll 60 copies_are 2 || fail "$(copies) copies of the hack, 2 expected"
poll 90 both_match || fail "the monitors do not both show the effect: $(cat "$work"/shot.png.*.txt 2>/dev/null)"
echo "copies: $(copies)"
for x in 0 640; do echo "monitor at x=$x: $(cat "$work/shot.png.$x.txt")"; done

# Our own windows all sit inside the daemon's.
toplevel=$(xwininfo -root -children | grep -c '"Lumivane 3D Screensaver"')
[ "$toplevel" -eq 0 ] || fail "$toplevel top-level window(s) of the saver"

# The settings dialog's preview beside the blanked screen: a third copy, in its own window.
"$(dirname "$match")/../preview_host/lumivane-preview-host" --size 200x150 --window-id -- \
  "$prefix/libexec/xscreensaver/lumivane" >"$work/host.out" 2>&1 &
host_pid=$!
poll 30 grep -q '^saver ' "$work/host.out" || fail "the preview host did not start the saver"
sleep 3
grep -q 'saver exited' "$work/host.out" && fail "the preview copy ended beside the blanked screen: $(cat "$work/host.out")"
[ "$(copies)" -eq 2 ] || fail "the daemon's copies changed when the preview started"
kill "$host_pid" 2>/dev/null
wait "$host_pid" 2>/dev/null
host_pid=""
echo "a preview copy (--window-id) runs beside the two monitors' copies"

forked=$(grep -c 'forked "lumivane --root"' "$log")
abnormal=$(grep -ci 'abnormally\|crashed' "$log")
echo "daemon log: $forked starts of the hack, $abnormal abnormal exits"
[ "$forked" -eq 2 ] || fail "the daemon started the hack $forked times, 2 expected"
[ "$abnormal" -eq 0 ] || fail "abnormal exits: $(grep -i 'abnormally\|crashed' "$log" | head -3)"

t0=$(date +%s%N)
as_user xscreensaver-command -deactivate >/dev/null || fail "xscreensaver-command -deactivate"
poll 10 copies_are 0 || fail "$(copies) copies still running after deactivation"
echo "deactivated: no copy left after $((($(date +%s%N) - t0) / 1000000)) ms"
as_user xscreensaver-command -exit >/dev/null 2>&1
echo "PASS"
