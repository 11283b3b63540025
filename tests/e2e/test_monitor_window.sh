#!/usr/bin/env bash
# End to end on a private X server with openbox: the real program shows its small frameless
# monitor window, draws its figures within a couple of periods, and ends cleanly when the
# window manager asks its window to close.
# Arguments: the program, its directory, the directory of the end-to-end probes.
set -u

kelvo="${1:-}"
source "$(dirname "$0")/x11session.sh"
[ -x "$kelvo" ] || fail "no program at $kelvo"

"$kelvo" 2>"$work/kelvo.log" &
pid=$!
pids+=("$pid")

windowFound() {
    window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n1) && [ -n "$window" ]
}
within 20 windowFound || fail "no window of the program appeared"

size=$(xwininfo -id "$window" | awk '/^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print w "x" h }')
[ "$size" = 139x47 ] || fail "the window is $size pixels, not 2085 x 705 twips (139x47)"
frame=$(xprop -id "$window" _NET_FRAME_EXTENTS 2>/dev/null)
[[ -z $frame || $frame == *"0, 0, 0, 0" || $frame == *"not found"* ]] ||
    fail "the window has a title bar or frame from the window manager: $frame"
pass "window $window of 139x47 pixels with no title bar"

# The window's pixels as distinct byte values: a blank window has one colour, drawn text many
# shades of it.
shades() {
    xwd -silent -id "$window" 2>/dev/null | tail -c $((139 * 47 * 4)) | od -An -v -tx1 |
        tr -s ' ' '\n' | sort -u | wc -l
}
hasText() { (($(shades) > 8)); }
within 10 hasText || fail "no figures were drawn within 10 seconds ($(shades) shades)"
pass "figures drawn ($(shades) shades in the window)"

wmctrl -i -c "$window" || fail "wmctrl could not ask the window to close"
ended() { ! kill -0 "$pid" 2>/dev/null; }
within 10 ended || fail "the program did not end when its window was closed"
wait "$pid"
status=$?
[ "$status" = 0 ] || fail "the program ended with status $status"
pass "the program ended with status 0 on a close request"
echo PASS
