#!/usr/bin/env bash
# Each built-in challenge is solvable: its solution recording passes `servo-trace --check`
# (status 0, "met"), and the same recording with one step changed does not (status 1,
# "not met").
set -u
trace=$1
data=$2
solutions=$(dirname "$0")
failures=0

check() { # name expected-status expected-first-line sed-expression
  local name=$1 status=$2 first=$3 change=$4 out got
  out=$(sed "$change" "$solutions/$name.servo-trace" | "$trace" --check "$data/$name.servo")
  got=$?
  if [ "$got" -ne "$status" ] || [ "$(printf '%s\n' "$out" | head -1)" != "$first" ]; then
    echo "FAIL: $name ($change): status $got, output:"
    printf '%s\n' "$out"
    failures=$((failures + 1))
  fi
}

# name, then the step changed in the "not met" run
rows=(
  "reverse-settle|s/^press 350 50/press 440 60/"
  "xy-gain|s/^gain 1/gain 3/"
  "pd-torque|s/^tune 15 0.7/tune 20 0.7/"
  "rtheta-gain|s/^gain 3/gain 4/"
  "elbow-reach|s/^elbow right/elbow up/"
  "resolved-singular|s/^scroll 8000/scroll 2000/"
  "motor-law|s/^motor ct/motor pdg/"
  "own-law|s/largest > 0.14/largest > 0.3/"
)
for row in "${rows[@]}"; do
  name=${row%%|*}
  check "$name" 0 met ''
  check "$name" 1 "not met" "${row#*|}"
done
# Every challenge shipped has its solution here, and a place on the lesson path.
path=$(grep -v '^#' "$data/lesson-path")
for file in "$data"/*.servo; do
  name=$(basename "$file" .servo)
  [ -f "$solutions/$name.servo-trace" ] || { echo "FAIL: no solution for $name"; failures=$((failures + 1)); }
  [ "$(grep -cx "$name" <<<"$path")" -eq 1 ] || { echo "FAIL: $name is not once on the lesson path"; failures=$((failures + 1)); }
done
# Each name on the lesson path is a challenge shipped.
for name in $path; do
  [ -f "$data/$name.servo" ] || { echo "FAIL: the lesson path names $name, which is not in $data"; failures=$((failures + 1)); }
done
exit $((failures > 0))
