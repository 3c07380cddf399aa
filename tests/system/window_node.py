"""Reads, types into or presses a named control of a window of the running program, found
anywhere in its accessibility tree (AT-SPI).
Usage: window_node.py WINDOW_TITLE read BOX_NAME
       window_node.py WINDOW_TITLE type BOX_NAME TEXT
       window_node.py WINDOW_TITLE press BUTTON_NAME"""
import sys
import time

import pyatspi


def children(node):
    return [node.getChildAtIndex(i) for i in range(node.childCount)]


def descendant(node, role, name):
    for child in children(node):
        if child.getRole() == role and child.name == name:
            return child
        found = descendant(child, role, name)
        if found is not None:
            return found
    return None


def find(window_title, role, name):
    desktop = pyatspi.Registry.getDesktop(0)
    desktop.clearCache()
    for app in children(desktop):
        if not app or app.name != "velandri":
            continue
        for window in children(app):
            if window.name == window_title:
                return descendant(window, role, name)
    return None


def main():
    window_title, action, name = sys.argv[1:4]
    role = pyatspi.ROLE_PUSH_BUTTON if action == "press" else pyatspi.ROLE_TEXT
    for _ in range(100):
        node = find(window_title, role, name)
        if node is not None:
            break
        time.sleep(0.1)
    else:
        sys.exit(f"FAIL: no '{name}' in the window {window_title}")
    if action == "read":
        text = node.queryText()
        print(text.getText(0, text.characterCount))
    elif action == "type":
        node.queryEditableText().setTextContents(sys.argv[4])
    else:
        node.queryAction().doAction(0)


if __name__ == "__main__":
    main()
