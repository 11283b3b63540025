#!/usr/bin/env bash
# Two copies of the program at once, each moved and sized its own way, told to end at the same
# moment: both end with status 0, and the settings file holds the whole state of one of them,
# never a mix. Three rounds.
# Arguments: the program, its directory, the directory of the end-to-end probes.
set -u

source "$(dirname "$0")/x11session.sh"
source "$(dirname "$0")/kelvokit.sh"

for round in 1 2 3; do
    start
    first=$pid firstWindow=$window
    start
    second=$pid secondWindow=$window
    moveTo "$firstWindow" $((40 * round)) 60
    moveTo "$secondWindow" 500 $((100 * round))
    xdotool windowsize "$secondWindow" 200 $((70 + 10 * round))
    sized() { [ "$(geometry "$secondWindow" | cut -d' ' -f3-)" = "200 $((70 + 10 * round))" ]; }
    within 3 sized || fail "the second copy was not resized"
    states=()
    for id in "$firstWindow" "$secondWindow"; do
        read -r h l t w < <(placementOf "$id")
        states+=("Height=$h Left=$l OnTop=True Top=$t Width=$w WindowState=0")
    done

    # SIGTERM ends a copy as its Exit button does; one signal for both.
    kill -TERM "$first" "$second"
    for pid in "$first" "$second"; do
        within 3 ended || fail "round $round: a copy did not end"
        wait "$pid" || fail "round $round: a copy ended with status $?"
    done
    now=$(wholeSettings) || fail "round $round: the settings file is not whole: $(cat "$settings")"
    case $now in
    "${states[0]}") winner=first ;;
    "${states[1]}") winner=second ;;
    *) fail "round $round: the file mixes the copies' states: $now" ;;
    esac
    pass "round $round: both copies ended with status 0; the file holds the $winner copy's state"
done
[ -z "$(strayFiles)" ] || fail "files left beside the settings: $(strayFiles)"
echo PASS
