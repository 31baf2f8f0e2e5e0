"""Drives zavora-demo under a private X server as a person would: real pointer and key events (xdotool)
at the controls' places, then looks at what the program left on disk and on the screen.

Standard library only; needs Xvfb, xdotool and ImageMagick's import on the path.
"""

import os
import resource
import shutil
import signal
import subprocess
import tempfile
import time

SCREEN_WIDTH, SCREEN_HEIGHT = 1280, 800

# Where the model page stands in the main window.
PAGE_ORIGIN = (8, 60)

MODEL_NAMES = {1: "kite", 2: "moss", 3: "fern"}
MODEL_FOLDERS = {1: "ZAV KITE", 2: "ZAV 5230", 3: "ZAV 5270"}
MODE_FOLDERS = ("ProfilePS4", "ProfilePS3", "ProfilePC", "ProfileKBD")

# The adapter's flash as the demo keeps it: for model 1, 2, 3 the banks of modes 0..3, 512 bytes each.
BANK_SIZE = 512
MODES = 4
RECORD_SIZE = {1: 60, 2: 55, 3: 55}
# The twelve settings bytes follow the key codes of a record.
SETTINGS_START = {1: 48, 2: 37, 3: 43}

# A profile file keeps the record's mode at a byte of its model's layout and the model in its last byte.
PROFILE_FILE_MODE_BYTE = {1: 60, 2: 53, 3: 55}
PROFILE_FILE_MODEL_BYTE = 127

# A combo box field is 20 pixels high whatever height its owner gives it; its arrow is at the right.
COMBO_FIELD_HEIGHT = 20
COMBO_ARROW_INSET = 9

# Message box: 500 pixels wide, 50 high plus 25 a line, buttons 30 high at the top of the last 40.
MESSAGE_BOX_WIDTH = 500
MESSAGE_BUTTON_TOP = 10
MESSAGE_LINE_PITCH = 25
MESSAGE_OK_ONLY_X = 220
MESSAGE_OK_X = 180
MESSAGE_CANCEL_X = 260
MESSAGE_BUTTON_SIZE = (60, 30)

# Settings dialogs: 600 x 400, OK at (451, 340) 100 x 30.
SETTINGS_SIZE = (600, 400)
SETTINGS_OK = (451, 340, 100, 30)

# Slider: large cell k is 10 x 60 at (10 + 55 k, 15) inside the slider.
SLIDER_CELL_PITCH = 55


def no_room_for_files():
    """As a full disk looks to a program, for root too: no file may grow, and writing says so."""
    signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
    resource.setrlimit(resource.RLIMIT_FSIZE, (0, 0))


def end_process(process):
    """Ends a child process politely, then firmly."""
    if process is not None and process.poll() is None:
        process.terminate()
        try:
            process.wait(5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


class JourneyFailed(AssertionError):
    """The program did not do what the person asked of it."""


class HarnessError(RuntimeError):
    """The harness itself could not do its part (no X server, a tool that failed)."""


def missing_tools():
    return [tool for tool in ("Xvfb", "xdotool", "import") if shutil.which(tool) is None]


def centre(box):
    x, y, w, h = box
    return x + w // 2, y + h // 2


def slider_cell(slider_place, k):
    """Centre of large cell k of a slider standing at slider_place, in the owner's pixels."""
    return slider_place[0] + 15 + SLIDER_CELL_PITCH * k, slider_place[1] + 45


# Two screen pictures differ where a pixel's channel moves by more than this: a repaint of part of the
# stretched background may shift a channel by a step or two, which no one sees.
PIXEL_TOLERANCE = 24


def differing_pixels(a, b):
    if len(a) != len(b):
        return max(len(a), len(b)) // 3
    return sum(1 for i in range(0, len(a), 3)
               if max(abs(a[i] - b[i]), abs(a[i + 1] - b[i + 1]), abs(a[i + 2] - b[i + 2])) > PIXEL_TOLERANCE)


def alike(a, b):
    return differing_pixels(a, b) == 0


def bank_offset(model, mode, slot, byte):
    record = 0 if model == 2 else slot * RECORD_SIZE[model]
    return ((model - 1) * MODES + mode) * BANK_SIZE + record + byte


class XServer:
    """A private Xvfb on a display it picks itself."""

    def __init__(self):
        self.process = None
        self.display = None

    def start(self, timeout=10):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{SCREEN_WIDTH}x{SCREEN_HEIGHT}x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        deadline = time.monotonic() + timeout
        number = b""
        os.set_blocking(read_end, False)
        while time.monotonic() < deadline and not number.endswith(b"\n"):
            try:
                chunk = os.read(read_end, 16)
            except BlockingIOError:
                chunk = None
            if chunk == b"":
                break
            if chunk:
                number += chunk
            elif self.process.poll() is not None:
                break
            else:
                time.sleep(0.05)
        os.close(read_end)
        if not number.strip():
            self.stop()
            raise HarnessError("Xvfb did not start")
        self.display = ":" + number.decode().strip()
        return self.display

    def stop(self):
        end_process(self.process)
        self.process = None


class Window:
    def __init__(self, wid, name, x, y, w, h):
        self.wid, self.name, self.x, self.y, self.w, self.h = wid, name, x, y, w, h

    def __repr__(self):
        return f"window {self.wid} '{self.name}' {self.w}x{self.h}+{self.x}+{self.y}"


class Demo:
    """One run of zavora-demo with a fresh home folder on the given display.

    documents: "env" names a fresh folder with ZAVORA_DOCUMENTS_DIR, "home" makes ~/Documents, "none"
    leaves the account without any documents folder.
    """

    def __init__(self, demo_path, display, shots_dir, name, model=1, mouse="own", capability=0,
                 documents="env", full_disk=False):
        self.demo_path = demo_path
        self.display = display
        self.name = name
        self.model = model
        self.shots_dir = os.path.join(shots_dir, name)
        self.home = tempfile.mkdtemp(prefix="zavora-journey-")
        self.args = [demo_path, "--model", MODEL_NAMES.get(model, "none"), "--mouse", mouse,
                     "--capability", str(capability)]
        self.env = dict(os.environ)
        for key in [k for k in self.env if k.startswith("XDG_") or k.startswith("QT_")]:
            del self.env[key]
        self.env.pop("ZAVORA_DOCUMENTS_DIR", None)
        self.env.pop("ZAVORA_EXIT_AFTER_FIRST_PAINT", None)
        self.env.update({
            "DISPLAY": display,
            "HOME": self.home,
            "XDG_RUNTIME_DIR": os.path.join(self.home, "run"),
            "LANG": "C.UTF-8",
            "LC_ALL": "C.UTF-8",
        })
        os.makedirs(self.env["XDG_RUNTIME_DIR"], mode=0o700)
        if documents == "env":
            self.documents = os.path.join(self.home, "profiles")
            os.makedirs(self.documents)
            self.env["ZAVORA_DOCUMENTS_DIR"] = self.documents
        else:
            self.documents = os.path.join(self.home, "Documents")
            if documents == "home":
                os.makedirs(self.documents)
        self.full_disk = full_disk
        self.bank_path = os.path.join(self.home, ".local", "share", "zavora-demo", "simulated-adapter.bin")
        self.process = None
        self.log_path = os.path.join(self.home, "demo.log")
        self.main = None
        self.simulator = None
        self.shots = []

    # --- start and stop ----------------------------------------------------------------------------

    # A sanitizer build on a busy machine can take many seconds to show its first window.
    def start(self, timeout=60):
        self.log = open(self.log_path, "w")
        self.process = subprocess.Popen(self.args, env=self.env, stdout=self.log, stderr=subprocess.STDOUT,
                                        start_new_session=True,
                                        preexec_fn=no_room_for_files if self.full_disk else None)
        self.main = self.wait_for_window("^ZAV Software$", timeout)
        self.simulator = self.wait_for_window("^Simulated adapter$", timeout)
        # The connect pass reads the adapter's bank once the window is up, and the simulator window
        # takes its final size: the journey starts once the window has stopped changing.
        time.sleep(0.5)
        self.main = self.window(self.main.wid)
        self.simulator = self.window(self.simulator.wid)
        self.wait_still()
        return self

    def wait_still(self, quiet=0.5, timeout=6.0):
        """Waits until the main window has looked the same for `quiet` seconds."""
        deadline = time.monotonic() + timeout
        last = self.window_pixels((0, 0, self.main.w, self.main.h))
        still_since = time.monotonic()
        while time.monotonic() < deadline:
            time.sleep(0.1)
            now = self.window_pixels((0, 0, self.main.w, self.main.h))
            if now != last:
                last, still_since = now, time.monotonic()
            elif time.monotonic() - still_since >= quiet:
                return
        raise HarnessError(f"the main window kept changing for {timeout} s")

    def wait_for_window(self, pattern, timeout):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                raise HarnessError(f"zavora-demo ended with {self.process.returncode}; log {self.log_path}")
            found = self.xdotool("search", "--all", "--onlyvisible", "--pid", str(self.process.pid),
                                 "--name", pattern, check=False).split()
            if found:
                return self.window(found[0])
            time.sleep(0.1)
        raise HarnessError(f"no window named {pattern} within {timeout} s")

    def stop(self):
        end_process(self.process)
        if getattr(self, "log", None):
            self.log.close()

    def keep_evidence(self):
        """Copies the home folder (bank file, profiles, log) next to the screenshots."""
        os.makedirs(self.shots_dir, exist_ok=True)
        target = os.path.join(self.shots_dir, "home")
        shutil.rmtree(target, ignore_errors=True)
        shutil.copytree(self.home, target, ignore=shutil.ignore_patterns("run"), symlinks=True)

    def clean(self):
        shutil.rmtree(self.home, ignore_errors=True)

    # --- X tools ---------------------------------------------------------------------------------

    def xdotool(self, *args, check=True, timeout=5):
        try:
            done = subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True,
                                  timeout=timeout)
        except subprocess.TimeoutExpired:
            raise HarnessError(f"xdotool {' '.join(args)} took longer than {timeout} s")
        if check and done.returncode != 0:
            raise HarnessError(f"xdotool {' '.join(args)} failed: {done.stderr.strip()}")
        return done.stdout

    def window(self, wid):
        shell = self.xdotool("getwindowgeometry", "--shell", str(wid))
        values = dict(line.split("=", 1) for line in shell.split() if "=" in line)
        name = self.xdotool("getwindowname", str(wid), check=False).strip()
        return Window(int(wid), name, int(values["X"]), int(values["Y"]), int(values["WIDTH"]),
                      int(values["HEIGHT"]))

    def windows(self):
        """The program's mapped windows."""
        ids = self.xdotool("search", "--onlyvisible", "--pid", str(self.process.pid), check=False).split()
        shown = []
        for wid in ids:
            try:
                shown.append(self.window(wid))
            except (HarnessError, KeyError):
                pass  # closed meanwhile
        return shown

    def others(self):
        """Mapped windows other than the main and the simulator window."""
        return [w for w in self.windows() if w.wid not in (self.main.wid, self.simulator.wid)]

    # --- the simulator window --------------------------------------------------------------------

    def simulator_button(self, which):
        """Centre of the simulator's "Plug in" or "Unplug" button, checked to be on the screen."""
        sim = self.window(self.simulator.wid)
        # Two equal buttons side by side, 42 pixels above the window's bottom edge, inside margins of 11
        # and a gap of 6, as the simulator's layout places them.
        half = (sim.w - 28) // 4
        x = sim.x + 11 + half if which == "plug" else sim.x + sim.w - 11 - half
        y = sim.y + sim.h - 42
        if not (0 <= x < SCREEN_WIDTH and 0 <= y < SCREEN_HEIGHT):
            raise JourneyFailed(f"the simulator window ({sim.w} x {sim.h} at {sim.x}, {sim.y}) puts its "
                                f"{'Plug in' if which == 'plug' else 'Unplug'} button at ({x}, {y}), off the "
                                f"{SCREEN_WIDTH} x {SCREEN_HEIGHT} screen")
        return x, y

    def unplug(self):
        self.click(*self.simulator_button("unplug"))

    def plug(self):
        self.click(*self.simulator_button("plug"))

    # --- places ----------------------------------------------------------------------------------

    def on_window(self, x, y, window=None):
        window = window or self.main
        return window.x + x, window.y + y

    def on_page(self, x, y):
        return self.on_window(PAGE_ORIGIN[0] + x, PAGE_ORIGIN[1] + y)

    # --- input -----------------------------------------------------------------------------------

    def move(self, x, y):
        self.xdotool("mousemove", str(x), str(y))
        time.sleep(0.05)

    def click(self, x, y, button=1, settle=0.3):
        if not (0 <= x < SCREEN_WIDTH and 0 <= y < SCREEN_HEIGHT):
            raise JourneyFailed(f"the place to click, ({x}, {y}), is off the "
                                f"{SCREEN_WIDTH} x {SCREEN_HEIGHT} screen")
        # A small move first, so that the control sees the pointer arrive as it would from a hand.
        self.move(x - 1, y - 1)
        self.move(x, y)
        self.xdotool("click", str(button))
        time.sleep(settle)

    def click_page(self, box, settle=0.3):
        """Clicks the centre of a control given by its (x, y, w, h) on the page."""
        self.click(*self.on_page(*centre(box)), settle=settle)

    def drag(self, start, end, steps=10, settle=0.4):
        self.move(*start)
        self.xdotool("mousedown", "1")
        time.sleep(0.05)
        for i in range(1, steps + 1):
            self.move(start[0] + (end[0] - start[0]) * i // steps,
                      start[1] + (end[1] - start[1]) * i // steps)
        self.xdotool("mouseup", "1")
        time.sleep(settle)

    def drag_on_page(self, from_box, to_box):
        self.drag(self.on_page(*centre(from_box)), self.on_page(*centre(to_box)))

    def type(self, text, settle=0.3):
        self.xdotool("type", "--delay", "40", text)
        time.sleep(settle)

    def key(self, *keys, settle=0.3):
        self.xdotool("key", "--delay", "40", *keys)
        time.sleep(settle)

    # --- lists -----------------------------------------------------------------------------------

    def open_list(self, box, where="page", what="list", on="arrow", timeout=2.0):
        """Clicks the arrow (or the text) of a combo box given by its box on the page, the main window or
        the simulator window; returns the list window that opened."""
        if where == "page":
            place = self.on_page
        elif where == "simulator":
            simulator = self.window(self.simulator.wid)
            def place(x, y):
                return self.on_window(x, y, simulator)
        else:
            place = self.on_window
        x, y, w, _ = box
        before = {win.wid for win in self.others()}
        at = x + w - COMBO_ARROW_INSET if on == "arrow" else x + w // 3
        sx, sy = place(at, y + COMBO_FIELD_HEIGHT // 2)
        if not (0 <= sx < SCREEN_WIDTH and 0 <= sy < SCREEN_HEIGHT):
            raise JourneyFailed(f"the {on} of the {what} stands at ({sx}, {sy}), off the "
                                f"{SCREEN_WIDTH} x {SCREEN_HEIGHT} screen")
        self.click(sx, sy, settle=0.1)
        _, field_bottom = place(x, y + COMBO_FIELD_HEIGHT)
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            for win in self.others():
                if win.wid not in before and abs(win.y - field_bottom) <= 30:
                    return win
            time.sleep(0.1)
        raise JourneyFailed(f"a click on the {on} of the {what} opened no list")

    def pick(self, box, index, count, where="page", what="list"):
        """Picks item `index` of `count` from a combo box by clicking its arrow and then the item."""
        popup = self.open_list(box, where, what)
        row = popup.h / count
        self.click(popup.x + min(popup.w // 2, 40), int(popup.y + row * (index + 0.5)), settle=0.1)
        deadline = time.monotonic() + 2.0
        while time.monotonic() < deadline:
            if popup.wid not in {w.wid for w in self.others()}:
                time.sleep(0.4)
                return
            time.sleep(0.1)
        raise JourneyFailed(f"the {what} stayed open after a click on item {index}")

    # --- message boxes and dialogs ---------------------------------------------------------------

    def wait_for(self, test, timeout, what):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            for win in self.others():
                if test(win):
                    return win
            time.sleep(0.1)
        raise JourneyFailed(f"no {what} appeared within {timeout} s")

    def message(self, timeout=5.0, expecting=None):
        what = f'message box ("{expecting}")' if expecting else "message box"
        return self.wait_for(lambda w: w.w == MESSAGE_BOX_WIDTH, timeout, what)

    def message_buttons(self, box):
        lines = max(0, round((box.h - 50) / MESSAGE_LINE_PITCH))
        top = MESSAGE_BUTTON_TOP + MESSAGE_LINE_PITCH * lines + MESSAGE_BUTTON_SIZE[1] // 2
        half = MESSAGE_BUTTON_SIZE[0] // 2
        return {"ok": (box.x + MESSAGE_OK_ONLY_X + half, box.y + top),
                "yes": (box.x + MESSAGE_OK_X + half, box.y + top),
                "no": (box.x + MESSAGE_CANCEL_X + half, box.y + top)}

    def answer(self, box, button="ok"):
        self.click(*self.message_buttons(box)[button], settle=0.1)
        self.wait_closed(box, "message box")

    def expect_message(self, text, button="ok", timeout=5.0):
        """Waits for a message box, checks its text and closes it with `button`; returns its text."""
        box = self.message(timeout, expecting=text)
        if text not in box.name:
            self.screenshot("unexpected-message")
            shown = box.name
            self.answer(box, button)
            raise JourneyFailed(f'expected the message "{text}", the box says "{shown}"')
        self.answer(box, button)
        return box.name

    def no_message(self, within=1.0):
        deadline = time.monotonic() + within
        while time.monotonic() < deadline:
            boxes = [w for w in self.others() if w.w == MESSAGE_BOX_WIDTH]
            if boxes:
                self.screenshot("unexpected-message")
                shown = boxes[0].name
                self.answer(boxes[0])
                raise JourneyFailed(f'an unexpected message box says "{shown}"')
            time.sleep(0.1)

    def wait_closed(self, win, what, timeout=3.0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if win.wid not in {w.wid for w in self.others()}:
                time.sleep(0.2)
                return
            time.sleep(0.1)
        raise JourneyFailed(f"the {what} did not close")

    def settings_dialog(self, timeout=3.0, what="settings dialog"):
        return self.wait_for(lambda w: (w.w, w.h) == SETTINGS_SIZE, timeout, what)

    # --- screen ----------------------------------------------------------------------------------

    def screenshot(self, label):
        os.makedirs(self.shots_dir, exist_ok=True)
        path = os.path.join(self.shots_dir, f"{len(self.shots) + 1:02d}-{label}.png")
        subprocess.run(["import", "-window", "root", path], env=self.env, capture_output=True, timeout=10)
        self.shots.append(path)
        return path

    def pixels(self, x, y, w, h):
        """The screen's pixels in a rectangle of screen coordinates, as raw bytes."""
        done = subprocess.run(["import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "+repage",
                               "-depth", "8", "rgb:-"], env=self.env, capture_output=True, timeout=10)
        if done.returncode != 0 or len(done.stdout) != w * h * 3:
            raise HarnessError(f"import could not read the screen: {done.stderr.decode().strip()}")
        return done.stdout

    def page_pixels(self, box):
        x, y = self.on_page(box[0], box[1])
        return self.pixels(x, y, box[2], box[3])

    def window_pixels(self, box):
        x, y = self.on_window(box[0], box[1])
        return self.pixels(x, y, box[2], box[3])

    # --- disk ------------------------------------------------------------------------------------

    def bank(self):
        try:
            with open(self.bank_path, "rb") as f:
                return f.read()
        except FileNotFoundError:
            return b""

    def bank_byte(self, model, mode, slot, byte):
        data = self.bank()
        at = bank_offset(model, mode, slot, byte)
        if len(data) <= at:
            raise JourneyFailed(f"the bank file {self.shown(self.bank_path)} holds {len(data)} bytes, "
                                f"none at {at}")
        return data[at]

    def shown(self, path):
        """A path as the user would name it, from the home folder."""
        return "~" + path[len(self.home):] if path.startswith(self.home) else path

    def profile_folder(self, model, mode):
        return os.path.join(self.documents, "ZAV Software", MODEL_FOLDERS[model], MODE_FOLDERS[mode])

    def profiles(self, model, mode):
        folder = self.profile_folder(model, mode)
        try:
            return sorted(n[:-5] for n in os.listdir(folder) if n.endswith(".zav4"))
        except FileNotFoundError:
            return None

    def wait_until(self, test, timeout=3.0):
        deadline = time.monotonic() + timeout
        while True:
            result = test()
            if result or time.monotonic() >= deadline:
                return result
            time.sleep(0.1)


def check(condition, message):
    if not condition:
        raise JourneyFailed(message)
