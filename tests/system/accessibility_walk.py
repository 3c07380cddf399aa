"""Walks the running program's three windows through the accessibility tree (AT-SPI) and
checks the name of every input, and the buttons of a question, as a screen reader would read
them.
Usage: accessibility_walk.py PASSWORD FIRST_TAB THIRD_TAB"""
import os
import re
import sys
import time

import pyatspi

INPUT_ROLES = {
    pyatspi.ROLE_TEXT, pyatspi.ROLE_PASSWORD_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_LIST,
    pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_COMBO_BOX,
}
SETTINGS_INPUTS = (["パスワードの設定"] * 2 + ["自動ログオフ時間(1-60分)"]
                   + [f"ﾀﾌﾞ{i}" for i in range(1, 11)])


def wait_for(what, find):
    for _ in range(200):
        found = find()
        if found is not None:
            return found
        time.sleep(0.1)
    app = program()
    shown = [w.name for w in children(app)] if app else "no program"
    sys.exit(f"FAIL: {what} did not appear; the program shows {shown}")


def children(node):
    return [node.getChildAtIndex(i) for i in range(node.childCount)]


def program():
    desktop = pyatspi.Registry.getDesktop(0)
    # Nothing here runs the event loop that would keep the cached tree current.
    desktop.clearCache()
    return next((app for app in children(desktop) if app and app.name == "velandri"), None)


def window(title):
    app = program()
    return next((w for w in children(app) if w.name == title), None) if app else None


def inputs(node):
    found = [node] if node.getRole() in INPUT_ROLES else []
    for child in children(node):
        found += inputs(child)
    return found


def check_names(title, expected):
    shown = wait_for(f"the window {title}", lambda: window(title))
    boxes = inputs(shown)
    names = [box.name for box in boxes]
    print(f"{title}: " + ", ".join(f"{box.getRoleName()} '{box.name}'" for box in boxes))
    if names != expected:
        sys.exit(f"FAIL: {title} names its inputs {names}, expected {expected}")
    return boxes


def descendants(node, role):
    found = [node] if node.getRole() == role else []
    for child in children(node):
        found += descendants(child, role)
    return found


def named(node, role, name):
    return next((n for n in [node] + children(node) if n.getRole() == role and n.name == name),
                None)


def main():
    password, first_tab, third_tab = sys.argv[1:4]
    gate_box, = check_names("パスワード入力", ["パスワード入力"])
    if gate_box.getRole() != pyatspi.ROLE_PASSWORD_TEXT:
        sys.exit("FAIL: the gate's box is not a password box")
    gate_box.queryEditableText().setTextContents(password)

    main_title = "Velandri  Version" + os.environ["VELANDRI_VERSION"]
    check_names(main_title, [first_tab, "タイトル", "URL", "内容", "検索"])
    main_window = window(main_title)
    tabs = next(n for n in children(main_window) if n.getRole() == pyatspi.ROLE_PAGE_TAB_LIST)
    named(tabs, pyatspi.ROLE_PAGE_TAB, third_tab).queryAction().doAction(0)
    wait_for("the list named after the third tab",
             lambda: named(main_window, pyatspi.ROLE_LIST, third_tab))
    print(f"{main_title}: after choosing the third tab, list '{third_tab}'")

    check_question_buttons(main_title)

    settings = named(window(main_title), pyatspi.ROLE_PUSH_BUTTON, "各種設定")
    settings.queryAction().doAction(0)
    boxes = check_names("各種設定", SETTINGS_INPUTS)
    if boxes[2].description != "(0はログオフしない)":
        sys.exit(f"FAIL: the minutes box is described as '{boxes[2].description}'")


def check_question_buttons(main_title):
    """The question of "戻る" over an unregistered title: Qt's own buttons speak Japanese, as
    every other text does, whatever the locale."""
    named(window(main_title), pyatspi.ROLE_PUSH_BUTTON, "URL設定").queryAction().doAction(0)

    def focused_title_box():
        box = named(window(main_title), pyatspi.ROLE_TEXT, "タイトル")
        return box if box.getState().contains(pyatspi.STATE_FOCUSED) else None

    # The press arrives a moment later; it gives the title box the focus.
    wait_for("the edit row", focused_title_box).queryEditableText().setTextContents("未登録")
    named(window(main_title), pyatspi.ROLE_PUSH_BUTTON, "戻る").queryAction().doAction(0)
    question = wait_for("the question of 戻る", lambda: window("問い合わせ"))
    buttons = descendants(question, pyatspi.ROLE_PUSH_BUTTON)
    print("問い合わせ: buttons " + ", ".join(f"'{button.name}'" for button in buttons))
    # The mnemonic's letter, as in "はい(Y)", is the platform's way of showing it.
    answers = {re.sub(r"\(\w\)$", "", button.name): button for button in buttons}
    if sorted(answers) != sorted(["はい", "いいえ"]) or len(buttons) != 2:
        sys.exit(f"FAIL: the question's buttons are {[b.name for b in buttons]}, not はい and いいえ")
    answers["いいえ"].queryAction().doAction(0)


if __name__ == "__main__":
    main()
