# Sourced by the end-to-end tests after x11session.sh: starting and ending copies of the program,
# reading their windows and the settings file they share. Arguments of the sourcing test: the
# program first.
kelvo="${1:-}"
[ -x "$kelvo" ] || fail "no program at $kelvo"
settings="$XDG_CONFIG_HOME/Kelvo/Kelvo.ini"
# The keys the monitor window saves when it is unloaded, in the file's order.
settingKeys=(Height Left OnTop Top Width WindowState)

# Starts a copy with whatever the arguments put before the program; sets pid. The copy is
# ended with the test.
launch() {
    "$@" "$kelvo" 2>>"$work/kelvo.log" &
    pid=$!
    pids+=("$pid")
}

# The visible window of a copy, once it has one.
windowOf() { xdotool search --onlyvisible --pid "$1" 2>/dev/null | head -n1; }

# Whether a window shows anything but the black of an unpainted one.
painted() {
    local w h
    read -r _ _ w h < <(geometry "$1")
    xwd -silent -id "$1" 2>/dev/null | tail -c $((w * h * 4)) | od -An -v -tu1 |
        awk '{ for (i = 1; i <= NF; i++) if ($i > 40) found = 1 } END { exit !found }'
}

# Starts a copy and waits for its window to be painted: the program places the window once
# more after its first paint, and a move from the test must not come before that. Sets pid and
# window.
start() {
    launch "$@"
    shown() { window=$(windowOf "$pid") && [ -n "$window" ] && painted "$window"; }
    within 20 shown || fail "no window of the program appeared"
}

running() { kill -0 "$1" 2>/dev/null; }
ended() { ! running "$pid"; }

# x y width height of a window as the server has it.
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
        /^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print x, y, w, h }'
}

# Moves a window to x y and waits until the server has it there.
moveTo() {
    local id=$1 x=$2 y=$3
    placed() { read -r gx gy _ < <(geometry "$id") && [ "$gx $gy" = "$x $y" ]; }
    xdotool windowmove "$id" "$x" "$y"
    within 3 placed || fail "the window did not move to $x,$y"
}

# Clicks the Exit button, the top one at the window's right edge.
clickExit() {
    local x y w
    read -r x y w _ < <(geometry "$1")
    xdotool mousemove $((x + w - 12)) $((y + 12)) click 1
}

# What a window's placement saves: "Height Left Top Width" in twips, 15 to the pixel.
placementOf() {
    local x y w h
    read -r x y w h < <(geometry "$1")
    echo "$((h * 15)) $((x * 15)) $((y * 15)) $((w * 15))"
}

# The settings file as "key=value" words in key order when it is whole: the [frmMain] section
# and every key once with a readable value, nothing else. Empty otherwise.
wholeSettings() {
    awk '
        NR == 1 { if ($0 != "[frmMain]") bad = 1; next }
        /^(Height|Left|Top|Width)=-?[0-9]+(\.[0-9]+)?$/ ||
            /^OnTop=(True|False)$/ || /^WindowState=[0-2]$/ {
            split($0, kv, "="); if (kv[1] in seen) bad = 1; seen[kv[1]] = kv[2]; n++; next }
        /^$/ { next }
        { bad = 1 }
        END { if (bad || n != 6) exit 1
              print "Height=" seen["Height"], "Left=" seen["Left"], "OnTop=" seen["OnTop"],
                    "Top=" seen["Top"], "Width=" seen["Width"], "WindowState=" seen["WindowState"] }
    ' "$settings" 2>/dev/null
}

# The value of a key among wholeSettings' words.
valueIn() {
    local word
    for word in $1; do
        [ "${word%%=*}" = "$2" ] && { echo "${word#*=}"; return; }
    done
}

# The files beside the settings file: none should be left.
strayFiles() {
    find "$(dirname "$settings")" -mindepth 1 ! -name Kelvo.ini -printf '%f '
}

# Clicks a point of a window, in window pixels.
clickAt() {
    local x y
    read -r x y _ < <(geometry "$1")
    xdotool mousemove $((x + $2)) $((y + $3)) && sleep 0.2 && xdotool click 1
    sleep 0.2
}

# Clicks Options on the monitor window given and waits for the dialog; sets dialog.
openOptions() {
    local monitor=$1
    clickAt "$monitor" 132 40
    dialogFound() {
        dialog=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -vx "$monitor" | head -n1)
        [ -n "$dialog" ]
    }
    within 5 dialogFound
}

# The main thread's wake-ups in 3 seconds with the pointer away from the windows: one each
# tick, when the timer fires.
wakeupsIn3s() {
    local before after
    xdotool mousemove 5 5
    sleep 0.5
    before=$(awk '/^voluntary_ctxt_switches/ { print $2 }' "/proc/$pid/task/$pid/status")
    sleep 3
    after=$(awk '/^voluntary_ctxt_switches/ { print $2 }' "/proc/$pid/task/$pid/status")
    echo $((after - before))
}
