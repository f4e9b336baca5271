#!/usr/bin/env bash
# Runs inside scripts/with-display: starts the simulator, dismisses the start-up notice and
# prints the CPU share of one core the process uses over SECONDS seconds in four situations.
#
# usage: cpu-share.sh SIMULATOR MARKER_CHECK SECONDS
set -u
simulator=$1
checker=$2
seconds=$3
hz=$(getconf CLK_TCK)

. "$(dirname "$0")/../tests/e2e/x-helpers.sh"
"$simulator" >/dev/null 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null' EXIT
notice=$(find_window '^Servo Simulator$') || { echo "cpu-share: no start-up notice" >&2; exit 1; }
dismiss_notice "$notice" || { echo "cpu-share: the start-up notice stayed open" >&2; exit 1; }
main=$(find_window '^Servo Simulator-Demonstrate') || { echo "cpu-share: no main window" >&2; exit 1; }
sleep 2

ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
share() { # label
  local before after
  before=$(ticks)
  sleep "$seconds"
  after=$(ticks)
  awk -v label="$1" -v t=$((after - before)) -v hz="$hz" -v s="$seconds" \
    'BEGIN { printf "| %-44s | %5.1f %% |\n", label, 100 * t / hz / s }'
}

window_rect "$main"
shot=$(mktemp --suffix=.png)
import -window root "$shot"
read -r sx sy sw sh < <("$checker" --surface-only "$shot" "$WIN_X" "$WIN_Y" "$WIN_W" "$WIN_H")
rm -f "$shot"

share "running, arm settled on its target"

# The x,y scheme hunting around a target level with the shoulder: the picture changes every
# frame. "Forward Kin.(x,y)" sits at 88+, 80+ pixels on the surface.
xdotool mousemove $((sx + 95)) $((sy + 88)) click 1
xdotool mousemove $((sx + sw * 300 / 330)) $((sy + sh * 70 / 130)) click 1
sleep 1
share "running, x,y scheme hunting"

press_keys "$main" Escape
sleep 0.5
share "stopped (Panic/Stop)"

# The lab open with its plot and every cue on, the x,y scheme hunting again.
press_keys "$main" F5 ctrl+l ctrl+1 ctrl+2 ctrl+3 ctrl+4
sleep 1
share "running, x,y hunting, lab open, every cue on"
