"""What the checks that read the program through AT-SPI share: the skip, the walk over the accessible
tree, and the run of the check itself on a private session bus with a Python that has pyatspi."""

import os
import shutil
import subprocess
import sys

SKIP = 77


def skip(why):
    print(f"skipped: {why}", flush=True)
    return SKIP


def walk(node, depth=0, limit=14):
    """Every accessible under `node`, itself first."""
    if node is None or depth > limit:
        return
    yield node
    try:
        count = node.childCount
    except Exception:
        return
    for i in range(count):
        try:
            child = node.getChildAtIndex(i)
        except Exception:
            continue
        yield from walk(child, depth + 1, limit)


def run_inside_bus(script, demo, tools, timeout):
    """Runs `script --demo DEMO --inside` under dbus-run-session, or says why it cannot (exit 77)."""
    for tool in ("dbus-run-session",) + tuple(tools):
        if shutil.which(tool) is None:
            return skip(f"{tool} is not installed")
    if not os.path.isfile("/usr/share/dbus-1/services/org.a11y.Bus.service"):
        return skip("at-spi2-core (the accessibility bus) is not installed")
    # pyatspi comes with the system's Python, which need not be the one running this.
    python = next((p for p in (sys.executable, "/usr/bin/python3")
                   if os.path.isfile(p) and subprocess.run([p, "-c", "import pyatspi"],
                                                           capture_output=True).returncode == 0), None)
    if python is None:
        return skip("python3-pyatspi is not installed")
    done = subprocess.run(["dbus-run-session", "--", python, os.path.abspath(script), "--demo", demo, "--inside"],
                          timeout=timeout)
    return done.returncode
