#!/usr/bin/env bash
# The desktop's own search in the real program: GNOME Shell's search provider and KRunner's
# runner asked over a private session bus with gdbus, as the desktops ask; the chosen results
# opened in a stand-in browser; nothing shown behind the password, at the start and after a
# log-off; hostile callers answered; no session bus, no complaint. Run under xvfb-run and
# dbus-run-session.
# Usage: desktop_search_test.sh VELANDRI VELANDRI_STORE
set -euo pipefail
source "$(dirname "$0")/x_desktop.sh"

program=$1
store_tool=$2
here=$(dirname "$0")
main_title="Velandri  Version$VELANDRI_VERSION"
name=invalid.velandri.velandri
gnome=/invalid/velandri/velandri/SearchProvider
krunner=/invalid/velandri/velandri/krunner

private_home
mkdir -p "$XDG_DATA_HOME/Velandri"
program_pid=

fail() {
  echo "FAIL: $*" >&2
  cat "$work/program.log" >&2 2>/dev/null || true
  exit 1
}

cat >"$work/bin/firefox" <<STUB
#!/bin/sh
printf '%s\n' "\$@" >"$work/browser.tmp" && mv "$work/browser.tmp" "$work/browser.args"
STUB
chmod +x "$work/bin/firefox"

# The first-start bookmarks, opened in Firefox, behind the given password.
write_data() {
  "$store_tool" dump "$(dirname "$program")/url_bak" |
    jq --arg password "$1" '.browser = 1 | .password = $password' |
    "$store_tool" write "$XDG_DATA_HOME/Velandri/url"
}

start_program() {
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" >"$work/program.log" 2>&1 &
  program_pid=$!
  pids+=("$program_pid")
}

stop_program() {
  kill "$program_pid"
  wait "$program_pid" || true
}

# Every call must be answered (a result or a D-Bus error) within five seconds.
call() {
  local path=$1 method=$2
  shift 2
  timeout 5 gdbus call --session --dest "$name" --object-path "$path" --method "$method" "$@" ||
    fail "no answer in time to $method"
}

wait_for_name() {
  for _ in $(seq 200); do
    gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
      --method org.freedesktop.DBus.NameHasOwner "$name" 2>/dev/null | grep -q true && return 0
    sleep 0.1
  done
  fail "the program did not take its name on the session bus"
}

# Waits up to 10 s for the stand-in browser's arguments to be exactly the given ones.
expect_browser() {
  for _ in $(seq 100); do
    [ "$(cat "$work/browser.args" 2>/dev/null)" = "$1" ] && return 0
    sleep 0.1
  done
  fail "the browser was not started with $1 (got '$(cat "$work/browser.args" 2>/dev/null)')"
}

expect() {
  echo "$2: $3"
  [[ "$3" == $1 ]] || fail "$2 answered '$3', expected $1"
}

# Every method of both interfaces, asked with the given result id, answers nothing and opens
# nothing.
expect_nothing() {
  rm -f "$work/browser.args"
  expect "(@as \[\],)" GetInitialResultSet \
    "$(call $gnome org.gnome.Shell.SearchProvider2.GetInitialResultSet "['yahoo']")"
  expect "(@as \[\],)" GetSubsearchResultSet \
    "$(call $gnome org.gnome.Shell.SearchProvider2.GetSubsearchResultSet "['$1']" "['yahoo']")"
  expect "(@aa{sv} \[\],)" GetResultMetas \
    "$(call $gnome org.gnome.Shell.SearchProvider2.GetResultMetas "['$1']")"
  expect "()" ActivateResult \
    "$(call $gnome org.gnome.Shell.SearchProvider2.ActivateResult "$1" "['yahoo']" 0)"
  expect "()" LaunchSearch "$(call $gnome org.gnome.Shell.SearchProvider2.LaunchSearch "['yahoo']" 0)"
  expect "(@a(sss) \[\],)" Actions "$(call $krunner org.kde.krunner1.Actions)"
  expect "(@a(sssida{sv}) \[\],)" Match "$(call $krunner org.kde.krunner1.Match "nhk")"
  expect "()" Run "$(call $krunner org.kde.krunner1.Run "$1" "")"
  sleep 1
  [ ! -e "$work/browser.args" ] || fail "a result opened behind the password"
  ! xdotool search --onlyvisible --name "^$main_title\$" >/dev/null ||
    fail "the main window showed behind the password"
  echo "nothing opened, nothing shown"
}

first_id() { grep -o "'[0-9]*-[0-9]*-[0-9a-f]*'" <<<"$1" | head -1 | tr -d "'"; }

openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
sleep 1

echo "== gate closed at the start"
write_data abc
start_program
wait_for_name
expect_nothing 0-0-00
gate=$(window_named "パスワード入力") || fail "no password window"
xdotool windowactivate --sync "$gate" type --delay 50 abc
window_named "$main_title" >/dev/null || fail "the password did not open the main window"

echo "== gate open"
found=$(call $gnome org.gnome.Shell.SearchProvider2.GetInitialResultSet "['yahoo']")
expect "(\['*'\],)" GetInitialResultSet "$found"
id=$(first_id "$found")
[ -n "$id" ] || fail "no result id in $found"
expect "*'$id'*" GetSubsearchResultSet \
  "$(call $gnome org.gnome.Shell.SearchProvider2.GetSubsearchResultSet "['$id']" "['yahoo', 'にゅーす']")"
expect "*'description': <'ニュース › news.yahoo.co.jp'>, 'gicon': <'velandri'>, 'id': <'$id'>, 'name': <'Yahoo!ニュース'>*" \
  GetResultMetas "$(call $gnome org.gnome.Shell.SearchProvider2.GetResultMetas "['$id']")"
expect "()" ActivateResult "$(call $gnome org.gnome.Shell.SearchProvider2.ActivateResult "$id" "['yahoo']" 0)"
expect_browser "https://news.yahoo.co.jp/"

expect "(@a(sss) \[\],)" Actions "$(call $krunner org.kde.krunner1.Actions)"
matches=$(call $krunner org.kde.krunner1.Match "nhk")
expect "*'NHKニュース', 'velandri', 20, *'subtext': <'ニュース › www3.nhk.or.jp'>*" Match "$matches"
rm -f "$work/browser.args"
expect "()" Run "$(call $krunner org.kde.krunner1.Run "$(first_id "$matches")" "")"
expect_browser "https://www3.nhk.or.jp/news/"

expect "()" LaunchSearch "$(call $gnome org.gnome.Shell.SearchProvider2.LaunchSearch "['nhk', 'にゅーす']" 0)"
/usr/bin/python3 - "$here" "$main_title" <<'PYTHON' || fail "the search box does not hold the terms"
import sys
sys.path.insert(0, sys.argv[1])
import pyatspi
from accessibility_walk import descendants, wait_for, window

def box_text():
    main = window(sys.argv[2])
    boxes = [b for b in descendants(main, pyatspi.ROLE_TEXT) if b.name == "検索"] if main else []
    text = boxes[0].queryText().getText(0, -1) if boxes else None
    return text if text == "nhk にゅーす" else None

print("search box:", wait_for("the search box holding the terms", box_text))
PYTHON

echo "== hostile callers"
rm -f "$work/browser.args"
huge=$(printf 'a%.0s' $(seq 100000))
expect "(@as \[\],)" "a term of 100,000 characters" \
  "$(call $gnome org.gnome.Shell.SearchProvider2.GetInitialResultSet "['$huge']")"
many="[$(printf "'yahoo', %.0s" $(seq 5000))'yahoo']"
expect "(\['*'\],)" "5,000 terms" "$(call $gnome org.gnome.Shell.SearchProvider2.GetInitialResultSet "$many")"
expect "(@aa{sv} \[\],)" "malformed ids" \
  "$(call $gnome org.gnome.Shell.SearchProvider2.GetResultMetas "['', 'x', '0-1', '99-0-00', '-0-1-$huge']")"
expect "()" "ActivateResult of a malformed id" \
  "$(call $gnome org.gnome.Shell.SearchProvider2.ActivateResult "0-1-00" "[]" 0)"
# The found id with its last digit changed.
forged=${id%?}$([ "${id: -1}" = 0 ] && echo 1 || echo 0)
expect "()" "Run of a forged id" "$(call $krunner org.kde.krunner1.Run "$forged" "")"
sleep 1
[ ! -e "$work/browser.args" ] || fail "a malformed id started the browser"
expect "(\['*'\],)" "still answering" \
  "$(call $gnome org.gnome.Shell.SearchProvider2.GetInitialResultSet "['yahoo']")"

echo "== logged off"
/usr/bin/python3 - "$here" "$main_title" <<'PYTHON' || fail "no log-off button"
import sys
sys.path.insert(0, sys.argv[1])
import pyatspi
from accessibility_walk import named, wait_for, window

main = wait_for("the main window", lambda: window(sys.argv[2]))
named(main, pyatspi.ROLE_PUSH_BUTTON, "ログオフ").queryAction().doAction(0)
PYTHON
window_named "パスワード入力" >/dev/null || fail "no password window after the log-off"
expect_nothing "$id"
stop_program

echo "== no session bus"
write_data ""
env -u DBUS_SESSION_BUS_ADDRESS "$program" >"$work/program.log" 2>&1 &
program_pid=$!
pids+=("$program_pid")
for _ in $(seq 200); do
  xdotool search --onlyvisible --name "^$main_title\$" >/dev/null && break
  sleep 0.1
done
xdotool search --onlyvisible --name "^$main_title\$" >/dev/null || fail "no main window"
sleep 1
kill -0 "$program_pid" || fail "the program ended"
[ ! -s "$work/program.log" ] || fail "the program spoke without a session bus"
echo "main window shown, nothing said"
echo "desktop search checked"
