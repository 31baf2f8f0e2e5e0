#!/bin/bash
# Resident memory of zavora-demo after start and its CPU while it sits connected (the pages' 500 ms
# status poll), read from /proc under a private Xvfb server.
#
#   bench/idle.sh BUILD_DIR [SECONDS] [SETTLE] [SCREENSHOT.png]
#
# The demo starts with a KITE plugged in; after SETTLE seconds (default 5) the script reads VmRSS
# and utime+stime, waits SECONDS (default 60) and reads them again. The X server's own CPU over the
# same span is shown beside it. With a screenshot path, the screen at the end is saved there (needs
# ImageMagick's import), to see that the window was connected. Each run gets fresh home, runtime and
# data folders.
set -euo pipefail

build=${1:?usage: bench/idle.sh BUILD_DIR [SECONDS] [SETTLE] [SCREENSHOT.png]}
span=${2:-60}
settle=${3:-5}
shot=${4:-}
demo=$build/zavora-demo
[ -x "$demo" ] || { echo "idle.sh: $demo is not built" >&2; exit 2; }

me=idle.sh
source "$(dirname "$0")/xvfb.sh"
work=$(mktemp -d /tmp/zav-idle-XXXXXX)
xvfb=
app=
cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

mkdir -m 700 "$work/runtime"
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime XDG_DATA_HOME=$work/home/.local/share
export XDG_CONFIG_HOME=$work/home/.config QT_QPA_PLATFORM=xcb
unset ZAVORA_EXIT_AFTER_FIRST_PAINT
mkdir -p "$HOME"

start_xvfb

"$demo" --model kite >"$work/demo.log" 2>&1 &
app=$!

ticks=$(getconf CLK_TCK)
# utime + stime of all threads, in clock ticks; the fields after the command name, which ends in ')'.
cpu() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }
status() { awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/status"; }
now() { date +%s.%N; }

sleep "$settle"
kill -0 "$app" 2>/dev/null || { echo "idle.sh: zavora-demo ended early" >&2; cat "$work/demo.log" >&2; exit 1; }
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'); load:$(uptime | sed 's/.*load average://')"
echo "after ${settle} s: VmRSS $(status "$app" VmRSS) kB, VmHWM $(status "$app" VmHWM) kB, threads $(status "$app" Threads)"

t0=$(now)
a0=$(cpu "$app")
x0=$(cpu "$xvfb")
sleep "$span"
t1=$(now)
a1=$(cpu "$app")
x1=$(cpu "$xvfb")
kill -0 "$app" 2>/dev/null || { echo "idle.sh: zavora-demo ended during the measurement" >&2; exit 1; }
[ -z "$shot" ] || import -window root "$shot"

echo "after $(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.1f", b - a }') s more: VmRSS $(status "$app" VmRSS) kB, VmHWM $(status "$app" VmHWM) kB"
awk -v a0="$a0" -v a1="$a1" -v x0="$x0" -v x1="$x1" -v t0="$t0" -v t1="$t1" -v hz="$ticks" 'BEGIN {
    s = t1 - t0
    printf "zavora-demo CPU: %d ticks of 1/%d s in %.1f s = %.3f %% of a core (target < 0.5 %%)\n",
           a1 - a0, hz, s, 100 * (a1 - a0) / hz / s
    printf "Xvfb CPU over the same span: %.3f %% of a core\n", 100 * (x1 - x0) / hz / s
}'
echo "load after:$(uptime | sed 's/.*load average://')"
