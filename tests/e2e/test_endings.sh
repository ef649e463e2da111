#!/usr/bin/env bash
# Every way a run ends goes through the same shutdown: the close button,
# Ctrl+C (SIGINT), SIGTERM, and Escape in full screen. Each leaves no
# temporary file and ends with status 0. A display lost while the program
# starts ends it with one line and status 1.
source "$(dirname "$0")/lib.sh"
SEND_WM_DELETE=$(dirname "$BINARY")/tests/x11_tools/send_wm_delete
[ -x "$SEND_WM_DELETE" ] || fail "missing $SEND_WM_DELETE"

# Starts a run through the dialog, clicking at each "x y" given first;
# RUN_WINDOW is the presentation's window.
start_run() {
    start_app
    local dialog point
    dialog=$(find_window "") || fail "no settings dialog"
    for point in "$@"; do
        click_in "$dialog" $point
    done
    keys_to "$dialog" Return
    RUN_WINDOW=$(find_window "dorirova") || fail "no window after Run"
    sleep 1   # into the frame loop, with the music's and the archive's temporary files made
    [ "$(held_temp_files)" -gt 0 ] || fail "no temporary files while running"
}

expect_clean_end() {
    wait_exit 10
    [ "$APP_STATUS" = 0 ] || fail "$1: status $APP_STATUS"
    expect_tmpdir_empty
    [ ! -s "$WORK/stderr" ] || fail "$1: stderr: $(cat "$WORK/stderr")"
}

start_run
"$SEND_WM_DELETE" "$RUN_WINDOW"
expect_clean_end "the close button"

start_run
kill -INT "$APP_PID"
expect_clean_end "SIGINT"

start_run
kill -TERM "$APP_PID"
expect_clean_end "SIGTERM"

# Full screen at the display's own size: the radio "1280 x 1024" and the box.
start_run "210 170" "20 235"
[ "$(window_size "$RUN_WINDOW")" = "1280x1024" ] || fail "full screen window is $(window_size "$RUN_WINDOW")"
screenshot fullscreen
keys_to "$RUN_WINDOW" Escape
expect_clean_end "Escape in full screen"

# The display lost while the program starts, at moments from before its
# first connection to its first frames: each time one line of its own and
# status 1, never Xlib's message nor a crash. A private server for each.
for delay in 0.1 0.2 0.25 0.3 0.35 0.4 0.5 0.7; do
    for n in $(seq 241 340); do
        [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || break
    done
    Xvfb :$n -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
    server=$!
    for _ in $(seq 100); do
        [ -e /tmp/.X11-unix/X$n ] && break
        sleep 0.05
    done
    DISPLAY=:$n start_app --size 320x240
    sleep "$delay"
    kill -KILL "$server"
    wait "$server" 2>/dev/null
    rm -f /tmp/.X$n-lock /tmp/.X11-unix/X$n
    wait_exit 10
    [ "$APP_STATUS" = 1 ] || fail "the display killed ${delay} s after the start: status $APP_STATUS"
    [ "$(wc -l <"$WORK/stderr")" = 1 ] && grep -q "^dorirova: " "$WORK/stderr" ||
        fail "the display killed ${delay} s after the start: stderr: $(cat "$WORK/stderr")"
    expect_tmpdir_empty
done
echo "e2e endings: ok"
