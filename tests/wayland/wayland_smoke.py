#!/usr/bin/env python3
"""zavora-demo as a native Wayland client of a headless weston: it shows its window, opens each settings
dialog and a message box and closes them, and closes cleanly. A headless compositor has no pointer or
keyboard to drive, so the buttons are pressed through AT-SPI, as assistive technology presses them.
Usage: wayland_smoke.py --demo PATH. Runs itself again inside a private D-Bus session; exits 77 where weston,
Qt's Wayland plugin (qt6-wayland), dbus-run-session, the accessibility bus or pyatspi is missing."""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "accessibility"))
from atspi_bus import find_app, run_inside_bus, skip, wait, walk  # noqa: E402

# The buttons of the KITE page that open a window, and the button that closes it again.
OPENERS = [("Sensitivity", "X"), ("Acceleration", "X"), ("Dead Zone", "X"), ("Button Option Settings", "X"),
           ("?", "OK")]


def start_weston(env):
    for backend in ("headless", "headless-backend.so"):  # older weston names its backends by their module
        weston = subprocess.Popen(["weston", f"--backend={backend}", "--socket=zavora-0", "--idle-time=0"], env=env,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        if wait(lambda: weston.poll() is not None or os.path.exists(os.path.join(env["XDG_RUNTIME_DIR"], "zavora-0")),
                5) and weston.poll() is None:
            return weston
        stop(weston)


def stop(process):
    if process is not None and process.poll() is None:
        os.killpg(process.pid, 9)  # weston and the demo run in sessions of their own
        process.wait(timeout=10)


def drive(pyatspi, demo):
    """Presses every opener and its closer, then the close button; gives the failures."""
    if (app := find_app(pyatspi, demo.pid)) is None:
        return None

    def windows():
        return [w for w in (app.getChildAtIndex(i) for i in range(app.childCount))
                if w is not None and w.getState().contains(pyatspi.STATE_SHOWING)]

    def button(root, name):
        for node in walk(root):
            try:
                if node.getRole() == pyatspi.ROLE_PUSH_BUTTON and node.name == name and \
                        node.getState().contains(pyatspi.STATE_SHOWING):
                    return node
            except Exception:
                continue

    def press(node):
        action = node.queryAction()
        try:
            action.doAction(next(i for i in range(action.nActions) if action.getName(i) == "Press"))
        except Exception:
            pass  # the answer comes when the window it opened closes

    if (main := wait(lambda: next((w for w in windows() if w.name == "ZAV Software"), None))) is None:
        return ["the main window was never shown"]
    failures = []
    for opener, closer in OPENERS:
        before, count = {w.name for w in windows()}, len(windows())
        if (knob := button(main, opener)) is None:
            failures.append(f"no button {opener!r} on the page")
            continue
        press(knob)
        opened = wait(lambda: len(windows()) > count and next(
            (w for w in windows() if w.name not in before or w.name == ""), None))
        if close := opened and button(opened, closer):
            press(close)
        if not close or not wait(lambda: len(windows()) == count):
            failures.append(f"{opener!r} opened no window that {closer!r} closes")
    press(button(main, "X"))
    code = demo.returncode if wait(lambda: demo.poll() is not None, 15) else None
    return failures + ([] if code == 0 else [f"the demo did not close cleanly (exit {code})"])


def inside(demo_path):
    try:
        import pyatspi
        from gi.repository import Atspi
    except ImportError:
        return skip("python3-pyatspi is not installed")
    Atspi.set_timeout(800, 10000)  # a press opens a modal window and answers only when it closes
    home = tempfile.mkdtemp(prefix="zavora-wayland-")
    env = {k: v for k, v in os.environ.items() if not k.startswith(("QT_", "XDG_", "DISPLAY"))}
    env.update(XDG_RUNTIME_DIR=os.path.join(home, "run"), WAYLAND_DISPLAY="zavora-0", QT_QPA_PLATFORM="wayland",
               QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", HOME=home, ZAVORA_DOCUMENTS_DIR=os.path.join(home, "profiles"),
               LANG="C.UTF-8")
    # The Wayland client libraries leave allocations of their own at exit; our own leaks are looked for elsewhere.
    env["ASAN_OPTIONS"] = ":".join(filter(None, [env.get("ASAN_OPTIONS"), "detect_leaks=0"]))
    for folder in (env["XDG_RUNTIME_DIR"], env["ZAVORA_DOCUMENTS_DIR"]):
        os.makedirs(folder, mode=0o700)
    weston = demo = None
    try:
        if (weston := start_weston(env)) is None:
            return skip("weston --backend=headless would not start here")
        with tempfile.TemporaryFile("w+", dir=home) as log:
            demo = subprocess.Popen([demo_path, "--model", "kite", "--mouse", "own"], env=env, stdout=log,
                                    stderr=subprocess.STDOUT, start_new_session=True)
            failures = drive(pyatspi, demo)
            log.seek(0)
            said = log.read()
        if failures is None:
            return skip("Qt's Wayland platform plugin (qt6-wayland) is not installed" if "platform plugin" in said
                        else "the demo never appeared on the accessibility bus")
        print(said if failures else "every window opened and closed, and the demo closed cleanly", flush=True)
    finally:
        stop(demo)
        stop(weston)
        shutil.rmtree(home, ignore_errors=True)
    for failure in failures:
        print(f"FAIL: {failure}", flush=True)
    return 1 if failures else 0


if __name__ == "__main__":
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--demo", required=True)
    parser.add_argument("--inside", action="store_true", help=argparse.SUPPRESS)
    args = parser.parse_args()
    sys.exit(inside(os.path.abspath(args.demo)) if args.inside else run_inside_bus(__file__, ("weston",), 170))
