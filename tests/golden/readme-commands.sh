#!/usr/bin/env bash
# The README's table of servo-trace commands lists exactly the commands the driver takes.
# usage: readme-commands.sh README SERVO_TRACE
set -euo pipefail
readme=$1
trace=$2
# The table's rows start with "| `": the first cell's backticked commands, first word of each.
documented=$(sed -n '/^| command | acts as |$/,/^$/p' "$readme" | grep '^| `' |
  cut -d'|' -f2 | grep -o '`[a-z][^`]*`' | tr -d '`' | cut -d' ' -f1 | sort -u)
taken=$("$trace" --commands | sort -u)
if [ "$documented" != "$taken" ]; then
  echo "README and servo-trace disagree:"
  diff <(echo "$documented") <(echo "$taken") | sed -n 's/^< /  only in the README: /p; s/^> /  only in servo-trace: /p'
  exit 1
fi
echo "README lists all $(wc -l <<<"$taken") servo-trace commands"
