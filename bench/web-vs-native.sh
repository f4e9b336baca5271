#!/usr/bin/env bash
# Control cycles per second of the core compiled to WebAssembly (under node) against the
# native core, in one run: the trace driver of each runs the same script of x,y hunting.
# usage: bench/web-vs-native.sh [CYCLES]   (from the top folder, after both builds)
set -euo pipefail
cycles=${1:-2000000}
script=$(printf 'servo 2\npress 420 70\ncycles %d\nstate\n' "$cycles")
seconds() { # command...
  local start end
  start=$(date +%s%N)
  printf '%s\n' "$script" | "$@" >/dev/null
  end=$(date +%s%N)
  echo "scale=3; ($end - $start) / 1000000000" | bc
}
best() { # runs the command three times, prints the shortest time
  local best="" t
  for _ in 1 2 3; do
    t=$(seconds "$@")
    if [ -z "$best" ] || [ "$(echo "$t < $best" | bc)" = 1 ]; then best=$t; fi
  done
  echo "$best"
}
native=$(best build/servo-trace)
web=$(best node build-web/servo-trace.js)
echo "| core | cycles/s |"
echo "|---|---|"
echo "| native | $(echo "$cycles / $native" | bc) |"
echo "| WebAssembly under node | $(echo "$cycles / $web" | bc) |"
echo
echo "WebAssembly / native: $(echo "scale=2; $native / $web" | bc)"
