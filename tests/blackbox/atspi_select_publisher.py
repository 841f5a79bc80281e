#!/usr/bin/python3
# Drives the running program through the desktop's accessibility bus as a screen reader would:
# selects the publisher named on the command line in the list with the line's own action (or
# the list's selection interface where the line has none), presses "Nyomtatás", and prints what
# the header preview reads out, for the caller to compare with the printed card.
#   atspi_select_publisher.py FAMILY_NAME  (the program must be running on the same session bus)
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


def find(root, predicate, what):
    found = pyatspi.findDescendant(root, predicate, True)
    if found is None:
        sys.exit(f"no {what}")
    return found


def action_index(accessible, wanted):
    try:
        action = accessible.queryAction()
    except NotImplementedError:
        return None
    for i in range(action.nActions):
        if action.getName(i).lower() in wanted:
            return i
    return None


family = sys.argv[1]
app = find_application("velunorh")
publishers = find(app, lambda a: a.name == "Hírnökök", "publisher list")
line = find(publishers, lambda a: family in (a.name or ""), f"line of {family}")
if line.getState().contains(pyatspi.STATE_SELECTED):
    sys.exit(f"{family} was already selected")
index = action_index(line, ("toggle", "select"))
if index is not None:
    line.queryAction().doAction(index)
else:
    publishers.querySelection().selectChild(line.getIndexInParent())
time.sleep(0.5)
if not line.getState().contains(pyatspi.STATE_SELECTED):
    sys.exit(f"the action did not select {family}")

header = find(app, lambda a: a.name.startswith("Fejléc előnézete"), "header preview")
print(" ".join(header.description.splitlines()))
press = find(app, lambda a: a.getRoleName() == "push button" and a.name == "Nyomtatás", "print")
press.queryAction().doAction(action_index(press, ("press",)))
