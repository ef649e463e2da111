#!/usr/bin/env bash
# Whatever ends a run, nothing outlives it. On an X server that really has
# several modes (X.Org's dummy driver with 1920x1080, 1024x768 and 800x600),
# a full-screen run at 800 x 600 is ended in eight ways: Escape, the close
# button, SIGTERM, SIGINT, SIGKILL, a crash (SIGSEGV), its window destroyed
# by another client, its display connection killed; the dialog before it by
# SIGTERM. After each: the desktop
# is back at its mode within 2 s, no temporary file is left, no process of
# the program lives on, and the status is what the way of ending gives.
# SIGKILL and a crash are repeated in a window. Needs root to start Xorg.
source "$(dirname "$0")/lib.sh"
SEND_WM_DELETE=$(dirname "$BINARY")/tests/x11_tools/send_wm_delete
[ -x "$SEND_WM_DELETE" ] || fail "missing $SEND_WM_DELETE"
# The module's size tells its extracted file from the others.
MUSIC_BYTES=$(stat -c %s "$(dirname "$0")/../../resources/archive/HALVIX.xm") || fail "no HALVIX.xm"

if [ "$(id -u)" != 0 ]; then
    echo "e2e harsh endings: skipped (Xorg with a configuration of its own needs root)"
    exit 77
fi

ulimit -c 0   # a crash here is on purpose: no core file
# ...and the sanitizer build must crash like the plain one, not report it.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}${ASAN_OPTIONS:+:}handle_segv=0"
XORG_PID=
stop_xorg() {
    [ -n "$XORG_PID" ] && kill "$XORG_PID" 2>/dev/null && wait "$XORG_PID" 2>/dev/null
}
trap 'cleanup; stop_xorg' EXIT

cat >"$WORK/xorg.conf" <<'EOF'
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 32768
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 30-80
    VertRefresh 50-75
    Modeline "1920x1080" 148.50 1920 2008 2052 2200 1080 1084 1089 1125 +hsync +vsync
    Modeline "1024x768" 65.00 1024 1048 1184 1344 768 771 777 806 -hsync -vsync
    Modeline "800x600" 40.00 800 840 968 1056 600 601 605 628 +hsync +vsync
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Modes "1920x1080" "1024x768" "800x600"
        Virtual 1920 1080
    EndSubSection
EndSection
EOF

for n in $(seq 300 400); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    Xorg :$n -config "$WORK/xorg.conf" -noreset -nolisten tcp -br -novtswitch \
        -logfile "$WORK/xorg.log" >/dev/null 2>&1 &
    XORG_PID=$!
    for _ in $(seq 200); do
        [ -e /tmp/.X11-unix/X$n ] && DISPLAY=:$n xrandr >/dev/null 2>&1 && break
        kill -0 $XORG_PID 2>/dev/null || break
        sleep 0.05
    done
    if kill -0 $XORG_PID 2>/dev/null && DISPLAY=:$n xrandr >/dev/null 2>&1; then
        export DISPLAY=:$n
        break
    fi
    XORG_PID=
done
[ -n "$XORG_PID" ] || fail "Xorg with the dummy driver did not start: $(tail -5 "$WORK/xorg.log" 2>/dev/null)"

# The screen's size now, as xrandr reports it: "1920x1080".
screen_mode() { xrandr 2>/dev/null | sed -n 's/^Screen 0:.* current \([0-9]*\) x \([0-9]*\),.*/\1x\2/p'; }

modes=$(xrandr)
for mode in 1920x1080 1024x768 800x600; do
    grep -q "^ *$mode " <<<"$modes" || fail "the dummy server offers no $mode"
done
DESKTOP=$(screen_mode)
[ "$DESKTOP" = 1920x1080 ] || fail "the desktop starts at $DESKTOP"

# Starts a run at 800 x 600 ("fullscreen" or "window") and returns once its
# window is up and its music loaded (the module is among its temporary
# files): the frame loop runs then or soon after. Sets RUN_WINDOW and GUARDIAN.
start_run() {
    start_app
    local dialog
    dialog=$(find_window "") || fail "no settings dialog"
    click_in "$dialog" 16 170                        # "800 x 600"
    [ "$1" = fullscreen ] && click_in "$dialog" 20 235   # "Fullscreen"
    keys_to "$dialog" Return
    RUN_WINDOW=$(find_window "dorirova") || fail "$1: no window after Run"
    for _ in $(seq 600); do
        for fd in /proc/"$APP_PID"/fd/*; do
            [[ "$(readlink "$fd" 2>/dev/null)" == "$TMPDIR"/* ]] &&
                [ "$(stat -L -c %s "$fd" 2>/dev/null)" = "$MUSIC_BYTES" ] && break 2
        done
        kill -0 "$APP_PID" 2>/dev/null || fail "$1: the program ended while loading: $(cat "$WORK/stderr")"
        sleep 0.05
    done
    GUARDIAN=$(pgrep -P "$APP_PID" -x dorirova-guard)
    [ -n "$GUARDIAN" ] || fail "$1: no guardian process"
    local expected=1920x1080
    [ "$1" = fullscreen ] && expected=800x600
    [ "$(screen_mode)" = "$expected" ] || fail "$1: the screen is $(screen_mode) while running, not $expected"
}

# After the way of ending $1: status $2 within $3 seconds, stderr ("" for
# none, or text its one line must hold) $4, then the desktop's mode back
# within 2 s of the ending, no temporary file, no process of the program.
expect_end() {
    local what=$1 status=$2 limit=$3 said=$4 started=$SECONDS start_ns ended_ns back_ns
    start_ns=$(date +%s%N)
    wait_exit "$limit"
    ended_ns=$(date +%s%N)
    [ "$APP_STATUS" = "$status" ] || fail "$what: status $APP_STATUS, not $status"
    if [ -z "$said" ]; then
        [ ! -s "$WORK/stderr" ] || fail "$what: stderr: $(cat "$WORK/stderr")"
    else
        [ "$(wc -l <"$WORK/stderr")" = 1 ] && grep -q "$said" "$WORK/stderr" ||
            fail "$what: stderr: $(cat "$WORK/stderr")"
    fi
    for _ in $(seq 40); do
        [ "$(screen_mode)" = "$DESKTOP" ] && break
        sleep 0.05
    done
    [ "$(screen_mode)" = "$DESKTOP" ] || fail "$what: the screen stays at $(screen_mode)"
    back_ns=$(date +%s%N)
    expect_tmpdir_empty
    [ -n "$GUARDIAN" ] && for _ in $(seq 40); do
        [[ "$(ps -o stat= -p "$GUARDIAN")" =~ ^(Z|)$ ]] && break
        sleep 0.05
    done
    [ -z "$GUARDIAN" ] || [[ "$(ps -o stat= -p "$GUARDIAN")" =~ ^(Z|)$ ]] || fail "$what: the guardian lives on"
    [ $((SECONDS - started)) -le $((limit + 3)) ] || fail "$what: took $((SECONDS - started)) s"
    echo "  $what: status $APP_STATUS, ended within $(((ended_ns - start_ns) / 1000000)) ms," \
        "desktop at $(screen_mode) within $(((back_ns - start_ns) / 1000000)) ms"
}

# Before Run nothing has changed yet, and no guardian watches: SIGTERM ends
# the dialog as it ends any program.
GUARDIAN=
start_app
find_window "" >/dev/null || fail "no settings dialog"
kill -TERM "$APP_PID"
expect_end "SIGTERM in the dialog" 143 2 ""

start_run fullscreen
keys_to "$RUN_WINDOW" Escape
expect_end "Escape" 0 5 ""

start_run fullscreen
"$SEND_WM_DELETE" "$RUN_WINDOW"
expect_end "the close button" 0 5 ""

start_run fullscreen
kill -TERM "$APP_PID"
expect_end "SIGTERM" 0 5 ""

start_run fullscreen
kill -INT "$APP_PID"
expect_end "SIGINT" 0 5 ""

start_run fullscreen
kill -KILL "$APP_PID"
expect_end "SIGKILL" 137 2 ""

start_run fullscreen
kill -SEGV "$APP_PID"
expect_end "a crash" 139 2 ""

start_run fullscreen
xdotool windowclose "$RUN_WINDOW"
expect_end "the window destroyed by another client" 1 1 "window was destroyed"

start_run fullscreen
xkill -id "$RUN_WINDOW" >/dev/null
expect_end "the display connection killed" 1 1 "connection to the display was lost"

start_run window
kill -KILL "$APP_PID"
expect_end "SIGKILL in a window" 137 2 ""

start_run window
kill -SEGV "$APP_PID"
expect_end "a crash in a window" 139 2 ""
echo "e2e harsh endings: ok"
