#!/bin/bash
# A one-chakra test taken by the keyboard alone with a real screen reader, Orca, listening: each
# key pressed and what Orca then says are written to a transcript, which is printed, and what is
# heard is compared with the texts below. Orca speaks to a stand-in speech server
# (speech-server.py) that writes every utterance down and sounds nothing. Then the program is
# opened and closed again, ten times, its exit screen heard each time. Nothing of NEVER_HEARD may
# be heard in all that, and the program may never be asked for an accessible object it no longer
# has.
#   ORCA_TRANSCRIPT_ONLY=1: the transcript alone, nothing compared.
set -euo pipefail

# What is done, then what is heard after it: parts of utterances in the order they are heard,
# " | " between two, each the whole utterance or a piece of one; "-" compares nothing. A line
# that starts with blanks goes on with the line above. What is done is "start" (the program),
# "type:TEXT", or keys as xdotool names them, a chord's keys joined by "+" and its modifiers held
# down as a person does.
STEPS=$(
    cat <<'STEPS'
# The first screen: the name field has the focus; Root's box is ticked and the test begun.
start           CV Veyloom v1.0 frame | Personal Details panel
                | Choose one of the following options. Take the Chakras Test | Name text
Tab             Get Veyloom Reading push button
Tab             Root Chakra (Muladhara) check box not checked
space           checked
shift+Tab       Get Veyloom Reading push button
alt+g           Veyloom Question panel | Question 1 of 8. Do you have a good sense of direction?
                | Yes. | selected radio button
# The eight questions: "No" to the first and the third, which score with "Yes" (under-active);
# Next by its access key, and once by Tab and Space.
Down            No. | selected radio button
alt+n           Question 2 of 8. Do you feel physically active and fit? | Yes.
alt+n           Question 3 of 8. Does it matter to you if do not have material comforts?
                | Yes.
Down            No. | selected radio button
Tab             Next push button
space           Question 4 of 8. Do u feel comfortable in the presence of unknown people?
                | Yes.
alt+n           Question 5 of 8. Do feel grounded and stable? | Yes.
alt+n           Question 6 of 8. Do you feel connected to the oneness of the universe?
                | Yes.
alt+n           Question 7 of 8. Do you have good survival instincts? | Yes.
alt+n           Question 8 of 8. Do you have the courage to stand up for yourself?
                | Yes.
# The reading, from its top, line by line; a rune's picture is heard by its name. Then the rest
# read out by Orca's Say All, which goes on from one sentence to the next only once the speech
# server reports the last one spoken.
alt+n           Veyloom Result panel. | Reading read only text.
                | Root Chakra (Muladhara) is Underactive.
Down            Fear, nervousness, inferiority and shyness are the consequences of shaky
Down            grounding; you rarely feel safe.
Down            blank
Down            Algiz rune stone
Down            Root Chakra (Muladhara)
Down            Corresponding Runes Stone: Algiz
Down            This rune means 'defense' and 'protection'. This is the antlered elk, the raised
Down            hand that wards off harm. A guardian stands beside you now, whether a spirit, an
KP_Add          Mannaz rune stone | Corresponding Runes Stone: Mannaz | Hagalaz rune stone
                | Corresponding Runes Stone: Hagalaz | Stay safe and endure.
# The exit screen: its appeal, then its Exit button focused. Each referral field says its name as
# it takes the focus; a name typed in is read whole, also word by word from its end.
alt+F4          CV Veyloom v1.0. | forum at www.orravine.com | Exit push button.
Tab             Click Here To Visit www.orravine.com Now check box not checked.
                | Opens www.orravine.com in your web browser.
Tab             Refer A Friend panel. | Your Name text.
Tab             Your Email Address text.
Tab             Friend's Name text.
Tab             Friend's Email Address text.
shift+Tab       Friend's Name text.
shift+Tab       Your Email Address text.
shift+Tab       Your Name text.
type:Ann        A | n | n
ctrl+Left       Ann
Tab             Your Email Address text.
shift+Tab       Your Name text. | Ann selected.
alt+x           -
STEPS
)

# What Orca 48, Debian 13's, says after the same steps, an utterance (or a piece of one) a line,
# as the transcript shows them. Its echo of the keys pressed is left out, but for the letters
# typed, which it sends as keys ("[KEY A]"), not as speech. Orca 48 says "button" for "push
# button", and the question, announced, after the answer that takes the focus.
STEPS_48=$(
    cat <<'STEPS'
start           CV Veyloom v1.0 frame
                | Personal Details Choose one of the following options. Take the Chakras Test
                | with this software. panel
                | Name text.
Tab             Get Veyloom Reading button.
Tab             Root Chakra (Muladhara) check box not checked.
space           checked
shift+Tab       Get Veyloom Reading button.
alt+g           Veyloom Question panel
                | Veyloom Question.
                | Yes selected radio button.
                | Question 1 of 8. Do you have a good sense of direction?
Down            Veyloom Question.
                | No selected radio button.
alt+n           Next button.
                | Veyloom Question.
                | Yes selected radio button.
                | Question 2 of 8. Do you feel physically active and fit?
alt+n           Next button.
                | Veyloom Question.
                | Yes selected radio button.
                | Question 3 of 8. Does it matter to you if do not have material comforts?
Down            Veyloom Question.
                | No selected radio button.
Tab             Next button.
space           Veyloom Question.
                | Yes selected radio button.
                | Question 4 of 8. Do u feel comfortable in the presence of unknown people?
alt+n           Next button.
                | Veyloom Question.
                | Yes selected radio button.
                | Question 5 of 8. Do feel grounded and stable?
alt+n           Next button.
                | Veyloom Question.
                | Yes selected radio button.
                | Question 6 of 8. Do you feel connected to the oneness of the universe?
alt+n           Next button.
                | Veyloom Question.
                | Yes selected radio button.
                | Question 7 of 8. Do you have good survival instincts?
alt+n           Next button.
                | Veyloom Question.
                | Yes selected radio button.
                | Question 8 of 8. Do you have the courage to stand up for yourself?
alt+n           Next button.
                | Veyloom Result panel
                | Reading read only text.
                | Root Chakra (Muladhara) is Underactive.
Down            Fear, nervousness, inferiority and shyness are the consequences of shaky
Down            grounding; you rarely feel safe.
Down            blank
Down            Algiz rune stone
Down            Root Chakra (Muladhara)
Down            Corresponding Runes Stone: Algiz
Down            This rune means 'defense' and 'protection'. This is the antlered elk, the raised
Down            hand that wards off harm. A guardian stands beside you now, whether a spirit, an
KP_Add          This is the antlered elk, the raised hand that wards off harm.
                | Mannaz rune stone
                | Corresponding Runes Stone: Mannaz
                | Hagalaz rune stone
                | Corresponding Runes Stone: Hagalaz
                | Stay safe and endure.
alt+F4          CV Veyloom v1.0.
                | forum at www.orravine.com
                | Exit button.
Tab             Click Here To Visit www.orravine.com Now check box not checked.
                | Opens www.orravine.com in your web browser.
Tab             Refer A Friend panel
                | Your Name text.
Tab             Your Email Address text.
Tab             Friend's Name text.
Tab             Friend's Email Address text.
shift+Tab       Friend's Name text.
shift+Tab       Your Email Address text.
shift+Tab       Your Name text.
type:Ann        [KEY A]
                | [KEY n]
                | [KEY n]
ctrl+Left       Ann
Tab             Your Email Address text.
shift+Tab       Your Name text.
                | Ann selected.
alt+x           -
STEPS
)

# The walk is the steps of the first table, whose texts are Orca 43's, Debian 12's; under Orca 48
# its table's texts are compared instead. Another Orca may word things otherwise again: the test
# skips. Orca 43 prints its version alone ("43.1"), Orca 48 in a sentence ("Orca version 48.1").

# Said of no step: a control the user did not go to (the banner, where the focus would stop as the
# first screen hides) or the items of a container no one sees as such (the stack of screens).
NEVER_HEARD=("The Most Popular Online Mystic Discussion Forum" "0 items")
# The exit screen, opened again and again: it takes the keyboard, and its appeal is heard (in
# each Orca's words, below).
REOPENINGS=10

if ! version=$(orca --version 2>/dev/null); then
    echo "FAIL: no Orca (scripts/install-deps test installs it)"
    exit 1
fi
version=$(grep -oE '[0-9]+(\.[0-9]+)+' <<<"$version" | head -n 1 || true)
case ${version%%.*} in
    43)
        HEARD=$STEPS
        EXIT_SCREEN="CV Veyloom v1.0. | forum at www.orravine.com | Exit push button."
        ;;
    48)
        HEARD=$STEPS_48
        # Now and then it says the window and its appeal alone, without Exit, and then follows
        # no focus in that window: Orca 48's own, where the keyboard is in the window.
        EXIT_SCREEN="CV Veyloom v1.0. | forum at www.orravine.com"
        ;;
    *)
        HEARD=$STEPS
        EXIT_SCREEN=-
        if [ -z "${ORCA_TRANSCRIPT_ONLY:-}" ]; then
            echo "SKIP: texts are expected of Orca 43 and 48, and this is Orca $version;" \
                "ORCA_TRANSCRIPT_ONLY=1 shows what it says"
            exit 77
        fi
        ;;
esac

# Orca's launcher refuses to start beside another Orca of the same user, and its --replace would
# end every other one on the machine: in a process namespace of its own it sees only itself.
# When Orca's namespace ends, whatever it started there ends with it.
namespace=(unshare --pid --fork --mount-proc --kill-child)
[ "$(id -u)" -eq 0 ] || namespace=(unshare --user --map-current-user --pid --fork --mount-proc \
    --kill-child)
if ! "${namespace[@]}" true 2>/dev/null; then
    echo "SKIP: no process namespace can be made here for Orca (${namespace[*]})"
    exit 77
fi

. "$(dirname "$0")/lib.sh"
[ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || fail "no session bus: run under dbus-run-session"

SPEECH="$WORK/speech.log"
TRANSCRIPT="$WORK/transcript.txt"
MISMATCHES="$WORK/mismatches.txt"
: >"$TRANSCRIPT"
: >"$MISMATCHES"
ORCA_HOME="$WORK/orca"
mkdir -p "$ORCA_HOME/data/orca" "$ORCA_HOME/config" "$ORCA_HOME/cache"

# Orca's settings, fresh: speech on, braille and sounds off; everything else as Orca ships it.
cat >"$ORCA_HOME/data/orca/user-settings.conf" <<'SETTINGS'
{
    "general": {"firstStart": false, "enableSpeech": true, "enableBraille": false,
                "enableSound": false, "speechServerFactory": "speechdispatcherfactory"},
    "profiles": {"default": {"profile": ["Default", "default"]}},
    "pronunciations": {},
    "keybindings": {}
}
SETTINGS

# At the end, the transcript; when the test failed, what Orca printed and what differed.
before_cleanup() {
    if [ -s "$TRANSCRIPT" ]; then
        echo "--- What Orca said: > what was done, then each utterance; [CANCEL] interrupts"
        cat "$TRANSCRIPT"
        echo "---"
    fi
    if [ -n "${ORCA_TRANSCRIPT_ONLY:-}" ] && [ -s "$WORK/app.log" ]; then
        echo "--- What the program printed"
        cat "$WORK/app.log"
        echo "---"
    fi
    if [ -e "$WORK/failed" ] && [ -s "$WORK/orca.log" ]; then
        sed 's/^/    orca: /' "$WORK/orca.log" | tail -30
    fi
    cat "$MISMATCHES"
}

"$(dirname "$0")/speech-server.py" "$WORK/speech.sock" "$SPEECH" &
SPEECH_PID=$!
PIDS+=("$SPEECH_PID")
disown
poll 10 test -S "$WORK/speech.sock" || fail "the stand-in speech server did not start"

# A window manager gives each window the focus as it opens, as a desktop does.
HOME="$WORK" XDG_CACHE_HOME="$WORK/cache" openbox >"$WORK/openbox.log" 2>&1 &
PIDS+=($!)
disown

# Orca's speech client connects to SPEECHD_ADDRESS; when it cannot, it would start the real
# speech server, the command SPEECHD_CMD names, which here refuses.
env HOME="$ORCA_HOME" XDG_DATA_HOME="$ORCA_HOME/data" XDG_CONFIG_HOME="$ORCA_HOME/config" \
    XDG_CACHE_HOME="$ORCA_HOME/cache" LC_ALL=C.UTF-8 LANGUAGE= \
    SPEECHD_ADDRESS="unix_socket:$WORK/speech.sock" SPEECHD_CMD=/bin/false \
    "${namespace[@]}" orca >"$WORK/orca.log" 2>&1 &
ORCA_PID=$!
PIDS+=("$ORCA_PID")
disown

heard() { wc -l <"$SPEECH"; }

# heard_since FROM: what was heard after line FROM, a rune's object character made visible.
heard_since() { tail -n +$(($1 + 1)) "$SPEECH" | sed 's/\xEF\xBF\xBC/[U+FFFC]/g'; }

# heard_in_order FROM EXPECTED: the parts of EXPECTED were heard in order since line FROM; what
# is not speech, a key named, say, is a part in brackets, whole, as the transcript shows it.
heard_in_order() {
    heard_since "$1" | awk -v want="$2" '
        BEGIN { n = split(want, part, / \| /); i = 1 }
        /^SPEAK / {
            line = substr($0, 7)
            while (i <= n && (at = index(line, part[i])) > 0) {
                line = substr(line, at + length(part[i]))
                i++
            }
            next
        }
        i <= n && part[i] == "[" $0 "]" { i++ }
        END { exit i <= n }'
}

# listen FROM EXPECTED SECONDS: waits that long at most for EXPECTED (or for a first utterance),
# then until Orca has been silent for a moment.
listen() {
    local deadline=$((SECONDS + $3)) last=-1 quiet=0 now
    while [ "$SECONDS" -lt "$deadline" ]; do
        running "$ORCA_PID" || fail "Orca ended, after '$action'"
        running "$SPEECH_PID" || fail "the stand-in speech server ended, after '$action'"
        if [ "$2" = - ]; then
            [ "$(heard)" -gt "$1" ] && break
        else
            heard_in_order "$1" "$2" && break
        fi
        sleep 0.1
    done
    deadline=$((SECONDS + 10))
    while [ "$quiet" -lt 8 ] && [ "$SECONDS" -lt "$deadline" ]; do
        now=$(heard)
        if [ "$now" = "$last" ]; then quiet=$((quiet + 1)); else quiet=0 last=$now; fi
        sleep 0.1
    done
}

chord() {
    local keys=() i
    IFS=+ read -ra keys <<<"$1"
    for ((i = 0; i < ${#keys[@]} - 1; i++)); do
        xdotool keydown "${keys[i]}"
        sleep 0.1
    done
    xdotool key "${keys[-1]}"
    for ((i = ${#keys[@]} - 2; i >= 0; i--)); do
        sleep 0.1
        xdotool keyup "${keys[i]}"
    done
}

# The program, its accessibility bridge telling of each object asked for that it does not have:
# one a screen reader holds should never be gone while its control lives.
start_listened() {
    start_app DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" \
        QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_LOGGING_RULES="qt.accessibility.atspi.debug=true"
    wait_window "CV Veyloom v1.0" "$MAIN_WIDTH" >/dev/null
}

# ended_well WHEN: the program ended with status 0, never asked for an object it no longer had.
ended_well() {
    local lost
    poll 20 bash -c "! kill -0 $APP_PID 2>/dev/null" || fail "the program did not end $1"
    wait "$APP_PID" || fail "the program ended with status $? $1"
    lost=$(grep -c "Could not find accessible on path" "$WORK/app.log" || true)
    [ "$lost" -eq 0 ] || fail "$lost times asked for an accessible object it no longer had $1"
}

poll 30 grep -q "^SPEAK Screen reader on" "$SPEECH" || fail "Orca did not start speaking"

# read_steps TABLE: the table's steps, what is done in $actions and what is heard in
# $expectations.
read_steps() {
    local line action expected
    actions=()
    expectations=()
    while IFS= read -r line; do
        read -r action expected <<<"$line"
        case $line in
            '#'* | '') ;;
            [[:space:]]*) expectations[-1]+=" $action $expected" ;;
            *)
                actions+=("$action")
                expectations+=("$expected")
                ;;
        esac
    done <<<"$1"
}
read_steps "$STEPS"
walk=("${actions[@]}")
read_steps "$HEARD"
[ "${actions[*]}" = "${walk[*]}" ] \
    || fail "Orca $version's table does not name the steps of the walk, in their order"

for step in "${!actions[@]}"; do
    action=${actions[step]} expected=${expectations[step]}
    [ -z "${APP_PID:-}" ] || running "$APP_PID" || fail "the program ended before '$action'"
    from=$(heard)
    case $action in
        start) start_listened ;;
        type:*) xdotool type --delay 200 "${action#type:}" ;;
        *) chord "$action" ;;
    esac
    listen "$from" "$expected" "$([ -n "${ORCA_TRANSCRIPT_ONLY:-}" ] && echo 3 || echo 10)"
    {
        echo "> $action"
        heard_since "$from" | sed -e 's/^SPEAK //;t' -e 's/.*/[&]/' | sed 's/^/    /'
    } >>"$TRANSCRIPT"
    if [ -z "${ORCA_TRANSCRIPT_ONLY:-}" ] && [ "$expected" != - ] \
        && ! heard_in_order "$from" "$expected"; then
        echo "MISMATCH: step $((step + 1)), '$action': not heard: $expected" >>"$MISMATCHES"
        [ "$(wc -l <"$MISMATCHES")" -lt 5 ] || fail "five steps did not sound as expected"
    fi
done

ended_well "after the walk"
[ ! -s "$MISMATCHES" ] || fail "steps that did not sound as expected: $(wc -l <"$MISMATCHES")"

if [ -z "${ORCA_TRANSCRIPT_ONLY:-}" ]; then
    for ((opening = 1; opening <= REOPENINGS; opening++)); do
        from=$(heard)
        action="start, exit screen $opening of $REOPENINGS"
        start_listened
        # Closed once its window has the keyboard, which Orca says.
        listen "$from" "Name text" 10
        from=$(heard)
        action="alt+F4, exit screen $opening of $REOPENINGS"
        chord alt+F4
        listen "$from" "$EXIT_SCREEN" 10
        {
            echo "> $action"
            heard_since "$from" | sed -e 's/^SPEAK //;t' -e 's/.*/[&]/' | sed 's/^/    /'
        } >>"$TRANSCRIPT"
        heard_in_order "$from" "$EXIT_SCREEN" \
            || echo "MISMATCH: exit screen $opening: not heard: $EXIT_SCREEN" >>"$MISMATCHES"
        # The keyboard is in the exit screen's window.
        exit_screen=$(wait_window "CV Veyloom v1.0" "$EXIT_WIDTH")
        poll 10 bash -c "[ \"\$(xdotool getwindowfocus)\" = $exit_screen ]" \
            || echo "MISMATCH: exit screen $opening: the keyboard is not in it" >>"$MISMATCHES"
        chord alt+x
        ended_well "after exit screen $opening"
    done
    [ ! -s "$MISMATCHES" ] || fail "exit screens not heard: $(wc -l <"$MISMATCHES") of $REOPENINGS"
fi

for noise in "${NEVER_HEARD[@]}"; do
    if grep -qF -- "$noise" "$SPEECH"; then
        fail "heard, though nothing done should make it heard: $(grep -F -- "$noise" "$SPEECH")"
    fi
done
echo "PASS: orca"
