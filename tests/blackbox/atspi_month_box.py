#!/usr/bin/python3
# Drives the running program through the desktop's accessibility bus as a screen reader would:
# toggles the September box with its Toggle action, presses "Nyomtatás" and prints what the
# monthly preview reads out for September, for the caller to compare with the printed card.
#   atspi_month_box.py  (the program must be running on the same session bus)
import sys
import time

import pyatspi


def find_application(name, seconds=60):
    deadline = time.time() + seconds
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == name:
                return app
        time.sleep(0.2)
    sys.exit(f"no application {name!r} on the accessibility bus")


def find(root, predicate):
    found = pyatspi.findDescendant(root, predicate, True)
    if found is None:
        sys.exit("no such control")
    return found


def do_action(accessible, wanted):
    action = accessible.queryAction()
    for i in range(action.nActions):
        if action.getName(i).lower() == wanted.lower():
            action.doAction(i)
            return
    names = [action.getName(i) for i in range(action.nActions)]
    sys.exit(f"{accessible.name!r} has no action {wanted!r}: {names}")


app = find_application("velunorh")
september = find(app, lambda a: a.getRoleName() == "check box" and a.name == "Szept")
if september.getState().contains(pyatspi.STATE_CHECKED):
    sys.exit("September was already ticked")
do_action(september, "Toggle")
time.sleep(0.5)
if not september.getState().contains(pyatspi.STATE_CHECKED):
    sys.exit("the Toggle action did not tick September")

preview = find(app, lambda a: a.name == "Havi adatok előnézete")
months = preview.description.splitlines()
line = next((l for l in months if l.startswith("Szept:")), None)
if line is None:
    sys.exit(f"the monthly preview reads no September: {months}")

do_action(find(app, lambda a: a.getRoleName() == "push button" and a.name == "Nyomtatás"), "Press")
print(line)
