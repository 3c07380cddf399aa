"""Searches the running program's bookmarks with real key events (xdotool) and reads the main
window's list through the accessibility tree (AT-SPI) after each step.
Usage: search_walk.py BROWSER_LOG"""
import os
import subprocess
import sys
import time

import pyatspi

from accessibility_walk import children, window

MAIN_TITLE = "Velandri  Version" + os.environ["VELANDRI_VERSION"]


def the_list():
    return next((n for n in children(window(MAIN_TITLE)) if n.getRole() == pyatspi.ROLE_LIST),
                None)


def the_button(name):
    return next(n for n in children(window(MAIN_TITLE)) if n.name == name)


def lines():
    return [line.name for line in children(the_list())]


def lines_start(prefixes):
    shown = lines()
    return len(shown) == len(prefixes) and all(map(str.startswith, shown, prefixes))


def wait_for(what, check):
    for _ in range(100):
        try:
            if check():
                return
        except (AttributeError, TypeError, StopIteration):
            pass  # the window or the list is not there yet
        time.sleep(0.1)
    sys.exit(f"FAIL: {what}; the list '{the_list().name}' shows {lines()}")


def xdotool(*arguments):
    subprocess.run(["xdotool", *arguments], check=True)
    time.sleep(0.3)


def show(step):
    print(f"{step}: list '{the_list().name}'")
    for line in lines():
        print(f"  {line}")


def main():
    browser_log = sys.argv[1]
    wait_for("no main window with its list", lambda: the_list() is not None)
    tab_lines = lines()
    show("at start")

    # Into the list below its lines: it takes the focus, no line is selected.
    x, y, width, height = the_list().queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    xdotool("mousemove", str(x + width // 2), str(y + height - 8), "click", "1")
    xdotool("type", "--delay", "80", "NEWS")
    wait_for("NEWS did not find Yahoo (host) before NHK (path)",
             lambda: lines_start(["ニュース ›   2 : Ｙａｈｏｏ！", "ニュース ›   1 : ＮＨＫニュース"]))
    show("after typing NEWS")
    if the_button("削除").getState().contains(pyatspi.STATE_SENSITIVE):
        sys.exit("FAIL: 削除 is enabled while searching")

    xdotool("key", "Return")
    wait_for("Return opened nothing", lambda: os.path.exists(browser_log))
    with open(browser_log, encoding="utf-8") as log:
        opened = log.read().split()
    print(f"Return: the browser received {opened}")
    if opened != ["https://news.yahoo.co.jp/"]:
        sys.exit("FAIL: Return opened the wrong address")

    xdotool("key", "Escape")
    wait_for("Esc did not restore the tab's list", lambda: lines() == tab_lines)
    show("after Esc")

    xdotool("key", "ctrl+f")
    xdotool("type", "--delay", "80", "うぃき")
    wait_for("うぃき did not find ウィキペディア alone",
             lambda: lines_start(["調べもの ›   1 : ウィキペディア"]))
    show("after Ctrl+F and うぃき")

    xdotool("key", "ctrl+Return")
    wait_for("Ctrl+Return did not show the entry in its tab",
             lambda: the_list().name == "調べもの" and
             children(the_list())[0].getState().contains(pyatspi.STATE_SELECTED))
    show("after Ctrl+Return")
    if not the_button("削除").getState().contains(pyatspi.STATE_SENSITIVE):
        sys.exit("FAIL: 削除 is not enabled for the selected entry")
    print("search: all steps passed")


if __name__ == "__main__":
    main()
