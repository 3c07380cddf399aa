#!/usr/bin/env bash
# Start-up cost of the real program against two plain Qt Widgets windows, under Xvfb: one with
# the main window's content (ten tabs, thirty list lines, eleven buttons, same size), the fair
# yardstick, and an empty one for reference.
# Builds a Release copy whose update site is an unreachable port on loopback, gives it a full
# data file (300 entries), then starts the three programs in turns, round after round, each
# through bench/time_to_map (which awaits the mapping as an X event), and prints the medians and
# their ratios (time to the mapped window, peak resident memory).
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
cmake --build "$build" -j2 --target velandri velandri-store content_window minimal_window \
  time_to_map >/dev/null
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

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }

: >"$work/program" && : >"$work/content" && : >"$work/empty"
# Each line of a file: "milliseconds-to-mapped peak-KiB" for one start. The order turns every
# round, so that no program always follows the same one.
measure() {
  case $1 in
    program) "$build/bin/time_to_map" "Velandri  Version$version" "$program" ;;
    content) "$build/bin/time_to_map" content-window "$build/bin/content_window" ;;
    empty) "$build/bin/time_to_map" minimal-window "$build/bin/minimal_window" ;;
  esac >>"$work/$1" 2>>"$work/log" || { tail -5 "$work/log" >&2; exit 1; }
}
order=(program content empty)
for _ in $(seq "$rounds"); do
  for which in "${order[@]}"; do measure "$which"; done
  order=("${order[@]:1}" "${order[0]}")
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
