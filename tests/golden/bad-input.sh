#!/usr/bin/env bash
# Each bad script must stop servo-trace with exit status 2 and one line on standard error
# that names the offending line.
set -u
trace=$1
failures=0

check() { # expected-line script
  local expected=$1 script=$2 err status
  err=$(printf '%b' "$script" | "$trace" 2>&1 >/dev/null)
  status=$?
  if [ "$status" -ne 2 ] || [ "$(printf '%s\n' "$err" | wc -l)" -ne 1 ] ||
     [[ "$err" != "servo-trace: line $expected: "* ]]; then
    echo "FAIL: $(printf '%q' "$script") -> status $status, stderr: $err"
    failures=$((failures + 1))
  fi
}

check 1 'jump\n'
check 2 'cycles 1\nfly 3 4\n'
check 3 '# comment\n\npress 10\n'
check 1 'press 10 x\n'
check 1 'press 10 20 30\n'
check 1 'press nan 20\n'
check 1 'move inf 20\n'
check 1 'servo 4\n'
check 1 'servo 0\n'
check 1 'servo two\n'
check 1 'scroll 32768\n'
check 1 'scroll -1\n'
check 1 'scroll 1.5\n'
check 1 'elbow sideways\n'
check 1 'elbow\n'
check 1 'cycles\n'
check 1 'cycles -3\n'
check 1 'state now\n'
check 4 'cycles 2\nstate\npoints\ncycles 1e3\n'

# Good input writes nothing to standard error.
err=$(printf 'cycles 3\nstate\npress 200 40\nmove 210 45\nrelease\nservo 2\nelbow up\n' | "$trace" 2>&1 >/dev/null)
if [ -n "$err" ]; then
  echo "FAIL: good script wrote to standard error: $err"
  failures=$((failures + 1))
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures bad-input checks failed"
  exit 1
fi
echo "all bad-input checks passed"
