#!/usr/bin/env bash
# End to end on a private X server with fluxbox told (its apps file) to frame the monitor window
# although the window asks for no frame. Some window managers do that for a moment with every
# new window; a frame the window did not ask for must not be taken from its size or place. The
# window comes back where and as large as it was saved, and closing it saves the same again, so
# the placement does not creep from start to start.
# Arguments: the program, its directory, the directory of the end-to-end probes.
set -u

export KELVO_WM=fluxbox
source "$(dirname "$0")/x11session.sh"
source "$(dirname "$0")/kelvokit.sh"

mkdir -p "$HOME/.fluxbox" "$(dirname "$settings")"
printf '[app] (name=kelvo)\n  [Deco] {NORMAL}\n[end]\n' >"$HOME/.fluxbox/apps"
# 519,421 and 207x110 pixels at 15 twips a pixel.
saved=$'[frmMain]\nHeight=1650\nLeft=7785\nOnTop=False\nTop=6315\nWidth=3105\nWindowState=0'
echo "$saved" >"$settings"

start
asSaved() { [ "$(geometry "$window")" = "519 421 207 110" ]; }
within 3 asSaved || fail "restored at '$(geometry "$window")', not '519 421 207 110'"
framed() { [[ $(xprop -id "$window" _NET_FRAME_EXTENTS 2>/dev/null) == *=*[1-9]* ]]; }
within 3 framed || fail "fluxbox did not frame the window: $(xprop -id "$window" _NET_FRAME_EXTENTS)"
pass "framed anyway, the window is at 519,421 and 207x110 as saved"

clickExit "$window"
within 2 ended || fail "the program did not end on Exit"
wait "$pid" || fail "the program ended with status $? on Exit"
[ "$(cat "$settings")" = "$saved" ] || fail "Exit saved another placement: $(cat "$settings")"
pass "Exit saved the same placement"
echo PASS
