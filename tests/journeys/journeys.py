#!/usr/bin/env python3
"""User journeys: the paths on which users met faults, walked in zavora-demo with real pointer and key events
and checked on the bank file and the profile files. Exits 0 when all pass, 1 on a failure, 77 without X."""

import argparse, concurrent.futures, os, pathlib, shutil, subprocess, sys, time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from journey import *  # noqa: E402,F403 (the controls' places, the checks and the harness)

(KITE, MOSS, FERN), (PS4, PS3, PC_PAD, KEYBOARD) = (1, 2, 3), range(4)

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
CLOSE, LANGUAGE_CAPTION = (933, 2, 25, 25), (625, 3, 120, 25)  # on the main window
# Settings dialogs: where their sliders stand, and the ADS lock toggle.
SENSITIVITY_SLIDER = DEAD_ZONE_SLIDER = (96, 152)
ACCEL_X_SLIDER, WALK_SLIDER, ADS_LOCK = (96, 92), (155, 42), (90, 355)

# Bank bytes of the slots: KITE slots 1 and 2, FERN slot 2, MOSS slots 5 and 6, MOSS's left stick up.
KITE_1, KITE_2, FERN_2, MOSS_5, MOSS_6, MOSS_UP = 17, 19, 1, 4, 13, 27
CODE_L1, CODE_R1, MOSS_FN, KEY_Q, KEY_W = 4, 5, 255, 20, 26  # keyboard mode stores HID usages: "A" is 4
S_DEAD_ZONE, S_ACCEL_X, S_WALK, S_ADS_LOCK, S_SENSITIVITY = 0, 2, 8, 10, 11  # from the settings' start


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
    return pathlib.Path(path).read_bytes()


def set_name(demo, name):
    demo.click(demo.on_page(PROFILE_NAME))
    demo.key("ctrl+a", "BackSpace")
    demo.key(name, command="type")


def save(demo, name, says):
    set_name(demo, name)
    demo.click(demo.on_page(SAVE))
    demo.expect_message(says)


def keypad_changes(demo, action, what, model=KITE):  # the keypad's pixels once `action` changed them
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


def settings_change(demo, button, what, *clicks):  # opens a settings dialog and clicks its places
    demo.click(demo.on_page(button))
    dialog = demo.settings_dialog(f"{what} dialog")
    for x, y in clicks:
        demo.click((dialog.x + x, dialog.y + y), settle=0.15)
    return dialog


def confirm(demo, dialog, what):
    demo.click(demo.on_window(SETTINGS_OK, dialog), settle=0.1)
    demo.wait_closed(dialog, f"{what} dialog")


def modes(demo):
    """Mode list by text click and keys, then mouse: keyboard mode hides the palette; first profiles per mode.
    PS3 chosen again unplugged: the page holds PS3's defaults, not PS4's bank read last, as a save shows."""
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
    unplug(demo)
    choose_mode(demo, PS3)
    demo.click(demo.on_page(SAVE))
    demo.expect_message("Save current settings as a new profile?", button="yes")
    saved = os.path.join(demo.profile_folder(KITE, PS3), "Profile0001.zav4")
    check(wait_until(lambda: os.path.isfile(saved)), "Save as new made no Profile0001")
    keys = SETTINGS_START[KITE]
    check(read(first_profile(demo, PS3))[:keys] == read(saved)[:keys], "the page shows other key codes than PS3's")


def keyboard_only(demo):
    """Keys alone: keyboard mode, Q on slot 1, Sensitivity 7, Write; Tab until the (pure white) focus frame."""
    def tab_to(look, what):
        for _ in range(140):
            pixels = look()
            if any(pixels[i:i + 3] == b"\xff\xff\xff" for i in range(0, len(pixels), 3)):
                return
            demo.key("Tab", settle=0.05)
        raise JourneyFailed(f"Tab never brought the focus frame to {what}")

    def give_keys():
        demo.xdotool("windowfocus", "--sync", str(demo.main.wid)), time.sleep(0.2)

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
    """Save under a typed name deletes nothing; Save under another's name is refused and changes nothing."""
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


def moss_keys(demo):
    """MOSS keyboard mode: W on the stick's up, Fn on slot 5; slot 6 confirmed with nothing pressed stays."""
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
    """Q captured on slot 1 reaches the bank; during a capture the MOSS tab and the close button work."""
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
    """The family's mouse plugged in: "Mouse not Connected!" goes; another language changes the captions."""
    text = demo.page_pixels(MOUSE_NOT_CONNECTED)
    sim = demo.window(demo.simulator.wid)
    demo.pick((78, 39, sim.w - 89, 22), 2, 3, "simulator's mouse list", window=sim)
    check(wait_until(lambda: not alike(demo.page_pixels(MOUSE_NOT_CONNECTED), text)), "the mouse text stayed")
    caption, pad = demo.window_pixels(LANGUAGE_CAPTION), demo.page_pixels(ASSIGN_PAD_CAPTION)
    demo.pick(LANGUAGE_LIST, 4, 6, "language list", window=demo.main)
    check(wait_until(lambda: not alike(demo.window_pixels(LANGUAGE_CAPTION), caption)), '"Language" stayed')
    check(wait_until(lambda: not alike(demo.page_pixels(ASSIGN_PAD_CAPTION), pad)), '"Assign Pad" stayed')


def replug(demo):
    """After a replug edits go to ProFile1; Write unplugged says so; an Unplug during a dialog counts."""
    sim, main = demo.simulator, demo.main
    width, height = map(int, demo.xdotool("getdisplaygeometry").split())
    check(sim.x >= 0 and sim.y >= 0 and sim.x + sim.w <= width and sim.y + sim.h <= height, f"simulator at {sim}")
    close = (main.x + 933, main.y + 2)  # the main window's close button, 25 pixels square
    check(sim.x >= close[0] + 25 or sim.x + sim.w <= close[0] or sim.y >= close[1] + 25 or sim.y + sim.h <= close[1],
          f"the simulator window at {sim} covers the main window's close button")
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


def full_disk_new(demo):
    """On a full disk New says "Save failed." and the unsaved edit stays on the keypad."""
    edited = drop_l1_on_slot_2(demo)
    demo.click(demo.on_page(NEW))
    demo.expect_message("Save failed.")
    check(alike(demo.page_pixels(KEYPAD[KITE]), edited), "the failed New reset the keypad")


def cli_restore_last(demo):
    """Each settings dialog changed and Written: the bank holds every setting. An edit written, then
    `zavora-cli restore --last`: the bank and, after a replug, the page as before."""
    if not os.access(CLI_PATH, os.X_OK):
        raise HarnessError(f"no zavora-cli at {CLI_PATH}; give --cli")
    keypad = demo.page_pixels(KEYPAD[KITE])
    for button, what, *clicks in ((SENSITIVITY, "Sensitivity", slider_cell(SENSITIVITY_SLIDER, 6)),
                                  (ACCELERATION, "Acceleration", slider_cell(ACCEL_X_SLIDER, 1)),
                                  (DEAD_ZONE, "Dead Zone", slider_cell(DEAD_ZONE_SLIDER, 3)),
                                  (BUTTON_OPTIONS, "Button options", slider_cell(WALK_SLIDER, 5), ADS_LOCK)):
        confirm(demo, settings_change(demo, button, what, *clicks), what)
    write(demo)
    want = {S_SENSITIVITY: 7, S_ACCEL_X: 2, S_DEAD_ZONE: 21, S_WALK: 60, S_ADS_LOCK: 1}
    got = {n: demo.bank_byte(KITE, PS4, 0, SETTINGS_START[KITE] + n) for n in want}
    check(got == want, f"settings bytes after Write are {got}, not {want}")
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
    (profile_names, {"documents": "home"}), (moss_keys, {"model": MOSS, "capability": 5}),
    (fern_slot, {"model": FERN}), (capture_and_window, {}), (mouse_and_language, {"mouse": "none"}), (replug, {}),
    (full_disk_new, {"full_disk": True}), (cli_restore_last, {}))}


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
    global CLI_PATH
    CLI_PATH = os.path.abspath(args.cli or os.path.join(os.path.dirname(args.demo), "cli", "zavora-cli"))
    shutil.rmtree(args.shots, ignore_errors=True)

    def walk(name):
        function, options = JOURNEYS[name]
        started = time.monotonic()
        code = on_own_server(args.demo, args.shots, name, lambda demo: function(demo) or [], **options)
        print(f"{'PASS' if code == 0 else 'FAIL'} {name} ({time.monotonic() - started:.1f} s)", flush=True)
        return code

    with concurrent.futures.ThreadPoolExecutor(max(1, args.jobs)) as pool:
        codes = list(pool.map(walk, args.journeys or list(JOURNEYS)))
    print(f"{codes.count(0)} passed, {len(codes) - codes.count(0)} failed")
    return 77 if 77 in codes else int(any(codes))


if __name__ == "__main__":
    sys.exit(main())
