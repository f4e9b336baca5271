#!/usr/bin/env bash
# The golden traces and the bad-input table under the browser edition's trace driver
# (node build-web/servo-trace.js): the same output as the native driver, numbers within 1e-9.
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
echo "trace under node: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
