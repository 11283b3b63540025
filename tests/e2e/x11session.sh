# Sourced by the end-to-end tests: a private X server, session bus and window manager for the
# life of the test, and the helpers the tests share. The window manager is KELVO_WM: openbox
# (the default), xfwm4, metacity or fluxbox. Sets DISPLAY,
# DBUS_SESSION_BUS_ADDRESS, HOME, XDG_CONFIG_HOME (empty, in $work) and XDG_RUNTIME_DIR;
# whatever a test starts goes into pids so that it is ended at exit.
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

wm=${KELVO_WM:-openbox}
for tool in Xvfb "$wm" dbus-daemon xdotool xprop xwininfo xdpyinfo xmessage xwd wmctrl; do
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

export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY XDG_CACHE_HOME XDG_DATA_HOME
mkdir -p "$HOME" "$XDG_CONFIG_HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"

# A session bus of the test's own: what the program and the window manager find on it, and
# whether one gets started behind their back (dbus-x11), does not depend on the machine.
dbus-daemon --session --nofork --nopidfile --address="unix:path=$work/bus" \
    --print-address=4 4>"$work/bus.txt" 2>"$work/dbus.txt" &
busPid=$!
pids+=("$busPid")
busUp() { [ -s "$work/bus.txt" ]; }
within 10 busUp || fail "the session bus did not start: $(cat "$work/dbus.txt")"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/bus"

case $wm in
openbox) "$wm" ;;
xfwm4) xfwm4 --compositor=off ;;
metacity) metacity --no-composite ;;
fluxbox) fluxbox -no-slit -no-toolbar ;;
*) fail "no such window manager: $wm" ;;
esac >"$work/wm.txt" 2>&1 &
pids+=($!)
managed() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
within 10 managed || fail "$wm did not start: $(cat "$work/wm.txt")"
# Some window managers announce themselves before they manage new windows: a window of
# another program, managed (WM_STATE) and gone again, shows that they do. Without that sign
# the test goes on, as it would have before the probe.
xmessage -name kelvoWmProbe "probe" 2>"$work/probe.txt" &
probePid=$!
probeManaged() {
    local id
    for id in $(xdotool search --classname '^kelvoWmProbe$' 2>/dev/null); do
        xprop -id "$id" WM_STATE 2>/dev/null | grep -q 'window state' && return 0
    done
    return 1
}
within 10 probeManaged ||
    echo "note: $wm managed no probe window in 10 s: $(cat "$work/probe.txt")" \
        "$(xdotool search --classname '^kelvoWmProbe$' 2>&1)"
kill "$probePid" 2>/dev/null
wait "$probePid" 2>/dev/null
pass "Xvfb on $DISPLAY with $wm"

# x, y and map state of a window as the server has it.
serverPlacement() {
    xwininfo -id "$1" 2>/dev/null | awk '/Absolute upper-left X/ { x = $4 }
        /Absolute upper-left Y/ { y = $4 } /Map State/ { m = $3 } END { print x, y, m }'
}

activeWindow() {
    xprop -root _NET_ACTIVE_WINDOW | awk '{ print $NF }'
}
