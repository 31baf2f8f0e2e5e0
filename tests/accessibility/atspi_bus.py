"""What the checks that read the program through AT-SPI share: the skip, the waits, the walk over the
accessible tree, and the run of the check itself on a private session bus with a Python that has pyatspi."""

import os
import shutil
import subprocess
import sys
import time


def skip(why):
    print(f"skipped: {why}", flush=True)
    return 77


def wait(test, timeout=10.0):
    deadline = time.monotonic() + timeout
    while not (result := test()) and time.monotonic() < deadline:
        time.sleep(0.3)
    return result


def walk(node, depth=0, limit=14):
    """Every accessible under `node`, itself first."""
    if node is not None and depth <= limit:
        yield node
        try:
            children = [node.getChildAtIndex(i) for i in range(node.childCount)]
        except Exception:
            children = []
        for child in children:
            yield from walk(child, depth + 1, limit)


def find_app(pyatspi, pid, timeout=20.0):
    def app():
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            try:
                if (found := desktop.getChildAtIndex(i)) is not None and found.get_process_id() == pid:
                    return found
            except Exception:
                continue
    return wait(app, timeout)


def run_inside_bus(script, tools, timeout):
    """Runs `script --demo DEMO --inside` under dbus-run-session, or says why it cannot (exit 77)."""
    if missing := [t for t in ("dbus-run-session", *tools) if shutil.which(t) is None]:
        return skip(f"{', '.join(missing)} not installed")
    if not os.path.isfile("/usr/share/dbus-1/services/org.a11y.Bus.service"):
        return skip("at-spi2-core (the accessibility bus) is not installed")
    # pyatspi comes with the system's Python, which need not be the one running this.
    python = next((p for p in (sys.executable, "/usr/bin/python3") if os.path.isfile(p) and subprocess.run(
        [p, "-c", "import pyatspi"], capture_output=True).returncode == 0), None)
    if python is None:
        return skip("python3-pyatspi is not installed")
    return subprocess.run(["dbus-run-session", "--", python, os.path.abspath(script), *sys.argv[1:], "--inside"],
                          timeout=timeout).returncode
