# What the whole-program scripts share: finding the program's windows and clicking its controls
# as a user does, and waiting for the program to end. Sourced, not run.

# Waits up to SECONDS (default 20) for a visible window with exactly this name; prints its id.
window_named() {
  local name=$1 seconds=${2:-20}
  for _ in $(seq $((seconds * 10))); do
    for id in $(xdotool search --onlyvisible --name "^$name\$" 2>/dev/null); do
      echo "$id"
      return 0
    done
    sleep 0.1
  done
  return 1
}

# Clicks the centre of a control given in twips (left top width height) of a window whose client
# area is 6600 twips wide, as the main window's is; further arguments go to xdotool's click.
click_control() {
  local window=$1 left=$2 top=$3 width=$4 height=$5 pixels
  pixels=$(xwininfo -id "$window" | awk '/Width:/ {print $2}')
  xdotool mousemove --window "$window" $(((left + width / 2) * pixels / 6600)) \
    $(((top + height / 2) * pixels / 6600)) click "${@:6}" 1
  sleep 0.4
}

# Waits up to 10 s for the program started as $program_pid to end; says after what, if given.
wait_for_exit() {
  for _ in $(seq 100); do
    kill -0 "$program_pid" 2>/dev/null || { wait "$program_pid" || true; return 0; }
    sleep 0.1
  done
  fail "the program did not end${1:+ after: $1}"
}

# Home, data and runtime folders of the script's own under $work, with $work/bin first on the
# path for stand-ins; when the script ends, the processes in $pids are ended and waited for (a
# program ended by SIGTERM saves first) and the folders go.
private_home() {
  work=$(mktemp -d)
  export HOME=$work/home XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/runtime
  export PATH=$work/bin:$PATH
  mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$work/bin"
  chmod 700 "$XDG_RUNTIME_DIR"
  data_file=$XDG_DATA_HOME/Velandri/url
  pids=()
  trap end_private_home EXIT
}

end_private_home() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
