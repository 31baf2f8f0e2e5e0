#!/usr/bin/env python3
"""User journeys: zavora-demo under a private X server, driven with real pointer and key events at the
controls' places, checked on the simulated adapter's bank file and the profile files.

Usage: journeys.py --demo PATH [--shots DIR] [JOURNEY ...]
Exits 0 when every journey passes, 1 when one fails, 77 when no X server can be started here.
"""

import argparse
import os
import queue
import shutil
import subprocess
import sys
import threading
import time
import traceback

# The helper beside this file; no bytecode is left in the source tree.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from journey import (  # noqa: E402
    PROFILE_FILE_MODE_BYTE, PROFILE_FILE_MODEL_BYTE, SETTINGS_OK, SETTINGS_START, Demo, HarnessError,
    JourneyFailed, XServer, alike, centre, check, missing_tools, slider_cell)

KITE, MOSS, FERN = 1, 2, 3
PS4, PS3, PC_PAD, KEYBOARD = 0, 1, 2, 3

# Controls on the page, (x, y, w, h) in page pixels, as the pages place them.
MODE_LIST = (420, 55, 140, 20)
SLOT_LIST = (565, 55, 102, 20)
PROFILE_NAME = (422, 162, 150, 16)  # the edit part of the profile list
WRITE = (596, 122, 77, 30)
NEW = (420, 195, 120, 30)
SAVE = (420, 230, 77, 30)
DELETE = (590, 230, 77, 30)
SENSITIVITY = (765, 70, 120, 30)
ACCELERATION = (765, 105, 120, 30)
DEAD_ZONE = (765, 140, 120, 30)
BUTTON_OPTIONS = (75, 25, 180, 30)
CAPTURE_OK = (435, 510, 105, 30)
PALETTE_L1 = (624, 320, 38, 28)
PALETTE_R1 = (464, 350, 38, 28)
PALETTE_BUTTONS = (464, 318, 202, 272)  # the palette without its group captions
KITE_SLOT_1 = (159, 185, 44, 32)
KITE_SLOT_2 = (204, 175, 33, 32)
FERN_SLOT_2 = (136, 220, 38, 35)
KEYPAD_AREA = {KITE: (132, 100, 257, 473), FERN: (14, 140, 390, 322)}
ASSIGN_PAD_CAPTION = (420, 282, 180, 28)
# Below the mouse picture: where "Mouse not Connected!" stands without the family's mouse.
MOUSE_NOT_CONNECTED = (692, 553, 208, 38)

MOSS_SLOT_5 = (332, 180, 33, 33)
MOSS_SLOT_6 = (84, 346, 33, 33)
MOSS_CAPTURE_FN = (592, 424, 58, 30)
# MOSS keyboard mode: "L-Stick Settings", and its panel at (25, 100) with the up direction and OK.
MOSS_LSTICK_SETTINGS = (240, 575, 120, 25)
LSTICK_PANEL = (25, 100)
LSTICK_UP = (110, 68, 35, 35)
LSTICK_OK = (180, 310, 70, 25)

# Main window: the first two model tabs, the close button, the language list and the "Language" caption.
KITE_TAB = (6, 35, 100, 25)
MOSS_TAB = (107, 35, 100, 25)
CLOSE = (933, 2, 25, 25)
LANGUAGE_LIST = (755, 3, 150, 20)
LANGUAGE_CAPTION = (625, 3, 120, 25)
LANGUAGES = 6
SIMPLIFIED_CHINESE = 4

# The simulator window's mouse list: left edge and top in the window, height; it reaches to the right
# margin. Its items: no mouse, an ordinary one, the family's own.
SIM_COMBO_LEFT = 78
SIM_MOUSE_COMBO_TOP = 39
SIM_COMBO_HEIGHT = 22
OWN_MOUSE = 2

# Settings dialogs: where their sliders stand, and the ADS lock toggle.
SENSITIVITY_SLIDER = (96, 152)
ACCEL_X_SLIDER = (96, 92)
DEAD_ZONE_SLIDER = (96, 152)
WALK_SLIDER = (155, 42)
ADS_LOCK_TOGGLE = (30, 340, 120, 30)

# Which DeviceKeyIndex a slot sets: KITE slot 1 and 2 are indices 17 and 19, FERN slot 2 is index 1.
KITE_SLOT_1_INDEX = 17
KITE_SLOT_2_INDEX = 19
FERN_SLOT_2_INDEX = 1
# MOSS slots 5 and 6 are indices 4 and 13; the left stick's up direction is record byte 27.
MOSS_SLOT_5_INDEX = 4
MOSS_SLOT_6_INDEX = 13
MOSS_LSTICK_UP_BYTE = 27
# Console function codes of L1 and R1 on KITE and FERN (PS4 and PS3 tables).
CODE_L1 = 4
CODE_R1 = 5
# The MOSS adapter's own code for "Fn" in keyboard mode.
MOSS_KEYBOARD_FN = 255
# Keyboard mode stores HID keyboard usages: letters from 4 ("A") on.


def keyboard_code(letter):
    return 4 + ord(letter.upper()) - ord("A")


# Settings bytes, counted from the start of the settings block.
S_DEAD_ZONE_NORMAL, S_ACCEL_X_NORMAL, S_WALK_SPEED, S_ADS_LOCK, S_SENSITIVITY = 0, 2, 8, 10, 11

WRITE_COMPLETE = "Write complete."


def write(demo):
    demo.click_page(WRITE)
    demo.expect_message(WRITE_COMPLETE)


def set_profile_name(demo, name):
    demo.click_page(PROFILE_NAME)
    demo.key("ctrl+a", "BackSpace")
    demo.type(name)


# --- the journeys ------------------------------------------------------------------------------------


def every_kite_mode_from_the_list(demo):
    """Each mode of the mode list, chosen with the mouse, shows that mode and its profile folder."""
    start_palette = demo.page_pixels(PALETTE_BUTTONS)
    for mode in (PS3, PC_PAD, KEYBOARD):
        demo.pick(MODE_LIST, mode, 4, what="mode list")
        folder = demo.profile_folder(KITE, mode)
        check(demo.wait_until(lambda: os.path.isfile(os.path.join(folder, "Profile.zav4"))),
              f"choosing mode {mode} made no first profile in {demo.shown(folder)}")
        with open(os.path.join(folder, "Profile.zav4"), "rb") as f:
            data = f.read()
        got = data[PROFILE_FILE_MODE_BYTE[KITE]], data[PROFILE_FILE_MODEL_BYTE]
        check(got == (mode, KITE), f"the first profile of mode {mode} holds mode {got[0]}, model {got[1]}")
    check(demo.wait_until(lambda: not alike(demo.page_pixels(PALETTE_BUTTONS), start_palette)),
          "keyboard mode still shows the palette")
    demo.pick(MODE_LIST, PS4, 4, what="mode list")
    check(demo.wait_until(lambda: alike(demo.page_pixels(PALETTE_BUTTONS), start_palette)),
          "back in Playstation4 mode the palette does not look as it did at the start")


def modes_by_keyboard(demo):
    """The mode list opened by a click on its text, Down and Enter choose Playstation3; after that read
    the list still has the focus, so Down alone goes on to PC-Pad."""
    popup = demo.open_list(MODE_LIST, what="mode list", on="text")
    demo.key("Down", "Return", settle=0.1)
    demo.wait_closed(popup, "mode list")
    for mode in (PS3, PC_PAD):
        first = os.path.join(demo.profile_folder(KITE, mode), "Profile.zav4")
        check(demo.wait_until(lambda: os.path.isfile(first)),
              f"the keys reached no mode change to {mode} (no {demo.shown(first)})")
        if mode == PS3:
            demo.key("Down")


def drag_a_function_and_write(demo):
    """L1 dragged from the palette onto slot 2, then Write: the adapter's bank holds L1 there."""
    demo.drag_on_page(PALETTE_L1, KITE_SLOT_2)
    write(demo)
    got = demo.bank_byte(KITE, PS4, 0, KITE_SLOT_2_INDEX)
    check(got == CODE_L1, f"slot 2 holds code {got} in the bank after Write, not L1 ({CODE_L1})")


def capture_a_key_and_write(demo):
    """Keyboard mode, slot 1 clicked, Q pressed, OK, Write: the bank holds the key code of Q."""
    demo.pick(MODE_LIST, KEYBOARD, 4, what="mode list")
    demo.click_page(KITE_SLOT_1)
    demo.key("q")
    demo.click_page(CAPTURE_OK)
    write(demo)
    got = demo.bank_byte(KITE, KEYBOARD, 0, KITE_SLOT_1_INDEX)
    check(got == keyboard_code("Q"), f"slot 1 holds code {got} after Write, not Q ({keyboard_code('Q')})")


def focused(pixels):
    """Whether a control's pixels show the focus frame: the skin draws nothing else in pure white, but
    for a selected key slot's caption."""
    return any(pixels[i:i + 3] == b"\xff\xff\xff" for i in range(0, len(pixels), 3))


def tab_to(demo, look, what, limit=140):
    """Presses Tab until `look()` (the pixels of a control) shows the focus frame."""
    for _ in range(limit):
        if focused(look()):
            return
        demo.key("Tab", settle=0.05)
    raise JourneyFailed(f"{limit} presses of Tab never showed the focus frame on {what}")


def keyboard_only(demo):
    """With the keys alone: keyboard mode from the mode list, Q captured on slot 1, Sensitivity set to its
    7th step, Write: the bank holds Q and the sensitivity. Tab is pressed until the focus frame shows on
    the control wanted; the pointer rests on the window's footer. The X server has no window manager to
    give the keys to the window at the start and back to it after a dialog: the journey does that."""
    def give_keys():
        demo.xdotool("windowfocus", "--sync", str(demo.main.wid))
        time.sleep(0.2)

    give_keys()
    demo.move(*demo.on_window(480, 680))
    tab_to(demo, lambda: demo.page_pixels(MODE_LIST), "the mode list")
    for mode in (PS3, PC_PAD, KEYBOARD):
        demo.key("Down", settle=0.1)
        first = os.path.join(demo.profile_folder(KITE, mode), "Profile.zav4")
        check(demo.wait_until(lambda: os.path.isfile(first)), f"Down on the mode list reached no mode {mode}")
    tab_to(demo, lambda: demo.page_pixels(KITE_SLOT_1), "key slot 1")
    demo.key("space", "q", "Return")
    tab_to(demo, lambda: demo.page_pixels(SENSITIVITY), "Sensitivity")
    demo.key("space")
    dialog = demo.settings_dialog(what="Sensitivity dialog")
    slider = (dialog.x + SENSITIVITY_SLIDER[0], dialog.y + SENSITIVITY_SLIDER[1], 430, 90)
    tab_to(demo, lambda: demo.pixels(*slider), "the Sensitivity slider")
    demo.key("Home", *["Right"] * 6, "Return")
    demo.wait_closed(dialog, "Sensitivity dialog")
    give_keys()
    tab_to(demo, lambda: demo.page_pixels(WRITE), "Write")
    demo.key("space")
    box = demo.message(expecting=WRITE_COMPLETE)
    demo.key("Return")
    demo.wait_closed(box, "message box")
    got = demo.bank_byte(KITE, KEYBOARD, 0, KITE_SLOT_1_INDEX)
    check(got == keyboard_code("Q"), f"slot 1 holds code {got} after Write, not Q ({keyboard_code('Q')})")
    got = demo.bank_byte(KITE, KEYBOARD, 0, SETTINGS_START[KITE] + S_SENSITIVITY)
    check(got == 7, f"the sensitivity byte is {got} after Write, not 7")


def save_rename_refuse_and_delete(demo):
    """On an account without a documents folder: New, rename by Save, a hostile name, Delete."""
    check(demo.wait_until(lambda: "Profile" in (demo.profiles(KITE, PS4) or [])),
          "on an account without a documents folder no first-run profile was written")
    before = set(demo.profiles(KITE, PS4) or [])
    demo.click_page(NEW)
    demo.no_message(0.5)
    made = demo.wait_until(lambda: set(demo.profiles(KITE, PS4) or []) - before)
    check(made, "New made no profile file and said nothing; ~/Documents "
          f"{'exists' if os.path.exists(demo.documents) else 'was not created'}")
    first = min(made)

    set_profile_name(demo, "Sniper")
    demo.click_page(SAVE)
    demo.expect_message("Success for save!")
    names = demo.profiles(KITE, PS4)
    check("Sniper" in names and first not in names,
          f"after renaming {first} to Sniper the folder holds {names}")

    before = sorted(os.listdir(os.path.dirname(demo.profile_folder(KITE, PS4))))
    set_profile_name(demo, "../x")
    demo.click_page(SAVE)
    demo.expect_message("Invalid profile name.")
    after = sorted(os.listdir(os.path.dirname(demo.profile_folder(KITE, PS4))))
    check(before == after and demo.profiles(KITE, PS4) == names,
          f"the hostile name left files behind: {after}, {demo.profiles(KITE, PS4)}")

    set_profile_name(demo, "Sniper")
    demo.click_page(DELETE)
    demo.expect_message("Delete this profile?", button="yes")
    check(demo.wait_until(lambda: "Sniper" not in demo.profiles(KITE, PS4)),
          f"Delete left {demo.profiles(KITE, PS4)}")


def an_existing_name_is_refused(demo):
    """New, an edit, the name of another profile typed and Save: refused, and nothing is loaded."""
    demo.click_page(NEW)
    made = demo.wait_until(lambda: "Profile0001" in (demo.profiles(KITE, PS4) or []))
    check(made, f"New made no Profile0001, the folder holds {demo.profiles(KITE, PS4)}")
    existing = os.path.join(demo.profile_folder(KITE, PS4), "Profile.zav4")
    with open(existing, "rb") as f:
        existing_bytes = f.read()
    unedited = demo.page_pixels(KEYPAD_AREA[KITE])
    demo.drag_on_page(PALETTE_L1, KITE_SLOT_2)
    check(demo.wait_until(lambda: not alike(demo.page_pixels(KEYPAD_AREA[KITE]), unedited)),
          "dropping L1 on slot 2 changed nothing on the keypad")
    edited = demo.page_pixels(KEYPAD_AREA[KITE])

    set_profile_name(demo, "Profile")
    demo.click_page(SAVE)
    box = demo.message(expecting="File already exists,please enter again!")
    said = box.name
    demo.screenshot("after-save")
    demo.answer(box)
    problems = []
    if "File already exists,please enter again!" not in said:
        problems.append(f'Save said "{said}"')
    if not alike(demo.page_pixels(KEYPAD_AREA[KITE]), edited):
        problems.append("the keypad no longer shows the unsaved edit (a profile was loaded over it)")
    with open(existing, "rb") as f:
        if f.read() != existing_bytes:
            problems.append("Profile.zav4 was overwritten")
    if "Profile0001" not in (demo.profiles(KITE, PS4) or []):
        problems.append(f"Profile0001 is gone: {demo.profiles(KITE, PS4)}")
    check(not problems, "; ".join(problems))


def every_settings_dialog_then_write(demo):
    """Sensitivity, Acceleration, Dead Zone and Button options each changed and confirmed, then Write."""
    def change(button, what, *clicks):
        demo.click_page(button)
        dialog = demo.settings_dialog(what=f"{what} dialog")
        for x, y in clicks:
            demo.click(dialog.x + x, dialog.y + y, settle=0.15)
        demo.click(dialog.x + centre(SETTINGS_OK)[0], dialog.y + centre(SETTINGS_OK)[1], settle=0.1)
        demo.wait_closed(dialog, f"{what} dialog")

    change(SENSITIVITY, "Sensitivity", slider_cell(SENSITIVITY_SLIDER, 6))
    change(ACCELERATION, "Acceleration", slider_cell(ACCEL_X_SLIDER, 1))
    change(DEAD_ZONE, "Dead Zone", slider_cell(DEAD_ZONE_SLIDER, 3))
    change(BUTTON_OPTIONS, "Button options", slider_cell(WALK_SLIDER, 5), centre(ADS_LOCK_TOGGLE))
    write(demo)
    start = SETTINGS_START[KITE]
    expected = {S_SENSITIVITY: 7, S_ACCEL_X_NORMAL: 2, S_DEAD_ZONE_NORMAL: 21, S_WALK_SPEED: 60,
                S_ADS_LOCK: 1}
    got = {n: demo.bank_byte(KITE, PS4, 0, start + n) for n in expected}
    check(got == expected, f"settings bytes after Write are {got}, expected {expected}")


def moss_left_stick_panel(demo):
    """MOSS keyboard mode: the left-stick panel's up direction takes W, then Write."""
    demo.pick(MODE_LIST, 2, 3, what="mode list")  # the third item is keyboard mode at capability 5
    demo.click_page(MOSS_LSTICK_SETTINGS)
    up = (LSTICK_PANEL[0] + LSTICK_UP[0], LSTICK_PANEL[1] + LSTICK_UP[1], LSTICK_UP[2], LSTICK_UP[3])
    demo.click_page(up)
    demo.key("w")
    demo.click_page(CAPTURE_OK)
    demo.click_page((LSTICK_PANEL[0] + LSTICK_OK[0], LSTICK_PANEL[1] + LSTICK_OK[1], LSTICK_OK[2],
                     LSTICK_OK[3]))
    write(demo)
    got = demo.bank_byte(MOSS, KEYBOARD, 0, MOSS_LSTICK_UP_BYTE)
    check(got == keyboard_code("W"),
          f"the up direction holds {got} after Write, not W ({keyboard_code('W')})")


def fern_second_profile_slot(demo):
    """FERN: ProFile2 chosen in the slot list, L1 dragged onto slot 2, Write: the second record has it."""
    demo.pick(SLOT_LIST, 1, 3, what="profile-slot list")
    demo.drag_on_page(PALETTE_L1, FERN_SLOT_2)
    write(demo)
    got = demo.bank_byte(FERN, PS4, 1, FERN_SLOT_2_INDEX)
    check(got == CODE_L1, f"ProFile2's slot 2 holds {got} after Write, not L1 ({CODE_L1})")
    first = demo.bank_byte(FERN, PS4, 0, FERN_SLOT_2_INDEX)
    check(first != CODE_L1, "the edit went into ProFile1 as well")


def capture_leaves_the_window_alone(demo):
    """While slot 1 waits for a key, the MOSS tab still shows its page, and the close button closes."""
    demo.pick(MODE_LIST, KEYBOARD, 4, what="mode list")
    demo.click_page(KITE_SLOT_1)
    kite_page = demo.page_pixels(KEYPAD_AREA[KITE])
    demo.click(*demo.on_window(*centre(MOSS_TAB)))
    check(demo.wait_until(lambda: not alike(demo.page_pixels(KEYPAD_AREA[KITE]), kite_page)),
          "a click on the ZAV MOSS tab during key capture did not show the MOSS page")
    demo.click(*demo.on_window(*centre(KITE_TAB)))
    demo.click_page(KITE_SLOT_1)
    demo.click(*demo.on_window(*centre(CLOSE)), settle=0.1)
    check(demo.wait_until(lambda: demo.process.poll() is not None),
          "a click on the close button during key capture did not close the window")


def switch_the_language(demo):
    """Simplified Chinese chosen in the language list: the captions change."""
    caption = demo.window_pixels(LANGUAGE_CAPTION)
    assign_pad = demo.page_pixels(ASSIGN_PAD_CAPTION)
    demo.pick(LANGUAGE_LIST, SIMPLIFIED_CHINESE, LANGUAGES, where="window", what="language list")
    check(demo.wait_until(lambda: not alike(demo.window_pixels(LANGUAGE_CAPTION), caption)),
          'the "Language" caption did not change')
    check(demo.wait_until(lambda: not alike(demo.page_pixels(ASSIGN_PAD_CAPTION), assign_pad)),
          'the "Assign Pad" caption did not change')


def unplug_and_replug(demo):
    """Unplug in the simulator window: the page shows no adapter and Write says so; Plug in: Write works."""
    keypad = demo.page_pixels(KEYPAD_AREA[KITE])
    demo.unplug()
    check(demo.wait_until(lambda: not alike(demo.page_pixels(KEYPAD_AREA[KITE]), keypad)),
          "the page still shows the adapter after Unplug")
    demo.click_page(WRITE)
    demo.expect_message("ZAV not connected.")
    demo.plug()
    check(demo.wait_until(lambda: alike(demo.page_pixels(KEYPAD_AREA[KITE]), keypad)),
          "the page does not show the adapter after Plug in")
    write(demo)

    # The adapter can be pulled while a dialog of the main window is open.
    demo.click_page(SENSITIVITY)
    dialog = demo.settings_dialog(what="Sensitivity dialog")
    demo.unplug()
    demo.click(dialog.x + centre(SETTINGS_OK)[0], dialog.y + centre(SETTINGS_OK)[1], settle=0.1)
    demo.wait_closed(dialog, "Sensitivity dialog")
    check(demo.wait_until(lambda: not alike(demo.page_pixels(KEYPAD_AREA[KITE]), keypad)),
          "an Unplug clicked while the Sensitivity dialog was open did not reach the simulator")


def replug_follows_the_slot_list(demo):
    """ProFile3 edited and written, the adapter pulled and plugged in again: the slot list says ProFile1,
    and the next edit and Write go to ProFile1, not to ProFile3."""
    demo.pick(SLOT_LIST, 2, 3, what="profile-slot list")
    demo.drag_on_page(PALETTE_L1, KITE_SLOT_2)
    write(demo)
    check(demo.bank_byte(KITE, PS4, 2, KITE_SLOT_2_INDEX) == CODE_L1, "ProFile3 did not take L1")
    keypad = demo.page_pixels(KEYPAD_AREA[KITE])
    demo.unplug()
    check(demo.wait_until(lambda: not alike(demo.page_pixels(KEYPAD_AREA[KITE]), keypad)),
          "the page still shows the adapter after Unplug")
    demo.plug()
    demo.wait_still()
    demo.drag_on_page(PALETTE_R1, KITE_SLOT_2)
    write(demo)
    first = demo.bank_byte(KITE, PS4, 0, KITE_SLOT_2_INDEX)
    third = demo.bank_byte(KITE, PS4, 2, KITE_SLOT_2_INDEX)
    check(first == CODE_R1 and third == CODE_L1,
          f"after the replug the edit went elsewhere: slot 2 holds {first} in ProFile1 (R1 is {CODE_R1}) "
          f"and {third} in ProFile3 (L1 {CODE_L1} was written there before)")


def failed_read_shows_defaults(demo):
    """Playstation3 and Playstation4 read, the adapter pulled, Playstation3 chosen again: the page holds
    Playstation3's defaults, not Playstation4's bank, as a save shows."""
    demo.pick(MODE_LIST, PS3, 4, what="mode list")
    ps3_first = os.path.join(demo.profile_folder(KITE, PS3), "Profile.zav4")
    check(demo.wait_until(lambda: os.path.isfile(ps3_first)),
          f"choosing Playstation3 made no {demo.shown(ps3_first)}")
    demo.pick(MODE_LIST, PS4, 4, what="mode list")
    keypad = demo.page_pixels(KEYPAD_AREA[KITE])
    demo.unplug()
    check(demo.wait_until(lambda: not alike(demo.page_pixels(KEYPAD_AREA[KITE]), keypad)),
          "the page still shows the adapter after Unplug")
    demo.pick(MODE_LIST, PS3, 4, what="mode list")
    demo.click_page(SAVE)
    demo.expect_message("Save current settings as a new profile?", button="yes")
    saved = os.path.join(demo.profile_folder(KITE, PS3), "Profile0001.zav4")
    check(demo.wait_until(lambda: os.path.isfile(saved)), f"Save as new made no {demo.shown(saved)}")
    key_codes = SETTINGS_START[KITE]  # the key codes come before the settings
    with open(ps3_first, "rb") as f:
        defaults = f.read()[:key_codes]
    with open(saved, "rb") as f:
        shown = f.read()[:key_codes]
    differ = [i for i in range(key_codes) if defaults[i] != shown[i]]
    check(not differ, f"the page shows other key codes than Playstation3's at record bytes {differ}")


def moss_fn_only_on_slot_5(demo):
    """MOSS keyboard mode: Fn captured for slot 5; slot 6 then confirmed with nothing pressed keeps its
    key."""
    demo.pick(MODE_LIST, 2, 3, what="mode list")
    demo.click_page(MOSS_SLOT_5)
    demo.click_page(MOSS_CAPTURE_FN)
    demo.no_message(0.3)
    demo.click_page(CAPTURE_OK)
    demo.click_page(MOSS_SLOT_6)
    demo.click_page(CAPTURE_OK)
    # Telling the user that slot 6 cannot take Fn is as good as keeping quiet.
    try:
        demo.answer(demo.message(timeout=0.5))
    except JourneyFailed:
        pass
    write(demo)
    slot_5 = demo.bank_byte(MOSS, KEYBOARD, 0, MOSS_SLOT_5_INDEX)
    slot_6 = demo.bank_byte(MOSS, KEYBOARD, 0, MOSS_SLOT_6_INDEX)
    check(slot_5 == MOSS_KEYBOARD_FN, f"slot 5 holds {slot_5} after Write, not Fn ({MOSS_KEYBOARD_FN})")
    check(slot_6 != MOSS_KEYBOARD_FN, f"slot 6 holds Fn ({slot_6}) after an OK with nothing pressed")


def mouse_text_follows_the_mouse(demo):
    """A mouse plugged into the simulated adapter: "Mouse not Connected!" goes at the next poll."""
    text = demo.page_pixels(MOUSE_NOT_CONNECTED)
    sim = demo.window(demo.simulator.wid)
    combo = (SIM_COMBO_LEFT, SIM_MOUSE_COMBO_TOP, sim.w - SIM_COMBO_LEFT - 11, SIM_COMBO_HEIGHT)
    demo.pick(combo, OWN_MOUSE, 3, where="simulator", what="simulator's mouse list")
    check(demo.wait_until(lambda: not alike(demo.page_pixels(MOUSE_NOT_CONNECTED), text), timeout=3),
          '"Mouse not Connected!" is still shown with the mouse plugged in')


def a_shown_profile_is_never_renamed(demo):
    """At start the list shows the first-run profile, which was never loaded: Save under a typed name
    makes a new profile and deletes nothing."""
    check(demo.wait_until(lambda: "Profile" in (demo.profiles(KITE, PS4) or [])),
          f"no first-run profile, the folder holds {demo.profiles(KITE, PS4)}")
    set_profile_name(demo, "Sniper")
    demo.click_page(SAVE)
    demo.expect_message("Success for save!")
    names = demo.profiles(KITE, PS4)
    check("Sniper" in names and "Profile" in names, f"after Save under a typed name the folder holds {names}")


def a_failed_new_keeps_the_page(demo):
    """On a full disk New says "Save failed." and the unsaved edit stays on the keypad."""
    unedited = demo.page_pixels(KEYPAD_AREA[KITE])
    demo.drag_on_page(PALETTE_L1, KITE_SLOT_2)
    check(demo.wait_until(lambda: not alike(demo.page_pixels(KEYPAD_AREA[KITE]), unedited)),
          "dropping L1 on slot 2 changed nothing on the keypad")
    edited = demo.page_pixels(KEYPAD_AREA[KITE])
    demo.click_page(NEW)
    demo.expect_message("Save failed.")
    check(alike(demo.page_pixels(KEYPAD_AREA[KITE]), edited), "the failed New reset the keypad")


def cli_restores_what_write_overwrote(demo):
    """Write in the window, then `zavora-cli restore --last --simulated`: the bank file holds what it held
    before that Write. Unplugged and plugged in again, the window shows the old profile."""
    if CLI_PATH is None:
        raise HarnessError("no zavora-cli beside zavora-demo; give --cli")
    keypad = demo.page_pixels(KEYPAD_AREA[KITE])
    write(demo)
    before = demo.bank()
    check(len(before) > 0, "the first Write left no bank file")
    demo.drag_on_page(PALETTE_L1, KITE_SLOT_2)
    write(demo)
    check(demo.bank_byte(KITE, PS4, 0, KITE_SLOT_2_INDEX) == CODE_L1, "slot 2 did not take L1")
    edited = demo.page_pixels(KEYPAD_AREA[KITE])
    check(not alike(edited, keypad), "the page does not show L1 on slot 2")

    # The person's shell: the same home folder, so the same bank file and backups.
    done = subprocess.run([CLI_PATH, "restore", "--last", "--simulated"], env=demo.env, capture_output=True,
                          text=True, timeout=30)
    check(done.returncode == 0, f"zavora-cli restore --last exited {done.returncode}: {done.stderr.strip()}")
    check("bank ps4: written and read back as sent" in done.stdout, f"zavora-cli said: {done.stdout.strip()}")
    check(demo.bank() == before, "after the restore the bank file does not hold what it held before the Write")

    demo.unplug()
    check(demo.wait_until(lambda: not alike(demo.page_pixels(KEYPAD_AREA[KITE]), edited)),
          "the page still shows the adapter after Unplug")
    demo.plug()
    check(demo.wait_until(lambda: alike(demo.page_pixels(KEYPAD_AREA[KITE]), keypad)),
          "plugged in again, the page does not show the profile as it was before the Write")
    check(demo.bank() == before, "plugging in again changed the bank file")


# zavora-cli, for the journeys that use it beside the window.
CLI_PATH = None

# name: (function, demo options)
JOURNEYS = {
    "kite_modes": (every_kite_mode_from_the_list, {"model": KITE}),
    "modes_by_keyboard": (modes_by_keyboard, {"model": KITE}),
    "drag_and_write": (drag_a_function_and_write, {"model": KITE}),
    "key_capture": (capture_a_key_and_write, {"model": KITE}),
    "keyboard_only": (keyboard_only, {"model": KITE}),
    "profiles_without_documents": (save_rename_refuse_and_delete, {"model": KITE, "documents": "none"}),
    "existing_name": (an_existing_name_is_refused, {"model": KITE, "documents": "home"}),
    "settings_dialogs": (every_settings_dialog_then_write, {"model": KITE}),
    "moss_lstick": (moss_left_stick_panel, {"model": MOSS, "capability": 5}),
    "fern_slot": (fern_second_profile_slot, {"model": FERN}),
    "capture_and_window": (capture_leaves_the_window_alone, {"model": KITE}),
    "moss_fn_rules": (moss_fn_only_on_slot_5, {"model": MOSS, "capability": 5}),
    "language": (switch_the_language, {"model": KITE}),
    "mouse_text": (mouse_text_follows_the_mouse, {"model": KITE, "mouse": "none"}),
    "unplug_replug": (unplug_and_replug, {"model": KITE}),
    "replug_slot": (replug_follows_the_slot_list, {"model": KITE}),
    "failed_mode_read": (failed_read_shows_defaults, {"model": KITE}),
    "shown_profile_kept": (a_shown_profile_is_never_renamed, {"model": KITE, "documents": "home"}),
    "full_disk_new": (a_failed_new_keeps_the_page, {"model": KITE, "full_disk": True}),
    "cli_restore_last": (cli_restores_what_write_overwrote, {"model": KITE}),
}


def run(name, function, options, demo_path, display, shots):
    demo = Demo(demo_path, display, shots, name, **options)
    started = time.monotonic()
    try:
        demo.start()
        function(demo)
        return "pass", "", time.monotonic() - started
    except (JourneyFailed, HarnessError) as failure:
        kind = "fail" if isinstance(failure, JourneyFailed) else "harness fault"
        demo.screenshot("failure")
        demo.keep_evidence()
        detail = f"{failure} (screenshots and home folder in {demo.shots_dir})"
        return kind, detail, time.monotonic() - started
    except Exception:
        demo.screenshot("failure")
        demo.keep_evidence()
        return "harness fault", traceback.format_exc().strip().splitlines()[-1], time.monotonic() - started
    finally:
        demo.stop()
        demo.clean()


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--demo", required=True, help="path of zavora-demo")
    parser.add_argument("--cli", help="path of zavora-cli (default: beside zavora-demo, or in cli/ there)")
    parser.add_argument("--shots", default="journey-shots", help="folder for the screenshots of failures")
    parser.add_argument("--jobs", type=int, default=2,
                        help="journeys run side by side, each on an X server of its own (default 2)")
    parser.add_argument("journeys", nargs="*", help=f"journeys to run (default: all): {', '.join(JOURNEYS)}")
    args = parser.parse_args()

    unknown = [j for j in args.journeys if j not in JOURNEYS]
    if unknown:
        parser.error(f"no journey {', '.join(unknown)}")
    missing = missing_tools()
    if missing:
        print(f"skipped: {', '.join(missing)} missing (scripts/deps installs them)")
        return 77

    names = args.journeys or list(JOURNEYS)
    global CLI_PATH
    folder = os.path.dirname(os.path.abspath(args.demo))
    for candidate in ([args.cli] if args.cli else [os.path.join(folder, "cli", "zavora-cli"),
                                                   os.path.join(folder, "zavora-cli")]):
        if os.access(candidate, os.X_OK):
            CLI_PATH = os.path.abspath(candidate)
            break
    servers = []
    try:
        for _ in range(max(1, min(args.jobs, len(names)))):
            server = XServer()
            servers.append(server)
            server.start()
    except HarnessError as error:
        for server in servers:
            server.stop()
        print(f"skipped: {error}")
        return 77

    shots = os.path.abspath(args.shots)
    shutil.rmtree(shots, ignore_errors=True)
    demo = os.path.abspath(args.demo)
    waiting = queue.Queue()
    for name in names:
        waiting.put(name)
    outcomes = {}
    printing = threading.Lock()

    # One worker per X server: a display has one pointer, so its journeys take turns.
    def work(display):
        while True:
            try:
                name = waiting.get_nowait()
            except queue.Empty:
                return
            function, options = JOURNEYS[name]
            outcome, detail, seconds = run(name, function, options, demo, display, shots)
            outcomes[name] = outcome
            with printing:
                if outcome == "pass":
                    print(f"PASS {name} ({seconds:.1f} s)", flush=True)
                else:
                    print(f"FAIL {name} ({seconds:.1f} s): {outcome}: {detail}", flush=True)

    workers = [threading.Thread(target=work, args=(server.display,)) for server in servers]
    try:
        for worker in workers:
            worker.start()
        for worker in workers:
            worker.join()
    finally:
        for server in servers:
            server.stop()
    passed = sum(1 for outcome in outcomes.values() if outcome == "pass")
    failed = len(names) - passed
    print(f"{passed} passed, {failed} failed")
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
