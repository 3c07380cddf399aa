#!/usr/bin/env bash
# The real program in a real X session (run under xvfb-run), driven from outside with xdotool:
# first start, adding an entry and leaving through "終了", closing the settings window by its
# close box, the password gate, a second start while one copy runs, and an update: a tampered
# one refused, a signed one installed.
# Usage: program_test.sh VELANDRI VELANDRI_STORE ARTIFACT_FOLDER UPDATE_VELANDRI UPDATE_KEY PORT
#   UPDATE_VELANDRI is the program built against the update site http://127.0.0.1:PORT/ with
#   the public key of the minisign secret key UPDATE_KEY.
set -euo pipefail
source "$(dirname "$0")/x_desktop.sh"

program=$1
store_tool=$2
artifacts=$3
update_program=$4
update_key=$5
update_port=$6
mkdir -p "$artifacts"

private_home
fallback=$(dirname "$program")/url_bak
main_title="Velandri  Version${VELANDRI_VERSION:?set by the build}"

fail() { echo "FAIL: $*" >&2; screenshot failure; exit 1; }
screenshot() { import -window root "$artifacts/$1.png" 2>/dev/null || true; }

openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
sleep 1

start_program() {
  "$program" >>"$work/program.log" 2>&1 &
  program_pid=$!
  pids+=("$program_pid")
}

# The client width of the main window in pixels; it stands for 6600 twips.
press_exit() { click_control "$1" 5415 3165 615 240; }

# 1. First start: the first-start tabs, saved by "終了".
start_program
main=$(window_named "$main_title") || fail "no main window at the first start"
screenshot 1-first-start
[[ ! -e "$data_file" ]] || fail "a data file exists before the first save"
press_exit "$main"
wait_for_exit
[[ -f "$data_file" ]] || fail "終了 wrote no data file"
[[ "$("$store_tool" dump "$data_file" | jq -c .tabNames)" == \
   "$("$store_tool" dump "$fallback" | jq -c .tabNames)" ]] || fail "first-start tabs not saved"

# 2. Add an entry through "URL設定", the three fields and "完了", then "終了".
add_entry() {
  local window=$1 title=$2 url=$3 content=$4
  click_control "$window" 120 3165 885 240        # URL設定
  click_control "$window" 105 3990 2100 240       # title box
  xdotool type --delay 20 "$title"
  click_control "$window" 2250 3990 2100 240      # URL box
  xdotool type --delay 20 "$url"
  click_control "$window" 4365 3990 2100 240      # content box
  xdotool type --delay 20 "$content"
}
start_program
main=$(window_named "$main_title") || fail "no main window at the second start"
add_entry "$main" "Example" "https://example.org/kept" "kept"
screenshot 2-edit-row
click_control "$main" 90 4350 5295 255            # 完了
screenshot 2-added
press_exit "$main"
wait_for_exit
"$store_tool" dump "$data_file" | jq -e '[.entries[0][] | select(.url == "https://example.org/kept")] | length == 1' >/dev/null \
  || fail "the added entry was not saved"

# 3. The settings window's close box is its "終了" button: the program stays, and the main
#    window's "終了" then saves the entry added before.
start_program
main=$(window_named "$main_title") || fail "no main window at the third start"
add_entry "$main" "Closed" "https://example.org/closed" "closed"
click_control "$main" 90 4350 5295 255            # 完了
click_control "$main" 4425 3165 885 255           # 各種設定
window_named "各種設定" >/dev/null || fail "no settings window"
screenshot 3-settings
wmctrl -c "各種設定"
sleep 1
kill -0 "$program_pid" 2>/dev/null || fail "closing the settings window ended the program"
screenshot 3-settings-closed
press_exit "$main"
wait_for_exit
dump=$("$store_tool" dump "$data_file")
jq -e '[.entries[0][] | select(.url == "https://example.org/closed")] | length == 1' <<<"$dump" >/dev/null \
  || fail "the entry added before the settings window was closed was not saved"
jq -e '[.entries[0][] | select(.url == "https://example.org/kept")] | length == 1' <<<"$dump" >/dev/null \
  || fail "the entry saved before is gone"

# 4. With a password the main window appears only after it is typed.
jq '.password = "abc"' <<<"$dump" | "$store_tool" write "$data_file"
start_program
gate=$(window_named "パスワード入力") || fail "no password window"
sleep 1
if xdotool search --onlyvisible --name "^$main_title\$" >/dev/null 2>&1; then
  fail "the main window is shown before the password was typed"
fi
screenshot 4-password
xdotool windowactivate --sync "$gate"
xdotool type --delay 50 "ab"
sleep 0.5
if xdotool search --onlyvisible --name "^$main_title\$" >/dev/null 2>&1; then
  fail "the main window opened on a partial password"
fi
xdotool type --delay 50 "c"
main=$(window_named "$main_title") || fail "the correct password did not open the main window"
screenshot 4-after-password

# 5. A second start while this copy runs does not open a second copy.
first_pid=$program_pid
timeout 10 "$program" >>"$work/program.log" 2>&1 || fail "the second start did not exit cleanly"
kill -0 "$first_pid" 2>/dev/null || fail "the running copy ended"
count=$(xdotool search --onlyvisible --name "^$main_title\$" | wc -l)
[[ "$count" -eq 1 ]] || fail "$count main windows after a second start"
program_pid=$first_pid
press_exit "$main"
wait_for_exit

# 6. An update from a site on loopback. The archive's updater leaves a mark where it runs.
site=$work/site
mkdir -p "$site/send/URL"
printf '<tr><td>velandri</td><td width="610">9.9</td></tr>' >"$site/SoftVer.html"
archive=$site/send/URL/Pelkamo.zip
python3 - "$archive" <<'PYTHON'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_STORED) as archive:
    updater = zipfile.ZipInfo("Pelkamo.exe")
    updater.external_attr = 0o100755 << 16
    archive.writestr(updater, '#!/bin/sh\necho updated > "$PWD/mark"\n')
PYTHON
minisign -S -s "$update_key" -m "$archive" -t "version:9.9 file:Pelkamo.zip" >/dev/null
python3 -m http.server --bind 127.0.0.1 --directory "$site" "$update_port" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do
  (exec 3<>"/dev/tcp/127.0.0.1/$update_port") 2>/dev/null && break
  sleep 0.1
done
update_data=$work/update-data/Velandri
start_update_program() {
  XDG_DATA_HOME=$work/update-data "$update_program" >>"$work/program.log" 2>&1 &
  program_pid=$!
  pids+=("$program_pid")
}
# Answers the message box with this title with its default button, after a screenshot if named.
answer_default() {
  local box
  box=$(window_named "$1") || fail "no message box \"$1\""
  [[ -z "${2:-}" ]] || screenshot "$2"
  xdotool windowactivate --sync "$box" key Return
}

# 6a. The signed archive: installed into a data folder it makes for its owner only, its updater
# runs there, and the program ends.
start_update_program
answer_default Velandri
wait_for_exit
for _ in $(seq 100); do [[ -e "$update_data/mark" ]] && break; sleep 0.1; done
[[ "$(cat "$update_data/mark" 2>/dev/null)" == updated ]] || fail "the signed update's updater did not run"
[[ "$(stat -c %a "$update_data")" == 700 ]] || fail "the update made a data folder that others may read"
[[ ! -e "$update_data/Pelkamo.zip" ]] || fail "the archive was kept"
rm "$update_data/mark" "$update_data/Pelkamo.exe"

# 6b. The same archive with one byte of its updater changed after it was signed (an unchecked
# extraction would run it): nothing is extracted or run, one notice is shown, and the program
# starts.
python3 - "$archive" <<'PYTHON'
import sys
path = sys.argv[1]
data = bytearray(open(path, "rb").read())
data[data.index(b"echo updated") + 5] = ord("U")
open(path, "wb").write(data)
PYTHON
start_update_program
answer_default Velandri
answer_default "メッセージ" 6-tampered-update
main=$(window_named "$main_title") || fail "the program did not start after a refused update"
sleep 0.5
[[ ! -e "$update_data/mark" && ! -e "$update_data/Pelkamo.exe" && ! -e "$update_data/Pelkamo.zip" ]] ||
  fail "a tampered update left files or ran: $(ls "$update_data")"
press_exit "$main"
wait_for_exit

echo "program_under_x: all steps passed"
