# Sourced by the end-to-end tests: a private X server with openbox for the life of the test,
# and the helpers the tests share. Sets DISPLAY, XDG_CONFIG_HOME (empty, in $work) and
# XDG_RUNTIME_DIR; whatever a test starts goes into pids so that it is ended at exit.
work=$(mktemp -d)
pids=()

cleanup() {
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null
    done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    local log
    for log in "$work"/*.log; do
        [ -s "$log" ] && { echo "--- $(basename "$log"):"; cat "$log"; }
    done
    exit 1
}

pass() {
    echo "ok: $*"
}

# Runs a check every 50 ms until it holds, for at most the given seconds.
within() {
    local tries=$(($1 * 20))
    shift
    until "$@"; do
        ((--tries > 0)) || return 1
        sleep 0.05
    done
}

for tool in Xvfb openbox xdotool xprop xwininfo xdpyinfo xmessage xwd wmctrl; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
done

# Xvfb picks a free display itself and tells it on descriptor 3. Without -noreset it resets
# when its last client leaves, and the first client after xdpyinfo could find it resetting.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.txt" &
pids+=($!)
displayKnown() { [ -s "$work/display" ]; }
within 10 displayKnown || fail "Xvfb did not start: $(cat "$work/xvfb.txt")"
export DISPLAY=":$(head -n1 "$work/display")"
within 10 xdpyinfo >/dev/null 2>&1 || fail "display $DISPLAY does not answer"

export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
mkdir -p "$XDG_CONFIG_HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
openbox >"$work/openbox.txt" 2>&1 &
pids+=($!)
managed() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
within 10 managed || fail "openbox did not start: $(cat "$work/openbox.txt")"
pass "Xvfb on $DISPLAY with openbox"

# x, y and map state of a window as the server has it.
serverPlacement() {
    xwininfo -id "$1" 2>/dev/null | awk '/Absolute upper-left X/ { x = $4 }
        /Absolute upper-left Y/ { y = $4 } /Map State/ { m = $3 } END { print x, y, m }'
}

activeWindow() {
    xprop -root _NET_ACTIVE_WINDOW | awk '{ print $NF }'
}
