#!/usr/bin/env bash
# End to end on a private X server with openbox, through the probe form (ontop_probe.cpp):
# - ZoOnTop switches _NET_WM_STATE_ABOVE of the shown frameless tool window in place: the
#   same X window, still mapped, not moved and not activated;
# - ZoFormPos brings back at each start the placement saved at the last close.
# Arguments: the program, its directory, the directory of the end-to-end probes.
set -u

probe="${3:-}/ontop_probe"
source "$(dirname "$0")/x11session.sh"
[ -x "$probe" ] || fail "no probe at $probe"

# --- Talking to the probe.
startProbe() {
    coproc PROBE { exec "$probe" 2>>"$work/probe.log"; }
    pids+=("$PROBE_PID")
    local line
    read -r -t 20 -u "${PROBE[0]}" line || fail "the probe did not show its window"
    [[ $line == "shown "* ]] || fail "the probe said '$line' instead of showing its window"
    window=${line#shown }
}

# Sends a command and reads the answer into $reply.
ask() {
    echo "$1" >&"${PROBE[1]}"
    read -r -t 10 -u "${PROBE[0]}" reply || fail "no answer to '$1'"
}

quitProbe() {
    local pid=$PROBE_PID
    echo quit >&"${PROBE[1]}"
    probeGone() { ! kill -0 "$pid" 2>/dev/null; }
    within 10 probeGone || fail "the probe did not end on quit"
    wait "$pid" || fail "the probe ended with status $?"
}

windowExists() { xwininfo -id "$window" >/dev/null 2>&1; }
hasAbove() { xprop -id "$window" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_ABOVE; }
lacksAbove() { windowExists && ! hasAbove; }

# --- Keep-above switched in place.
startProbe
before=$(serverPlacement "$window")
[[ $before == *IsViewable ]] || fail "the probe's window $window is not mapped: $before"
lacksAbove || fail "the window starts above others though its OnTop is False"

xmessage -geometry +600+500 "another window" 2>/dev/null &
pids+=($!)
otherFound() { other=$(xdotool search --name '^xmessage$' 2>/dev/null | head -n1) && [ -n "$other" ]; }
within 10 otherFound || fail "the other window did not appear"
xdotool windowactivate "$other" 2>/dev/null
otherActive() {
    local active
    active=$(activeWindow)
    [ -n "$active" ] && ((active == other))
}
within 10 otherActive || fail "the other window could not be activated"

for on in 1 0 1 0; do
    ask "ontop $on"
    [ "$reply" = ok ] || fail "'ontop $on' answered '$reply'"
    windowExists || fail "'ontop $on' destroyed window $window (the form got a new one)"
    if [ "$on" = 1 ]; then
        within 5 hasAbove || fail "_NET_WM_STATE_ABOVE did not appear after 'ontop 1'"
    else
        within 5 lacksAbove || fail "_NET_WM_STATE_ABOVE did not go after 'ontop 0'"
    fi
    ask where
    [[ $reply == *" window $window" ]] || fail "the window was recreated: $reply, was $window"
    now=$(serverPlacement "$window")
    [ "$now" = "$before" ] || fail "the window changed from '$before' to '$now' (x y map state)"
    otherActive || fail "'ontop $on' activated window $(activeWindow)"
    pass "ontop $on: above is $(hasAbove && echo on || echo off), window $window unmoved at $now, not activated"
done

# --- Placement saved at close, restored at start.
xdotool windowmove "$window" 123 234
movedThere() { [ "$(serverPlacement "$window")" = "123 234 IsViewable" ]; }
within 10 movedThere || fail "the window could not be moved: $(serverPlacement "$window")"
formMoved() {
    ask where
    [[ $reply == "at 123 234 "* ]]
}
within 10 formMoved || fail "the form did not follow the move: $reply"
quitProbe
saved="$XDG_CONFIG_HOME/Kelvo/Kelvo.ini"
grep -qx 'Left=1845' "$saved" && grep -qx 'Top=3510' "$saved" ||
    fail "the placement was not saved: $(cat "$saved" 2>/dev/null)"
pass "placement saved at close"

# Qt can record a frameless tool window at 0,0 right after openbox maps it; a few starts give
# that a chance to show.
for start in 1 2 3 4 5; do
    startProbe
    now=$(serverPlacement "$window")
    [ "$now" = "123 234 IsViewable" ] || fail "start $start: the window came up at '$now'"
    ask where
    [[ $reply == "at 123 234 "* ]] || fail "start $start: the form has itself $reply"
    quitProbe
done
grep -qx 'Left=1845' "$saved" || fail "a later start saved another placement: $(cat "$saved")"
pass "placement restored at each of 5 starts"
echo PASS
