#!/usr/bin/env bash
# End to end on a private X server under any of the window managers x11session.sh starts: the
# monitor's Options button opens the options dialog centred and above other windows; On top switches the monitor's keep-above state at
# once; a period of 250 typed and taken with Return makes the monitor sample four times a
# second; the on-top choice survives Exit and a new start.
# Arguments: the program, its directory, the directory of the end-to-end probes.
set -u

source "$(dirname "$0")/x11session.sh"
source "$(dirname "$0")/kelvokit.sh"

above() { xprop -id "$monitor" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_ABOVE; }
notAbove() { ! above; }

start
monitor=$window
above || fail "the monitor does not start above other windows"
sleep 1 # the window manager's and the first paints' events settle
slow=$(wakeupsIn3s)

# --- Options opens the dialog, centred and above others.
openOptions "$monitor" || fail "Options opened no dialog"
# A window manager under load may still be placing the new dialog when it maps.
centred() {
    read -r x y w h < <(geometry "$dialog")
    ((w == 205 && h == 105 && x >= 409 && x <= 410 && y >= 331 && y <= 332))
}
within 3 centred
((w == 205 && h == 105)) || fail "the dialog is ${w}x$h, not 197x97 inside a 4-pixel frame"
((x >= 409 && x <= 410 && y >= 331 && y <= 332)) || fail "the dialog is at $x,$y, not centred"
xprop -id "$dialog" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "the dialog is not above"
pass "Options opened a ${w}x$h dialog at $x,$y, above other windows"

# --- On top switches the monitor at once, every click.
for expect in notAbove above notAbove; do
    clickAt "$dialog" 52 87
    within 2 "$expect" || fail "On top did not make the monitor $expect"
done
pass "three On top clicks switched the monitor off, on and off again at once"

# --- 250 typed and taken with Return: four samples a second.
clickAt "$dialog" 120 60
xdotool key ctrl+a && xdotool type --delay 50 250
clickAt "$dialog" 151 87
dialogGone() { ! xwininfo -id "$dialog" 2>/dev/null | grep -q IsViewable; }
within 2 dialogGone || fail "Return did not close the dialog"
fast=$(wakeupsIn3s)
# Twelve ticks in 3 s against three; the timer may fire a little late, and a window manager's
# events may add a wake-up or two to either count.
((fast >= 10 && fast >= slow + 6)) ||
    fail "the monitor woke $slow times in 3 s before and $fast after the period became 250 ms"
pass "Return closed the dialog; wake-ups in 3 s went from $slow to $fast"

# --- The on-top choice survives Exit and the next start.
read -r _ _ w _ < <(geometry "$monitor")
clickAt "$monitor" $((w - 15)) 15
within 2 ended || fail "Exit did not end the program"
wait "$pid" || fail "the program ended with status $?"
start
monitor=$window
sleep 0.5
notAbove || fail "the next start is above other windows though On top was switched off"
pass "On top switched off survived Exit and a new start"
echo PASS
