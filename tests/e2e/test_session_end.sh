#!/usr/bin/env bash
# End to end on a private X server: a request to end (TERM from the session or kill, INT from
# Ctrl+C, HUP from a closed terminal) unloads the monitor window as its Exit button does, so
# its settings are saved and the program ends with status 0. A hangup the program was started
# to ignore, as nohup does, stays ignored.
# Arguments: the program, its directory, the directory of the end-to-end probes.
set -u

kelvo="${1:-}"
source "$(dirname "$0")/x11session.sh"
[ -x "$kelvo" ] || fail "no program at $kelvo"
# Without job control a background job starts ignoring SIGINT.
set -m
settings="$XDG_CONFIG_HOME/Kelvo/Kelvo.ini"

windowFound() {
    window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n1) && [ -n "$window" ]
}
ended() { ! kill -0 "$pid" 2>/dev/null; }

# Starts the program with whatever the arguments put before it, and waits for its window.
start() {
    rm -f "$settings"
    "$@" 2>>"$work/kelvo.log" &
    pid=$!
    pids+=("$pid")
    within 20 windowFound || fail "no window of the program appeared"
}

endsCleanly() {
    local signal=$1
    kill -s "$signal" "$pid"
    within 10 ended || fail "the program did not end on SIG$signal"
    wait "$pid"
    local status=$?
    [ "$status" = 0 ] || fail "the program ended with status $status on SIG$signal"
    grep -q '^OnTop=' "$settings" 2>/dev/null ||
        fail "SIG$signal ended the program without saving the settings"
    pass "SIG$signal unloads the window, saves the settings and ends with status 0"
}

for signal in TERM INT HUP; do
    start "$kelvo"
    endsCleanly "$signal"
done

start bash -c 'trap "" HUP && exec "$0"' "$kelvo"
kill -s HUP "$pid"
sleep 1
windowFound || fail "SIGHUP ended a program started to ignore it"
pass "a program started ignoring SIGHUP keeps running after one"
endsCleanly TERM
echo PASS
