#!/usr/bin/env python3
"""Looks at zavora-demo from outside through AT-SPI, as a screen reader does: the Write button, key slot 1
with its label and the mode list with its item must be found by role and name.

Usage: atspi_check.py --demo PATH
Runs itself again inside a private D-Bus session (dbus-run-session) with a private X server; the
demo starts with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1. Exits 77 (skipped) where Xvfb, dbus-run-session,
the accessibility bus or pyatspi is missing.
"""

import argparse
import os
import subprocess
import sys
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "journeys"))

from journey import Demo, HarnessError, XServer  # noqa: E402

from atspi_bus import run_inside_bus, skip, walk  # noqa: E402

def find_app(pyatspi, pid, timeout=15.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            try:
                if app is not None and app.get_process_id() == pid:
                    return app
            except Exception:
                continue
        time.sleep(0.3)
    return None


def inside(demo_path):
    try:
        import pyatspi
    except ImportError:
        return skip("python3-pyatspi is not installed")
    server = XServer()
    try:
        server.start()
    except HarnessError as error:
        return skip(str(error))
    demo = Demo(demo_path, server.display, "/tmp", "atspi")
    # Journeys drop the caller's QT_ and XDG_ variables; the accessibility bus needs the session's.
    demo.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
    demo.env["DBUS_SESSION_BUS_ADDRESS"] = os.environ["DBUS_SESSION_BUS_ADDRESS"]
    failures = []
    try:
        demo.start()
        app = find_app(pyatspi, demo.process.pid)
        if app is None:
            return skip("the demo never appeared on the accessibility bus (no at-spi2-core bus?)")
        want = {
            "the Write button": lambda n, r: r == pyatspi.ROLE_PUSH_BUTTON and n == "Write",
            "key slot 1 with its label": lambda n, r: r == pyatspi.ROLE_PUSH_BUTTON and n.startswith("Key 1: ")
            and len(n) > len("Key 1: "),
            "the mode list with its item": lambda n, r: r == pyatspi.ROLE_COMBO_BOX and n == "Playstation4",
            "a palette function": lambda n, r: r == pyatspi.ROLE_PUSH_BUTTON and n == "L1",
            "the D-Pad selector, on": lambda n, r: r in (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON)
            and n == "D-Pad",
        }
        found = {}
        deadline = time.monotonic() + 10
        while len(found) < len(want) and time.monotonic() < deadline:
            for node in walk(app, limit=12):
                try:
                    name, role = node.name or "", node.getRole()
                except Exception:
                    continue
                for what, test in want.items():
                    if what not in found and test(name, role):
                        found[what] = node
            if len(found) < len(want):
                time.sleep(0.5)
        for what in want:
            if what in found:
                print(f"found {what}: {found[what].name!r}", flush=True)
            else:
                failures.append(f"no accessible for {what}")
        selector = found.get("the D-Pad selector, on")
        if selector is not None and not selector.getState().contains(pyatspi.STATE_CHECKED):
            failures.append("the D-Pad selector is on but its accessible is not checked")
    finally:
        demo.stop()
        demo.clean()
        server.stop()
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
    return run_inside_bus(__file__, demo, ("Xvfb", "xdotool", "import"), timeout=120)

if __name__ == "__main__":
    sys.exit(main())
