#!/usr/bin/env python3
"""look.py --demo PATH --out DIR: the start, the first page's settings dialogs, a message box, each model tab and
two more languages as PNGs, taken with the mouse only, to compare two builds with `compare -metric AE`."""

import argparse, os, subprocess, sys, time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from journey import ACCELERATION, BUTTON_OPTIONS, DEAD_ZONE, LANGUAGE_LIST, SENSITIVITY, TABS, on_own_server  # noqa

DIALOGS = {"sensitivity": SENSITIVITY, "acceleration": ACCELERATION, "deadzone": DEAD_ZONE, "options": BUTTON_OPTIONS}
HELP, LANGUAGES = (637, 20, 30, 30), {"german": 2, "japanese": 3}  # HELP: the "?" beside the device switch


def shoot(demo, out):
    def grab(name, win=None, settle=demo.wait_still):
        demo.move(5, 795)
        settle()
        win = win or demo.window(demo.main.wid)
        path = os.path.join(out, f"{name}.png")
        subprocess.run(["import", "-window", "root", "-crop", f"{win.w}x{win.h}+{win.x}+{win.y}", "+repage",
                        path], env=demo.env, check=True, capture_output=True, timeout=10)
        print(path, flush=True)

    pause = lambda: time.sleep(0.8)  # noqa: E731
    grab("start")
    for name, box in DIALOGS.items():
        demo.click(demo.on_page(box))
        dialog = demo.settings_dialog(f"{name} dialog")
        grab(f"dialog-{name}", dialog, pause)
        demo.click((dialog.x + 580, dialog.y + 15), settle=0.1)  # its "X"
        demo.wait_closed(dialog, f"{name} dialog")
    demo.click(demo.on_page(HELP))
    box = demo.message()
    grab("message", box, pause)
    demo.answer(box)
    for name, tab in TABS.items():
        demo.click(demo.on_window(tab))
        grab(f"tab-{name}")
    for name, index in LANGUAGES.items():
        demo.pick(LANGUAGE_LIST, index, 6, "language list", window=demo.main)
        grab(f"language-{name}")


if __name__ == "__main__":
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--demo", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    sys.exit(on_own_server(args.demo, args.out, "look", lambda demo: shoot(demo, os.path.abspath(args.out))))
