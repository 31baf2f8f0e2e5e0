"""Drives zavora-demo under a private X server as a person would, with real pointer and key events (xdotool)
at the controls' places, and reads what it left on disk and on the screen (ImageMagick's import)."""

import collections, os, resource, select, shutil, signal, subprocess, tempfile, time, traceback

SCREEN = (1280, 800)
PAGE_ORIGIN = (8, 60)  # where the model page stands in the main window
MODEL_FOLDERS = {1: "ZAV KITE", 2: "ZAV 5230", 3: "ZAV 5270"}
MODE_FOLDERS = ("ProfilePS4", "ProfilePS3", "ProfilePC", "ProfileKBD")
# The demo's flash: for models 1..3 the banks of modes 0..3, 512 bytes each, records one after another
# (MOSS keeps one record a bank); the twelve settings bytes follow a record's key codes.
RECORD_SIZE = {1: 60, 2: 0, 3: 55}
SETTINGS_START = {1: 48, 2: 37, 3: 43}
MESSAGE_WIDTH = 500  # 50 pixels high plus 25 a line, its buttons 60 x 30 at the top of the last 40
SETTINGS_SIZE = (600, 400)
SETTINGS_OK = (451, 340, 100, 30)
# Where the page's settings buttons and the window's model tabs and language list stand.
SENSITIVITY, ACCELERATION, DEAD_ZONE = (765, 70, 120, 30), (765, 105, 120, 30), (765, 140, 120, 30)
BUTTON_OPTIONS, LANGUAGE_LIST = (75, 25, 180, 30), (755, 3, 150, 20)
TABS = {"moss": (107, 35, 100, 25), "fern": (208, 35, 100, 25), "kite": (6, 35, 100, 25)}
# A repaint of part of the stretched background may move a channel by a step or two, which no one sees.
PIXEL_TOLERANCE = 24

Window = collections.namedtuple("Window", "wid name x y w h")


class JourneyFailed(AssertionError):  # the program did not do what the person asked of it
    pass


class HarnessError(RuntimeError):  # the harness itself could not do its part
    pass


def check(condition, message):
    if not condition:
        raise JourneyFailed(message)


def missing_tools():
    return [tool for tool in ("Xvfb", "xdotool", "import") if shutil.which(tool) is None]


def slider_cell(slider, k):  # the centre of its large cell k
    return slider[0] + 15 + 55 * k, slider[1] + 45


def alike(a, b):
    return len(a) == len(b) and all(abs(x - y) <= PIXEL_TOLERANCE for x, y in zip(a, b))


def wait_until(test, timeout=3.0):
    deadline = time.monotonic() + timeout
    while not (result := test()) and time.monotonic() < deadline:
        time.sleep(0.1)
    return result


def end_process(process):
    if process is not None and process.poll() is None:
        process.terminate()
        try:
            process.wait(5)
        except subprocess.TimeoutExpired:
            process.kill(), process.wait()


def no_room_for_files():  # as a full disk looks to a program, for root too: no file may grow, writing says so
    signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
    resource.setrlimit(resource.RLIMIT_FSIZE, (0, 0))


def start_x(size, timeout=10):
    """A private Xvfb on a display it picks itself: its process and the display."""
    read_end, write_end = os.pipe()
    process = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{size[0]}x{size[1]}x24",
                                "-nolisten", "tcp", "-noreset"], pass_fds=(write_end,), stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    os.close(write_end)
    number, deadline = b"", time.monotonic() + timeout
    while not number.endswith(b"\n") and select.select([read_end], [], [], max(0, deadline - time.monotonic()))[0]:
        if not (chunk := os.read(read_end, 16)):
            break
        number += chunk
    os.close(read_end)
    if not number.strip():
        end_process(process)
        raise HarnessError("Xvfb did not start")
    return process, ":" + number.decode().strip()


class Demo:
    """One run of zavora-demo with a fresh home folder. documents: "env" names a fresh folder with
    ZAVORA_DOCUMENTS_DIR, "home" makes ~/Documents, "none" leaves the account without one."""

    def __init__(self, demo_path, display, shots_dir, name, model=1, mouse="own", capability=0,
                 documents="env", full_disk=False):
        self.shots_dir, self.full_disk = os.path.join(shots_dir, name), full_disk
        self.process = self.log = None
        self.home = tempfile.mkdtemp(prefix="zavora-journey-")
        self.args = [demo_path, "--model", ("kite", "moss", "fern")[model - 1], "--mouse", mouse, "--capability",
                     str(capability)]
        self.env = {k: v for k, v in os.environ.items()
                    if not k.startswith(("XDG_", "QT_", "ZAVORA_DOCUMENTS_DIR", "ZAVORA_EXIT_AFTER"))}
        self.env.update(DISPLAY=display, HOME=self.home, XDG_RUNTIME_DIR=os.path.join(self.home, "run"),
                        LANG="C.UTF-8", LC_ALL="C.UTF-8")
        os.makedirs(self.env["XDG_RUNTIME_DIR"], mode=0o700)
        self.documents = os.path.join(self.home, "profiles" if documents == "env" else "Documents")
        if documents != "none":
            os.makedirs(self.documents)
        if documents == "env":
            self.env["ZAVORA_DOCUMENTS_DIR"] = self.documents
        self.bank_path = os.path.join(self.home, ".local", "share", "zavora-demo", "simulated-adapter.bin")
        self.log_path = os.path.join(self.home, "demo.log")

    def start(self, timeout=60):
        self.log = open(self.log_path, "w")
        self.process = subprocess.Popen(self.args, env=self.env, stdout=self.log, stderr=subprocess.STDOUT,
                                        start_new_session=True,
                                        preexec_fn=no_room_for_files if self.full_disk else None)

        def shown(pattern):
            return self.xdotool("search", "--all", "--onlyvisible", "--pid", str(self.process.pid), "--name",
                                pattern, check=False).split() or self.process.poll() is not None

        # A sanitizer build on a busy machine can take many seconds to show its first window; the connect
        # pass then reads the bank and the simulator window takes its size: start once all is still.
        found = [wait_until(lambda: shown(f"^{name}$"), timeout) for name in ("ZAV Software", "Simulated adapter")]
        if not all(isinstance(f, list) for f in found):
            raise HarnessError(f"zavora-demo showed no window or ended ({self.process.poll()}); log {self.log_path}")
        time.sleep(0.5)
        self.main, self.simulator = (self.window(f[0]) for f in found)
        self.wait_still()
        return self

    def wait_still(self, quiet=0.5, timeout=6.0):  # until the main window looks the same for `quiet` seconds
        box = (0, 0, self.main.w, self.main.h)
        deadline, last, since = time.monotonic() + timeout, self.window_pixels(box), time.monotonic()
        while time.monotonic() < deadline:
            time.sleep(0.1)
            if (now := self.window_pixels(box)) != last:
                last, since = now, time.monotonic()
            elif time.monotonic() - since >= quiet:
                return
        raise HarnessError(f"the main window kept changing for {timeout} s")

    def stop(self, evidence=False):
        """Ends the demo and removes its home, kept (bank file, profiles, log) with a screenshot as evidence."""
        target = os.path.join(self.shots_dir, "home")
        if evidence:
            os.makedirs(self.shots_dir, exist_ok=True)
            subprocess.run(["import", "-window", "root", os.path.join(self.shots_dir, "failure.png")], env=self.env,
                           capture_output=True, timeout=10)
            shutil.rmtree(target, ignore_errors=True)
        end_process(self.process)
        self.log and self.log.close()
        if evidence:
            shutil.copytree(self.home, target, ignore=shutil.ignore_patterns("run"), symlinks=True)
        shutil.rmtree(self.home, ignore_errors=True)


    def xdotool(self, *args, check=True):
        done = subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True, timeout=5)
        if check and done.returncode != 0:
            raise HarnessError(f"xdotool {' '.join(args)} failed: {done.stderr.strip()}")
        return done.stdout

    def window(self, wid):
        values = dict(kv.split("=", 1) for kv in self.xdotool("getwindowgeometry", "--shell", str(wid)).split())
        name = self.xdotool("getwindowname", str(wid), check=False).strip()
        return Window(int(wid), name, *(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT")))

    def others(self):  # the program's mapped windows but the main and the simulator window
        shown = []
        for wid in self.xdotool("search", "--onlyvisible", "--pid", str(self.process.pid), check=False).split():
            try:
                if int(wid) not in (self.main.wid, self.simulator.wid):
                    shown.append(self.window(wid))
            except (HarnessError, KeyError):
                pass  # closed meanwhile
        return shown

    def on_page(self, box):  # the screen place of the centre of a box on the page
        return self.on_window((box[0] + PAGE_ORIGIN[0], box[1] + PAGE_ORIGIN[1], *box[2:]))

    def on_window(self, box, window=None):
        return (window or self.main).x + box[0] + box[2] // 2, (window or self.main).y + box[1] + box[3] // 2

    def move(self, x, y):
        self.xdotool("mousemove", str(x), str(y))
        time.sleep(0.05)

    def click(self, place, settle=0.3):
        x, y = place
        check(0 <= x < SCREEN[0] and 0 <= y < SCREEN[1], f"the place to click, ({x}, {y}), is off the screen")
        self.move(x - 1, y - 1)  # the control sees the pointer arrive, as from a hand
        self.move(x, y)
        self.xdotool("click", "1")
        time.sleep(settle)

    def drag(self, from_box, to_box, steps=10):
        (x0, y0), (x1, y1) = self.on_page(from_box), self.on_page(to_box)
        self.move(x0, y0)
        self.xdotool("mousedown", "1")
        for i in range(1, steps + 1):
            self.move(x0 + (x1 - x0) * i // steps, y0 + (y1 - y0) * i // steps)
        self.xdotool("mouseup", "1")
        time.sleep(0.4)

    def key(self, *keys, settle=0.3, command="key"):
        self.xdotool(command, "--delay", "40", *keys)
        time.sleep(settle)

    def simulator_button(self, which):  # "Plug in" or "Unplug": 42 above the bottom, margins 11, gap 6
        sim = self.window(self.simulator.wid)
        half = (sim.w - 28) // 4
        self.click((sim.x + 11 + half if which == "plug" else sim.x + sim.w - 11 - half, sim.y + sim.h - 42))


    def wait_for(self, test, what, timeout=3.0):
        found = wait_until(lambda: next((w for w in self.others() if test(w)), None), timeout)
        check(found, f"no {what} appeared within {timeout} s")
        return found

    def wait_closed(self, win, what):
        check(wait_until(lambda: win.wid not in {w.wid for w in self.others()}), f"the {what} did not close")
        time.sleep(0.2)

    def open_list(self, box, what, window=None, on_arrow=True):
        """Clicks the arrow (or the text) of a combo box on the page, or on `window`; returns its list."""
        before = {w.wid for w in self.others()}
        field = (box[0] + box[2] - 9 if on_arrow else box[0] + box[2] // 3, box[1], 0, 20)  # 20 high, always
        place = self.on_window(field, window) if window else self.on_page(field)
        self.click(place, settle=0.1)
        return self.wait_for(lambda w: w.wid not in before and abs(w.y - place[1] - 10) <= 30,
                             f"list opened by a click on the {what}", 2.0)

    def pick(self, box, index, count, what, window=None):  # item `index` of `count`: arrow, then item
        popup = self.open_list(box, what, window)
        self.click((popup.x + min(popup.w // 2, 40), int(popup.y + popup.h / count * (index + 0.5))), 0.1)
        self.wait_closed(popup, f"{what} (after a click on item {index})")
        time.sleep(0.2)

    def message(self, expecting="", timeout=5.0):
        return self.wait_for(lambda w: w.w == MESSAGE_WIDTH, f'message box "{expecting}"', timeout)

    def answer(self, box, button="ok"):
        lines = max(0, round((box.h - 50) / 25))
        self.click((box.x + {"ok": 250, "yes": 210, "no": 290}[button], box.y + 25 + 25 * lines), settle=0.1)
        self.wait_closed(box, "message box")

    def expect_message(self, text, button="ok"):
        self.answer(box := self.message(text), button)
        check(text in box.name, f'expected the message "{text}", the box says "{box.name}"')

    def no_message(self, within=1.0):
        if box := wait_until(lambda: next((w for w in self.others() if w.w == MESSAGE_WIDTH), None), within):
            self.answer(box)
        check(not box, f'an unexpected message box says "{box and box.name}"')

    def settings_dialog(self, what):
        return self.wait_for(lambda w: (w.w, w.h) == SETTINGS_SIZE, what)


    def pixels(self, x, y, w, h):
        done = subprocess.run(["import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "+repage", "-depth", "8",
                               "rgb:-"], env=self.env, capture_output=True, timeout=10)
        if done.returncode != 0 or len(done.stdout) != w * h * 3:
            raise HarnessError(f"import could not read the screen: {done.stderr.decode().strip()}")
        return done.stdout

    def page_pixels(self, box):
        return self.window_pixels((box[0] + PAGE_ORIGIN[0], box[1] + PAGE_ORIGIN[1], *box[2:]))

    def window_pixels(self, box):
        return self.pixels(self.main.x + box[0], self.main.y + box[1], *box[2:])

    def bank(self):
        with open(self.bank_path if os.path.exists(self.bank_path) else os.devnull, "rb") as f:
            return f.read()

    def bank_byte(self, model, mode, slot, byte):
        data, at = self.bank(), ((model - 1) * 4 + mode) * 512 + slot * RECORD_SIZE[model] + byte
        check(at < len(data), f"the bank file holds {len(data)} bytes, none at {at}")
        return data[at]

    def profile_folder(self, model, mode):
        return os.path.join(self.documents, "ZAV Software", MODEL_FOLDERS[model], MODE_FOLDERS[mode])

    def profiles(self, model, mode):
        folder = self.profile_folder(model, mode)
        return sorted(n[:-5] for n in os.listdir(folder) if n.endswith(".zav4")) if os.path.isdir(folder) else []


def on_own_server(demo_path, shots, name, act, size=SCREEN, env=None, **options):
    """Runs act(demo) on a demo and an X server of its own: 77 when that cannot be here, 1 when act fails or
    gives failures (printed, the evidence kept), else 0."""
    try:
        if missing_tools():
            raise HarnessError(f"{', '.join(missing_tools())} missing (scripts/deps installs them)")
        server, display = start_x(size)
        demo = Demo(os.path.abspath(demo_path), display, os.path.abspath(shots), name, **options)
    except HarnessError as error:
        print(f"skipped: {error}", flush=True)
        return 77
    demo.env.update(env or {})
    failures = ["the harness stopped"]
    try:
        failures = act(demo.start())
    except (JourneyFailed, HarnessError) as failure:
        failures = [f"{type(failure).__name__}: {failure}"]
    except Exception:
        failures = [traceback.format_exc()]
    finally:
        demo.stop(evidence=bool(failures))
        end_process(server)
    for failure in failures or []:
        print(f"FAIL {name}: {failure} (evidence in {demo.shots_dir})", flush=True)
    return 1 if failures else 0
