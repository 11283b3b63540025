#!/usr/bin/env bash
# What the program reaches and leaves on the machine: no network socket at any time (its only
# sockets are Unix ones, the X connection among them); the settings folder 0700 and file 0600
# after every Exit, even when they were opened to all by hand; and nothing written anywhere in
# the user's home but the settings file. Started without a session bus, it starts none (where
# dbus-x11 is installed, libdbus would launch one through X11) and leaves no daemon behind.
# Arguments: the program, its directory, the directory of the end-to-end probes.
set -u

source "$(dirname "$0")/x11session.sh"
source "$(dirname "$0")/kelvokit.sh"
umask 022

# The inodes of the copy's sockets, and those of every Unix socket on the machine.
socketsOf() { find "/proc/$1/fd" -lname 'socket:*' -printf '%l\n' 2>/dev/null | tr -dc '0-9\n'; }
unixSockets() { awk 'NR > 1 { print $7 }' /proc/net/unix; }
onlyUnixSockets() {
    local mine others
    mine=$(socketsOf "$pid")
    [ -n "$mine" ] || fail "$1: the program has no socket, not even its X connection"
    others=$(grep -vxFf <(unixSockets) <<<"$mine")
    [ -z "$others" ] || fail "$1: sockets that are not Unix sockets: $others"
    pass "$1: $(wc -l <<<"$mine") sockets, all of them Unix sockets"
}

modes() { stat -c '%a' "$(dirname "$settings")" "$settings" | tr '\n' ' '; }

# Bus daemons started for this display, other than the test's own: an X11-launched bus takes
# the display from its starter.
busesOnThisDisplay() {
    local p
    for p in $(pgrep -x dbus-daemon) $(pgrep -x dbus-launch); do
        [ "$p" = "$busPid" ] && continue
        tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "DISPLAY=$DISPLAY" && echo "$p"
    done
}

touch "$work/marker"
start env DBUS_SESSION_BUS_ADDRESS=
onlyUnixSockets "after start"
read -r x y w h < <(geometry "$window")
xdotool mousemove $((x + w - 12)) $((y + h - 12)) click 1
dialogOpen() { (($(xdotool search --onlyvisible --pid "$pid" | wc -l) > 1)); }
within 5 dialogOpen || fail "the options dialog did not open"
onlyUnixSockets "with the options dialog open"
# Escape closes the dialog once it has the keyboard focus.
escaped() { xdotool key Escape && sleep 0.1 && ! dialogOpen; }
within 3 escaped || fail "Escape did not close the options dialog"
clickExit "$window"
within 2 ended || fail "the program did not end on Exit"
[ "$(modes)" = "700 600 " ] || fail "the settings folder and file are $(modes), not 700 600"
pass "the first Exit made the settings folder 700 and the file 600"
buses=$(busesOnThisDisplay)
[ -z "$buses" ] || fail "bus daemons left behind by a start without a session bus: $buses"
pass "started with an empty bus address, it left no bus daemon behind"

written=$(find "$HOME" "$XDG_CONFIG_HOME" -newer "$work/marker" ! -type d)
[ "$written" = "$settings" ] || fail "written besides the settings file: $written"
pass "nothing written in the home folder but the settings file"

chmod 755 "$(dirname "$settings")"
chmod 644 "$settings"
start env -u DBUS_SESSION_BUS_ADDRESS
clickExit "$window"
within 2 ended || fail "the program did not end on Exit"
buses=$(busesOnThisDisplay)
[ -z "$buses" ] || fail "bus daemons left behind by a start with no bus address at all: $buses"
[ "$(modes)" = "700 600 " ] || fail "opened by hand, the settings stay $(modes) after Exit"
pass "opened to all by hand, the folder and file are 700 and 600 again after the next Exit"
echo PASS
