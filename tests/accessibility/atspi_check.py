#!/usr/bin/env python3
"""zavora-demo seen through AT-SPI, as a screen reader sees it: the Write button, key slot 1 with its label,
the mode list with its item, a palette function and the D-Pad selector (checked), by role and name.
Usage: atspi_check.py --demo PATH. Runs itself again on a private D-Bus session and X server; exits 77 where
Xvfb, dbus-run-session, the accessibility bus or pyatspi is missing."""

import argparse
import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "journeys"))

from atspi_bus import find_app, run_inside_bus, skip, wait, walk  # noqa: E402
from journey import on_own_server  # noqa: E402


def look(demo):
    import pyatspi
    button, toggle = pyatspi.ROLE_PUSH_BUTTON, (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON)
    want = {"the Write button": lambda n, r: r == button and n == "Write",
            "key slot 1 with its label": lambda n, r: r == button and n.startswith("Key 1: ") and len(n) > 7,
            "the mode list with its item": lambda n, r: r == pyatspi.ROLE_COMBO_BOX and n == "Playstation4",
            "a palette function": lambda n, r: r == button and n == "L1",
            "the D-Pad selector": lambda n, r: r in toggle and n == "D-Pad"}
    app, found = find_app(pyatspi, demo.process.pid), {}
    if app is None:
        return skip("the demo never appeared on the accessibility bus")

    def all_found():
        for node in walk(app, limit=12):
            try:
                found.update({what: node for what, test in want.items() if test(node.name or "", node.getRole())})
            except Exception:
                continue
        return len(found) == len(want)
    wait(all_found)
    failures = [f"no accessible for {what}" for what in want if what not in found]
    selector = found.get("the D-Pad selector")
    if selector is not None and not selector.getState().contains(pyatspi.STATE_CHECKED):
        failures.append("the D-Pad selector is on but its accessible is not checked")
    return failures


if __name__ == "__main__":
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--demo", required=True)
    parser.add_argument("--inside", action="store_true", help=argparse.SUPPRESS)
    args = parser.parse_args()
    # Journeys drop the caller's QT_ and XDG_ variables; the accessibility bus needs the session's.
    sys.exit(on_own_server(args.demo, "/tmp", "atspi", look, env={
                "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
                "DBUS_SESSION_BUS_ADDRESS": os.environ["DBUS_SESSION_BUS_ADDRESS"]}) if args.inside else
             run_inside_bus(__file__, ("Xvfb", "xdotool", "import"), timeout=120))
