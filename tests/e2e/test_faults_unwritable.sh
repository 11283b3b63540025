#!/usr/bin/env bash
# A settings folder the program cannot write to: read-only for the user the program runs as
# (as nobody when the test runs as root, whom no mode stops), and full (a small tmpfs where
# the test may mount one, else a file-size limit of 0, which fails writes the same way). Each
# time the program starts cleanly, shows no window but its own, ends with status 0 within
# 2 s of Exit, and leaves the old file and the folder as they were.
# Arguments: the program, its directory, the directory of the end-to-end probes.
set -u

source "$(dirname "$0")/x11session.sh"
source "$(dirname "$0")/kelvokit.sh"

old=$'[frmMain]\nHeight=900\nLeft=1500\nOnTop=False\nTop=1500\nWidth=2400\nWindowState=0\n'

# Runs one copy against the settings folder as it stands: starts, clicks Exit, and checks the
# old file and the folder listing are unchanged.
exitLeavesFolderAlone() {
    local what=$1 before after
    shift
    before=$(cd "$(dirname "$settings")" && ls -lA --time-style=full-iso && cat Kelvo.ini)
    start "$@"
    sleep 0.5
    (($(xdotool search --onlyvisible --pid "$pid" | wc -l) == 1)) ||
        fail "$what: a window besides the monitor appeared"
    clickExit "$window"
    within 2 ended || fail "$what: the program did not end within 2 s of Exit"
    wait "$pid" || fail "$what: the program ended with status $?"
    after=$(cd "$(dirname "$settings")" && ls -lA --time-style=full-iso && cat Kelvo.ini)
    [ "$after" = "$before" ] || fail "$what: the folder changed: $after"
    [ "$(cat "$settings")"$'\n' = "$old" ] || fail "$what: the old file changed"
    pass "$what: clean start, no other window, status 0 on Exit, the old file untouched"
}

# --- Read-only, for the user the program runs as.
mkdir -p "$(dirname "$settings")"
printf '%s' "$old" >"$settings"
asUser=()
if [ "$(id -u)" = 0 ]; then
    command -v setpriv >/dev/null || fail "setpriv is not installed"
    # nobody needs to reach the program, the X server's socket and folders of its own.
    chmod 755 "$work"
    mkdir -m 700 "$work/runtime-nobody"
    chown -R 65534:65534 "$XDG_CONFIG_HOME" "$work/runtime-nobody"
    asUser=(setpriv --reuid=65534 --regid=65534 --clear-groups
            env XDG_RUNTIME_DIR="$work/runtime-nobody")
    "${asUser[@]}" test -x "$kelvo" || fail "nobody cannot run $kelvo"
fi
chmod 500 "$(dirname "$settings")"
exitLeavesFolderAlone "read-only folder" "${asUser[@]}"
chmod 700 "$(dirname "$settings")"

# --- Full.
mountPoint="$work/full"
mkdir "$mountPoint"
trap 'umount "$mountPoint" 2>/dev/null; cleanup' EXIT
export XDG_CONFIG_HOME=$mountPoint
settings="$XDG_CONFIG_HOME/Kelvo/Kelvo.ini"
if mount -t tmpfs -o size=64k,mode=755 kelvo-full "$mountPoint" 2>/dev/null; then
    mkdir -p "$(dirname "$settings")"
    printf '%s' "$old" >"$settings"
    # Fill what is left: the copy's temporary file finds no room.
    cat /dev/zero >"$mountPoint/filler" 2>/dev/null
    exitLeavesFolderAlone "full tmpfs"
else
    mkdir -p "$(dirname "$settings")"
    printf '%s' "$old" >"$settings"
    # Writes fail with EFBIG; the ignored SIGXFSZ stays ignored across exec.
    exitLeavesFolderAlone "no room to write (a file-size limit of 0)" \
        bash -c 'trap "" XFSZ; ulimit -f 0; exec "$0"'
fi
echo PASS
