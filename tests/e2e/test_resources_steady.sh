#!/usr/bin/env bash
# The program's X resources and open descriptors stay as they are while it is used: after a
# warm-up, 20 rounds of hovering its buttons and opening and closing the options dialog leave
# its windows, pixmaps, cursors, fonts and every other resource the X server counts for it,
# and its descriptors, where they were.
# Arguments: the program, its directory, the directory of the end-to-end probes.
set -u

source "$(dirname "$0")/x11session.sh"
source "$(dirname "$0")/kelvokit.sh"
command -v xrestop >/dev/null || fail "xrestop is not installed"

# The X server's count of the copy's resources, one "name: value" a line.
xResources() {
    xrestop -b -m 1 | awk -v pid="$pid" '
        /^[0-9]+ - / { mine = $0 ~ ("PID: *" pid " "); next }
        mine && !/res_base|res_mask/ { gsub(/[\t~]/, ""); sub(/ *: */, ": "); print }'
}
descriptors() { find "/proc/$pid/fd" -mindepth 1 | wc -l; }
dialogOpen() { (($(xdotool search --onlyvisible --pid "$pid" | wc -l) > 1)); }
escaped() { xdotool key Escape && sleep 0.1 && ! dialogOpen; }

round() {
    local x y w h
    read -r x y w h < <(geometry "$window")
    xdotool mousemove $((x + w - 12)) $((y + 12)) && sleep 0.1 # over Exit
    xdotool mousemove $((x + 20)) $((y + 20)) && sleep 0.1     # over the figures
    xdotool mousemove $((x + w - 12)) $((y + h - 12)) click 1  # Options
    within 5 dialogOpen || fail "the options dialog did not open"
    within 3 escaped || fail "Escape did not close the options dialog"
}

start
for i in 1 2 3; do round; done
before=$(xResources) before_fds=$(descriptors)
[ -n "$before" ] || fail "xrestop does not list the program"
for i in $(seq 20); do round; done
after=$(xResources) after_fds=$(descriptors)
[ "$after" = "$before" ] || fail "X resources changed: $(diff <(echo "$before") <(echo "$after") | grep '^[<>]' | tr '\n' ' ')"
[ "$after_fds" = "$before_fds" ] || fail "open descriptors went from $before_fds to $after_fds"
pass "20 rounds of hovering and the options dialog: X resources ($(echo "$after" | grep -E '^(windows|pixmaps|pixmap bytes):' | tr '\n' ' ')) and $after_fds descriptors unchanged"
echo PASS
