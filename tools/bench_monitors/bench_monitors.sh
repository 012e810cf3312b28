#!/usr/bin/env bash
# Frame rate of the primary monitor's window with one and with two monitors, on a private
# Xorg server with the dummy driver (root), seen from outside the saver:
#   bench_monitors.sh SAVER SHIM [SECONDS] [WIDTHxHEIGHT]
# SAVER is build/linux/src/lumivane, SHIM build/linux/tools/bench_monitors/liblumivane_vblank_shim.so.
# Three conditions per layout: no vertical blank (as Xvfb: the renderer sets the pace), a
# simulated 60 Hz blank that the windows with a swap interval wait for (the saver's own
# choice: only the primary's), and the same blank waited for on every window's swap. The
# figure is the median of the per-second samples after the first two; the one-monitor run
# also reports Mesa's own count (GALLIUM_HUD) as a check of the shim's.
set -u
saver=$(realpath "$1") shim=$(realpath "$2") seconds=${3:-12} size=${4:-320x240}
w=${size%x*} h=${size#*x}
work=$(mktemp -d)
server=""
cleanup() {
  [ -n "${saver_pid:-}" ] && kill "$saver_pid" 2>/dev/null
  [ -n "$server" ] && { kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; }
  rm -rf "$work"
}
trap cleanup EXIT
[ "$(id -u)" = 0 ] || { echo "needs root for Xorg"; exit 1; }
for n in $(seq 250 289); do [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break; done
Xorg ":$n" -config "$(dirname "$0")/../../tests/support/xorg-dummy.conf" -noreset -nolisten tcp -novtswitch -sharevts -logfile "$work/xorg.log" \
  >/dev/null 2>&1 &
server=$!
export DISPLAY=":$n"
for _ in $(seq 1 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.2; done
xrandr --newmode bench $(gtf "$w" "$h" 60 | awk '/Modeline/ { $1 = ""; $2 = ""; print }') 2>/dev/null
for output in DUMMY0 DUMMY1; do xrandr --addmode "$output" bench; done
xrandr --output DUMMY0 --mode bench --pos 0x0 --primary

median_fps() {  # the primary's (window 0) per-second samples after the first two
  grep '^window 0:' "$1" | tail -n +3 | awk '{ print $3 }' | sort -n |
    awk '{ v[NR] = $1 } END { if (NR == 0) print "n/a"; else print v[int((NR + 1) / 2)] }'
}
run() {  # run ENV...: prints the primary's frame rate
  rm -f "$work/swaps" "$work/hud/fps"
  mkdir -p "$work/hud"
  env "$@" LD_PRELOAD="$shim" LV_SWAP_LOG="$work/swaps" GALLIUM_HUD=fps GALLIUM_HUD_DUMP_DIR="$work/hud" \
    "$saver" /s >/dev/null 2>&1 &
  saver_pid=$!
  sleep "$seconds"
  kill "$saver_pid" 2>/dev/null
  wait "$saver_pid" 2>/dev/null
  saver_pid=""
  median_fps "$work/swaps"
}
hud_fps() { tail -n +3 "$work/hud/fps" 2>/dev/null | sort -n | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)]; else print "n/a" }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a + 0 > 0 && b + 0 > 0) printf "%.2f", b / a; else print "n/a" }'; }

echo "monitors of ${w}x${h}, ${seconds} s per run, primary's frames per second (median):"
xrandr --output DUMMY1 --off
xrandr >/dev/null
one_free=$(run LV_VBLANK_HZ=0); one_free_hud=$(hud_fps)
one_vblank=$(run LV_VBLANK_HZ=60)
xrandr --output DUMMY1 --mode bench --right-of DUMMY0
xrandr >/dev/null
two_free=$(run LV_VBLANK_HZ=0)
two_vblank=$(run LV_VBLANK_HZ=60)
two_every=$(run LV_VBLANK_HZ=60 LV_VBLANK_EVERY_WINDOW=1)
printf '%-44s %8s %8s %8s\n' "" "1 mon" "2 mons" "ratio"
printf '%-44s %8s %8s %8s\n' "no vertical blank (renderer-bound)" "$one_free" "$two_free" "$(ratio "$one_free" "$two_free")"
printf '%-44s %8s %8s %8s\n' "60 Hz blank, waited on the primary only" "$one_vblank" "$two_vblank" "$(ratio "$one_vblank" "$two_vblank")"
printf '%-44s %8s %8s %8s\n' "60 Hz blank, waited on every window" "$one_vblank" "$two_every" "$(ratio "$one_vblank" "$two_every")"
echo "Mesa's own count, one monitor, no blank (GALLIUM_HUD=fps): $one_free_hud"
