#!/usr/bin/env bash
# The program started in hostile surroundings: settings files built to crash or hang a reader,
# odd files at the settings' paths, closed descriptors, a relative XDG_CONFIG_HOME, no display,
# its window destroyed by another client. In each case it starts with its defaults or ends
# with one line and status 1, never hangs or crashes, saves nothing where it must not, and
# leaves every line of the file it does not own as it was. Every case runs and is reported;
# the test fails at the end if any did. Cases for root only are skipped with a note otherwise.
# Arguments: the program, its directory, the directory of the end-to-end probes.
set -u

source "$(dirname "$0")/x11session.sh"
source "$(dirname "$0")/kelvokit.sh"
ulimit -c 0
failed=()
folder=$(dirname "$settings")

# Ends the case as failed, with the reason.
broken() {
    echo "FAIL: $case: $*"
    failed+=("$case")
    [ -n "${pid:-}" ] && kill -KILL "$pid" 2>/dev/null
    return 1
}

# Exit by its button; the copy must end within 5 s with status 0.
exitsCleanly() {
    clickExit "$window"
    within 5 ended || broken "Exit did not end the program within 5 s" || return
    wait "$pid"
    local status=$?
    [ "$status" = 0 ] || broken "ended with status $status"
}

startsAndExits() {
    pid=
    : >"$work/kelvo.log"
    launch "$@"
    shown() { window=$(windowOf "$pid") && [ -n "$window" ] && painted "$window"; }
    within 20 shown || broken "no window within 20 s" || return
    exitsCleanly
}

# The lines of a settings file that are not the monitor's own entries.
foreignLines() { grep -a -v -E '^(Height|Left|OnTop|Top|Width|WindowState)=|^$' "$1"; }

deepVariant() {
    # 25,000 lists, each holding the next, as serialised objects are written into the file.
    printf '@Variant('
    yes '\0\0\0\t\0\0\0\0\x1' | head -n 25000 | tr -d '\n'
    printf ')'
}

# A huge ellipse, 50 times, as a serialised region: rasterising one takes hours.
regionVariant() {
    printf '@Variant(\\0\\0\\0H\\0\\0\\0\\x3\\xe8'
    yes '\0\0\0\x2\0\0\0\0\0\0\0\0?\xff\xff\xff?\xff\xff\xff' | head -n 50 | tr -d '\n'
    printf ')'
}

case_deep_nesting() {
    {
        printf '[frmMain]\nOnTop='
        deepVariant
        printf '\n'
    } >"$settings"
    startsAndExits || return
    wholeSettings | grep -q 'OnTop=True' ||
        broken "the file holds more than the monitor's entries: $(head -c 300 "$settings")"
}

# Comments, a region in a section the program does not own and bytes that are not UTF-8 stay.
case_foreign_lines() {
    {
        printf '; written by hand\n[frmMain]\nOnTop=False\n\n[Shapes]\nRegion='
        regionVariant
        printf '\nName=caf\xe9 \xff\xfe\n# the end\n'
    } >"$settings"
    cp "$settings" "$work/before.ini"
    startsAndExits || return
    grep -q -x 'OnTop=False' "$settings" || broken "OnTop was not kept False" || return
    [ "$(foreignLines "$work/before.ini")" = "$(foreignLines "$settings")" ] ||
        broken "lines the program does not own changed"
}

case_fifo() {
    mkfifo "$settings"
    startsAndExits || return
    [ -p "$settings" ] || broken "the FIFO was replaced" || return
    grep -q 'kelvo: the settings file' "$work/kelvo.log" || broken "no message on standard error"
}

case_odd_lock_files() {
    mkdir "$settings.lock"
    ln -s nowhere "$settings.lock.lock"
    startsAndExits || return
    grep -q -x 'OnTop=True' "$settings" || broken "nothing saved"
}

case_closed_stderr() {
    pid=
    # Without XDG_RUNTIME_DIR, Qt's first warning comes before the window.
    env -u XDG_RUNTIME_DIR "$kelvo" 2>&- &
    pid=$!
    pids+=("$pid")
    shown() { window=$(windowOf "$pid") && [ -n "$window" ] && painted "$window"; }
    within 20 shown || broken "no window within 20 s" || return
    exitsCleanly
}

case_relative_config_home() {
    mkdir -p "$work/home" "$work/cwd"
    cd "$work/cwd" || return
    startsAndExits env HOME="$work/home" XDG_CONFIG_HOME=cfg
    cd - >/dev/null || return
    [ ! -e "$work/cwd/cfg" ] || broken "settings written under the current folder" || return
    grep -q -x 'OnTop=True' "$work/home/.config/Kelvo/Kelvo.ini" ||
        broken "not saved in ~/.config"
}

case_window_destroyed() {
    pid=
    start
    xdotool windowclose "$window"
    within 5 ended || broken "still running 5 s after its window was destroyed" || return
    wait "$pid"
    local status=$?
    [ "$status" = 0 ] || broken "ended with status $status" || return
    grep -q -x 'OnTop=True' "$settings" || broken "nothing saved"
}

# No display at all, and one nobody serves.
case_no_display() {
    local display status
    for display in "" ":4242"; do
        DISPLAY=$display timeout 10 "$kelvo" >/dev/null 2>"$work/nodisplay.txt"
        status=$?
        [ "$status" = 1 ] || broken "DISPLAY='$display': status $status" || return
        [ "$(wc -l <"$work/nodisplay.txt")" = 1 ] && grep -q '^kelvo: cannot open display' \
            "$work/nodisplay.txt" || broken "DISPLAY='$display': $(cat "$work/nodisplay.txt")" ||
            return
    done
}

case_shared_sticky_folder() {
    rmdir "$folder"
    mkdir -p "$work/shared"
    chmod 1777 "$work/shared"
    ln -s "$work/shared" "$folder"
    startsAndExits || return
    [ "$(stat -c %a "$work/shared")" = 1777 ] ||
        broken "the shared folder became $(stat -c %a "$work/shared")"
}

case_link_to_dev_null() {
    if [ "$(id -u)" != 0 ]; then
        echo "skip: $case: only root could replace /dev/null"
        return
    fi
    ln -s /dev/null "$settings"
    startsAndExits || return
    [ -c /dev/null ] || broken "/dev/null is no longer a device"
}

for case in deep_nesting foreign_lines fifo odd_lock_files closed_stderr relative_config_home \
    window_destroyed no_display shared_sticky_folder link_to_dev_null; do
    rm -rf "$XDG_CONFIG_HOME" && mkdir -p "$folder"
    "case_$case" && pass "$case"
done
((${#failed[@]} == 0)) || fail "cases that failed: ${failed[*]}"
echo PASS
