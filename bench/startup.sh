#!/usr/bin/env bash
# Start-up cost of the real program against two plain Qt Widgets windows, under Xvfb: one with
# the main window's content (ten tabs, thirty list lines, eleven buttons, same size), the fair
# yardstick, and an empty one for reference.
# Builds a Release copy whose update site is an unreachable port on loopback, gives it a full
# data file (300 entries), then starts the three programs in turns, round after round, until
# each window is mapped, and prints the medians and their ratios (time to the mapped window,
# peak resident memory).
# Usage: bench/startup.sh [ROUNDS]   (default 15)
#   VELANDRI=path/to/velandri bench/startup.sh   measures another build of the program against
#   the same yardsticks (an earlier commit, say).
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-15}

if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -e "${XVFB_LOG:-/dev/null}" -s "-screen 0 1280x1024x24 -maxclients 1024" "$0" "$@"
fi

build=build-bench
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELANDRI_TESTS=OFF \
  -DVELANDRI_SITE_URL=http://127.0.0.1:9/ >/dev/null
cmake --build "$build" -j2 --target velandri velandri-store content_window minimal_window >/dev/null
program=${VELANDRI:-$build/bin/velandri}
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

full_store_json() {
  local title=ブックマークの題名です１２３ content=説明文をここに書きます４５６
  local url
  url="https://example.org/$(printf 'p%.0s' {1..180})"
  jq -n --arg t "$title" --arg u "$url" --arg c "$content" '{
    tabNames: [range(10) | "タブ\(.)"],
    entries: [range(10) | [range(30) | {title: $t, url: "\($u)/\(.)", content: $c}]]
  }'
}
mkdir -p "$XDG_DATA_HOME/Velandri"
full_store_json | "$build/bin/velandri-store" write "$XDG_DATA_HOME/Velandri/url"

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

window_shown() { timeout 2 xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }

# Prints "milliseconds-to-mapped peak-kilobytes" for one start of a program.
measure() {
  local title=$1; shift
  local started memory_file=$work/memory pid child elapsed
  started=$(now_ms)
  /usr/bin/time -f %M -o "$memory_file" "$@" >>"$work/log" 2>&1 &
  pid=$!
  until window_shown "$title"; do
    kill -0 "$pid" 2>/dev/null || { echo "$* ended before showing its window:" >&2; tail -5 "$work/log" >&2; exit 1; }
    sleep 0.005
  done
  elapsed=$(( $(now_ms) - started ))
  sleep 0.3   # let the first paint finish, so memory counts a shown window
  child=$(pgrep -P "$pid")
  kill "$child"
  wait "$pid" 2>/dev/null || true
  # The next start must not find this window still on the screen.
  while window_shown "$title"; do sleep 0.01; done
  echo "$elapsed $(tail -n 1 "$memory_file")"
}

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

: >"$work/program" && : >"$work/content" && : >"$work/empty"
for _ in $(seq "$rounds"); do
  measure "Velandri  Version$version" "$program" >>"$work/program"
  measure "content-window" "$build/bin/content_window" >>"$work/content"
  measure "minimal-window" "$build/bin/minimal_window" >>"$work/empty"
done

column_median() { cut -d' ' -f"$1" "$work/$2" | median; }
ratio() { awk "BEGIN {printf \"%.2f\", $1 / $2}"; }

# One line per measure: the program, the yardstick, the empty window, then the two ratios.
report() {
  local what=$1 column=$2 unit=$3 program_value content_value empty_value
  program_value=$(column_median "$column" program)
  content_value=$(column_median "$column" content)
  empty_value=$(column_median "$column" empty)
  echo "$what (median): velandri $program_value $unit, yardstick $content_value $unit," \
       "empty window $empty_value $unit; ratio to yardstick $(ratio "$program_value" "$content_value")," \
       "to empty window $(ratio "$program_value" "$empty_value")"
}

echo "program: $program, rounds: $rounds"
report "start-up to mapped window" 1 ms
report "peak resident memory" 2 KiB
