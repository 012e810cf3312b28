# Sourced by the scripts: gives this shell a display. When DISPLAY is already set and
# answers, it is used as it is; otherwise a private Xvfb is started and stopped on exit.
lv_start_xvfb() {
  local size=${1:-1280x1024x24}
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    # -noreset: by default the server resets when its last client leaves, and a program
    # that connects during that reset is turned away ("Connection reset by peer").
    Xvfb ":$n" -screen 0 "$size" -nolisten tcp -noreset >/dev/null 2>&1 &
    LV_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 50); do
      xdpyinfo >/dev/null 2>&1 && break
      sleep 0.1
    done
    # Another run may have taken the same number a moment earlier: then our Xvfb has
    # already quit and the display that answers is not ours.
    if xdpyinfo >/dev/null 2>&1 && kill -0 "$LV_XVFB_PID" 2>/dev/null; then
      sleep 0.2
      if kill -0 "$LV_XVFB_PID" 2>/dev/null; then
        trap lv_stop_xvfb EXIT
        return 0
      fi
    fi
    kill "$LV_XVFB_PID" 2>/dev/null || true
  done
  echo "could not start Xvfb" >&2
  return 1
}

lv_stop_xvfb() {
  if [ -n "${WINEPREFIX:-}" ] && command -v wineserver >/dev/null; then
    WINEPREFIX=$WINEPREFIX wineserver -k 2>/dev/null || true
  fi
  if [ -n "${LV_XVFB_PID:-}" ]; then
    kill "$LV_XVFB_PID" 2>/dev/null || true
    wait "$LV_XVFB_PID" 2>/dev/null || true
  fi
}
