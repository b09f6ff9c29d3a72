# Helpers for end-to-end tests of the real editor: an Xvfb screen of its own, the editor started
# in it with fresh preferences, xdotool for the mouse and keyboard, ImageMagick for screenshots.
#
#   source "$(dirname "$0")/lib.sh"
#   e2e_init BIN_DIR [WIDTH HEIGHT]     # screen and window size in pixels (default 1024 x 673)
#   e2e_start [ARGS...]                 # starts bin/mes, waits for its window and first frames
#   e2e_click X Y ; e2e_type TEXT ; e2e_key KEY ; e2e_shot NAME
#   e2e_stop                            # ends the editor, expects status 0
#
# The window sits at the top-left corner of the screen, so window and screen coordinates agree.
# Screenshots and the editor's output stay in $E2E_OUT (kept when a test fails).
set -euo pipefail

e2e_fail() {
    echo "FAIL: $*" >&2
    E2E_FAILED=1
    exit 1
}

e2e_init() {
    E2E_BIN=$(cd "$1" && pwd)
    E2E_W=${2:-1024}
    E2E_H=${3:-673}
    E2E_FAILED=0
    E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/mes-e2e.XXXXXX")
    E2E_OUT=$E2E_TMP/out
    mkdir -p "$E2E_OUT" "$E2E_TMP/home/share/MivoShop/MivoEMB"
    export HOME=$E2E_TMP/home XDG_DATA_HOME=$E2E_TMP/home/share
    E2E_PREFS=$XDG_DATA_HOME/MivoShop/MivoEMB
    printf 'window = 0,0,%d,%d\r\nisWindowMaximized = false\r\nisWindowFullscreen = false\r\n' \
        "$E2E_W" "$E2E_H" >"$E2E_PREFS/config.ini"
    trap e2e_cleanup EXIT

    # Xvfb picks a display number nobody uses and writes it to the file once it listens there.
    : >"$E2E_TMP/display"
    Xvfb -displayfd 3 -screen 0 "${E2E_W}x${E2E_H}x24" -nolisten tcp \
        3>"$E2E_TMP/display" >"$E2E_OUT/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    local n="" i
    for i in $(seq 1 600); do
        n=$(tr -dc '0-9' <"$E2E_TMP/display")
        [ -n "$n" ] && break
        kill -0 "$E2E_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    [ -n "$n" ] || e2e_fail "Xvfb did not start"
    export DISPLAY=:$n
    for i in $(seq 1 200); do
        xdpyinfo >/dev/null 2>&1 && break
        sleep 0.1
    done
    xdpyinfo >/dev/null 2>&1 || e2e_fail "Xvfb did not answer on $DISPLAY"
    export SDL_VIDEODRIVER=x11
    unset WAYLAND_DISPLAY
}

e2e_cleanup() {
    local status=$?
    [ -n "${E2E_MES_PID:-}" ] && kill "$E2E_MES_PID" 2>/dev/null || true
    [ -n "${E2E_XVFB_PID:-}" ] && kill "$E2E_XVFB_PID" 2>/dev/null || true
    wait 2>/dev/null || true
    if [ "$status" -ne 0 ] || [ "${E2E_FAILED:-0}" -ne 0 ]; then
        echo "e2e output kept in $E2E_OUT" >&2
    elif [ -z "${E2E_KEEP:-}" ]; then
        rm -rf "$E2E_TMP"
    else
        echo "e2e output in $E2E_OUT"
    fi
}

# Starts the editor with the given arguments and waits until its window shows frames.
e2e_start() {
    "$E2E_BIN/mes" "$@" >"$E2E_OUT/mes.log" 2>&1 &
    E2E_MES_PID=$!
    timeout 30 xdotool search --sync --onlyvisible --name "Mivo Embroidery System" >/dev/null ||
        e2e_fail "no editor window"
    sleep 1
    kill -0 "$E2E_MES_PID" 2>/dev/null || e2e_fail "the editor ended at start"
}

# Mouse and keyboard, in window pixels. Each waits a few frames for the editor to react.
e2e_move() { xdotool mousemove "$1" "$2"; sleep 0.1; }
e2e_click() {
    xdotool mousemove "$1" "$2"
    sleep 0.05
    xdotool click 1
    sleep 0.3
}
e2e_drag() {  # X1 Y1 X2 Y2
    xdotool mousemove "$1" "$2" mousedown 1
    sleep 0.1
    local i
    for i in 1 2 3 4 5; do
        xdotool mousemove $(($1 + ($3 - $1) * i / 5)) $(($2 + ($4 - $2) * i / 5))
        sleep 0.05
    done
    xdotool mouseup 1
    sleep 0.3
}
# xdotool lends a spare key code to each character the keyboard lacks (Thai) and takes it back for
# the next one; the editor must have read the key before that, so the characters come slowly.
e2e_type() {
    xdotool type --delay ${E2E_TYPE_DELAY:-400} "$1"
    sleep 0.3
}
e2e_key() {
    xdotool key "$@"
    sleep 0.3
}

# Saves a screenshot of the whole screen as $E2E_OUT/NAME.png and prints its path.
e2e_shot() {
    local f=$E2E_OUT/$1.png
    import -window root "$f"
    echo "$f"
}

# The colour of a screenshot's pixel as RRGGBB.
e2e_pixel() {  # FILE X Y
    convert "$1" -format "%[hex:p{$2,$3}]" info: | cut -c1-6
}

# Number of pixels that differ between two screenshots inside a rectangle.
e2e_diff() {  # FILE1 FILE2 X Y W H
    local g="$5x$6+$3+$4"
    convert "$1" -crop "$g" +repage "$E2E_TMP/a.png"
    convert "$2" -crop "$g" +repage "$E2E_TMP/b.png"
    compare -metric AE "$E2E_TMP/a.png" "$E2E_TMP/b.png" null: 2>&1 || true
}

# Asks the editor to end (as the desktop does at log-out; without a window manager there is no
# close button) and expects it to end with status 0.
e2e_stop() {
    kill -TERM "$E2E_MES_PID"
    local status=0
    wait "$E2E_MES_PID" || status=$?
    E2E_MES_PID=
    [ "$status" -eq 0 ] || e2e_fail "the editor ended with status $status"
}
