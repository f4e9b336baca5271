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
check 1 'gain 20.5\n'
check 3 'apply\nscheme=xy\ngain=99\nend\n'
check 2 'apply\nscheme=xy\n'
# A saved experiment pasted whole: its first line is taken as the block's first line only.
check 4 'apply\nservo-experiment 1\nscheme=xy\ngain=99\nend\n'
check 3 'apply\nscheme=xy\nservo-experiment 1\nend\n'
check 3 'apply\nservo-experiment 1\nservo-experiment 1\nend\n'
check 1 'gain -0.1\n'
check 1 'gain nan\n'
check 1 'gain\n'
check 2 'step\nstep 1\n'
check 1 'reset now\n'
check 1 'sample 1\n'
check 1 'ghosts all\n'

# The message says what is wrong.
says() { # expected-text script
  local err
  err=$(printf '%b' "$2" | "$trace" 2>&1 >/dev/null)
  if [[ "$err" != *"$1"* ]]; then
    echo "FAIL: $(printf '%q' "$2") -> $err (expected: $1)"
    failures=$((failures + 1))
  fi
}
says "too close to zero for a single-precision coordinate" 'press 1e-50 5\n'
says "'99999999999999999999' is outside 0..100000000" 'cycles 99999999999999999999\n'
says "'100000001' is outside 0..100000000" 'cycles 100000001\n'
says "not a finite number: 'inf'" 'move inf 2\n'
says "not a number: 'x'" 'press x 2\n'
says "'1e40' is outside -3.4028235e+38..3.4028235e+38" 'press 1e40 2\n'
# A long word is quoted in part, with its length; control bytes and NUL are escaped.
says "unknown command 'a\\x01\\x00b" 'a\x01\x00b\n'
long=$(head -c 60000 /dev/zero | tr '\0' 'w')
err=$(printf '%s\n' "$long" | "$trace" 2>&1 >/dev/null)
if [ "${#err}" -gt 200 ] || [[ "$err" != *"(60000 bytes in all)"* ]]; then
  echo "FAIL: a 60 KB word gave a ${#err}-byte message"
  failures=$((failures + 1))
fi
# A line too long for any script is refused as soon as it is seen to be (the rest unread).
err=$(head -c 100000000 /dev/zero | tr '\0' 'w' | "$trace" 2>&1 >/dev/null)
[[ "$err" == "servo-trace: line 1: longer than 65536 characters" ]] || {
  echo "FAIL: a 100 MB line -> $err"
  failures=$((failures + 1))
}
err=$(printf 'cycles 1\n%070000d\n' 0 | "$trace" 2>&1 >/dev/null)
[[ "$err" == "servo-trace: line 2: longer than 65536 characters" ]] || {
  echo "FAIL: a 70 KB second line -> $err"
  failures=$((failures + 1))
}

# Output that cannot be written, and input that cannot be read: a message and a failure status.
io() { # description command...
  local description=$1 err status
  shift
  err=$("$@" 2>&1 >/dev/null)
  status=$?
  if [ "$status" -eq 0 ] || [ -z "$err" ]; then
    echo "FAIL: $description -> status $status, stderr: $err"
    failures=$((failures + 1))
  fi
}
io "a full disk" sh -c "printf 'state\n' | '$trace' >/dev/full"
# (node reopens a closed standard output on /dev/null before the program starts: there the
# case cannot arise, and CLOSED_OUTPUT_REOPENED=1 skips it.)
if [ -z "${CLOSED_OUTPUT_REOPENED:-}" ]; then
  io "a closed output" sh -c "printf 'state\n' | '$trace' >&-"
fi
io "a directory as input" sh -c "'$trace' </ >/dev/null"
# A reader that stops reading: the driver says so and stops with status 1, whatever is left.
if [ -z "${CLOSED_OUTPUT_REOPENED:-}" ]; then
  errors=$(mktemp)
  status=$( { yes points | head -n 100000 | "$trace" 2>"$errors" | head -n 1 >/dev/null
              echo "${PIPESTATUS[2]}"; } )
  err=$(cat "$errors")
  rm -f "$errors"
  if [ "$status" -ne 1 ] || [[ "$err" != *"cannot write the output"* ]]; then
    echo "FAIL: a closed pipe -> status $status, stderr: $err"
    failures=$((failures + 1))
  fi
fi

# Numbers at the edges read back as they are written, and the race's distance is a number
# before its first cycle.
out=$(printf 'press -3.4028235e+38 3.4028235e+38\nrelease\nreset\nrace damped\nsample\n' |
  "$trace" 2>&1)
if [[ "$out" == *nan* ]] || [[ "$out" != *"raceError="* ]] || [[ "$out" == *servo-trace:* ]]; then
  echo "FAIL: edge numbers and the race before a cycle -> $out"
  failures=$((failures + 1))
fi

# Good input writes nothing to standard error.
err=$(printf 'cycles 3\nstate\npress 200 40\nmove 210 45\nrelease\nservo 2\nelbow up\napply\nservo-experiment 1\nscheme=xy\nend\n' | "$trace" 2>&1 >/dev/null)
if [ -n "$err" ]; then
  echo "FAIL: good script wrote to standard error: $err"
  failures=$((failures + 1))
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures bad-input checks failed"
  exit 1
fi
echo "all bad-input checks passed"
