#!/usr/bin/env python3
"""Screenshots of the program's look, taken with the mouse only, to compare two builds pixel for pixel.

Usage: look.py --demo PATH --out DIR
Takes the start, each model tab, each settings dialog of the first page, a message box and the start in
two more languages into DIR (one PNG each, the screen's area of the window in front).
Compare two folders with `compare -metric AE a.png b.png null:` (ImageMagick).
Exits 77 when no X server can be started here.
"""

import argparse
import os
import subprocess
import sys
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from journey import Demo, HarnessError, XServer, centre, missing_tools  # noqa: E402

TABS = {"kite": (6, 35, 100, 25), "moss": (107, 35, 100, 25), "fern": (208, 35, 100, 25)}
DIALOGS = {"sensitivity": (765, 70, 120, 30), "acceleration": (765, 105, 120, 30),
           "deadzone": (765, 140, 120, 30), "options": (75, 25, 180, 30)}
HELP = (637, 20, 30, 30)  # the "?" beside the device switch
LANGUAGE_LIST = (755, 3, 150, 20)
LANGUAGES = {"german": 2, "japanese": 3}


def grab(demo, out, name, win=None):
    win = win or demo.window(demo.main.wid)
    path = os.path.join(out, f"{name}.png")
    subprocess.run(["import", "-window", "root", "-crop", f"{win.w}x{win.h}+{win.x}+{win.y}", "+repage",
                    path], env=demo.env, check=True, capture_output=True, timeout=10)
    print(path, flush=True)


def shoot(demo_path, display, out):
    demo = Demo(demo_path, display, out, "look")
    try:
        demo.start()
        demo.move(5, 795)
        demo.wait_still()
        grab(demo, out, "start")
        for name, box in DIALOGS.items():
            demo.click_page(box)
            dialog = demo.settings_dialog(what=f"{name} dialog")
            demo.move(5, 795)
            time.sleep(0.8)
            grab(demo, out, f"dialog-{name}", dialog)
            demo.click(dialog.x + 580, dialog.y + 15, settle=0.1)  # its "X"
            demo.wait_closed(dialog, f"{name} dialog")
        demo.click_page(HELP)
        box = demo.message()
        demo.move(5, 795)
        time.sleep(0.8)
        grab(demo, out, "message", box)
        demo.answer(box)
        for name in ("moss", "fern", "kite"):
            demo.click(*demo.on_window(*centre(TABS[name])))
            demo.move(5, 795)
            demo.wait_still()
            grab(demo, out, f"tab-{name}")
        for name, index in LANGUAGES.items():
            demo.pick(LANGUAGE_LIST, index, 6, where="window", what="language list")
            demo.move(5, 795)
            demo.wait_still()
            grab(demo, out, f"language-{name}")
    finally:
        demo.stop()
        demo.clean()


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--demo", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    if missing_tools():
        print(f"skipped: {', '.join(missing_tools())} missing")
        return 77
    os.makedirs(args.out, exist_ok=True)
    server = XServer()
    try:
        server.start()
    except HarnessError as error:
        print(f"skipped: {error}")
        return 77
    try:
        shoot(os.path.abspath(args.demo), server.display, os.path.abspath(args.out))
    finally:
        server.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
