#!/usr/bin/env bash
# End to end on a private X server under any of the window managers x11session.sh starts,
# driving the real program as a user would:
# the first start shows the small window centred, above others, without a window-manager frame
# or taskbar entry; a left drag moves it and a right drag does not; its frame resizes it and the
# text grows; a hovered button turns dark red; Exit and SIGTERM end it with status 0 after
# saving, and the next start comes back where, how large and how high up it was left.
# Arguments: the program, its directory, the directory of the end-to-end probes.
set -u

source "$(dirname "$0")/x11session.sh"
source "$(dirname "$0")/kelvokit.sh"

state() { xprop -id "$window" _NET_WM_STATE 2>/dev/null; }

# A drag with a mouse button from a point of the window (window pixels) by dx dy, in steps.
drag() {
    local button=$1 dx=$4 dy=$5 x y i
    read -r x y _ < <(geometry "$window")
    x=$((x + $2)) y=$((y + $3))
    xdotool mousemove "$x" "$y" && sleep 0.2 && xdotool mousedown "$button" && sleep 0.2
    for i in 1 2 3 4 5; do
        xdotool mousemove $((x + dx * i / 5)) $((y + dy * i / 5))
        sleep 0.1
    done
    xdotool mouseup "$button"
    sleep 0.3
}

# The window's pixels, one row per line, as "b g r x" byte values.
pixelRows() {
    local w h
    read -r _ _ w h < <(geometry "$window")
    xwd -silent -id "$window" | tail -c $((w * h * 4)) | od -An -v -tu1 -w$((w * 4))
}

# Rows holding dark text pixels left of the buttons: the height the three lines take.
textHeight() {
    pixelRows | awk -v right="$1" '{ for (i = 1; i + 2 <= right * 4; i += 4)
        if ($i < 90 && $(i + 1) < 90 && $(i + 2) < 90) { n++; break } } END { print n + 0 }'
}

# Dark red pixels (128, 0, 0) in the window: a hovered or pressed button's picture.
redPixels() {
    pixelRows | awk '{ for (i = 1; i + 2 <= NF; i += 4)
        if ($i < 40 && $(i + 1) < 40 && $(i + 2) > 100 && $(i + 2) < 160) n++ } END { print n + 0 }'
}


# --- First start. A window manager under load may still be placing the new window when it
# is first painted.
start
centred() {
    read -r x y w h < <(geometry "$window")
    [ "$w $h" = "147 55" ] && ((x >= 438 && x <= 439 && y >= 356 && y <= 357))
}
within 3 centred
[ "$w $h" = "147 55" ] || fail "the window is ${w}x$h pixels, not 2205 x 825 twips (147x55)"
((x >= 438 && x <= 439 && y >= 356 && y <= 357)) || fail "the window is at $x,$y, not centred"
frame=$(xprop -id "$window" _NET_FRAME_EXTENTS 2>/dev/null)
[[ -z $frame || $frame == *"0, 0, 0, 0" || $frame == *"not found"* ]] ||
    fail "the window has a frame from the window manager: $frame"
[[ $(state) == *_NET_WM_STATE_ABOVE* ]] || fail "not above other windows: $(state)"
[[ $(state) == *_NET_WM_STATE_SKIP_TASKBAR* ]] || fail "the window is in the taskbar: $(state)"
pass "first start: 147x55 at $x,$y, above others, no frame or taskbar entry"

# --- Drags: the left button moves it, the right one does not.
drag 1 40 20 100 80
read -r x2 y2 _ < <(geometry "$window")
((x2 > x + 50 && y2 > y + 40)) || fail "a left drag left the window at $x2,$y2 (from $x,$y)"
drag 3 40 20 -100 -80
read -r x3 y3 _ < <(geometry "$window")
[ "$x3,$y3" = "$x2,$y2" ] || fail "a right drag moved the window to $x3,$y3"
xdotool mousemove 5 5
sleep 0.3
read -r x4 y4 _ < <(geometry "$window")
[ "$x4,$y4" = "$x2,$y2" ] || fail "the window followed the bare pointer to $x4,$y4"
pass "a left drag moved it to $x2,$y2; a right drag and the bare pointer did not"

# --- The frame's bottom right corner resizes it; the text grows with the height.
smallText=$(textHeight 110)
drag 1 146 54 60 55
read -r _ _ w h < <(geometry "$window")
[ "$w $h" = "207 110" ] || fail "a corner drag made the window ${w}x$h, not 207x110"
grown() { (($(textHeight 160) > smallText * 3 / 2)); }
within 3 grown || fail "the text did not grow: $smallText rows, now $(textHeight 160)"
pass "a corner drag resized it to ${w}x$h; the text went from $smallText to $(textHeight 160) rows"

# --- A hovered button is dark red, and black again once the pointer has left.
read -r x y w h < <(geometry "$window")
xdotool mousemove 5 5
sleep 0.3
(($(redPixels) == 0)) || fail "dark red before any hover"
xdotool mousemove $((x + w - 15)) $((y + 15))
hovered() { (($(redPixels) > 5)); }
within 2 hovered || fail "the Exit button did not turn dark red under the pointer"
xdotool mousemove 5 5
left() { (($(redPixels) == 0)); }
within 2 left || fail "the Exit button stayed dark red after the pointer left"
pass "a hovered button turns dark red and back"

# --- Exit ends the program at once with status 0 and saves the placement and on-top state.
read -r x y w h < <(geometry "$window")
xdotool mousemove $((x + w - 15)) $((y + 15)) && sleep 0.3 && xdotool click 1
within 1 ended || fail "the program did not end within a second of Exit"
wait "$pid" || fail "the program ended with status $? on Exit"
grep -qx 'OnTop=True' "$settings" && grep -qx "Left=$((x * 15))" "$settings" &&
    grep -qx "Height=$((h * 15))" "$settings" || fail "Exit did not save: $(cat "$settings")"
pass "Exit: status 0 within a second, placement and on-top state saved"

# --- The next start comes back as it was left; an on-top state saved as False is kept.
sed -i 's/^OnTop=True$/OnTop=False/' "$settings"
start
asLeft() { [ "$(geometry "$window")" = "$x $y $w $h" ]; }
within 3 asLeft || fail "restored at '$(geometry "$window")', not '$x $y $w $h'"
[[ $(state) != *_NET_WM_STATE_ABOVE* ]] || fail "above others though saved as False: $(state)"
pass "the next start restored $x $y $w $h, not above others"

# --- SIGTERM saves like Exit.
drag 1 40 20 -60 -50
read -r x y _ < <(geometry "$window")
kill -TERM "$pid"
within 2 ended || fail "the program did not end on SIGTERM"
wait "$pid" || fail "the program ended with status $? on SIGTERM"
grep -qx "Left=$((x * 15))" "$settings" && grep -qx 'OnTop=False' "$settings" ||
    fail "SIGTERM did not save the placement $x,$y: $(cat "$settings")"
pass "SIGTERM: status 0, the new placement saved"
echo PASS
