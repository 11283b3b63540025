#!/usr/bin/env bash
# The monitor as users elsewhere run it, one row per desktop: its figures in the user's locale
# (grouped as the locale groups digits, separators the window's font lacks drawn from a
# fallback font), its size at 96 and 144 dpi (Xft.dpi scales window and text together by 1.5),
# and a period typed as the locale writes numbers: German "1.000" is a thousand milliseconds.
# With KELVO_SHOTS set to a folder, each row leaves a screenshot of the window there.
# Arguments: the program, its directory, the directory of the end-to-end probes.
set -u

source "$(dirname "$0")/x11session.sh"
source "$(dirname "$0")/kelvokit.sh"

# locale, Xft.dpi, a period to type in the options dialog ("-" for none).
rows=(
    "C 96 -"
    "de_DE 96 1.000"
    "fr_FR 96 -"
    "fa_IR 96 -"
    "ar_EG 96 -"
    "C 144 -"
)

# The window's pixel rows with dark text left of the buttons.
textRows() {
    local w h
    read -r _ _ w h < <(geometry "$window")
    xwd -silent -id "$window" | tail -c $((w * h * 4)) | od -An -v -tu1 -w$((w * 4)) |
        awk -v right=$((w - 25 * $1 / 96)) '{ for (i = 1; i + 2 <= right * 4; i += 4)
            if ($i < 90 && $(i + 1) < 90 && $(i + 2) < 90) { n++; break } } END { print n + 0 }'
}

for row in "${rows[@]}"; do
    read -r locale dpi typed <<<"$row"
    echo "Xft.dpi: $dpi" | xrdb -merge
    rm -rf "$XDG_CONFIG_HOME/Kelvo"
    start env LC_ALL="$locale.UTF-8" LANG="$locale.UTF-8"
    read -r _ _ w h < <(geometry "$window")
    expected="$((147 * dpi / 96)) $((55 * dpi / 96))"
    [ "$w $h" = "$expected" ] || fail "$locale at $dpi dpi: the window is ${w}x$h, not $expected"
    sleep 1.2 # the first tick
    rows96=${rows96:-$(textRows "$dpi")}
    text=$(textRows "$dpi")
    ((text * 96 >= rows96 * dpi * 9 / 10)) ||
        fail "$locale at $dpi dpi: the text takes $text rows, against $rows96 at 96 dpi"
    if [ -n "${KELVO_SHOTS:-}" ]; then
        mkdir -p "$KELVO_SHOTS"
        xwd -silent -id "$window" >"$KELVO_SHOTS/$locale-$dpi.xwd"
    fi
    if [ "$typed" != - ]; then
        before=$(wakeupsIn3s)
        openOptions "$window" || fail "$locale: Options opened no dialog"
        clickAt "$dialog" 120 60
        xdotool key ctrl+a && xdotool type --delay 50 "$typed"
        clickAt "$dialog" 151 87
        after=$(wakeupsIn3s)
        ((after <= before + 3)) ||
            fail "$locale: after \"$typed\" and Return the monitor woke $after times in 3 s, not $before"
        pass "$locale: \"$typed\" and Return keep one sample a second ($before, then $after wake-ups in 3 s)"
    fi
    kill -TERM "$pid"
    within 2 ended || fail "$locale: the program did not end on SIGTERM"
    pass "$locale at $dpi dpi: ${w}x$h, text $text rows high"
done
echo PASS
