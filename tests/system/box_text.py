"""Prints the text of a box of the running program, read over AT-SPI as a screen reader reads
it, once it equals the expected text or after 10 s; fails when it never did.
Usage: box_text.py WINDOW_TITLE BOX_NAME [EXPECTED]"""
import sys
import time

import pyatspi

from window_node import find


def box_text(window_title, box_name):
    box = find(window_title, pyatspi.ROLE_TEXT, box_name)
    if box is None:
        return None
    text = box.queryText()
    return text.getText(0, text.characterCount)


def main():
    window_title, box_name = sys.argv[1:3]
    expected = sys.argv[3] if len(sys.argv) > 3 else None
    shown = None
    for _ in range(100):
        shown = box_text(window_title, box_name)
        if shown is not None and (expected is None or shown == expected):
            break
        time.sleep(0.1)
    print(shown if shown is not None else "")
    sys.exit(0 if shown is not None and (expected is None or shown == expected) else 1)


if __name__ == "__main__":
    main()
