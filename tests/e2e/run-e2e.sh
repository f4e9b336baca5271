#!/usr/bin/env bash
# End to end: the real program on a virtual X display with a window manager. Dismisses the
# start-up notice with a key press, lets the arm settle, checks the joint markers on a
# screenshot, then closes the window through the window manager and expects exit status 0.
set -u
simulator=$1
checker=$2
work=$(mktemp -d)
trap 'kill $app_pid $wm_pid $xvfb_pid 2>/dev/null; rm -rf "$work"' EXIT
app_pid= wm_pid= xvfb_pid=

fail() { echo "FAIL: $*"; exit 1; }

# A display number nobody uses.
for n in $(seq 90 140); do
  if [ ! -e /tmp/.X11-unix/X$n ] && [ ! -e /tmp/.X$n-lock ]; then display=:$n; break; fi
done
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not start"
openbox >"$work/openbox.log" 2>&1 &
wm_pid=$!
sleep 0.5

"$simulator" >"$work/app.log" 2>&1 &
app_pid=$!

# The start-up notice is the small window that appears over the main one.
notice=$(timeout 15 xdotool search --sync --onlyvisible --name '^Servo Simulator$' | head -n1)
[ -n "$notice" ] || fail "no start-up notice"
main=$(timeout 15 xdotool search --sync --onlyvisible --name '^Servo Simulator-Demonstrate' | head -n1)
[ -n "$main" ] || fail "no main window"
xdotool windowactivate --sync "$notice" 2>/dev/null; xdotool key Return
sleep 2.5 # about 150 frames: far more than the 20 or so the servo needs

# The window's client rectangle on the screen (menu bar included).
info=$(xwininfo -id "$main")
X=$(awk '/Absolute upper-left X/ {print $NF}' <<<"$info")
Y=$(awk '/Absolute upper-left Y/ {print $NF}' <<<"$info")
WIDTH=$(awk '/^ *Width:/ {print $NF}' <<<"$info")
HEIGHT=$(awk '/^ *Height:/ {print $NF}' <<<"$info")
import -window root "$work/shot.png" || fail "no screenshot"
[ -n "${SCREENSHOT_TO:-}" ] && cp "$work/shot.png" "$SCREENSHOT_TO"
"$checker" "$work/shot.png" "$X" "$Y" "$WIDTH" "$HEIGHT" || fail "joint markers misplaced"

# Close through the window manager (its close binding), as a user would.
xdotool windowactivate --sync "$main" 2>/dev/null; xdotool key alt+F4
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app_pid" 2>/dev/null; then fail "still running after close"; fi
wait "$app_pid"
status=$?
app_pid=
[ "$status" -eq 0 ] || fail "exit status $status after close"
echo "end-to-end: notice dismissed, markers in place, closed with status 0"
