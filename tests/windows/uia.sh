#!/bin/bash
# The program for Windows as a Windows screen reader meets it, under Wine on a virtual X display:
# the first screen, a question and the next one, a reading, the Help menu, the About window and
# the exit screen, each read through UI Automation by uia-tree.exe. On each, every element has a
# control type and a name (a separator needs none), the controls named below are there with their
# types, links are Hyperlinks, and nothing out of sight is exposed: no element off screen, outside
# its parent or in the very place of a sibling (as one lying behind another would be), and none
# of the controls of the screens not shown. Beyond the names: each question's answer has the
# keyboard focus and tells the question as its description, the first screen and the exit screen
# tell their texts as theirs, the reading has the focus, and its text, where UI Automation gives
# it, names its rune pictures.
#   [KEEP_TREES=DIR] uia.sh PROGRAM_FOLDER UIA_TREE_EXE      (DIR: where the trees read are kept)
set -euo pipefail
program=$(realpath "$1/cv-veyloom.exe")
reader=$(realpath "$2")
SHOTS=
. "$(dirname "$0")/e2e-lib.sh"
use_wine_prefix "$WORK/prefix"
unset QT_QPA_FONTDIR
before_cleanup() {
    wineserver -k 2>/dev/null || true
    [ -z "${KEEP_TREES:-}" ] || { mkdir -p "$KEEP_TREES" && cp "$WORK"/*.tree "$KEEP_TREES/"; } \
        || true
}

# What each view must show (+) and must not (-): the view, the control type, and the name or
# the start of it. The main window's screens lie on top of one another, one shown at a time.
expectations='
first|+|Window|CV Veyloom v1.0
first|+|MenuItem|File
first|+|MenuItem|Help
first|+|Edit|Name
first|+|Button|Get Veyloom Reading
first|+|CheckBox|Root Chakra (Muladhara)
first|+|CheckBox|Crown Chakra (Sahasrara)
first|+|Hyperlink|The Most Popular Online Mystic Discussion Forum.
first|-|Button|Next
first|-|RadioButton|Yes
first|-|Text|Question 1 of 16
first|-|Edit|Reading
question|+|Text|Question 1 of 16
question|+|RadioButton|Yes
question|+|RadioButton|No
question|+|RadioButton|May Be
question|+|Button|Next
question|+|Text|Do you have a good sense of direction?
question|-|Button|Get Veyloom Reading
question|-|CheckBox|Root Chakra (Muladhara)
next question|+|Text|Question 2 of 16
next question|+|Text|Do you feel physically active and fit?
next question|-|Text|Question 1 of 16
next question|-|Text|Do you have a good sense of direction?
reading|+|Hyperlink|The Most Popular Online Mystic Discussion Forum.
reading|+|Edit|Reading
reading|-|Button|Next
reading|-|RadioButton|Yes
reading|-|Button|Get Veyloom Reading
help menu|+|MenuItem|Online Help
help menu|+|MenuItem|Visit Us Online
help menu|+|MenuItem|Check for Software Update
help menu|+|MenuItem|About Software
about|+|Hyperlink|Click here to visit http://www.orravine.com
about|+|Hyperlink|Click here for more details.
about|+|Separator|Separator
about|+|Button|OK
exit|+|Button|Exit
exit|+|Button|Refer A Friend Now
exit|+|CheckBox|Click Here To Visit www.orravine.com Now
exit|+|Hyperlink|Click Here To Visit Orravine
exit|+|Edit|Your Name
exit|+|Edit|Your Email Address
exit|+|Edit|Friend'"'"'s Name
exit|+|Edit|Friend'"'"'s Email Address
exit|-|Edit|Your Message
'

# The exit screen's appeals, one of which it shows.
appeals="\
Help us maintain and improve our programs by visiting our discussion forum at www.orravine.com \
regularly. Join the conversations there and tell us what you would like to see next.
Our programs are kept up to date and developed further with the help of users like you. Please \
drop by the online forum at www.orravine.com often and take part in the discussions.
Would you like this program to keep getting better? Visit our forum at www.orravine.com on a \
regular basis and join in the discussions; what you write there guides our work.
You can support the upkeep and development of our programs without spending a penny. Just visit \
the discussion forum at www.orravine.com regularly and take an active part in it."

# read_view VIEW TYPE NAME: the tree, among the program's visible windows, that holds an element
# of that type and name, kept as $WORK/VIEW.tree.
read_view() {
    local view=$1 type=$2 name=$3 all="$WORK/all.tree"
    holds() {
        wine "$reader" >"$all" 2>"$WORK/reader.log" || return 1
        awk -F'\t' -v type="$type" -v name="$name" -v out="$WORK/$view.tree" '
            $1 == 0 { n++ }
            { tree[n] = tree[n] $0 "\n" }
            $2 == type && index($6, name) == 1 { found = n }
            END { if (found) printf "%s", tree[found] > out; exit !found }' "$all"
    }
    poll 30 holds || fail "$view: no window holds a $type '$name': $(cat "$WORK/reader.log" "$all")"
}

# check_view VIEW: the rules above, on the tree read for that view.
check_view() {
    local view=$1 tree="$WORK/$1.tree" sign type name
    awk -F'\t' -v view="$view" '
        function fault(what) {
            printf "%s: %s %s \"%s\" (%s) %s\n", view, $2, $5, $6, $4, what
            bad = 1
        }
        function overlaps(a, b,  p, q) {
            split(a, p, ","); split(b, q, ",")
            return p[1] < q[1] + q[3] && q[1] < p[1] + p[3] \
                && p[2] < q[2] + q[4] && q[2] < p[2] + p[4]
        }
        {
            if ($2 == "-") fault("has no control type")
            # A separator is announced by its type alone, as those between menu commands are.
            if ($6 == "" && $2 != "Separator") fault("has no name")
            if ($3 == 1) fault("is exposed, though off screen")
            place[$1] = $4
            # A menu drops from its item of the menu bar, outside it.
            if ($1 > 0 && $2 != "Menu" && $4 != "-" && place[$1 - 1] != "-" \
                && !overlaps($4, place[$1 - 1]))
                fault("is exposed outside its parent at " place[$1 - 1])
            split($4, box, ",")
            key = $1 SUBSEP $4
            if ($4 != "-" && box[3] > 0 && box[4] > 0 && (key in taken) \
                && taken[key] == parent[$1 - 1])
                fault("is exposed in the very place of a sibling")
            taken[key] = parent[$1 - 1]
            parent[$1] = NR
        }
        END { exit bad }' "$tree" >&2 || fail "$view: the screen reader is told of the faults above"
    while IFS='|' read -r sign type name; do
        if awk -F'\t' -v type="$type" -v name="$name" \
            '$2 == type && index($6, name) == 1 { found = 1 } END { exit !found }' "$tree"; then
            [ "$sign" = + ] || fail "$view: a $type '$name' of another screen is exposed"
        else
            [ "$sign" = - ] || fail "$view: no $type '$name' is exposed: $(cut -f2,6 "$tree")"
        fi
    done < <(sed -n "s/^$view|//p" <<<"$expectations")
    echo "ok: $view, $(wc -l <"$tree") elements"
}

# focused VIEW TYPE NAME: the keyboard focus is on that element of the view, the name as above,
# and on no control outside it (the window, being active, has it too; inside, a view's viewport
# shares its view's).
focused() {
    local view=$1 type=$2 name=$3
    awk -F'\t' -v type="$type" -v name="$name" '
        inside && $1 <= depth { inside = 0 }
        $1 > 0 && $7 == 1 && !inside {
            count++
            on = $2 == type && index($6, name) == 1
            depth = $1
            inside = 1
        }
        END { exit !(count == 1 && on) }' "$WORK/$view.tree" \
        || fail "$view: the keyboard focus is not on the $type '$name' alone, but on:" \
            "$(awk -F'\t' '$1 > 0 && $7 == 1 { print $2, $6 }' "$WORK/$view.tree")"
}

# described VIEW TYPE NAME TEXT...: that element's description, which UI Automation gives as its
# FullDescription, is the TEXTs joined, whole.
described() {
    local view=$1 type=$2 name=$3 said
    shift 3
    said=$(awk -F'\t' -v type="$type" -v name="$name" '
        $2 == type && index($6, name) == 1 { print $8; exit }' "$WORK/$view.tree")
    [ "$said" = "$(printf %s "$@")" ] \
        || fail "$view: the $type '$name' is described as '$said', not as '$(printf %s "$@")'"
}

# reads VIEW TYPE NAME TEXT...: that element's text as UI Automation's TextPattern gives it holds
# each TEXT, and no object replacement character (a picture left without words). Wine 10 offers
# no TextPattern (uia-tree.c): the run then says that this is not checked, and why.
reads() {
    local view=$1 type=$2 name=$3 text part
    shift 3
    text=$(awk -F'\t' -v type="$type" -v name="$name" '
        $2 == type && index($6, name) == 1 { print $9; exit }' "$WORK/$view.tree")
    if [ "$text" = - ]; then
        echo "not checked: $view: the $type '$name' gives no text: $(cat "$WORK/reader.log")"
        return 0
    fi
    for part in "$@"; do
        [[ $text == *"$part"* ]] || fail "$view: the $type '$name' does not read '$part': '$text'"
    done
    [[ $text != *$'\xef\xbf\xbc'* ]] \
        || fail "$view: the $type '$name' reads a bare picture: '$text'"
}

wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$WORK/bin/record-browser" /f \
    >/dev/null 2>&1
wine "$program" >>"$WORK/app.log" 2>&1 &
APP_PID=$!
PIDS+=("$APP_PID")
main=$(wait_window "CV Veyloom v1.0" "$MAIN_WIDTH")

read_view first Button "Get Veyloom Reading"
check_view first
described first Group "Personal Details" "Choose one of the following options. Take the Chakras" \
    " Test to know which Chakras are open or closed. Know more about the relation between the" \
    " Chakras and the Rune Stones with this software."
# The first screen shows one of the two offers, each a link.
[ "$(awk -F'\t' '$2 == "Hyperlink"' "$WORK/first.tree" | wc -l)" = 2 ] \
    || fail "first: the links exposed are $(awk -F'\t' '$2 == "Hyperlink" { print $6 }' \
        "$WORK/first.tree")"

# Heart ticked, then Root: the first of Root's questions.
click_main "$main" 26 $((106 + 24 * 3))
click_main "$main" 26 106
click_main "$main" 380 238
read_view question Text "Question 1 of 16"
check_view question
focused question RadioButton Yes
described question RadioButton Yes "Question 1 of 16. Do you have a good sense of direction?"

# Next, with the mouse, which takes the focus to the button: the new question's answer takes it
# back, and tells the new question.
click_main "$main" 424 269
read_view "next question" Text "Question 2 of 16"
check_view "next question"
focused "next question" RadioButton Yes
described "next question" RadioButton Yes "Question 2 of 16. Do you feel physically active and fit?"

take_rest() {
    for _ in 1 2 3 4 5 6 7; do click_main "$main" 424 269; done
    for answer in Yes No No Yes Yes No No Yes; do
        [ "$answer" = No ] && click_main "$main" 80 192
        click_main "$main" 424 269
    done
}
take_rest
read_view reading Edit Reading
check_view reading
focused reading Edit Reading
# Root open, Heart over-active: Heart's three rune stones.
reads reading Edit Reading "Raidho rune stone" "Tiwas rune stone" "Eihwas rune stone"

keys "$main" alt+h
read_view "help menu" MenuItem "About Software"
check_view "help menu"
keys "$main" Escape

keys "$main" alt+h a
read_view about Button OK
check_view about
# OK, the About window's default button, has the keyboard.
xdotool key --clearmodifiers Return
about_closed() { [ "$(count_windows "CV Veyloom v1.0")" = 1 ]; }
poll 10 about_closed || fail "the About window did not close"

keys "$main" alt+f x
exit_screen=$(wait_window "CV Veyloom v1.0" "$EXIT_WIDTH")
read_view exit Button "Refer A Friend Now"
check_view exit
# The window tells the appeal its paragraph shows, one of four.
appeal=$(awk -F'\t' '$5 == "frmExitScreen.Label2" { print $6 }' "$WORK/exit.tree")
grep -qxF -- "$appeal" <<<"$appeals" \
    || fail "exit: the paragraph shows no appeal of ours: '$appeal'"
described exit Window "CV Veyloom v1.0" "$appeal"
click "$exit_screen" 441 196
poll 20 bash -c "! kill -0 $APP_PID 2>/dev/null" || fail "the program did not end"
echo "PASS: UI Automation tells of every control by type and name, and of nothing out of sight;" \
    "of each question with its focused answer, and of the first and exit screens' texts"
