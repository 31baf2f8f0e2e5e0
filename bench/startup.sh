#!/bin/bash
# Time from exec to the first painted window: zavora-demo against a bare Qt window of the same size
# (bench/bare_window), both ending right after their first frame, measured by hyperfine and then
# again with the two programs taking turns.
#
#   bench/startup.sh BUILD_DIR [RUNS] [xcb|offscreen]
#
# xcb (the default) runs both under a private Xvfb server; offscreen uses Qt's offscreen platform.
# All runs share one fresh home, runtime and data folder, so no real profile is touched.
set -euo pipefail

build=${1:?usage: bench/startup.sh BUILD_DIR [RUNS] [xcb|offscreen]}
runs=${2:-50}
platform=${3:-xcb}
demo=$build/zavora-demo
bare=$build/bench/bare_window

command -v hyperfine >/dev/null || { echo "startup.sh: hyperfine is missing (apt-get install -y hyperfine)" >&2; exit 2; }
for program in "$demo" "$bare"; do
    [ -x "$program" ] || { echo "startup.sh: $program is not built" >&2; exit 2; }
done

me=startup.sh
source "$(dirname "$0")/xvfb.sh"
work=$(mktemp -d /tmp/zav-startup-XXXXXX)
xvfb=
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

mkdir -m 700 "$work/runtime"
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime XDG_DATA_HOME=$work/home/.local/share
export XDG_CONFIG_HOME=$work/home/.config ZAVORA_EXIT_AFTER_FIRST_PAINT=1 QT_QPA_PLATFORM=$platform
mkdir -p "$HOME"

if [ "$platform" = xcb ]; then
    start_xvfb
fi

# Both must end by themselves after their first paint; a hang here would stall hyperfine.
for program in "$bare" "$demo"; do
    timeout 30 "$program" >/dev/null 2>&1 || { echo "startup.sh: $program did not end after its first paint" >&2; exit 1; }
done

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'); load:$(uptime | sed 's/.*load average://')"
echo "platform: $platform, runs: $runs"
hyperfine -N --warmup 5 --runs "$runs" --export-csv "$work/times.csv" \
    --command-name bare_window "$bare" \
    --command-name zavora-demo "$demo --model kite"
echo "load after:$(uptime | sed 's/.*load average://')"

# Columns: command, mean, stddev, median, user, system, min, max (seconds).
awk -F, '
    NR > 1 { mean[$1] = $2; median[$1] = $4; min[$1] = $7 }
    END {
        printf "ratio zavora-demo / bare_window: mean %.2f, median %.2f, min %.2f (target <= 1.5)\n",
               mean["zavora-demo"] / mean["bare_window"], median["zavora-demo"] / median["bare_window"],
               min["zavora-demo"] / min["bare_window"]
    }' "$work/times.csv"

# hyperfine runs all of one program, then all of the other, so a machine that speeds up or slows down
# meanwhile tilts the ratio. The same number of runs again, the two programs taking turns, gives a
# ratio that drift touches far less.
elapsed_us() {
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    echo $(((end - start) / 1000))
}
: >"$work/bare.us"
: >"$work/demo.us"
for ((i = 0; i < runs; i++)); do
    elapsed_us "$bare" >>"$work/bare.us"
    elapsed_us "$demo" --model kite >>"$work/demo.us"
done
median() { sort -n "$1" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
bare_median=$(median "$work/bare.us")
demo_median=$(median "$work/demo.us")
awk -v b="$bare_median" -v d="$demo_median" -v n="$runs" 'BEGIN {
    printf "taking turns, %d runs each: median bare_window %.1f ms, zavora-demo %.1f ms, ratio %.2f (target <= 1.5)\n",
           n, b / 1000, d / 1000, d / b
}'
