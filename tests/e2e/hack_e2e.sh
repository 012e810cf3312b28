#!/usr/bin/env bash
# How the Linux saver ends when the outside world ends it, each on an X server of its own:
#   hack_e2e.sh SCENARIO SAVER PREVIEW_HOST
# Scenarios:
#   signals     SIGTERM, SIGINT and SIGHUP end every mode with code 0 (the time each took is
#               printed), leave no window, and free the guard: a new no-switch run starts.
#   xlost       the X server killed under "/s", a no-switch run and "/p <window>": code 0.
#   hostedfail  no GL on the server: "--window-id" and "--root" report once and wait, drawing
#               nothing, until stopped or until their window goes; a slash switch ends at once.
set -u
scenario=$1 saver=$2 host_tool=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/../support/e2e_lib.sh"

work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work  # guards of this run alone
title="Lumivane 3D Screensaver"
pids=()
servers=()
cleanup() {
  for p in "${pids[@]}" "${servers[@]}"; do kill -9 "$p" 2>/dev/null; done
  for p in "${pids[@]}" "${servers[@]}"; do wait "$p" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL ($scenario): $*"
  for f in "$work"/*.err "$work"/*.out; do [ -s "$f" ] && { echo "--- $f"; grep -v 'Plane001' "$f" | head -10; }; done
  exit 1
}

# start_x ARGS...: an Xvfb of our own (with extra arguments); DISPLAY and $server are set.
start_x() {
  local n
  for n in $(seq 141 199); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 640x480x24 -nolisten tcp -noreset "$@" >/dev/null 2>&1 &
    server=$!
    servers+=("$server")
    export DISPLAY=":$n"
    poll 10 xdpyinfo >/dev/null 2>&1 && kill -0 "$server" 2>/dev/null && return 0
    kill "$server" 2>/dev/null
  done
  fail "no Xvfb"
}
# launch NAME ARGS...: the saver in the background, its pid in $started.
launch() {
  local name=$1
  shift
  "$saver" "$@" >"$work/$name.out" 2>"$work/$name.err" &
  started=$!
  pids+=("$started")
}
windows() { xdotool search --onlyvisible --name "$title" 2>/dev/null | wc -l; }
has_windows() { [ "$(windows)" -ge "$1" ]; }
# Waits for the process to end: $code is its exit code, $ms the time it took ("running" after 10 s).
wait_end() {
  local t0 deadline
  t0=$(date +%s%N)
  deadline=$((t0 + 10000000000))
  while kill -0 "$1" 2>/dev/null; do
    [ "$(date +%s%N)" -lt "$deadline" ] || { code=running; return; }
    sleep 0.005
  done
  wait "$1"
  code=$?
  ms=$((($(date +%s%N) - t0) / 1000000))
}
root_window() { xwininfo -root | awk '/Window id:/ { print $4 }'; }
report_lines() { grep -vc -e 'Plane001' -e '^$' "$1"; }

case "$scenario" in
  signals)
    start_x
    root=$(root_window)
    signals=(TERM INT HUP)
    i=0
    for mode in "/s" "" "/c" "/p $root"; do
      signal=${signals[$((i % 3))]}
      i=$((i + 1))
      # shellcheck disable=SC2086
      launch run $mode
      if [ "$mode" = /c ]; then
        poll 30 xdotool search --onlyvisible --name '^About$' >/dev/null || fail "no About window"
      else
        poll 40 has_windows 1 || fail "'$mode': no window"
      fi
      sleep 1  # a few frames
      kill -"$signal" "$started"
      wait_end "$started"
      [ "$code" = 0 ] || fail "'$mode' after SIG$signal: exit $code"
      echo "'${mode:-no switch}': SIG$signal ended it in $ms ms, code 0"
      poll 5 test "$(windows)" -eq 0 || fail "'$mode' left a window"
    done
    # The guard went with its holder: a new no-switch run holds it and runs.
    launch again
    poll 40 has_windows 1 || fail "no window for a no-switch run after the others were stopped: stale guard?"
    kill -TERM "$started"
    wait_end "$started"
    [ "$code" = 0 ] || fail "second no-switch run: exit $code"
    echo "no window and no guard left behind"
    ;;
  xlost)
    for mode in "/s" "" "/p root"; do
      start_x
      [ "$mode" = "/p root" ] && mode="/p $(root_window)"
      # shellcheck disable=SC2086
      launch run $mode
      poll 40 has_windows 1 || fail "'$mode': no window"
      sleep 1
      kill "$server"
      wait_end "$started"
      [ "$code" = 0 ] || fail "'$mode' after the X server went: exit $code"
      echo "'${mode:-no switch}': X server killed, saver ended with code 0 ($(tail -n 1 "$work/run.err"))"
    done
    ;;
  hostedfail)
    start_x -extension GLX
    root=$(root_window)
    # A slash switch keeps its end at once.
    launch slash /p "$root"
    wait_end "$started"
    [ "$code" = 0 ] || fail "'/p' without GL: exit $code"
    grep -q '^Debug: Failed to open window$' "$work/slash.err" || fail "'/p' without GL: no report"
    echo "'/p' without GL: reported and ended at once with code 0"
    # The daemon's options: one report, then a wait that a signal ends.
    launch hosted --window-id "$(printf '0x%x' "$root")"
    poll 20 grep -q 'Failed to open window' "$work/hosted.err" || fail "no report"
    sleep 2
    kill -0 "$started" 2>/dev/null || fail "'--window-id' without GL ended instead of waiting"
    lines=$(report_lines "$work/hosted.err")
    [ "$lines" -le 3 ] || fail "$lines lines of report"
    kill -TERM "$started"
    wait_end "$started"
    [ "$code" = 0 ] || fail "waiting run after SIGTERM: exit $code"
    echo "'--window-id' without GL: $lines lines of report, waited, SIGTERM ended it in $ms ms"
    # ... or the window's going.
    "$host_tool" --size 160x120 --root --step 3:destroy -- "$saver" >"$work/host.out" 2>"$work/host.err"
    grep -q '^destroyed' "$work/host.out" || fail "'--root' without GL did not wait for its window"
    grep -q '^saver exited code 0 [0-9]* ms after destroy' "$work/host.out" ||
      fail "'--root' without GL, window destroyed: $(grep exited "$work/host.out")"
    echo "'--root' without GL: $(grep exited "$work/host.out")"
    ;;
  *)
    fail "unknown scenario"
    ;;
esac
echo "PASS ($scenario)"
