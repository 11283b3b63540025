#!/usr/bin/env bash
# End to end with a screen reader's view: on a private X server with openbox, its own session
# bus and accessibility bus, the program with Qt's accessibility bridge on. A probe reads the
# tree over AT-SPI as a screen reader does and prints it: the window "Kelvo" with its three
# lines and its Exit and Options buttons, the Total figure as the kernel has it, the Aval line
# following the kernel after a tick; Press on Options opens the dialog, whose field, labels and
# buttons carry their names, and Press on its On top switch switches it; Press on Exit ends the program with status 0, saving the settings.
# Arguments: the program.
set -u

# A session bus of its own for the whole test, ended with it.
if [ -z "${KELVO_OWN_SESSION_BUS:-}" ]; then
    command -v dbus-run-session >/dev/null || { echo "FAIL: dbus-run-session is not installed"; exit 1; }
    KELVO_OWN_SESSION_BUS=1 exec dbus-run-session -- bash "$0" "$@"
fi

source "$(dirname "$0")/x11session.sh"
source "$(dirname "$0")/kelvokit.sh"

launcher=/usr/libexec/at-spi-bus-launcher
python=/usr/bin/python3
[ -x "$launcher" ] || fail "at-spi2-core is not installed"
"$python" -c 'import pyatspi' 2>/dev/null || fail "python3-pyatspi is not installed"
probe() { "$python" "$(dirname "$0")/accessibility.py" "$pid" "$@" || fail "the probe: $*"; }

# The accessibility bus: the launcher starts its own bus daemon and, on demand, the registry;
# ending the launcher ends both.
"$launcher" --launch-immediately 2>"$work/atspi.log" &
pids+=($!)
# Asked only whether the launcher holds its name: asking for the address would start another.
a11yBus() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null | grep -q true
}
within 10 a11yBus || fail "the accessibility bus did not start"
pass "accessibility bus up"

start env QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
title=$(xprop -id "$window" _NET_WM_NAME 2>/dev/null)
[[ $title == *'"Kelvo"' ]] || fail "the window's title is not Kelvo: $title"
pass "the window is titled Kelvo"

probe monitor
probe tick

probe press Options
probe tree
probe options
probe checked "On top" yes
probe press "On top"
probe checked "On top" no
probe press Return
probe gone dialog "Kelvo V.1.0.1"
pass "the dialog closed with Return"

probe press Exit
within 10 ended || fail "Press on Exit did not end the program"
wait "$pid"
status=$?
[ "$status" = 0 ] || fail "the program ended with status $status"
# The monitor's section, as the program saved it (the dialog adds a section of its own).
saved=$(awk '/^\[/ { monitor = ($0 == "[frmMain]") } monitor && /=/' "$settings" 2>/dev/null | sort | tr '\n' ' ')
[[ $saved == "Height="*" Left="*" OnTop=False Top="*" Width="*" WindowState=0 " ]] ||
    fail "the monitor's settings after Exit, with the switch pressed off: $saved"
pass "Press on Exit ended the program with status 0, saving $saved"
