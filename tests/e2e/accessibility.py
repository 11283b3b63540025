"""What a screen reader finds in the running program, through the AT-SPI bus.

Run by test_accessibility.sh with the program's pid and one step:
  tree          print the program's accessible tree
  monitor       the window, its lines and buttons; Total as the kernel has it
  tick          after the figures move, the Aval line follows /proc/meminfo
  press NAME    the Press action of the button NAME (in any window of the program)
  options       the options dialog: its name, field, labels and buttons
  checked NAME yes|no  the switch NAME comes to be checked, or not
  gone ROLE NAME  no showing object ROLE NAME is left
Exits 1 with a message on the first check that fails.
"""
import os
import re
import sys
import time

import pyatspi


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def program(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def walk(acc, depth=0):
    yield acc, depth
    for child in acc:
        if child is not None:
            yield from walk(child, depth + 1)


def showing(acc):
    return acc.getState().contains(pyatspi.STATE_SHOWING)


def find(root, role, name):
    for acc, _ in walk(root):
        if acc.getRoleName() == role and acc.name == name and showing(acc):
            return acc
    return None


def need(root, role, name):
    acc = find(root, role, name)
    if acc is None:
        fail(f'no showing {role} named "{name}"')
    return acc


def lines(app):
    window = need(app, "frame", "Kelvo")
    return [c.name for c in window if c is not None and c.getRoleName() == "label"]


def meminfo():
    with open("/proc/meminfo") as f:
        return {k: int(v.split()[0]) for k, v in (l.split(":", 1) for l in f)}


def kb(kib):
    """A /proc/meminfo figure (1024 bytes) in the program's kilobytes of 1000, rounded."""
    return (kib * 1024 + 500) // 1000


def figure(line, label):
    m = re.fullmatch(re.escape(label) + r"(\d{1,3}(?:\D\d{3})*)kb", line)
    if not m:
        fail(f'"{line}" is not {label}<grouped figure>kb')
    return int(re.sub(r"\D", "", m.group(1)))


def print_tree(app):
    for acc, depth in walk(app):
        states = acc.getState()
        marks = [s for s, st in (("focusable", pyatspi.STATE_FOCUSABLE),
                                 ("checkable", pyatspi.STATE_CHECKABLE),
                                 ("checked", pyatspi.STATE_CHECKED),
                                 ("showing", pyatspi.STATE_SHOWING))
                 if states.contains(st)]
        extra = f' "{acc.description}"' if acc.description else ""
        try:
            action = acc.queryAction()
            actions = [action.getName(i) for i in range(action.nActions)]
        except NotImplementedError:
            actions = []
        print(f'{"  " * depth}{acc.getRoleName()} "{acc.name}"{extra}'
              f' [{" ".join(marks)}]' + (f' actions={",".join(actions)}' if actions else ""))


def until(holds, what, seconds=10):
    deadline = time.time() + seconds
    while not holds():
        if time.time() > deadline:
            fail(what)
        time.sleep(0.1)


def check_monitor(app):
    if app.name != "Kelvo":
        fail(f'the application is named "{app.name}"')
    window = need(app, "frame", "Kelvo")
    # The first tick comes one period after the window is loaded.
    until(lambda: len(lines(app)) == 3, "the window shows three lines")
    shown = lines(app)
    if not shown[2].startswith("Used="):
        fail(f"the window holds the lines {shown}")
    # The total moves only with memory hot-plugging: the one read here is the one shown.
    expected = kb(meminfo()["MemTotal"])
    if figure(shown[0], "Total=") != expected:
        fail(f"{shown[0]} while the kernel has {expected} kb")
    for name in ("Exit", "Options"):
        button = need(window, "push button", name)
        if button.parent != window:
            fail(f"{name} is not a child of the window")
    print(f"ok: Total {shown[0]} is the kernel's {expected}")


def check_tick(app):
    """Waits, with the event loop running, for the Aval line to follow the kernel's figure and
    for the event that tells a listener so."""
    from gi.repository import GLib

    before = lines(app)[1]
    told = []

    def on_name_change(event):
        if event.source.getRoleName() == "label" and event.source.name.startswith("Aval="):
            told.append(event.source.name)

    pyatspi.Registry.registerEventListener(on_name_change,
                                           "object:property-change:accessible-name")
    # Memory taken here moves the available figure by far more than the noise around it.
    ballast = b"\x01" * (192 << 20)
    tolerance = 48 << 10
    deadline = time.time() + 10
    result = {}

    def poll():
        low = kb(meminfo()["MemAvailable"])
        line = lines(app)[1]
        high = kb(meminfo()["MemAvailable"])
        shown = figure(line, "Aval=")
        followed = min(low, high) - tolerance <= shown <= max(low, high) + tolerance
        if line != before and followed and told:
            result["ok"] = f"after a tick {before} became {line}, the kernel's {low}..{high}; " \
                           f"a listener was told {told[-1]}"
        if result or time.time() > deadline:
            result.setdefault("last", f"{line} against the kernel's {low}..{high}, told {told}")
            pyatspi.Registry.stop()
            return False
        return True

    GLib.timeout_add(100, poll)
    pyatspi.Registry.start()
    del ballast
    if "ok" not in result:
        fail(f"Aval did not follow from {before}: {result['last']}")
    print("ok: " + result["ok"])


def press(app, name):
    for role in ("push button", "check box"):
        button = find(app, role, name)
        if button is not None:
            action = button.queryAction()
            names = [action.getName(i) for i in range(action.nActions)]
            if names != ["Press"]:
                fail(f"{name} offers {names}")
            action.doAction(0)
            print(f"ok: pressed {name}")
            return
    fail(f'no button named "{name}"')


def check_options(app):
    until(lambda: find(app, "dialog", "Kelvo V.1.0.1"), 'no dialog "Kelvo V.1.0.1" opened')
    dialog = need(app, "dialog", "Kelvo V.1.0.1")
    field = need(dialog, "text", "Check Every:")
    if field.description != "msec":
        fail(f'the field is described as "{field.description}"')
    if field.queryText().getText(0, -1) != "1000":
        fail("the field does not hold the period 1000")
    for text in ("Check Every:", "msec", "Kelvo V.1.0.1", "Physical memory monitor"):
        need(dialog, "label", text)
    need(dialog, "check box", "On top")
    need(dialog, "push button", "Return")
    print("ok: the dialog's field, labels and buttons carry their names")


def check_checked(app, name, want):
    checked = lambda: need(app, "check box", name).getState().contains(pyatspi.STATE_CHECKED)
    until(lambda: checked() == (want == "yes"), f'"{name}" did not come to be checked: {want}')
    print(f'ok: "{name}" checked: {want}')


def check_gone(app, role, name):
    until(lambda: find(app, role, name) is None, f'{role} "{name}" is still showing')
    print(f'ok: {role} "{name}" is gone')


def main():
    pid, step, args = int(sys.argv[1]), sys.argv[2], sys.argv[3:]
    found = {}

    def on_bus():
        found["app"] = program(pid)
        return found["app"] is not None and find(found["app"], "frame", "Kelvo") is not None

    until(on_bus, f"the program (pid {pid}) is not on the accessibility bus", 20)
    app = found["app"]
    steps = {"tree": print_tree, "monitor": check_monitor, "tick": check_tick, "press": press,
             "options": check_options, "checked": check_checked, "gone": check_gone}
    if step not in steps:
        fail("unknown step " + step)
    steps[step](app, *args)


main()
