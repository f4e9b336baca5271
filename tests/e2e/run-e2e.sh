#!/usr/bin/env bash
# End to end: the real program on a virtual X display with a window manager (run it inside
# scripts/with-display). Checks that the start-up notice is centred on the window, dismisses
# it with a key press, lets the arm settle, checks the joint markers on a screenshot, then
# closes the window through the window manager and expects exit status 0.
set -u
simulator=$1
checker=$2
work=$(mktemp -d)
app_pid=
trap 'kill $app_pid 2>/dev/null; rm -rf "$work"' EXIT

fail() { echo "FAIL: $*"; exit 1; }
. "$(dirname "$0")/x-helpers.sh"

"$simulator" >"$work/app.log" 2>&1 &
app_pid=$!

# The start-up notice is the small window that appears over the main one.
notice=$(find_window '^Servo Simulator$') || fail "no start-up notice"
main=$(find_window '^Servo Simulator-Demonstrate') || fail "no main window"
# The notice stands centred on the main window, once the window manager has placed both.
notice_off_centre() {
  window_rect "$notice"
  notice_x=$((WIN_X + WIN_W / 2)) notice_y=$((WIN_Y + WIN_H / 2))
  window_rect "$main"
  main_x=$((WIN_X + WIN_W / 2)) main_y=$((WIN_Y + WIN_H / 2))
  [ $(( (notice_x - main_x) ** 2 + (notice_y - main_y) ** 2 )) -gt 900 ]
}
for _ in $(seq 200); do notice_off_centre || break; sleep 0.1; done
notice_off_centre && fail "the notice's centre ($notice_x,$notice_y) is off the window's ($main_x,$main_y)"
dismiss_notice "$notice" || fail "the start-up notice stayed open"

# The arm settles within some 20 frames; a screenshot is taken until the joint markers stand
# where they belong, for up to a minute on a busy machine.
window_rect "$main" # the client rectangle on the screen, menu bar included
for _ in $(seq 60); do
  import -window root "$work/shot.png" || fail "no screenshot"
  "$checker" "$work/shot.png" "$WIN_X" "$WIN_Y" "$WIN_W" "$WIN_H" >"$work/check.log" && break
  sleep 1
done
[ -n "${SCREENSHOT_TO:-}" ] && cp "$work/shot.png" "$SCREENSHOT_TO"
cat "$work/check.log"
"$checker" "$work/shot.png" "$WIN_X" "$WIN_Y" "$WIN_W" "$WIN_H" >/dev/null || fail "joint markers misplaced"

# Close through the window manager (its close binding), as a user would. On a loaded machine
# openbox has once let every Alt+F4 of a minute pass by; the program's own Quit (Ctrl+Q) then
# shows that it still ends cleanly, and the log says which way it was closed.
if ! close_with_keys "$main" "$app_pid" alt+F4; then
  echo "the window manager's Alt+F4 did not close it; trying Quit (Ctrl+Q)"
  close_with_keys "$main" "$app_pid" ctrl+q || fail "still running after close"
fi
status=$EXIT_STATUS
app_pid=
[ "$status" -eq 0 ] || fail "exit status $status after close"
echo "end-to-end: notice dismissed, markers in place, closed with status 0"
