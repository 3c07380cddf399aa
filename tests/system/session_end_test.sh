#!/usr/bin/env bash
# The desktop session ending while the real program runs. An entry added with real clicks and
# keys is kept whichever way the session ends: the session manager's log-out (XSMP, from a
# manager built on libSM), SIGTERM, SIGHUP, SIGINT (a burst, the later ones during the save) and the
# X server going away. Text left in the edit row is not kept, the gate showing changes nothing,
# and the tray menu's "終了" still discards the run. Each desktop is an Xvfb of its own with
# openbox and a tray (trayer), started here, since the last case ends its server.
# Usage: session_end_test.sh VELANDRI VELANDRI_STORE SESSION_MANAGER ARTIFACT_FOLDER
set -euo pipefail
source "$(dirname "$0")/x_desktop.sh"

program=$1
store_tool=$2
session_manager=$3
artifacts=$4
mkdir -p "$artifacts"

private_home
mkdir -p "$XDG_DATA_HOME/Velandri"
main_title="Velandri  Version${VELANDRI_VERSION:?set by the build}"

fail() {
  echo "FAIL: $*" >&2
  import -window root "$artifacts/session-end-failure.png" 2>/dev/null || true
  cat "$work/program.log" >&2 || true
  exit 1
}

start_desktop() {
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
  xvfb_pid=$!
  pids+=("$xvfb_pid")
  for _ in $(seq 100); do [[ -s "$work/display" ]] && break; sleep 0.1; done
  export DISPLAY=:$(cat "$work/display")
  openbox --sm-disable >/dev/null 2>&1 &
  pids+=($!)
  trayer --edge top --align right --widthtype pixel --width 100 --height 32 >/dev/null 2>&1 &
  pids+=($!)
  sleep 1
}

# A background job of a script ignores SIGINT, and the program keeps what its starter ignores:
# start it as a terminal would.
start_program() {
  env --default-signal=INT,HUP,TERM "$program" >>"$work/program.log" 2>&1 &
  program_pid=$!
  pids+=("$program_pid")
  main=$(window_named "$main_title") || fail "no main window"
}

# "URL設定", the three fields typed, and "完了" unless the text is to stay unregistered.
type_entry() {
  click_control "$main" 120 3165 885 240
  click_control "$main" 105 3990 2100 240
  xdotool type --delay 20 "$1"
  click_control "$main" 2250 3990 2100 240
  xdotool type --delay 20 "$2"
  click_control "$main" 4365 3990 2100 240
  xdotool type --delay 20 "$1"
}
add_entry() {
  type_entry "$@"
  click_control "$main" 90 4350 5295 255
}

# Counts the entries with this address in the data file, or in the file given.
stored() {
  "$store_tool" dump "${2:-$data_file}" |
    jq --arg url "$1" '[.entries[][] | select(.url == $url)] | length'
}

# Saved once, as "終了" saves: the file from before the run is the previous one.
expect_kept() {
  [[ "$(stored "$1")" == 1 ]] || fail "$2: the added entry was not kept"
  [[ "$(stat -c %a "$data_file")" == 600 ]] || fail "$2: the data file may be read by others"
  [[ "$(stored "$1" "$data_file.prev")" == 0 ]] ||
    fail "$2: the previous data file is not the one from before the run"
  echo "kept after $2"
}

# The first-start bookmarks, with tab 0 emptied so that each case has room for its entry.
"$store_tool" dump "$(dirname "$program")/url_bak" |
  jq '.entries[0] |= map(.title = "" | .url = "" | .content = "")' |
  "$store_tool" write "$data_file"

start_desktop

# The session manager's log-out: a shutdown save, then "die".
mkfifo "$work/manager-input"
"$session_manager" <"$work/manager-input" >"$work/manager.log" 2>&1 &
manager_pid=$!
pids+=("$manager_pid")
exec 3>"$work/manager-input"
for _ in $(seq 50); do [[ -s "$work/manager.log" ]] && break; sleep 0.1; done
kill -0 "$manager_pid" 2>/dev/null || fail "the session manager did not start: $(cat "$work/manager.log")"
SESSION_MANAGER=$(head -1 "$work/manager.log") start_program
add_entry "LogOut" "https://example.org/logout"
echo logout >&3
wait_for_exit "the session manager's log-out"
wait "$manager_pid" || fail "the session manager's exchange: $(cat "$work/manager.log")"
exec 3>&-
sed 1d "$work/manager.log"
expect_kept "https://example.org/logout" "the session manager's log-out"

# SIGTERM, with text typed into the edit row but not registered.
start_program
add_entry "Term" "https://example.org/term"
type_entry "Typed" "https://example.org/unregistered"
kill -TERM "$program_pid"
wait_for_exit SIGTERM
expect_kept "https://example.org/term" SIGTERM
[[ "$(stored "https://example.org/unregistered")" == 0 ]] || fail "the edit row's text was kept"

# SIGHUP while the gate shows after "ログオフ".
"$store_tool" dump "$data_file" | jq '.password = "abc"' | "$store_tool" write "$data_file"
env --default-signal=INT,HUP,TERM "$program" >>"$work/program.log" 2>&1 &
program_pid=$!
pids+=("$program_pid")
gate=$(window_named "パスワード入力") || fail "no password window"
xdotool windowactivate --sync "$gate" type --delay 50 abc
main=$(window_named "$main_title") || fail "the password did not open the main window"
add_entry "Hup" "https://example.org/hup"
click_control "$main" 3435 3165 885 255
window_named "パスワード入力" >/dev/null || fail "ログオフ showed no password window"
kill -HUP "$program_pid"
wait_for_exit "SIGHUP behind the gate"
expect_kept "https://example.org/hup" "SIGHUP behind the gate"
"$store_tool" dump "$data_file" | jq '.password = ""' | "$store_tool" write "$data_file"

# A burst of SIGINT, as a user hammering Ctrl+C: the later ones arrive during the save.
start_program
add_entry "Int" "https://example.org/int"
for _ in $(seq 20); do kill -INT "$program_pid" 2>/dev/null || break; done
wait_for_exit "a burst of SIGINT"
expect_kept "https://example.org/int" "a burst of SIGINT"

# The tray menu's "終了" discards the run: a minute minimized puts the window into the tray.
start_program
add_entry "Discarded" "https://example.org/discarded"
xdotool windowminimize "$main"
sleep 62
# The one icon sits at the right end of trayer, 100 pixels wide at the top right.
xdotool mousemove 1267 16 click 3
sleep 0.5
import -window root "$artifacts/session-end-tray-menu.png" 2>/dev/null || true
xdotool key Down Return
wait_for_exit "the tray menu's 終了"
[[ "$(stored "https://example.org/discarded")" == 0 ]] || fail "the tray menu's 終了 saved"
echo "discarded by the tray menu's 終了"

# The X server goes away.
start_program
add_entry "Display" "https://example.org/display"
kill "$xvfb_pid"
wait_for_exit "the X server's end"
grep -q "X11 connection broke" "$work/program.log" || fail "the program did not lose its display"
expect_kept "https://example.org/display" "the X server's end"
for url in logout term hup int; do
  [[ "$(stored "https://example.org/$url")" == 1 ]] || fail "the entry of $url is gone"
done

echo "session_end_under_x: all steps passed"
