#!/usr/bin/env bash
# The accessibility tree of the real program, read over AT-SPI as a screen reader reads it:
# the password gate, the main window, the settings window and a question box. Run under
# xvfb-run and dbus-run-session, which activates the accessibility bus.
# Usage: accessibility_test.sh VELANDRI VELANDRI_STORE
set -euo pipefail

program=$1
store_tool=$2
here=$(dirname "$0")
password=secret

work=$(mktemp -d)
export HOME=$work/home XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$XDG_DATA_HOME/Velandri"
chmod 700 "$XDG_RUNTIME_DIR"
program_pid=

cleanup() {
  # A program ended by SIGTERM saves first: its data folder is not free before it has gone.
  [[ -n "$program_pid" ]] && kill "$program_pid" 2>/dev/null && wait "$program_pid"
  rm -rf "$work"
}
trap cleanup EXIT

# The first-start bookmarks with a password, so that the gate comes first.
store=$("$store_tool" dump "$(dirname "$program")/url_bak")
jq --arg password "$password" '.password = $password' <<<"$store" |
  "$store_tool" write "$XDG_DATA_HOME/Velandri/url"

# An English locale: the program's texts, Qt's own included, are Japanese whatever it is.
LANG=en_US.UTF-8 LANGUAGE=en QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" >"$work/program.log" 2>&1 &
program_pid=$!
# The Debian python, which has pyatspi.
/usr/bin/python3 "$here/accessibility_walk.py" "$password" \
  "$(jq -r '.tabNames[0]' <<<"$store")" "$(jq -r '.tabNames[2]' <<<"$store")" ||
  { cat "$work/program.log" >&2; exit 1; }
