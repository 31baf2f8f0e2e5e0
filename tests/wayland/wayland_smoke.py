#!/usr/bin/env python3
"""zavora-demo as a native Wayland client of a headless weston: it starts and shows its window, opens each
settings dialog and a message box and closes them, and closes cleanly. There is no pointer or keyboard to
drive on a headless compositor, so the buttons are pressed through AT-SPI, as assistive technology
presses them.

Usage: wayland_smoke.py --demo PATH
Runs itself again inside a private D-Bus session. Exits 77 (skipped) where weston, Qt's Wayland plugin
(qt6-wayland), dbus-run-session, the accessibility bus or pyatspi is missing.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "accessibility"))
from atspi_bus import run_inside_bus, skip, walk  # noqa: E402

# The buttons of the KITE page that open a window, and the button that closes it again.
OPENERS = [("Sensitivity", "X"), ("Acceleration", "X"), ("Dead Zone", "X"),
           ("Button Option Settings", "X"), ("?", "OK")]


class Session:
    def __init__(self, demo_path):
        self.demo_path = demo_path
        self.home = tempfile.mkdtemp(prefix="zavora-wayland-")
        self.runtime = os.path.join(self.home, "run")
        os.makedirs(self.runtime, mode=0o700)
        self.weston = None
        self.demo = None
        self.log = open(os.path.join(self.home, "demo.log"), "w")

    def start_weston(self):
        # Older weston names its backends by their module file.
        for backend in ("headless", "headless-backend.so"):
            env = dict(os.environ, XDG_RUNTIME_DIR=self.runtime)
            self.weston = subprocess.Popen(["weston", f"--backend={backend}", "--socket=zavora-0",
                                            "--idle-time=0"], env=env, stdout=subprocess.DEVNULL,
                                           stderr=subprocess.DEVNULL, start_new_session=True)
            deadline = time.monotonic() + 5
            while time.monotonic() < deadline and self.weston.poll() is None:
                if os.path.exists(os.path.join(self.runtime, "zavora-0")):
                    return True
                time.sleep(0.1)
            self.stop_weston()
        return False

    def stop_weston(self):
        if self.weston is not None and self.weston.poll() is None:
            os.killpg(self.weston.pid, 15)
            self.weston.wait(timeout=10)
        self.weston = None

    def start_demo(self):
        env = {k: v for k, v in os.environ.items() if not k.startswith(("QT_", "XDG_", "DISPLAY"))}
        env.update({"XDG_RUNTIME_DIR": self.runtime, "WAYLAND_DISPLAY": "zavora-0", "QT_QPA_PLATFORM": "wayland",
                    "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1", "HOME": self.home,
                    "ZAVORA_DOCUMENTS_DIR": os.path.join(self.home, "profiles"), "LANG": "C.UTF-8"})
        # In a sanitizer build the Wayland client libraries leave allocations of their own at exit; what
        # this smoke test looks at is the window's life on Wayland, and our own leaks are looked for elsewhere.
        env["ASAN_OPTIONS"] = ":".join(filter(None, [env.get("ASAN_OPTIONS"), "detect_leaks=0"]))
        os.makedirs(env["ZAVORA_DOCUMENTS_DIR"])
        self.demo = subprocess.Popen([self.demo_path, "--model", "kite", "--mouse", "own"], env=env,
                                     stdout=self.log, stderr=subprocess.STDOUT)

    def stop(self):
        if self.demo is not None and self.demo.poll() is None:
            self.demo.kill()
            self.demo.wait()
        self.stop_weston()
        self.log.close()
        shutil.rmtree(self.home, ignore_errors=True)

    def demo_log(self):
        with open(os.path.join(self.home, "demo.log")) as f:
            return f.read()


def inside(demo_path):
    try:
        import pyatspi
        from gi.repository import Atspi
    except ImportError:
        return skip("python3-pyatspi is not installed")
    # A press opens a modal window and answers only when it closes: do not wait for the answer.
    Atspi.set_timeout(800, 10000)
    session = Session(demo_path)
    failures = []
    try:
        if not session.start_weston():
            return skip("weston --backend=headless would not start here")
        session.start_demo()

        def app_of():
            desktop = pyatspi.Registry.getDesktop(0)
            for i in range(desktop.childCount):
                app = desktop.getChildAtIndex(i)
                try:
                    if app is not None and app.get_process_id() == session.demo.pid:
                        return app
                except Exception:
                    continue
            return None

        def windows(app):
            shown = []
            for i in range(app.childCount):
                w = app.getChildAtIndex(i)
                if w is not None and w.getState().contains(pyatspi.STATE_SHOWING):
                    shown.append(w)
            return shown

        def button(root, name):
            for node in walk(root):
                try:
                    if node.getRole() == pyatspi.ROLE_PUSH_BUTTON and node.name == name and \
                            node.getState().contains(pyatspi.STATE_SHOWING):
                        return node
                except Exception:
                    continue
            return None

        def press(node):
            action = node.queryAction()
            for i in range(action.nActions):
                if action.getName(i) == "Press":
                    try:
                        action.doAction(i)
                    except Exception:
                        pass  # the answer comes when the window it opened closes
                    return
            raise RuntimeError(f"{node.name} has no Press action")

        def wait(test, timeout=10.0):
            deadline = time.monotonic() + timeout
            while time.monotonic() < deadline:
                result = test()
                if result:
                    return result
                time.sleep(0.2)
            return None

        app = wait(app_of, 20)
        if app is None:
            if session.demo.poll() is not None and "platform plugin" in session.demo_log():
                return skip("Qt's Wayland platform plugin (qt6-wayland) is not installed")
            return skip("the demo never appeared on the accessibility bus")
        main = wait(lambda: next((w for w in windows(app) if w.name == "ZAV Software"), None))
        if main is None:
            failures.append("the main window was never shown")
        else:
            print("the main window is shown", flush=True)
            for opener, closer in OPENERS:
                start = {w.name for w in windows(app)}
                count = len(windows(app))
                knob = button(main, opener)
                if knob is None:
                    failures.append(f"no button {opener!r} on the page")
                    continue
                press(knob)
                opened = wait(lambda: len(windows(app)) > count and
                              next((w for w in windows(app) if w.name not in start or w.name == ""), None))
                if not opened:
                    failures.append(f"{opener!r} opened no window")
                    continue
                close = button(opened, closer)
                if close is None:
                    failures.append(f"the window of {opener!r} has no {closer!r}")
                    continue
                press(close)
                if not wait(lambda: len(windows(app)) == count):
                    failures.append(f"the window of {opener!r} did not close with {closer!r}")
                else:
                    print(f"{opener!r} opened a window and {closer!r} closed it", flush=True)
            press(button(main, "X"))
            try:
                code = session.demo.wait(timeout=15)
            except subprocess.TimeoutExpired:
                code = None
            if code != 0:
                failures.append(f"the demo did not close cleanly (exit {code})")
            else:
                print("closed cleanly", flush=True)
        if failures:
            print(session.demo_log(), flush=True)
    finally:
        session.stop()
    for failure in failures:
        print(f"FAIL: {failure}", flush=True)
    return 1 if failures else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--demo", required=True)
    parser.add_argument("--inside", action="store_true", help=argparse.SUPPRESS)
    args = parser.parse_args()
    demo = os.path.abspath(args.demo)
    if args.inside:
        return inside(demo)
    return run_inside_bus(__file__, demo, ("weston",), timeout=170)

if __name__ == "__main__":
    sys.exit(main())
