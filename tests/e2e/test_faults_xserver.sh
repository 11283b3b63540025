#!/usr/bin/env bash
# The X server going away under the running program, killed outright: the program ends within
# a second, by itself, without a hang, a crash, a core dump or a sanitizer report.
# Arguments: the program, its directory, the directory of the end-to-end probes.
set -u

source "$(dirname "$0")/x11session.sh"
source "$(dirname "$0")/kelvokit.sh"

ulimit -c 0 # a crash shows in the status; no core file is needed to see it
for moment in "while idle" "with the options dialog open"; do
    # Each moment on an X server of its own.
    if [ "$moment" != "while idle" ]; then
        cleanup
        pids=()
        source "$(dirname "$0")/x11session.sh"
    fi
    start
    if [ "$moment" != "while idle" ]; then
        read -r x y w h < <(geometry "$window")
        xdotool mousemove $((x + w - 12)) $((y + h - 12)) click 1
        dialogOpen() { (($(xdotool search --onlyvisible --pid "$pid" | wc -l) > 1)); }
        within 5 dialogOpen || fail "the options dialog did not open"
    fi
    kill -KILL "${pids[0]}" "${pids[1]}" # Xvfb, then openbox
    wait "${pids[0]}" "${pids[1]}" 2>/dev/null
    # A killed server leaves its lock and socket for the next one to clear; this one is ours.
    rm -f "/tmp/.X${DISPLAY#:}-lock" "/tmp/.X11-unix/X${DISPLAY#:}"
    within 1 ended || fail "$moment: the program still runs a second after the X server went"
    wait "$pid"
    status=$?
    ((status < 128)) || fail "$moment: the program was ended by signal $((status - 128))"
    ! grep -qE 'Sanitizer|runtime error' "$work/kelvo.log" ||
        fail "$moment: a sanitizer report as the program ended"
    pass "$moment: the program ended with status $status within a second of the X server"
done
echo PASS
