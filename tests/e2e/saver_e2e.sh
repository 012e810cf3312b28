#!/usr/bin/env bash
# End-to-end runs of the saver as the operating system starts it, on the test display.
#   saver_e2e.sh SCENARIO MATCH_TOOL OUT_DIR LAUNCHER...
# LAUNCHER is the saver binary, or scripts/wine-run and lumivane.scr.
# Scenarios:
#   keys     "/s": first frame, pointer moves (still running), a key ends it with code 0;
#            the screenshot is compared with the formula.
#   click    "/s": a mouse button ends it with code 0.
#   guard    a no-switch saver holds the guard: "/p 0" and a second no-switch start exit 0
#            at once without a window, while "/s" beside them runs.
#   nodisplay  no X display at all: one report after GLFW's own and exit code 0 (Linux build).
set -u
scenario=$1 match=$2 out=$3
shift 3
launcher=("$@")
title="Lumivane 3D Screensaver"
mkdir -p "$out"
pids=()

fail() {
  echo "FAIL ($scenario): $*"
  if [ -s "$out/$scenario.stderr" ]; then
    echo "--- the saver's standard error:"
    head -20 "$out/$scenario.stderr"
  fi
  exit 1
}
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null; done
}
trap cleanup EXIT

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }

# Starts the saver with the given switches in the background; its pid goes to $started.
start() {
  "${launcher[@]}" "$@" >"$out/$scenario.stdout" 2>"$out/$scenario.stderr" &
  started=$!
  pids+=("$started")
}

count_windows() { xdotool search --onlyvisible --name "$title" 2>/dev/null | wc -l; }

wait_windows() {  # wait_windows N SECONDS
  local deadline=$(( $(date +%s) + $2 ))
  while [ "$(count_windows)" -lt "$1" ]; do
    [ "$(date +%s)" -ge "$deadline" ] && return 1
    sleep 0.2
  done
}

# Waits for the process to end and sets $code to its exit code ("running" after the
# deadline). Not in a subshell: only this shell can collect its children's codes.
wait_exit() {  # wait_exit PID SECONDS
  local deadline=$(( $(date +%s) + $2 ))
  while kill -0 "$1" 2>/dev/null; do
    if [ "$(date +%s)" -ge "$deadline" ]; then code=running; return; fi
    sleep 0.05
  done
  wait "$1"
  code=$?
}

alive() { kill -0 "$1" 2>/dev/null; }

case "$scenario" in
  keys|click)
    start /s
    saver=$started
    wait_windows 1 40 || fail "no saver window after 40 s"
    sleep 2  # a few frames
    alive "$saver" || fail "saver ended on its own"
    # A few shots: a swap that lands while the screen is read can mix two frames in one shot.
    for shot in 1 2 3; do
      import -window root "$out/$scenario$shot.png" || fail "no screenshot"
      sleep 0.2
    done
    xdotool mousemove 20 20; sleep 0.3; xdotool mousemove 200 150; sleep 0.3
    xdotool click 4 click 5  # wheel up and down
    sleep 1
    alive "$saver" || fail "moving the pointer or the wheel ended the saver"
    t0=$(now)
    if [ "$scenario" = keys ]; then xdotool key x; else xdotool click 1; fi
    wait_exit "$saver" 15
    t1=$(now)
    [ "$code" = 0 ] || fail "exit code after the $scenario: $code"
    echo "saver ended $(elapsed "$t0" "$t1") s after the $( [ "$scenario" = keys ] && echo key || echo click ), code 0"
    if [ "$scenario" = keys ] && [ ! -x "$match" ]; then
      echo "screenshot comparison skipped: $match is not built (build the linux preset first)"
    elif [ "$scenario" = keys ]; then
      geometry=$(identify -format '%w %h' "$out/${scenario}1.png")
      read -r w h <<<"$geometry"
      matched=0
      for shot in 1 2 3; do
        if "$match" "$out/$scenario$shot.png" --region $(( w / 2 - 160 )) $(( h / 2 - 120 )) 320 240; then
          matched=1
          break
        fi
      done
      [ "$matched" = 1 ] || fail "no screenshot matches the effect"
    fi
    ;;
  guard)
    start
    holder=$started
    wait_windows 1 40 || fail "the first no-switch saver shows no window"
    t0=$(now)
    start /p 0
    wait_exit "$started" 20
    [ "$code" = 0 ] || fail "second instance with /p: exit $code"
    start
    wait_exit "$started" 20
    t1=$(now)
    [ "$code" = 0 ] || fail "second no-switch instance: exit $code"
    [ "$(count_windows)" -eq 1 ] || fail "a refused instance opened a window"
    echo "two refused instances ended with code 0 within $(elapsed "$t0" "$t1") s, no window"
    start /s
    beside=$started
    wait_windows 2 40 || fail "\"/s\" beside a guarded saver shows no window"
    alive "$holder" && alive "$beside" || fail "a saver ended"
    echo "\"/s\" runs beside the guarded saver"
    ;;
  nodisplay)
    t0=$(now)
    env -u DISPLAY -u WAYLAND_DISPLAY "${launcher[@]}" /s >"$out/$scenario.stdout" 2>"$out/$scenario.stderr" &
    started=$!
    pids+=("$started")
    wait_exit "$started" 20
    [ "$code" = 0 ] || fail "exit code without a display: $code"
    # GLFW's own error, then ours, and nothing after: no chain of "not initialized" reports.
    [ "$(grep -c '^Error: ' "$out/$scenario.stderr")" -ge 1 ] || fail "GLFW's own error was not reported"
    [ "$(tail -n 1 "$out/$scenario.stderr")" = "Debug: Failed to initialize GLFW" ] ||
      fail "'Failed to initialize GLFW' is not the last report"
    lines=$(wc -l <"$out/$scenario.stderr")
    [ "$lines" -le 3 ] || fail "$lines lines of report, at most 3 expected"
    echo "no display: $lines lines of report, exit 0 after $(elapsed "$t0" "$(now)") s"
    ;;
  *)
    fail "unknown scenario"
    ;;
esac
echo "PASS ($scenario)"
