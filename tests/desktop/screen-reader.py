#!/usr/bin/env python3
"""Reads the running program's accessibility tree over AT-SPI, as a screen reader does:
finds the title screen's "OK" and presses it, finds the menu's "Ardovin Sevrani" entry
by its name and role, presses it, and finds the unit page's own entries."""
import sys
import time

import pyatspi


def find_app(name, seconds):
    deadline = time.time() + seconds
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == name:
                return app
        time.sleep(0.2)
    return None


def find(root, name, role, seconds=15):
    """The first shown node under root with that name and role."""
    deadline = time.time() + seconds
    while time.time() < deadline:
        def match(node):
            try:
                return (node.name == name and node.getRole() == role
                        and node.getState().contains(pyatspi.STATE_SHOWING))
            except Exception:
                return False
        node = pyatspi.findDescendant(root, match, True)
        if node is not None:
            return node
        time.sleep(0.2)
    return None


def press(node):
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    index = names.index("Press") if "Press" in names else 0
    return action.doAction(index)


def main():
    app = find_app("Velmora", 30)
    if app is None:
        print("FAIL: no application named Velmora on the accessibility bus")
        return 1
    ok = find(app, "OK", pyatspi.ROLE_PUSH_BUTTON)
    if ok is None:
        print("FAIL: the title screen's OK button was not found")
        return 1
    press(ok)
    print("ok   title screen: OK found and pressed")
    entry = find(app, "Ardovin Sevrani", pyatspi.ROLE_PUSH_BUTTON)
    if entry is None:
        print("FAIL: the menu's Ardovin Sevrani entry was not found as a button")
        return 1
    print("ok   menu: entry 'Ardovin Sevrani' found, role push button")
    press(entry)
    facts = find(app, "Key Facts", pyatspi.ROLE_PUSH_BUTTON)
    portrait = find(app, "Portrait of Ardovin Sevrani", pyatspi.ROLE_IMAGE, 5)
    if facts is None:
        print("FAIL: pressing the entry did not bring up the unit page")
        return 1
    print("ok   unit page: 'Key Facts' entry found" + (", portrait described" if portrait else ""))
    if portrait is None:
        print("FAIL: the unit page's portrait has no name")
        return 1
    # The key-facts page reads its own text.
    press(facts)
    page = None
    deadline = time.time() + 15
    while page is None and time.time() < deadline:
        page = pyatspi.findDescendant(
            app, lambda n: n.getRole() == pyatspi.ROLE_IMAGE and len(n.description or "") > 200, True)
        time.sleep(0.2)
    if page is None:
        print("FAIL: the key-facts page has no text for a screen reader")
        return 1
    print("ok   key facts: \"%s\" reads \"%s ...\"" % (page.name, page.description[:80].replace("\n", " / ")))
    return 0


if __name__ == "__main__":
    sys.exit(main())
