#!/usr/bin/env bash
# Runs a command on the current X display under openbox, as a user's desktop would.
set -euo pipefail
openbox --sm-disable >/dev/null 2>&1 &
window_manager=$!
trap 'kill "$window_manager" 2>/dev/null || true' EXIT
for _ in $(seq 100); do
  wmctrl -m >/dev/null 2>&1 && break
  sleep 0.1
done
"$@"
