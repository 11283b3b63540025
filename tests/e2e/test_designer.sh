#!/usr/bin/env bash
# End to end on a private X server with openbox: kelvo-designer opens a copy of the monitor's
# form; the Exit button's tool tip, changed on the Button page and saved, is the one entry in
# which the file differs from the same form saved before the change, and Ctrl+Z takes it back;
# a damaged form file is reported with its name and the place where reading stopped, and the
# program stays up.
# Arguments: kelvo-designer, the monitor's form file.
set -u

designer="${1:-}" form="${2:-}"
source "$(dirname "$0")/x11session.sh"
[ -x "$designer" ] || fail "no program at $designer"
[ -r "$form" ] || fail "no form file at $form"

# Starts the designer on a file; sets pid and window, its main window (titled "<file> - Kelvo
# Designer", where a message is titled "Kelvo Designer" alone).
start() {
    "$designer" "$1" 2>>"$work/designer.log" &
    pid=$!
    pids+=("$pid")
    windowFound() {
        window=$(xdotool search --all --onlyvisible --pid "$pid" --name ' - Kelvo Designer$' 2>/dev/null |
            head -n1) && [ -n "$window" ]
    }
    within 20 windowFound || fail "no designer window appeared"
}

differs() { ! cmp -s "$1" "$2"; }

# --- Saved as it was, byte for byte; then with a new tool tip for Exit: that line alone changes.
copy="$work/frmMain.json"
cp "$form" "$copy"
touch -d '1 hour ago' "$copy"
stamp=$(stat -c %y "$copy")
start "$copy"
xdotool windowactivate --sync "$window" >/dev/null 2>&1
xdotool key ctrl+s
replaced() { [ "$(stat -c %y "$copy")" != "$stamp" ]; }
within 5 replaced || fail "Ctrl+S did not save the form"
cmp -s "$form" "$copy" || fail "opened and saved, the form changed: $(diff "$form" "$copy")"
cp "$copy" "$work/before.json"
pass "the form opened and saved byte for byte"

# Tab selects the controls in creation order: the position helper, then Exit.
xdotool key Tab Tab shift+F4
pagesFound() {
    pages=$(xdotool search --all --onlyvisible --pid "$pid" --name 'Property Pages' 2>/dev/null |
        head -n1) && [ -n "$pages" ]
}
within 5 pagesFound || fail "Shift+F4 opened no property pages"
xdotool windowactivate --sync "$pages" >/dev/null 2>&1
# The Button page opens in its caption field; the tool tip is four fields on.
xdotool key Tab Tab Tab Tab ctrl+a && xdotool type --delay 20 'Leave Kelvo'
xdotool key Return
pagesClosed() { ! pagesFound; }
within 5 pagesClosed || fail "OK did not close the property pages"
xdotool key ctrl+s
within 5 differs "$work/before.json" "$copy" || fail "the new tool tip was not saved"
# The edited control's entry is written anew; what it holds differs in the tool tip alone.
changes=$(/usr/bin/python3 - "$work/before.json" "$copy" <<'EOF'
import json, sys
old, new = (json.load(open(p)) for p in sys.argv[1:])
def flat(v, at=""):
    if isinstance(v, dict):
        return {k: x for key, val in v.items() for k, x in flat(val, f"{at}/{key}").items()}
    if isinstance(v, list):
        return {k: x for i, val in enumerate(v) for k, x in flat(val, f"{at}/{i}").items()}
    return {at: v}
a, b = flat(old), flat(new)
for k in sorted(a.keys() | b.keys()):
    if a.get(k) != b.get(k):
        print(k, a.get(k), "->", b.get(k))
EOF
)
expected="/controls/1/bag/tooltiptext Exit -> Leave Kelvo"
[ "$changes" = "$expected" ] || fail "the saved form changed in: $changes"
pass "the Button page changed Exit's tool tip and nothing else"

# Undo takes the page's change back: saved again, the form is the one from before it.
cp "$copy" "$work/after.json"
xdotool key ctrl+z
sleep 0.5
xdotool key ctrl+s
within 5 differs "$work/after.json" "$copy" || fail "Ctrl+Z and Ctrl+S left the form as it was"
cmp -s "$work/before.json" "$copy" || fail "the undone form differs: $(diff "$work/before.json" "$copy")"
pass "Ctrl+Z undid the tool tip"

# --- A damaged file: a message naming the file and the place, and the designer stays.
damaged="$work/damaged.json"
printf '{\n  "form": "frmBroken",\n  "controls": [\n' >"$damaged"
start "$damaged"
messageShown() {
    message=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -vx "$window" | head -n1)
    [ -n "$message" ]
}
within 5 messageShown || fail "no message about the damaged file appeared"
grep -q "$damaged: [0-9]*:[0-9]*: " "$work/designer.log" ||
    fail "the message does not name the file and the place: $(cat "$work/designer.log")"
xdotool windowactivate --sync "$message" >/dev/null 2>&1
xdotool key Return
sleep 0.5
kill -0 "$pid" 2>/dev/null || fail "the designer ended after the damaged file"
messageGone() { ! xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -qvx "$window"; }
within 2 messageGone || fail "Return did not close the message"
xwininfo -id "$window" | grep -q IsViewable || fail "the designer's window did not stay"
pass "the damaged file was reported: $(grep "$damaged" "$work/designer.log")"
echo PASS
