# Sourced by the benchmark scripts: starts a private Xvfb server on a display it picks itself, sets
# `xvfb` to its process and exports DISPLAY. Needs `work` (a scratch folder) and `me` (for messages).
start_xvfb() {
    command -v Xvfb >/dev/null || { echo "$me: Xvfb is missing (apt-get install -y xvfb)" >&2; exit 2; }
    # Xvfb writes the number of the display it took to the pipe.
    mkfifo "$work/display"
    exec 3<>"$work/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb=$!
    local display
    read -r -t 10 display <&3 || { echo "$me: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
    exec 3<&-
    export DISPLAY=:$display
}
