#!/usr/bin/python3
"""Takes the program through a whole test, follows every link and closes it, as a screen reader
does: through the accessibility bus alone, finding each control by its role and name and using
it by its actions. On every screen, the About window and the exit screen, it checks that nothing
out of sight is exposed as showing. The name field and the reading answer every question of their
pieces at every offset, each in time.

    screen-reader.py PID BROWSER_LOG READING

PID is the program's process; BROWSER_LOG the file the stand-in browser writes each opened
address to; READING the file holding the reading expected from the answers given here.
"""
import sys
import time

import pyatspi
from gi.repository import GLib

PID, BROWSER_LOG, READING = int(sys.argv[1]), sys.argv[2], sys.argv[3]
CAPTION = "CV Veyloom v1.0"
# How long a call on the bus may take, in milliseconds: writing the reading takes a moment. The
# same holds from the program's start on (no time of grace).
Timeout, NoGrace = 25000, -1
# How long a text may take to answer one question about its pieces, in milliseconds, and all of
# them, in seconds: a question that is never answered fails the test quickly.
AnswerLimit, AnswersLimit = 2000, 60
# Every boundary a screen reader asks by.
BOUNDARIES = {
    "char": pyatspi.TEXT_BOUNDARY_CHAR,
    "word start": pyatspi.TEXT_BOUNDARY_WORD_START,
    "word end": pyatspi.TEXT_BOUNDARY_WORD_END,
    "sentence start": pyatspi.TEXT_BOUNDARY_SENTENCE_START,
    "sentence end": pyatspi.TEXT_BOUNDARY_SENTENCE_END,
    "line start": pyatspi.TEXT_BOUNDARY_LINE_START,
    "line end": pyatspi.TEXT_BOUNDARY_LINE_END,
}


class Failure(Exception):
    pass


def poll(seconds, find, what):
    """The first true value find() gives within the time, retried every tenth of a second."""
    deadline = time.monotonic() + seconds
    while True:
        try:
            found = find()
        except GLib.GError:
            found = None
        if found:
            return found
        if time.monotonic() > deadline:
            raise Failure(f"not found: {what}")
        time.sleep(0.1)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def descendants(node):
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield child
            yield from descendants(child)


def program():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.get_process_id() == PID:
            return app
    return None


def window(holding):
    """The program's showing window that holds a showing push button of that name."""

    def find():
        app = program()
        for i in range(app.childCount if app else 0):
            top = app.getChildAtIndex(i)
            if (top.name == CAPTION and showing(top)
                    and control(top, pyatspi.ROLE_PUSH_BUTTON, holding, 0)):
                return top
        return None

    return poll(20, find, f"a window with the button '{holding}'")


def control(within, role, name, seconds=10):
    """The showing control of that role whose name is, or starts with, the given name."""

    # By role, not by the role's name: releases of AT-SPI name the same role differently.
    def find():
        for node in descendants(within):
            if node.getRole() == role and node.name.startswith(name) and showing(node):
                return node
        return None

    if seconds == 0:
        return find()
    return poll(seconds, find, f"{role} '{name}'")


def act(node, action, replies=True):
    """Runs the control's action of that name. An action that opens a modal window or ends the
    program gives its answer only later or never, so then no answer is waited for."""
    actions = node.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    if action not in names:
        raise Failure(f"{node.getRoleName()} '{node.name}' offers {names}, not {action}")
    if replies:
        actions.doAction(names.index(action))
        return
    pyatspi.setTimeout(300, NoGrace)
    try:
        actions.doAction(names.index(action))
    except GLib.GError:
        pass
    finally:
        pyatspi.setTimeout(Timeout, NoGrace)


def opened():
    with open(BROWSER_LOG, encoding="utf-8") as log:
        return log.read().splitlines()


def follow(node, action, address):
    before = len(opened())
    act(node, action)
    poll(10, lambda: opened()[before:], f"a page opened by '{node.name}'")
    if opened()[before:] != [address]:
        raise Failure(f"'{node.name}' opened {opened()[before:]}, not {address}")


def extents(node):
    try:
        box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    except NotImplementedError:
        return None
    return (box.x, box.y, box.width, box.height)


def overlaps(a, b):
    return a[0] < b[0] + b[2] and b[0] < a[0] + a[2] and a[1] < b[1] + b[3] and b[1] < a[1] + a[3]


def only_what_is_seen(top, where):
    """A control is exposed as showing only inside a showing parent and at least partly within
    its area, and no two showing controls of one parent take the same place, as one lying behind
    another would."""

    def check(node):
        places = {}
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            if child is None:
                continue
            if showing(child):
                place, parent = extents(child), extents(node)
                label = f"{where}: {child.getRoleName()} '{child.name}' at {place}"
                if not showing(node):
                    raise Failure(f"{label} is exposed as showing inside hidden '{node.name}'")
                if place and parent and parent[2] and parent[3] and not overlaps(place, parent):
                    raise Failure(f"{label} is exposed as showing, outside {parent}")
                if place and place[2] and place[3] and place in places:
                    raise Failure(f"{label} is exposed as showing in the same place as "
                                  f"'{places[place]}'")
                places[place] = child.name
            check(child)

    check(top)


def links(top):
    return [node.name for node in descendants(top)
            if node.getRole() == pyatspi.ROLE_LINK and showing(node)]


def checked(node):
    return node.getState().contains(pyatspi.STATE_CHECKED)


def answers_everything(node, what):
    """Asks the text every question of its pieces at every offset, each answer in time and within
    the text, and tells how long they took."""
    text = node.queryText()
    whole = text.getText(0, -1)
    started = time.monotonic()
    pyatspi.setTimeout(AnswerLimit, NoGrace)
    try:
        for name, boundary in BOUNDARIES.items():
            for offset in range(len(whole) + 1):
                for ask in ("getTextAtOffset", "getTextBeforeOffset", "getTextAfterOffset"):
                    question = f"{what}: {ask}({offset}, {name})"
                    try:
                        piece, start, end = getattr(text, ask)(offset, boundary)
                    except GLib.GError as error:
                        raise Failure(f"no answer within {AnswerLimit} ms to {question}: "
                                      f"{error.message}") from None
                    if (start, end) != (-1, -1) and not (
                            0 <= start <= end <= len(whole) and piece == whole[start:end]):
                        raise Failure(f"{question} gave {piece!r} [{start}, {end})")
            if time.monotonic() - started > AnswersLimit:
                raise Failure(f"{what}: the answers took more than {AnswersLimit} s")
    finally:
        pyatspi.setTimeout(Timeout, NoGrace)
    took = time.monotonic() - started
    print(f"{what}: every question at {len(whole) + 1} offsets answered in {took:.1f} s")


def take_test(main):
    # Heart ticked before Root; Root's questions still come first.
    for chakra in ("Heart Chakra (Anahata)", "Root Chakra (Muladhara)"):
        box = control(main, pyatspi.ROLE_CHECK_BOX, chakra)
        act(box, "Toggle")
        poll(5, lambda: checked(box), f"'{chakra}' ticked")
    act(control(main, pyatspi.ROLE_PUSH_BUTTON, "Get Veyloom Reading"), "Press")
    # Root: "Yes" throughout (open). Heart: every scoring answer (over-active).
    answers = ["Yes"] * 8 + ["Yes", "No", "No", "Yes", "Yes", "No", "No", "Yes"]
    for number, answer in enumerate(answers, 1):
        control(main, pyatspi.ROLE_LABEL, f"Question {number} of 16")
        if number == 1:
            only_what_is_seen(main, "question screen")
        choice = control(main, pyatspi.ROLE_RADIO_BUTTON, answer)
        if not checked(choice):
            act(choice, "Toggle")
        poll(5, lambda: checked(choice), f"'{answer}' chosen")
        act(control(main, pyatspi.ROLE_PUSH_BUTTON, "Next"), "Press")

    view = control(main, pyatspi.ROLE_TEXT, "Reading")
    with open(READING, encoding="utf-8") as golden:
        expected = golden.read().rstrip("\n")

    def read():
        text = view.queryText()
        return text.getText(0, -1).replace("\u2029", "\n").rstrip("\n")

    try:
        poll(20, lambda: read() == expected, "the reading")
    except Failure:
        raise Failure(f"the reading heard differs from the expected one: {read()!r}") from None
    answers_everything(view, "the reading")
    only_what_is_seen(main, "result screen")


def main_window():
    main = window("Get Veyloom Reading")
    only_what_is_seen(main, "first screen")
    # The banner and the one offer in front, each named by its text.
    shown = links(main)
    offers = {
        "Co-brand this software for your site.": "http://help.orravine.com/co-brand.html",
        "Home Business Opportunity.": "http://help.orravine.com/fully-branded.html",
    }
    banner = ("The Most Popular Online Mystic Discussion Forum. Click Here To Visit "
              "www.orravine.com Now.")
    offer = [name for name in shown if any(name.startswith(start) for start in offers)]
    if len(shown) != 2 or banner not in shown or len(offer) != 1:
        raise Failure(f"the links exposed on the first screen are {shown}")
    name = control(main, pyatspi.ROLE_TEXT, "Name")
    for typed in ("Ann Lee", "Ann Lee ", "Ann Lee.", ""):
        name.queryEditableText().setTextContents(typed)
        answers_everything(name, f"the name field holding {typed!r}")
    take_test(main)
    follow(control(main, pyatspi.ROLE_LINK, banner), "Press", "http://www.orravine.com")
    address = next(page for start, page in offers.items() if offer[0].startswith(start))
    follow(control(main, pyatspi.ROLE_LINK, offer[0]), "Press", address)
    return main


def menu_command(main, menu, command, replies=True):
    """Opens the menu of the menu bar and runs the command in it."""
    act(control(main, pyatspi.ROLE_MENU_ITEM, menu), "ShowMenu")
    act(control(main, pyatspi.ROLE_MENU_ITEM, command), "Press", replies)


def about_window(main):
    menu_command(main, "Help", "About Software", replies=False)
    about = window("OK")
    only_what_is_seen(about, "About window")
    follow(control(about, pyatspi.ROLE_LINK, "Click here to visit http://www.orravine.com"),
           "Press", "http://www.orravine.com")
    # The line between the text and the button is announced as a separator.
    control(about, pyatspi.ROLE_SEPARATOR, "Separator")
    follow(control(about, pyatspi.ROLE_LINK, "Click here for more details."), "Press",
           "http://help.orravine.com/fully-branded.html")
    act(control(about, pyatspi.ROLE_PUSH_BUTTON, "OK"), "Press")
    poll(10, lambda: not showing(about), "the About window closed")


def exit_screen(main):
    menu_command(main, "File", "Exit")
    screen = window("Refer A Friend Now")
    only_what_is_seen(screen, "exit screen")
    follow(control(screen, pyatspi.ROLE_LINK, "Click Here To Visit Orravine"), "Press",
           "http://www.orravine.com/software.html")
    visit = control(screen, pyatspi.ROLE_CHECK_BOX, "Click Here To Visit www.orravine.com Now")
    follow(visit, "Toggle", "http://www.orravine.com")
    if checked(visit):
        raise Failure("the box that opens the site stays ticked")
    # The form filled in and sent; the message, out of sight, goes as it stands.
    for field, text in (("Your Name", "Ann"), ("Your Email Address", "ann@example.com"),
                        ("Friend's Name", "Bo"), ("Friend's Email Address", "bo@example.org")):
        control(screen, pyatspi.ROLE_TEXT, field).queryEditableText().setTextContents(text)
    follow(control(screen, pyatspi.ROLE_PUSH_BUTTON, "Refer A Friend Now"), "Press",
           "http://www.orravine.com/cvsw-refer-a-friend.php?taf1=Ann&taf2=ann%40example.com"
           "&taf3=Your%20Message%0D%0A&taf4=Bo&taf5=bo%40example.org"
           "&taf6=http://www.cv-veyloom.com/")
    act(control(screen, pyatspi.ROLE_PUSH_BUTTON, "Exit"), "Press", replies=False)


def run():
    pyatspi.setTimeout(Timeout, NoGrace)
    try:
        main = main_window()
        about_window(main)
        exit_screen(main)
    except Failure as failure:
        print(f"FAIL: {failure}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(run())
