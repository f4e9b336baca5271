#!/usr/bin/env bash
# The golden traces and the bad-input table under the browser edition's trace driver
# (node build-web/servo-trace.js): the same output as the native driver, numbers within 1e-9;
# and a built-in challenge's solution recording checked by the challenge's name and by its file
# (the page's built-in challenges are compiled into it): "met", exit status 0.
set -u
here=$(dirname "$0")
root=$here/../..
passed=0
failed=0
for script in "$root"/tests/golden/*.script; do
  name=$(basename "$script" .script)
  actual=$(mktemp)
  if node "$root/build-web/servo-trace.js" <"$script" >"$actual" &&
     node "$here/compare-trace.mjs" "$root/tests/golden/$name.expected" "$actual"; then
    passed=$((passed + 1))
  else
    echo "FAIL: trace $name under node"
    failed=$((failed + 1))
  fi
  rm -f "$actual"
done
if CLOSED_OUTPUT_REOPENED=1 "$root/tests/golden/bad-input.sh" "$here/servo-trace-node"; then
  passed=$((passed + 1))
else
  failed=$((failed + 1))
fi
name=xy-gain
for challenge in "$name" "$root/data/challenges/$name.servo"; do
  out=$(node "$root/build-web/servo-trace.js" --check "$challenge" <"$root/tests/challenges/$name.servo-trace")
  status=$?
  if [ "$status" -eq 0 ] && [ "$(printf '%s\n' "$out" | head -1)" = met ]; then
    passed=$((passed + 1))
  else
    echo "FAIL: --check $challenge under node: status $status, output:"
    printf '%s\n' "$out"
    failed=$((failed + 1))
  fi
done
echo "trace under node: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
