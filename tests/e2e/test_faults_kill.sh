#!/usr/bin/env bash
# SIGKILL at random moments, 50 times: while the program starts, while it runs, and while its
# Exit saves the settings. After every kill the settings file is whole and each entry holds
# its previous or its new value, and the next start works; a last clean Exit leaves nothing
# new beside the file. KELVO_FAULT_SEED repeats a run's moments.
# Arguments: the program, its directory, the directory of the end-to-end probes.
set -u

source "$(dirname "$0")/x11session.sh"
source "$(dirname "$0")/kelvokit.sh"
seed=${KELVO_FAULT_SEED:-$$}
RANDOM=$seed
echo "moments from seed $seed"

# A sleep of 0 to the given milliseconds.
randomPause() { sleep "$(printf '0.%03d' $((RANDOM % $1)))"; }

killed() {
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
}

# Checks the file against the entries before the kill and those the copy was to save.
checkAfterKill() {
    local previous=$1 new=$2 what=$3 now key value
    now=$(wholeSettings) || fail "after a kill $what the settings file is not whole: $(cat "$settings")"
    for key in "${settingKeys[@]}"; do
        value=$(valueIn "$now" "$key")
        [ "$value" = "$(valueIn "$previous" "$key")" ] || [ "$value" = "$(valueIn "$new" "$key")" ] ||
            fail "after a kill $what $key=$value is neither the old nor the new value"
    done
    [ "$now" = "$previous" ] && keptOld=$((keptOld + 1))
    [ "$now" = "$new" ] && [ "$now" != "$previous" ] && gotNew=$((gotNew + 1))
    [ "$now" != "$previous" ] && [ "$now" != "$new" ] && midSave=$((midSave + 1))
    saved=$now
}

# The first run makes the file the kills then work on.
start
clickExit "$window"
within 2 ended || fail "Exit did not end the first run"
saved=$(wholeSettings) || fail "the first Exit saved no whole file: $(cat "$settings")"

keptOld=0 gotNew=0 midSave=0
for ((round = 1; round <= 50; round++)); do
    case $((round % 5)) in
    0) # While starting: nothing may be written yet.
        launch
        randomPause 600
        killed
        checkAfterKill "$saved" "$saved" "while starting"
        ;;
    1) # While running, moved: the placement is only saved at Exit.
        start
        moveTo "$window" $((RANDOM % 700 + 20)) $((RANDOM % 600 + 20))
        randomPause 300
        killed
        checkAfterKill "$saved" "$saved" "while running"
        ;;
    *) # During the save at Exit, from a new place.
        start
        moveTo "$window" $((RANDOM % 700 + 20)) $((RANDOM % 600 + 20))
        read -r h l t w < <(placementOf "$window")
        new="Height=$h Left=$l OnTop=True Top=$t Width=$w WindowState=0"
        # Half the rounds end by the Exit button, half by SIGTERM, which unloads the window
        # the same way and, sent from here, lets the kill follow it by microseconds.
        if ((round % 2)); then
            clickExit "$window"
        else
            kill -TERM "$pid"
            for ((spin = RANDOM % 3000; spin > 0; spin--)); do :; done
        fi
        killed
        checkAfterKill "$saved" "$new" "during Exit"
        ;;
    esac
done
pass "50 kills: the file was whole every time; $keptOld kept the old entries, $gotNew held the new ones, $midSave were cut mid-save"

# A kill between writing the new copy and putting it in place may leave that copy beside the
# settings ("Kelvo.ini.XXXXXX"); what the kills left is theirs, not the next run's.
besideSettings() { strayFiles | tr ' ' '\n' | grep -v -x -e '' | sort; }
debris=$(besideSettings)
start
clickExit "$window"
within 2 ended || fail "the program did not end within 2 s of Exit after the kills"
wait "$pid" || fail "the program ended with status $? on Exit after the kills"
wholeSettings >/dev/null || fail "the last Exit left no whole file: $(cat "$settings")"
[ "$(besideSettings)" = "$debris" ] || fail "files left beside the settings: $(strayFiles)"
pass "the next start works, and its Exit leaves a whole file and nothing new beside it"
echo PASS
