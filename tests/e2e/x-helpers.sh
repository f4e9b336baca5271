# Shell helpers for driving the simulator on an X display; source this file.

# Prints the id of the first visible window whose name matches the regular expression,
# waiting up to 20 s. xdotool gives up when a window vanishes while it walks the window
# tree, so the search is simply repeated.
find_window() {
  local pattern=$1 id
  for _ in $(seq 200); do
    id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n1)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# Gives the window the focus and types the keys into it: activated through the window manager
# and, where that left the keyboard focus elsewhere (none at all after a dialog closed, say),
# focused directly.
press_keys() {
  local window=$1
  shift
  timeout 5 xdotool windowactivate --sync "$window" >/dev/null 2>&1
  timeout 5 xdotool windowfocus --sync "$window" >/dev/null 2>&1
  xdotool key "$@"
}

# The window's rectangle on the screen: sets WIN_X, WIN_Y, WIN_W, WIN_H.
window_rect() {
  local info
  info=$(xwininfo -id "$1")
  WIN_X=$(awk '/Absolute upper-left X/ {print $NF}' <<<"$info")
  WIN_Y=$(awk '/Absolute upper-left Y/ {print $NF}' <<<"$info")
  WIN_W=$(awk '/^ *Width:/ {print $NF}' <<<"$info")
  WIN_H=$(awk '/^ *Height:/ {print $NF}' <<<"$info")
}

# Dismisses the start-up notice with the Return key, pressing again until it is gone
# (a key typed while the window manager is still handing over the focus can be lost).
dismiss_notice() {
  local notice=$1
  for _ in $(seq 20); do
    press_keys "$notice" Return
    sleep 0.3
    xdotool search --onlyvisible --name '^Servo Simulator$' 2>/dev/null | grep -qx "$notice" || return 0
  done
  return 1
}

# Waits up to SECONDS for the child process to end and sets EXIT_STATUS to its exit status;
# returns 1 if it is still running. Call it directly, not in a subshell, so that it can reap
# the child.
wait_for_exit() {
  local pid=$1 seconds=$2
  for _ in $(seq $((seconds * 10))); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      EXIT_STATUS=$?
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# Types the keys into the window until the process ends (a key typed while the window manager
# is still handing over the focus can be lost), up to six times 5 s; sets EXIT_STATUS as
# wait_for_exit does and returns 1 if the process is still running, after telling on standard
# error what it was doing (see report_stuck). Call it directly.
close_with_keys() {
  local window=$1 pid=$2
  shift 2
  for _ in $(seq 6); do
    press_keys "$window" "$@"
    wait_for_exit "$pid" 5 && return 0
  done
  report_stuck "$pid" >&2
  return 1
}

# What a process that should have ended is doing: its state, the windows on the display, the
# window that has the focus and, where gdb is installed, every thread's stack.
report_stuck() {
  local pid=$1
  echo "process $pid and what it started:"
  local pids=$pid next=$pid
  while next=$(ps -o pid= --ppid "$(tr ' ' , <<<"$next")" 2>/dev/null | xargs) && [ -n "$next" ]; do
    pids="$pids $next"
  done
  ps -o pid,ppid,stat,wchan:24,etime,time,args -p "$(tr ' ' , <<<"$pids")" 2>&1 | cut -c1-200
  echo "visible windows:"
  xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | sed 's/^/  /'
  echo "focus: $(xdotool getwindowfocus getwindowname 2>/dev/null)"
  echo "window manager: $(pgrep -a openbox || echo 'not running')"
  if command -v gdb >/dev/null; then
    gdb -p "$pid" -batch -ex 'thread apply all bt 12' 2>/dev/null | grep -E '^(Thread|#)'
  fi
}
