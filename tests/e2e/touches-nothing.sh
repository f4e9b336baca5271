#!/usr/bin/env bash
# The simulator touches nothing outside its window: run it under strace for a few seconds
# (start-up notice dismissed, arm moving) and show that its only connections are the display's
# and the session bus's, that it opens no network socket, and that it creates, writes, renames
# or removes no file.
# Runs inside scripts/with-display.
set -u
simulator=$1
work=$(mktemp -d)
trap 'kill $tracer 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
. "$(dirname "$0")/x-helpers.sh"

# As in any desktop session, the per-user runtime directory exists and a session bus runs.
# The bus is the test's (and whatever it starts, such as an accessibility bus, keeps to a
# runtime directory of its own): only what the program itself does is counted. Without one,
# the toolkit may start a bus of its own (dbus-launch, where dbus-x11 is installed) that
# outlives the program.
command -v dbus-run-session >/dev/null || fail "dbus-run-session is missing (Debian's dbus-daemon)"
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 0700 "$XDG_RUNTIME_DIR" "$work/bus-runtime"
log=$work/trace.txt
# LeakSanitizer cannot run under ptrace; leaks are checked by the other tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

XDG_RUNTIME_DIR=$work/bus-runtime dbus-run-session -- sh -c '
  printf "%s\n" "$DBUS_SESSION_BUS_ADDRESS" >"$1/bus-address"
  export XDG_RUNTIME_DIR="$1/runtime"
  exec strace -f -qq -o "$1/trace.txt" \
    -e trace=socket,connect,bind,listen,openat,creat,mkdir,mkdirat,rename,renameat2,unlink,unlinkat,truncate,ftruncate \
    "$2" >/dev/null 2>"$1/stderr"' sh "$work" "$simulator" &
tracer=$!
notice=$(find_window '^Servo Simulator$') || fail "no start-up notice"
dismiss_notice "$notice" || fail "the start-up notice stayed open"
main=$(find_window '^Servo Simulator-Demonstrate') || fail "no main window"
xdotool mousemove --window "$main" 900 300 mousedown 1 mousemove --window "$main" 700 200 mouseup 1
sleep 3
close_with_keys "$main" "$tracer" ctrl+q || fail "still running after Ctrl+Q"
status=$EXIT_STATUS
tracer=
[ "$status" -eq 0 ] || { cat "$work/stderr"; fail "exit status $status after Ctrl+Q"; }

echo "sockets and connections:"
grep -E ' (socket|connect|bind|listen)\(' "$log" | sed 's/^[0-9]* /  /' | sort | uniq -c
network=$(grep -E ' socket\(AF_(INET|INET6|PACKET|NETLINK)' "$log")
[ -z "$network" ] || fail "opened a network socket: $network"
# The session bus's socket, as its address names it (unix:path=... or unix:abstract=...).
bus=$(sed -n 's/^unix:\(path\|abstract\)=\([^,;]*\).*/\2/p' "$work/bus-address")
[ -n "$bus" ] || fail "no session bus address: $(cat "$work/bus-address")"
connected=$(grep -E ' connect\(' "$log" | grep -vE '= -1 ' | grep -v "X11-unix/X${DISPLAY#:}\"" |
  grep -vF "\"$bus\"")
[ -z "$connected" ] || fail "connected somewhere other than the display: $connected"
servers=$(grep -E ' (bind|listen)\(' "$log")
[ -z "$servers" ] || fail "bound or listened: $servers"

written=$(grep -E ' (openat|creat)\(' "$log" | grep -E 'O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|creat\(' |
  grep -vE '"/dev/null"|= -1 ')
[ -z "$written" ] || fail "opened a file for writing: $written"
changed=$(grep -E ' (mkdir|mkdirat|rename|renameat2|unlink|unlinkat|truncate|ftruncate)\(' "$log" |
  grep -v '= -1 ')
[ -z "$changed" ] || fail "changed the file system: $changed"
[ -z "$(ls -A "$XDG_RUNTIME_DIR")" ] || fail "left files in the runtime directory"
echo "touches nothing: only the display's and the session bus's connections, no file created or written"
