#!/usr/bin/env python3
"""User journeys: the paths on which users met faults, walked in zavora-demo under a private X server with
real pointer and key events, and checked on the simulated adapter's bank file and the profile files.
Exits 0 when every journey passes, 1 when one fails, 77 when no X server can be started here."""

import argparse
import concurrent.futures
import os
import queue
import shutil
import subprocess
import sys
import time
import traceback

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from journey import (  # noqa: E402
    ACCELERATION, BUTTON_OPTIONS, DEAD_ZONE, LANGUAGE_LIST, SENSITIVITY, SETTINGS_OK, SETTINGS_START, TABS, Demo,
    HarnessError, JourneyFailed, XServer, alike, check, missing_tools, slider_cell, wait_until)

KITE, MOSS, FERN = 1, 2, 3
PS4, PS3, PC_PAD, KEYBOARD = 0, 1, 2, 3

# Controls, (x, y, w, h) on the page as the pages place them.
MODE_LIST, SLOT_LIST = (420, 55, 140, 20), (565, 55, 102, 20)
PROFILE_NAME = (422, 162, 150, 16)  # the edit part of the profile list
WRITE, NEW, SAVE, DELETE = (596, 122, 77, 30), (420, 195, 120, 30), (420, 230, 77, 30), (590, 230, 77, 30)
PALETTE_L1, PALETTE_R1, PALETTE_BUTTONS = (624, 320, 38, 28), (464, 350, 38, 28), (464, 318, 202, 272)
CAPTURE_OK, ASSIGN_PAD_CAPTION, MOUSE_NOT_CONNECTED = (435, 510, 105, 30), (420, 282, 180, 28), (692, 553, 208, 38)
KITE_SLOT_1, KITE_SLOT_2, FERN_SLOT_2 = (159, 185, 44, 32), (204, 175, 33, 32), (136, 220, 38, 35)
MOSS_SLOT_5, MOSS_SLOT_6, MOSS_CAPTURE_FN = (332, 180, 33, 33), (84, 346, 33, 33), (592, 424, 58, 30)
MOSS_LSTICK_SETTINGS, LSTICK_UP, LSTICK_OK = (240, 575, 120, 25), (135, 168, 35, 35), (205, 410, 70, 25)
KEYPAD = {KITE: (132, 100, 257, 473), FERN: (14, 140, 390, 322)}
# On the main window: the close button and the language list's caption.
CLOSE, LANGUAGE_CAPTION = (933, 2, 25, 25), (625, 3, 120, 25)
# Settings dialogs: where their sliders stand, and the ADS lock toggle.
SENSITIVITY_SLIDER = DEAD_ZONE_SLIDER = (96, 152)
ACCEL_X_SLIDER, WALK_SLIDER, ADS_LOCK = (96, 92), (155, 42), (90, 355)

# Bank bytes of the slots: KITE slots 1 and 2, FERN slot 2, MOSS slots 5 and 6, MOSS's left stick up.
KITE_1, KITE_2, FERN_2, MOSS_5, MOSS_6, MOSS_UP = 17, 19, 1, 4, 13, 27
CODE_L1, CODE_R1, MOSS_FN, KEY_Q, KEY_W = 4, 5, 255, 20, 26  # keyboard mode stores HID usages: "A" is 4
# Settings bytes, from the start of the settings block.
S_DEAD_ZONE, S_ACCEL_X, S_WALK, S_ADS_LOCK, S_SENSITIVITY = 0, 2, 8, 10, 11


def write(demo):
    demo.click(demo.on_page(WRITE))
    demo.expect_message("Write complete.")


def expect_byte(demo, where, want, what):
    check((got := demo.bank_byte(*where)) == want, f"{what} holds {got} in the bank after Write, not {want}")


def choose_mode(demo, mode, count=4):
    demo.pick(MODE_LIST, mode, count, "mode list")


def first_profile(demo, mode, wait=False):
    path = os.path.join(demo.profile_folder(KITE, mode), "Profile.zav4")
    check(not wait or wait_until(lambda: os.path.isfile(path)), f"mode {mode} made no first profile in its folder")
    return path


def read(path):
    with open(path, "rb") as f:
        return f.read()


def set_name(demo, name):
    demo.click(demo.on_page(PROFILE_NAME))
    demo.key("ctrl+a", "BackSpace")
    demo.key(name, command="type")


def save(demo, name, says):
    set_name(demo, name)
    demo.click(demo.on_page(SAVE))
    demo.expect_message(says)


def keypad_changes(demo, action, what, model=KITE):
    """Runs `action` and waits until the keypad looks different; gives the keypad's new pixels."""
    before = demo.page_pixels(KEYPAD[model])
    action()
    check(wait_until(lambda: not alike(demo.page_pixels(KEYPAD[model]), before)), what)
    return demo.page_pixels(KEYPAD[model])


def drop_l1_on_slot_2(demo):
    return keypad_changes(demo, lambda: demo.drag(PALETTE_L1, KITE_SLOT_2), "dropping L1 on slot 2 changed nothing")


def unplug(demo, plug_again=False):
    keypad_changes(demo, lambda: demo.simulator_button("unplug"), "the page still shows the adapter")
    if plug_again:
        demo.simulator_button("plug")


def capture(demo, slot, *keys):
    demo.click(demo.on_page(slot))
    if keys:
        demo.key(*keys)
    demo.click(demo.on_page(CAPTURE_OK))


def settings_change(demo, button, what, *clicks):
    """Opens a settings dialog and clicks its places."""
    demo.click(demo.on_page(button))
    dialog = demo.settings_dialog(f"{what} dialog")
    for x, y in clicks:
        demo.click((dialog.x + x, dialog.y + y), settle=0.15)
    return dialog


def confirm(demo, dialog, what):
    demo.click(demo.on_window(SETTINGS_OK, dialog), settle=0.1)
    demo.wait_closed(dialog, f"{what} dialog")


def modes(demo):
    """A click on the mode list's text, Down and Enter: Playstation3; the list keeps the focus after the read,
    so Down alone goes on to PC-Pad. Keyboard mode chosen with the mouse hides the palette, Playstation4 brings
    it back. Each mode's first profile holds its mode and model."""
    palette = demo.page_pixels(PALETTE_BUTTONS)
    popup = demo.open_list(MODE_LIST, "mode list text", on_arrow=False)
    demo.key("Down", "Return", settle=0.1)
    demo.wait_closed(popup, "mode list")
    first_profile(demo, PS3, wait=True)
    demo.key("Down")
    first_profile(demo, PC_PAD, wait=True)
    choose_mode(demo, KEYBOARD)
    for mode in (PS3, PC_PAD, KEYBOARD):
        data = read(first_profile(demo, mode, wait=True))
        check((data[60], data[127]) == (mode, KITE), f"mode {mode}'s first profile holds {data[60]}, {data[127]}")
    check(wait_until(lambda: not alike(demo.page_pixels(PALETTE_BUTTONS), palette)), "keyboard mode shows the palette")
    choose_mode(demo, PS4)
    check(wait_until(lambda: alike(demo.page_pixels(PALETTE_BUTTONS), palette)), "the palette did not come back")


def keyboard_only(demo):
    """Keys alone: keyboard mode, Q on slot 1, Sensitivity at its 7th step, Write. Tab is pressed until the
    focus frame (the only pure white the skin draws) shows on the control wanted. With no window manager
    the journey gives the keys to the window at the start and after the dialog."""
    def tab_to(look, what):
        for _ in range(140):
            pixels = look()
            if any(pixels[i:i + 3] == b"\xff\xff\xff" for i in range(0, len(pixels), 3)):
                return
            demo.key("Tab", settle=0.05)
        raise JourneyFailed(f"Tab never brought the focus frame to {what}")

    def give_keys():
        demo.xdotool("windowfocus", "--sync", str(demo.main.wid))
        time.sleep(0.2)

    give_keys()
    demo.move(demo.main.x + 480, demo.main.y + 680)
    tab_to(lambda: demo.page_pixels(MODE_LIST), "the mode list")
    for mode in (PS3, PC_PAD, KEYBOARD):
        demo.key("Down", settle=0.1)
        first_profile(demo, mode, wait=True)
    tab_to(lambda: demo.page_pixels(KITE_SLOT_1), "key slot 1")
    demo.key("space", "q", "Return")
    tab_to(lambda: demo.page_pixels(SENSITIVITY), "Sensitivity")
    demo.key("space")
    dialog = demo.settings_dialog("Sensitivity dialog")
    tab_to(lambda: demo.pixels(dialog.x + 96, dialog.y + 152, 430, 90), "the Sensitivity slider")
    demo.key("Home", *["Right"] * 6, "Return")
    demo.wait_closed(dialog, "Sensitivity dialog")
    give_keys()
    tab_to(lambda: demo.page_pixels(WRITE), "Write")
    demo.key("space")
    box = demo.message("Write complete.")
    demo.key("Return")
    demo.wait_closed(box, "message box")
    expect_byte(demo, (KITE, KEYBOARD, 0, KITE_1), KEY_Q, "slot 1")
    expect_byte(demo, (KITE, KEYBOARD, 0, SETTINGS_START[KITE] + S_SENSITIVITY), 7, "the sensitivity")


def profiles_without_documents(demo):
    """No documents folder on the account: first-run profile, New, rename by Save, a hostile name, Delete."""
    check(wait_until(lambda: "Profile" in demo.profiles(KITE, PS4)), "no first-run profile was written")
    before = set(demo.profiles(KITE, PS4))
    demo.click(demo.on_page(NEW))
    demo.no_message(0.5)
    made = wait_until(lambda: set(demo.profiles(KITE, PS4)) - before)
    check(made, "New made no profile file and said nothing")
    save(demo, "Sniper", "Success for save!")
    names = demo.profiles(KITE, PS4)
    check("Sniper" in names and min(made) not in names, f"after renaming to Sniper the folder holds {names}")
    family = os.path.dirname(demo.profile_folder(KITE, PS4))
    around = sorted(os.listdir(family))
    save(demo, "../x", "Invalid profile name.")
    check(sorted(os.listdir(family)) == around and demo.profiles(KITE, PS4) == names, "the hostile name left files")
    set_name(demo, "Sniper")
    demo.click(demo.on_page(DELETE))
    demo.expect_message("Delete this profile?", button="yes")
    check(wait_until(lambda: "Sniper" not in demo.profiles(KITE, PS4)), f"Delete left {demo.profiles(KITE, PS4)}")


def profile_names(demo):
    """The first-run profile shown at start was never loaded: Save under a typed name deletes nothing. Then
    New, an edit, another profile's name typed, Save: refused, nothing loaded over the edit, nothing
    overwritten."""
    check(wait_until(lambda: "Profile" in demo.profiles(KITE, PS4)), "no first-run profile")
    save(demo, "Sniper", "Success for save!")
    names = demo.profiles(KITE, PS4)
    check("Sniper" in names and "Profile" in names, f"after Save under a typed name the folder holds {names}")
    demo.click(demo.on_page(NEW))
    check(wait_until(lambda: "Profile0001" in demo.profiles(KITE, PS4)), "New made no Profile0001")
    existing = read(first_profile(demo, PS4))
    edited = drop_l1_on_slot_2(demo)
    save(demo, "Profile", "File already exists,please enter again!")
    check(alike(demo.page_pixels(KEYPAD[KITE]), edited), "a profile was loaded over the unsaved edit")
    check(read(first_profile(demo, PS4)) == existing, "Profile.zav4 was overwritten")
    check("Profile0001" in demo.profiles(KITE, PS4), "Profile0001 is gone")


def settings_dialogs(demo):
    """Each settings dialog changed and confirmed, then Write: the bank holds every setting."""
    for button, what, *clicks in ((SENSITIVITY, "Sensitivity", slider_cell(SENSITIVITY_SLIDER, 6)),
                                  (ACCELERATION, "Acceleration", slider_cell(ACCEL_X_SLIDER, 1)),
                                  (DEAD_ZONE, "Dead Zone", slider_cell(DEAD_ZONE_SLIDER, 3)),
                                  (BUTTON_OPTIONS, "Button options", slider_cell(WALK_SLIDER, 5), ADS_LOCK)):
        confirm(demo, settings_change(demo, button, what, *clicks), what)
    write(demo)
    want = {S_SENSITIVITY: 7, S_ACCEL_X: 2, S_DEAD_ZONE: 21, S_WALK: 60, S_ADS_LOCK: 1}
    got = {n: demo.bank_byte(KITE, PS4, 0, SETTINGS_START[KITE] + n) for n in want}
    check(got == want, f"settings bytes after Write are {got}, not {want}")


def moss_keys(demo):
    """MOSS keyboard mode (the third item at capability 5): the left stick's up direction takes W; Fn is
    captured for slot 5; slot 6 confirmed with nothing pressed keeps its key."""
    choose_mode(demo, 2, 3)
    demo.click(demo.on_page(MOSS_LSTICK_SETTINGS))
    capture(demo, LSTICK_UP, "w")
    demo.click(demo.on_page(LSTICK_OK))
    demo.click(demo.on_page(MOSS_SLOT_5))
    demo.click(demo.on_page(MOSS_CAPTURE_FN))
    demo.no_message(0.3)
    demo.click(demo.on_page(CAPTURE_OK))
    capture(demo, MOSS_SLOT_6)
    try:  # telling the user that slot 6 cannot take Fn is as good as keeping quiet
        demo.answer(demo.message(timeout=0.5))
    except JourneyFailed:
        pass
    write(demo)
    expect_byte(demo, (MOSS, KEYBOARD, 0, MOSS_UP), KEY_W, "the up direction")
    expect_byte(demo, (MOSS, KEYBOARD, 0, MOSS_5), MOSS_FN, "slot 5")
    check(demo.bank_byte(MOSS, KEYBOARD, 0, MOSS_6) != MOSS_FN, "slot 6 holds Fn after an OK with nothing pressed")


def fern_slot(demo):
    """FERN: ProFile2 chosen, L1 dropped on slot 2, Write: only the second record has it."""
    demo.pick(SLOT_LIST, 1, 3, "profile-slot list")
    demo.drag(PALETTE_L1, FERN_SLOT_2)
    write(demo)
    expect_byte(demo, (FERN, PS4, 1, FERN_2), CODE_L1, "ProFile2's slot 2")
    check(demo.bank_byte(FERN, PS4, 0, FERN_2) != CODE_L1, "the edit went into ProFile1 as well")


def capture_and_window(demo):
    """Keyboard mode: Q captured on slot 1 reaches the bank. While slot 1 waits for a key, the MOSS tab still
    shows its page, and the close button closes."""
    choose_mode(demo, KEYBOARD)
    capture(demo, KITE_SLOT_1, "q")
    write(demo)
    expect_byte(demo, (KITE, KEYBOARD, 0, KITE_1), KEY_Q, "slot 1")
    demo.click(demo.on_page(KITE_SLOT_1))
    keypad_changes(demo, lambda: demo.click(demo.on_window(TABS["moss"])), "the MOSS tab did not show its page")
    demo.click(demo.on_window(TABS["kite"]))
    demo.click(demo.on_page(KITE_SLOT_1))
    demo.click(demo.on_window(CLOSE), settle=0.1)
    check(wait_until(lambda: demo.process.poll() is not None), "the close button did not close the window")


def mouse_and_language(demo):
    """The family's mouse plugged into the simulated adapter: "Mouse not Connected!" goes. Simplified Chinese
    chosen in the language list: the captions change."""
    text = demo.page_pixels(MOUSE_NOT_CONNECTED)
    sim = demo.window(demo.simulator.wid)
    demo.pick((78, 39, sim.w - 89, 22), 2, 3, "simulator's mouse list", window=sim)
    check(wait_until(lambda: not alike(demo.page_pixels(MOUSE_NOT_CONNECTED), text)), "the mouse text stayed")
    caption, pad = demo.window_pixels(LANGUAGE_CAPTION), demo.page_pixels(ASSIGN_PAD_CAPTION)
    demo.pick(LANGUAGE_LIST, 4, 6, "language list", window=demo.main)
    check(wait_until(lambda: not alike(demo.window_pixels(LANGUAGE_CAPTION), caption)), '"Language" stayed')
    check(wait_until(lambda: not alike(demo.page_pixels(ASSIGN_PAD_CAPTION), pad)), '"Assign Pad" stayed')


def replug(demo):
    """ProFile3 edited and written, the adapter pulled and plugged in: the next edit goes to ProFile1.
    Unplugged, Write says so; plugged in, Write works; an Unplug while a dialog is open still counts."""
    demo.pick(SLOT_LIST, 2, 3, "profile-slot list")
    demo.drag(PALETTE_L1, KITE_SLOT_2)
    write(demo)
    expect_byte(demo, (KITE, PS4, 2, KITE_2), CODE_L1, "ProFile3's slot 2")
    unplug(demo, plug_again=True)
    demo.wait_still()
    demo.drag(PALETTE_R1, KITE_SLOT_2)
    write(demo)
    expect_byte(demo, (KITE, PS4, 0, KITE_2), CODE_R1, "after the replug ProFile1's slot 2")
    expect_byte(demo, (KITE, PS4, 2, KITE_2), CODE_L1, "after the replug ProFile3's slot 2")
    keypad = demo.page_pixels(KEYPAD[KITE])
    unplug(demo)
    demo.click(demo.on_page(WRITE))
    demo.expect_message("ZAV not connected.")
    demo.simulator_button("plug")
    check(wait_until(lambda: alike(demo.page_pixels(KEYPAD[KITE]), keypad)), "Plug in did not show the adapter")
    write(demo)
    dialog = settings_change(demo, SENSITIVITY, "Sensitivity")
    demo.simulator_button("unplug")
    confirm(demo, dialog, "Sensitivity")
    check(wait_until(lambda: not alike(demo.page_pixels(KEYPAD[KITE]), keypad)),
          "an Unplug clicked while the Sensitivity dialog was open did not reach the simulator")


def failed_mode_read(demo):
    """Playstation3 and 4 read, the adapter pulled, Playstation3 chosen again: the page holds Playstation3's
    defaults, not Playstation4's bank, as a save shows."""
    choose_mode(demo, PS3)
    first_profile(demo, PS3, wait=True)
    choose_mode(demo, PS4)
    unplug(demo)
    choose_mode(demo, PS3)
    demo.click(demo.on_page(SAVE))
    demo.expect_message("Save current settings as a new profile?", button="yes")
    saved = os.path.join(demo.profile_folder(KITE, PS3), "Profile0001.zav4")
    check(wait_until(lambda: os.path.isfile(saved)), "Save as new made no Profile0001")
    keys = SETTINGS_START[KITE]
    check(read(first_profile(demo, PS3))[:keys] == read(saved)[:keys], "the page shows other key codes than PS3's")


def full_disk_new(demo):
    """On a full disk New says "Save failed." and the unsaved edit stays on the keypad."""
    edited = drop_l1_on_slot_2(demo)
    demo.click(demo.on_page(NEW))
    demo.expect_message("Save failed.")
    check(alike(demo.page_pixels(KEYPAD[KITE]), edited), "the failed New reset the keypad")


def cli_restore_last(demo):
    """L1 dropped on slot 2 and written, then `zavora-cli restore --last --simulated`: the bank holds what it
    held before; unplugged and plugged in again, the window shows the old profile."""
    if not os.access(CLI_PATH, os.X_OK):
        raise HarnessError(f"no zavora-cli at {CLI_PATH}; give --cli")
    keypad = demo.page_pixels(KEYPAD[KITE])
    write(demo)
    before = demo.bank()
    drop_l1_on_slot_2(demo)
    write(demo)
    expect_byte(demo, (KITE, PS4, 0, KITE_2), CODE_L1, "slot 2")
    done = subprocess.run([CLI_PATH, "restore", "--last", "--simulated"], env=demo.env, capture_output=True,
                          text=True, timeout=30)  # the person's shell: the same home, bank and backups
    check(done.returncode == 0 and "bank ps4: written and read back as sent" in done.stdout,
          f"zavora-cli restore --last exited {done.returncode}: {done.stdout.strip()} {done.stderr.strip()}")
    check(len(before) > 0 and demo.bank() == before, "the restore did not bring back the bank of before the Write")
    unplug(demo, plug_again=True)
    check(wait_until(lambda: alike(demo.page_pixels(KEYPAD[KITE]), keypad)), "the page does not show the old profile")
    check(demo.bank() == before, "plugging in again changed the bank file")


CLI_PATH = None
JOURNEYS = {f.__name__: (f, options) for f, options in (
    (modes, {}), (keyboard_only, {}), (profiles_without_documents, {"documents": "none"}),
    (profile_names, {"documents": "home"}), (settings_dialogs, {}), (moss_keys, {"model": MOSS, "capability": 5}),
    (fern_slot, {"model": FERN}), (capture_and_window, {}), (mouse_and_language, {"mouse": "none"}), (replug, {}),
    (failed_mode_read, {}), (full_disk_new, {"full_disk": True}), (cli_restore_last, {}))}


def run(name, displays, demo_path, shots):
    """One journey on a free X server (a display has one pointer): its verdict line."""
    function, options = JOURNEYS[name]
    demo = Demo(demo_path, display := displays.get(), shots, name, **options)
    started, failed = time.monotonic(), True
    try:
        function(demo.start())
        failed = False
        return f"PASS {name} ({time.monotonic() - started:.1f} s)"
    except Exception as failure:
        kind = "fail" if isinstance(failure, JourneyFailed) else "harness fault"
        detail = str(failure) if isinstance(failure, (JourneyFailed, HarnessError)) else traceback.format_exc()
        return f"FAIL {name} ({time.monotonic() - started:.1f} s): {kind}: {detail} (evidence in {demo.shots_dir})"
    finally:
        demo.stop(evidence=failed)
        displays.put(display)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--demo", required=True, help="path of zavora-demo")
    parser.add_argument("--cli", help="path of zavora-cli (default: cli/zavora-cli beside zavora-demo)")
    parser.add_argument("--shots", default="journey-shots", help="folder for the evidence of failures")
    parser.add_argument("--jobs", type=int, default=2, help="journeys side by side, each on its own X server")
    parser.add_argument("journeys", nargs="*", help=f"journeys to run (default: all): {', '.join(JOURNEYS)}")
    args = parser.parse_args()
    if unknown := [j for j in args.journeys if j not in JOURNEYS]:
        parser.error(f"no journey {', '.join(unknown)}")
    if missing := missing_tools():
        print(f"skipped: {', '.join(missing)} missing (scripts/deps installs them)")
        return 77
    names, shots = args.journeys or list(JOURNEYS), os.path.abspath(args.shots)
    global CLI_PATH
    CLI_PATH = os.path.abspath(args.cli or os.path.join(os.path.dirname(args.demo), "cli", "zavora-cli"))
    servers, displays, failed = [], queue.Queue(), 0
    shutil.rmtree(shots, ignore_errors=True)
    try:
        for _ in range(max(1, min(args.jobs, len(names)))):
            servers.append(XServer())
            displays.put(servers[-1].start())
        with concurrent.futures.ThreadPoolExecutor(len(servers)) as pool:
            verdicts = [pool.submit(run, name, displays, os.path.abspath(args.demo), shots) for name in names]
            for verdict in concurrent.futures.as_completed(verdicts):
                print(verdict.result(), flush=True)
                failed += verdict.result().startswith("FAIL")
    except HarnessError as error:
        print(f"skipped: {error}")
        return 77
    finally:
        for server in servers:
            server.stop()
    print(f"{len(names) - failed} passed, {failed} failed")
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
