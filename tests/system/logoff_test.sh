#!/usr/bin/env bash
# The log-off in the real program, with its real timers, under openbox with a tray: after a
# restore through the window manager the password brings the main window back as the user left
# it; an automatic log-off at one minute, with the settings window and a question open, leaves
# nothing usable at the locked screen and changes nothing, and the password brings both windows
# back; the tray icon clicked at the locked screen shows only the password window. Run under
# xvfb-run and dbus-run-session (the settings window is read through the accessibility tree).
# Usage: logoff_test.sh VELANDRI VELANDRI_STORE ARTIFACT_FOLDER
set -euo pipefail
source "$(dirname "$0")/x_desktop.sh"

program=$1
store_tool=$2
artifacts=$3
here=$(dirname "$0")
mkdir -p "$artifacts"

private_home
mkdir -p "$XDG_DATA_HOME/Velandri"
main_title="Velandri  Version${VELANDRI_VERSION:?set by the build}"
password=abc

fail() {
  echo "FAIL: $*" >&2
  import -window root "$artifacts/logoff-failure.png" 2>/dev/null || true
  cat "$work/program.log" >&2
  exit 1
}

shown() { xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
wm_state() { xprop -id "$1" WM_STATE 2>/dev/null | awk '/window state:/ {print $3}'; }
wait_for_state() {
  for _ in $(seq 50); do
    [[ "$(wm_state "$1")" == "$2" ]] && return 0
    sleep 0.1
  done
  return 1
}
settings() { /usr/bin/python3 "$here/window_node.py" "各種設定" "$@"; }

first_line() { click_control "$1" 0 360 3000 120 "${@:2}"; }

# Firefox's stand-in opens nothing.
printf '#!/bin/sh\nexit 0\n' >"$work/bin/firefox"
chmod +x "$work/bin/firefox"

# The first-start bookmarks behind a password, logged off after one minute, minimized by a
# launch in Firefox.
store=$("$store_tool" dump "$(dirname "$program")/url_bak")
first_url=$(jq -r '.entries[0][0].url' <<<"$store")
jq --arg password "$password" \
  '.password = $password | .logoffMinutes = 1 | .minimizeOnLaunch = 1 | .browser = 1' \
  <<<"$store" | "$store_tool" write "$data_file"

openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
sleep 1
trayer --edge top --align left --widthtype request --height 24 >/dev/null 2>&1 &
pids+=($!)
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" >"$work/program.log" 2>&1 &
program_pid=$!
pids+=("$program_pid")

gate=$(window_named "パスワード入力") || fail "no password window"
xdotool windowactivate --sync "$gate" type --delay 50 "$password"
main=$(window_named "$main_title") || fail "the password did not open the main window"

# 1. A launch minimizes the window, the window manager restores it, then "ログオフ": the
#    password shows the window normal, as the user saw it last.
first_line "$main" --repeat 2 --delay 80
wait_for_state "$main" Iconic || fail "the launch did not minimize the main window"
xdotool windowactivate "$main"
wait_for_state "$main" Normal || fail "the window manager did not restore the main window"
sleep 1  # the restored window centres itself
click_control "$main" 3435 3165 885 255           # ログオフ
gate=$(window_named "パスワード入力") || fail "ログオフ showed no password window"
xdotool windowactivate --sync "$gate" type --delay 50 "$password"
window_named "$main_title" 5 >/dev/null ||
  fail "after the password the main window stays $(wm_state "$main"), not shown"
[[ "$(wm_state "$main")" == Normal ]] || fail "the main window came back $(wm_state "$main")"

# 2. The settings window open with an unapplied tab name, and the question of "削除" open in
#    the main window, at the automatic log-off a minute after the password.
click_control "$main" 4425 3165 885 255           # 各種設定
window_named "各種設定" >/dev/null || fail "no settings window"
settings type "ﾀﾌﾞ1" "ロック前"
xdotool windowactivate --sync "$main"
first_line "$main"
click_control "$main" 2685 3165 585 255           # 削除
window_named "メッセージ" >/dev/null || fail "削除 asked no question"
import -window root "$artifacts/logoff-before.png" 2>/dev/null || true
gate=$(window_named "パスワード入力" 80) || fail "no automatic log-off"
import -window root "$artifacts/logoff-locked.png" 2>/dev/null || true
! shown "各種設定" || fail "the settings window stays open at the locked screen"
! shown "メッセージ" || fail "the question stays open at the locked screen"
! shown "$main_title" || fail "the main window stays shown at the locked screen"

# 3. The password window takes the keys as it is; the gate brings back both windows, the
#    settings window as it was left, and the question was answered No.
for _ in $(seq 50); do
  [[ "$(xdotool getactivewindow 2>/dev/null)" == "$gate" ]] && break
  sleep 0.1
done
xdotool type --delay 50 "$password"
window_named "$main_title" 5 >/dev/null || fail "the password window took no keys"
window_named "各種設定" 5 >/dev/null || fail "the settings window did not come back"
[[ "$(settings read "ﾀﾌﾞ1")" == "ロック前" ]] ||
  fail "the settings window came back with its tab name '$(settings read "ﾀﾌﾞ1")'"
settings press "設定"
for _ in $(seq 50); do shown "各種設定" || break; sleep 0.1; done
! shown "各種設定" || fail "設定 did not close the settings window"

# 4. A launch minimizes the window, a minute moves it into the notification area, and the
#    automatic log-off comes. The icon, clicked at the locked screen, maps nothing but the
#    password window; the password brings the main window back normal.
xdotool windowactivate --sync "$main"
first_line "$main" --repeat 2 --delay 80
wait_for_state "$main" Iconic || fail "the second launch did not minimize the main window"
gate=$(window_named "パスワード入力" 80) || fail "no automatic log-off after the launch"
for _ in $(seq 100); do [[ "$(wm_state "$main")" != Iconic ]] && break; sleep 0.1; done
[[ "$(wm_state "$main")" != Iconic ]] || fail "the minimized window did not move into the tray"
xdotool mousemove 12 12 click 1                   # the icon, first in the tray
window_named "パスワード入力" >/dev/null || fail "the icon did not bring the password window"
sleep 1  # the window manager would map the main window by now
case "$(wm_state "$main")" in
  Normal | Iconic) fail "the icon mapped the main window ($(wm_state "$main")) at the locked screen" ;;
esac
xdotool windowactivate --sync "$gate" type --delay 50 "$password"
window_named "$main_title" 5 >/dev/null || fail "the password did not bring the main window back"
wait_for_state "$main" Normal || fail "the main window came back $(wm_state "$main") from the tray"
sleep 1  # the restored window centres itself
click_control "$main" 5415 3165 615 240           # 終了
for _ in $(seq 100); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
! kill -0 "$program_pid" 2>/dev/null || fail "終了 did not end the program"
dump=$("$store_tool" dump "$data_file")
[[ "$(jq -r '.entries[0][0].url' <<<"$dump")" == "$first_url" ]] ||
  fail "the question open at the log-off deleted the entry"
[[ "$(jq -r '.tabNames[0]' <<<"$dump")" == "ロック前" ]] || fail "the tab name typed before the log-off was lost"
[[ "$(jq -r '.password' <<<"$dump")" == "$password" ]] || fail "the password changed"
echo "logoff_under_x: all steps passed"
