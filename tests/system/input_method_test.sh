#!/usr/bin/env bash
# Japanese typed through a real input method: ibus with Mozc composes and commits 今日, an
# ideographic space and 東京 in the title box of the real program, "完了" and "終了" save it,
# and the data file holds it; a search composed the same way finds the entry.
# Mozc's server refuses to run as root, so the desktop runs as the unprivileged user nobody,
# with a private home, in its own X server and session bus.
# Usage: input_method_test.sh VELANDRI VELANDRI_STORE ARTIFACT_FOLDER
set -euo pipefail
source "$(dirname "$0")/x_desktop.sh"

if [[ "${1:-}" != --desktop ]]; then
  program=$1
  store_tool=$2
  artifacts=$3
  mkdir -p "$artifacts"
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  chmod 755 "$work"
  user=nobody
  [[ $(id -u) -eq 0 ]] || user=$(id -un)
  install -d -o "$user" "$work/home" "$work/data" "$work/artifacts"
  install -d -m 700 -o "$user" "$work/runtime"
  # The program, its helpers and its first-start file, where the user may run them.
  cp -r "$(dirname "$program")"/{velandri,velandri-http,url_bak,modules} "$work/" 2>/dev/null ||
    { echo "FAIL: the program's folder lacks the program, its helpers or url_bak" >&2; exit 1; }
  run_as=()
  [[ $(id -u) -eq 0 ]] && run_as=(runuser -u "$user" --)
  status=0
  timeout 90 "${run_as[@]}" env -i PATH=/usr/bin:/bin LANG=C.UTF-8 \
    HOME="$work/home" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime" \
    XDG_CONFIG_HOME="$work/home/.config" XDG_CACHE_HOME="$work/home/.cache" \
    VELANDRI_VERSION="${VELANDRI_VERSION:?set by the build}" \
    xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" \
    dbus-run-session -- "$0" --desktop "$work" || status=$?
  cp "$work/artifacts/"* "$artifacts/" 2>/dev/null || true
  [[ $status -eq 0 ]] || { cat "$work/artifacts/desktop.log" >&2 2>/dev/null; exit "$status"; }
  saved=$("$store_tool" dump "$work/data/Velandri/url" |
    jq -r '.entries[0][] | select(.url == "https://example.org/kyou") | .title | sub("\u3000+$"; "")')
  echo "the data file holds the title: $saved"
  [[ "$saved" == "今日　東京" ]] || { echo "FAIL: the saved title is '$saved', not 今日　東京" >&2; exit 1; }
  echo "input_method: passed"
  exit 0
fi

# The desktop, as the unprivileged user.
work=$2
here=$(dirname "$0")
exec 2>"$work/artifacts/desktop.log"
main_title="Velandri  Version$VELANDRI_VERSION"
pids=()
cleanup() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; }
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  import -window root "$work/artifacts/input-method-failure.png" 2>/dev/null || true
  exit 1
}

# Runs a command every 0.1 s until it succeeds, for at most the given seconds.
wait_until() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}

# Selects an input-method engine; "ibus engine NAME" exits with 1 even when it succeeds, so
# the engine in use is asked back.
engine_selected() {
  ibus engine "$1" || true
  [[ "$(ibus engine)" == "$1" ]]
}

# Mozc's server outlives the session: end the one of this home, found by its environment.
end_mozc_server() {
  for pid in $(pgrep -u "$(id -u)" -x mozc_server); do
    grep -qz "^HOME=$work/home\$" "/proc/$pid/environ" 2>/dev/null && kill "$pid"
  done
  true
}
trap 'cleanup; end_mozc_server' EXIT

# Mozc starts in direct input unless told to start composing, as a Japanese desktop sets it.
mkdir -p "$XDG_CONFIG_HOME/mozc"
cat >"$XDG_CONFIG_HOME/mozc/ibus_config.textproto" <<'END'
engines {
  name: "mozc-jp"
  longname: "Mozc"
  layout: "default"
  layout_variant: ""
  layout_option: ""
  rank: 80
}
active_on_launch: True
END

openbox --sm-disable >/dev/null &
pids+=($!)
wait_until 20 wmctrl -m || fail "openbox did not start"
# Mozc as the only engine: the panel selects its first engine as it starts, which may come
# after the selection below.
dconf write /desktop/ibus/general/preload-engines "['mozc-jp', 'xkb:us::eng']"
dconf write /desktop/ibus/general/engines-order "['mozc-jp', 'xkb:us::eng']"
ibus-daemon -drx
wait_until 20 engine_selected mozc-jp || fail "ibus could not select the Mozc engine"

QT_IM_MODULE=ibus QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$work/velandri" >"$work/artifacts/program.log" 2>&1 &
program_pid=$!
pids+=("$program_pid")
wait_until 20 xdotool search --onlyvisible --name "^$main_title\$" || fail "no main window"
main=$(xdotool search --onlyvisible --name "^$main_title\$" | head -1)
xdotool windowactivate --sync "$main"

box_text() { /usr/bin/python3 "$here/box_text.py" "$main_title" "$@"; }

# True once Mozc composes in the title box: a typed "a" stays in the composition, out of the
# box, and is cancelled. Under another engine it lands in the box, is taken back, and Mozc is
# selected again.
composing() {
  xdotool type a
  sleep 0.3
  if [[ -z "$(box_text "タイトル")" ]]; then
    xdotool key Escape
    return 0
  fi
  echo "the engine in use was $(ibus engine); selecting Mozc again" >>"$work/artifacts/desktop.log"
  xdotool key BackSpace
  ibus engine mozc-jp || true
  return 1
}

click_control "$main" 120 3165 885 240              # URL設定: the focus goes to the title box
wait_until 10 box_text "タイトル" "" || fail "the title box is not in the accessibility tree"
wait_until 20 composing || fail "Mozc did not start composing in the title box"
box_text "タイトル" "" >/dev/null || fail "the composition probe left text in the title box"
# Two words with the ideographic space that Mozc types between them.
xdotool type --delay 80 kyou
xdotool key --delay 300 space Return
box_text "タイトル" "今日" >/dev/null || fail "the title box shows '$(box_text "タイトル")', not 今日"
xdotool key space
xdotool type --delay 80 toukyou
xdotool key --delay 300 space Return
shown=$(box_text "タイトル" "今日　東京") || true
echo "typed: kyou Space Return Space toukyou Space Return with ibus-mozc; the title box shows: $shown"
import -window root "$work/artifacts/input-method-title.png" 2>/dev/null || true
[[ "$shown" == "今日　東京" ]] || fail "the title box shows '$shown' after composing, not 今日　東京"

wait_until 5 engine_selected xkb:us::eng || fail "ibus could not leave Mozc for the address"
click_control "$main" 2250 3990 2100 240            # URL box
xdotool type --delay 30 "https://example.org/kyou"
address=$(box_text "URL" "https://example.org/kyou") || fail "the URL box shows '$address'"
click_control "$main" 90 4350 5295 255              # 完了: the list takes the focus

# A search composed through Mozc, typed straight into the list: its first key composes as the
# others do, and the list shows what the committed 東京 finds, across tabs.
wait_until 5 engine_selected mozc-jp || fail "ibus could not select Mozc for the search"
xdotool type --delay 80 toukyou
xdotool key --delay 300 space Return
query=$(box_text "検索" "東京") || fail "the search box shows '$query' after composing, not 東京"
found=$(/usr/bin/python3 - "$here" "$main_title" <<'END'
import sys
sys.path.insert(0, sys.argv[1])
import pyatspi
from accessibility_walk import children, window
shown = next(n for n in children(window(sys.argv[2])) if n.getRole() == pyatspi.ROLE_LIST)
print("\n".join([shown.name] + [line.name for line in children(shown)]))
END
)
echo "typed: toukyou Space Return straight into the list with ibus-mozc; the list shows:"$'\n'"$found"
[[ "$(sed -n 1p <<<"$found")" == "検索結果" && "$(sed -n '$=' <<<"$found")" -ge 2 ]] ||
  fail "the search for 東京 listed no results"
sed -n '2,$p' <<<"$found" | grep -qv "東京" && fail "the search for 東京 listed a line without it"
xdotool key Escape

click_control "$main" 5415 3165 615 240             # 終了
wait_until 20 bash -c "! kill -0 $program_pid" || fail "the program did not end after 終了"
