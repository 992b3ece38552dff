#!/usr/bin/python3
"""What a screen reader finds in the running program, asked through AT-SPI.

Usage: atspi_check.py BIN_DIR PID WHAT
WHAT is one of: main (the main window), dialog (the key dialog), note (the
confirmation after Apply), about (the About box). Waits until the program's
windows are on the accessibility bus, then checks that every control the
check names is there with its name and role; exits 1 saying what is missing.
"""
import re
import sys
import time

import pyatspi

LIMIT_S = 60


def language(bin_dir):
    texts = {}
    with open(f"{bin_dir}/Lang0409.ini", encoding="utf-8") as f:
        for line in f:
            m = re.match(r"^([A-Za-z0-9_]+)=(.*)$", line.rstrip("\r\n"))
            if m:
                value = m.group(2)
                if len(value) >= 2 and value[0] == value[-1] == '"':
                    value = value[1:-1]
                texts.setdefault(m.group(1), value)
    return texts


def application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:  # an application that left the bus meanwhile
            continue
    return None


def showing(node):
    try:
        return node.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


def walk(node, out, depth=-1):
    """Every showing control below `node` as (role name, name, node), down
    to `depth` levels (all without one)."""
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is None or not showing(child):
            continue
        out.append((child.getRoleName(), child.name or "", child))
        if depth != 1:
            walk(child, out, depth - 1)
    return out


def frames(app):
    return [(f.name or "", f) for f in (app.getChildAtIndex(i) for i in range(app.childCount))
            if f is not None and showing(f)]


class Check:
    def __init__(self, texts):
        self.t = texts
        self.problems = []

    def need(self, found, role, name, what=None):
        if not any(r == role and n == name for r, n, _ in found):
            self.problems.append(f"no {role} named {name!r}" + (f" ({what})" if what else ""))

    def main(self, found):
        t = self.t
        buttons = [n for r, n, _ in found if r == "push button"]
        keys = {n.split(": ")[0] for n in buttons}
        # The picture's keys are named by the language file's key names.
        key_names = {v for k, v in t.items() if k.startswith("IDS_KEYBOARD_")}
        picture = {n for n in keys if n in key_names}
        if len(picture) < 106:
            self.problems.append(f"only {len(picture)} of the 106 keys named: {sorted(picture)}")
        for name in ["Fn"] + [f"G{i}" for i in range(1, 10)]:
            if name not in keys:
                self.problems.append(f"no push button named {name!r}")
        for key in ("PROFILE_OK", "PROFILE_CANCLE", "PROFILE_APPLY", "PROFILE_1", "PROFILE_2",
                    "PROFILE_3", "PROFILE_DEFAULT", "PROFILE_MACRO", "MAIN_HELP_PROMPT",
                    "MAIN_CLOSE_PROMPT", "MAIN_MINIMIZE_PROMPT", "MAIN_MENU_PROMPT"):
            self.need(found, "push button", t[key], key)
        sliders = {n: node for r, n, node in found if r == "slider"}
        for key in ("Light", "Speed"):
            node = sliders.get(t[key])
            if node is None:
                self.problems.append(f"no slider named {t[key]!r}")
                continue
            value = node.queryValue()
            if not value.minimumValue <= value.currentValue <= value.maximumValue:
                self.problems.append(f"slider {t[key]!r} reads {value.currentValue}, "
                                     f"outside {value.minimumValue}-{value.maximumValue}")
        if not any(r == "combo box" for r, _, _ in found):
            self.problems.append("no combo box (the lighting mode list)")

    def dialog(self, found):
        t = self.t
        for key in ("MACRO_OK", "MACRO_CANCLE", "SINGLE_KEY", "MULTI_MEDIA", "FUNCTION_KEY",
                    "MACRO_SETTING", "A_CLEAR", "COMPOSITE_PROMPT_OSK"):
            self.need(found, "push button", t[key], key)
        # The key field and the lists are named by the labels beside them.
        if not any(r in ("text", "entry") and n == t["SINGLE_STATIC"] for r, n, _ in found):
            self.problems.append(f"no text field named {t['SINGLE_STATIC']!r}")
        for key in ("IDS_MACRO_KB_KEY", "IDS_MACRO_MOU_KEY"):
            self.need(found, "check box", t[key], key)

    def note(self, found):
        self.need(found, "label", self.t["CONFIRM_APPLIED"], "the confirmation after Apply")

    def about(self, found):
        t = self.t
        self.need(found, "push button", t["LANG_ABOUT_OK"], "LANG_ABOUT_OK")
        if not any(r == "label" and n.startswith(t["ABOUT_VERSION"].split("%")[0]) for r, n, _ in found):
            self.problems.append("no label with the version")
        keyboard = t["ABOUT_KEYBOARD_SIMULATED"].split("%")[0]
        if not any(r == "label" and n.startswith(keyboard) for r, n, _ in found):
            self.problems.append("no label naming the keyboard model")


def main():
    bin_dir, pid, what = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    texts = language(bin_dir)
    titles = {"main": texts["MAIN_CAPTION"], "note": texts["MAIN_CAPTION"],
              "about": texts["LANG_ABOUT_TITLE"], "dialog": None}
    end = time.monotonic() + LIMIT_S
    app = None
    while True:
        check = Check(texts)
        app = app or application(pid)
        if app is None:
            check.problems = [f"process {pid} never appeared on the accessibility bus"]
        else:
            wanted = titles[what]
            shown = frames(app)
            chosen = [f for n, f in shown if (n == wanted if wanted else n != texts["MAIN_CAPTION"])]
            if not chosen:
                check.problems = [f"no window {wanted or 'other than the main window'!r} among "
                                  f"{[n for n, _ in shown]}"]
            else:
                found = []
                for f in chosen:
                    # The note lives a few seconds, on the window itself:
                    # one level is quick enough to catch it.
                    walk(f, found, 1 if what == "note" else -1)
                getattr(check, what)(found)
        if not check.problems:
            print(f"{what}: found everything")
            return 0
        if time.monotonic() > end:
            for p in check.problems:
                print(f"{what}: {p}", file=sys.stderr)
            if app is not None:
                found = []
                for n, f in frames(app):
                    if what in ("main", "note") or n != texts["MAIN_CAPTION"]:
                        walk(f, found)
                print("seen: " + "; ".join(f"{r}:{n}" for r, n, _ in found[:400]), file=sys.stderr)
            return 1
        time.sleep(0.2)


if __name__ == "__main__":
    sys.exit(main())
