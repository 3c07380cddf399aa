#!/usr/bin/env bash
# The program's choice of display: without a reachable one it explains itself in one line and
# ends with status 2; in a Wayland session with XWayland (weston, headless) it comes up as an
# X window, where it can place itself and keep top-most.
# Usage: display_test.sh VELANDRI
set -euo pipefail
source "$(dirname "$0")/x_desktop.sh"

program=$1
main_title="Velandri  Version${VELANDRI_VERSION:?set by the build}"

private_home
unset QT_QPA_PLATFORM DISPLAY WAYLAND_DISPLAY

fail() { echo "FAIL: $*" >&2; exit 1; }

# Runs the program with the given variables and expects status 2 and one line that says why.
expect_no_display() {
  local why=$1 status=0
  shift
  env "$@" timeout 20 "$program" >"$work/out" 2>"$work/err" || status=$?
  [[ $status -eq 2 ]] || fail "status $status, not 2, with $*: $(cat "$work/err")"
  [[ ! -s "$work/out" && $(wc -l <"$work/err") -eq 1 ]] || fail "not one line with $*"
  grep -q "graphical desktop" "$work/err" || fail "no word of a graphical desktop: $(cat "$work/err")"
  grep -q -- "$why" "$work/err" || fail "the reason \"$why\" is missing: $(cat "$work/err")"
  echo "no display ($*): $(cat "$work/err")"
}

expect_no_display "DISPLAY is not set"
expect_no_display "X display :64999" DISPLAY=:64999
expect_no_display "Wayland display" DISPLAY=:64999 WAYLAND_DISPLAY=no-such-socket

# Weston puts XWayland's socket there but does not make the folder, as X servers do.
[[ -d /tmp/.X11-unix ]] || mkdir -p -m 1777 /tmp/.X11-unix
# Weston prints the X display number that its XWayland listens on.
weston --backend=headless-backend.so --xwayland --socket=velandri-test --no-config \
  --idle-time=0 --log="$work/weston.log" >/dev/null 2>&1 &
pids+=($!)
x_display=
for _ in $(seq 100); do
  x_display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$work/weston.log" 2>/dev/null || true)
  [[ -n "$x_display" && -S "$XDG_RUNTIME_DIR/velandri-test" ]] && break
  sleep 0.1
done
[[ -n "$x_display" ]] || fail "weston started no XWayland: $(cat "$work/weston.log")"

# A visible X window with the main window's title on the XWayland display, within 20 s.
x_window_shown() {
  for _ in $(seq 200); do
    DISPLAY=$x_display xdotool search --onlyvisible --name "^$main_title\$" 2>/dev/null && return 0
    kill -0 "$1" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=velandri-test DISPLAY=$x_display \
  "$program" >"$work/program.log" 2>&1 &
program_pid=$!
pids+=("$program_pid")
window=$(x_window_shown "$program_pid") || fail "no X window on $x_display: $(cat "$work/program.log")"
echo "Wayland session: the main window is X window $window on XWayland display $x_display"
