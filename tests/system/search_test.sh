#!/usr/bin/env bash
# The search over all tabs in the real program: typed with real key events, read through the
# accessibility tree, opened in a stand-in browser. Run under xvfb-run and dbus-run-session.
# Usage: search_test.sh VELANDRI VELANDRI_STORE
set -euo pipefail
source "$(dirname "$0")/x_desktop.sh"

program=$1
store_tool=$2
here=$(dirname "$0")

private_home
mkdir -p "$XDG_DATA_HOME/Velandri"

# Firefox's stand-in keeps the arguments it was started with.
cat >"$work/bin/firefox" <<STUB
#!/bin/sh
printf '%s\n' "\$@" >"$work/browser.tmp" && mv "$work/browser.tmp" "$work/browser.args"
STUB
chmod +x "$work/bin/firefox"

# The first-start bookmarks, opened in Firefox.
"$store_tool" dump "$(dirname "$program")/url_bak" | jq '.browser = 1' |
  "$store_tool" write "$XDG_DATA_HOME/Velandri/url"

openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
sleep 1
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" >"$work/program.log" 2>&1 &
pids+=($!)
# The Debian python, which has pyatspi.
/usr/bin/python3 "$here/search_walk.py" "$work/browser.args" ||
  { cat "$work/program.log" >&2; exit 1; }
