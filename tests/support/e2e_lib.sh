# Shared by the end-to-end scripts (sourced).

# poll <seconds> <command...>: true as soon as the command succeeds, false at the deadline.
poll() {
  local deadline=$(($(date +%s%N) + $1 * 1000000000))
  shift
  while true; do
    "$@" && return 0
    [ "$(date +%s%N)" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

pass() { echo "ok: $*"; }
