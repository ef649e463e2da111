#!/usr/bin/env bash
# A Wayland session, as on most desktops now: a compositor (Weston) with
# XWayland for the X programs. Weston runs on its X11 backend inside this
# test's Xvfb, so that xdotool's keys reach it and `import` sees its output:
# one 1280 x 720 output, a plain background, no panel. The program runs on
# both of its ways there: X11 through XWayland (its default) and SDL's
# Wayland driver.
#
# Each run, windowed at 800 x 600 and full screen at the desktop's size and
# at 800 x 600 (also keeping the shape): the window has the expected place
# and size, and the screenshot of the output shows exactly the still of the
# same size (--still), scaled up with nearest pixels: brought back to the
# still's size by taking the pixel under each still pixel's centre, it is
# the still to the pixel. The scroll text moves and is left out; the
# photograph is compared while the first one must still show (up to 3.8 s
# after the start: its clock starts with the loading). Escape, SIGTERM and
# SIGKILL end the runs, and the screen is as it was after each. Also: the
# dialog's name and class, and a session without X.
#
# Exits 77 only when Weston cannot start here.
source "$(dirname "$0")/lib.sh"

OUTER=$DISPLAY          # this test's Xvfb, where Weston's output is a window
SLOW=${DORIROVA_E2E_SLOWDOWN:-1}   # the sanitizer build's factor for the waits
OUTPUT_W=1280 OUTPUT_H=720
WESTON_PID=
stop_weston() {
    [ -n "$WESTON_PID" ] && kill "$WESTON_PID" 2>/dev/null && wait "$WESTON_PID" 2>/dev/null
}
trap 'cleanup; stop_weston' EXIT

if ! command -v weston >/dev/null || ! command -v Xwayland >/dev/null; then
    echo "e2e wayland: skipped (weston or Xwayland is not installed)"
    exit 77
fi
export XDG_RUNTIME_DIR=$WORK/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
cat >"$WORK/weston.ini" <<'EOF'
[core]
idle-time=0
[shell]
background-color=0xff204060
panel-position=none
EOF
# --debug: the scene graph (where each window is, and its app_id) for weston-debug.
weston --backend=x11-backend.so --width=$OUTPUT_W --height=$OUTPUT_H --use-pixman --xwayland --debug \
    --socket=dorirova-e2e --config="$WORK/weston.ini" --log="$WORK/weston.log" >/dev/null 2>&1 &
WESTON_PID=$!
XWAYLAND=
for _ in $(seq 400); do
    XWAYLAND=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$WORK/weston.log" 2>/dev/null)
    [ -n "$XWAYLAND" ] && [ -S "$XDG_RUNTIME_DIR/dorirova-e2e" ] && break
    kill -0 "$WESTON_PID" 2>/dev/null || break
    sleep 0.05
done
if [ -z "$XWAYLAND" ] || ! kill -0 "$WESTON_PID" 2>/dev/null; then
    echo "e2e wayland: skipped (Weston did not start: $(tail -3 "$WORK/weston.log" 2>/dev/null))"
    exit 77
fi
cp "$WORK/weston.log" "$ARTIFACTS/weston.log" 2>/dev/null
export WAYLAND_DISPLAY=dorirova-e2e DISPLAY=$XWAYLAND
unset SDL_VIDEODRIVER
OUTPUT_WINDOW=$(DISPLAY=$OUTER xwininfo -root -children | awk '/"Weston Compositor/ {print $1; exit}')
[ -n "$OUTPUT_WINDOW" ] || fail "no window of Weston's on $OUTER"

# Screenshot NAME of Weston's output alone.
output_shot() { DISPLAY=$OUTER /usr/bin/import -window "$OUTPUT_WINDOW" -quality 10 "$ARTIFACTS/$1.png" 2>/dev/null; }

# Keys to whatever Weston gives the keyboard (the newest window), the pointer
# parked in the output's bottom-right corner, away from the windows.
output_keys() {
    DISPLAY=$OUTER xdotool mousemove --window "$OUTPUT_WINDOW" $((OUTPUT_W - 1)) $((OUTPUT_H - 1))
    sleep 0.2
    DISPLAY=$OUTER xdotool key --clearmodifiers "$@"
}
output_keys Escape   # the pointer out of the way for the screenshots to come

# The Wayland window's place and size from Weston's scene graph, "X Y W H",
# with its app_id checked; empty while there is none.
wayland_window() {
    weston-debug scene-graph 2>/dev/null |
        awk '/top-level window .dorirova. of org.krv.dorirova/ {found=1; next}
             found && /position:/ {gsub(/[(),>-]/, " "); print $2, $3, $4 - $2, $5 - $3; exit}'
}

# The X window's place and size on the output, "X Y W H".
x11_window() {
    xwininfo -id "$1" | awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4}
                              /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}

# The window's place on PATH (x11 or wayland), "X Y W H"; empty without one.
window_place() {
    if [ "$1" = wayland ]; then
        wayland_window
    else
        local id
        id=$(xdotool search --onlyvisible --class dorirova 2>/dev/null | head -1)
        [ -n "$id" ] && x11_window "$id"
    fi
}

# Rectangle of virtual pixels (x0 y0 x1 y1, y up from the bottom of the
# 1024 x 768 design) in the pixels of a W x H frame (y down), with a margin
# of two pixels, as ImageMagick's -draw takes it.
frame_rect() {
    awk -v x0="$1" -v y0="$2" -v x1="$3" -v y1="$4" -v w="$5" -v h="$6" 'BEGIN {
        printf "%d,%d %d,%d", x0 * w / 1024 - 2, (768 - y1) * h / 768 - 2,
            x1 * w / 1024 + 2, (768 - y0) * h / 768 + 2 }'
}

# How many pixels differ between region X Y W H of screenshot SHOT and the
# still STILL (its own size), the region brought back to the still's size by
# nearest pixels: the scroll text's band left out, and the photograph too
# unless PHOTO is "photo". Keeps what it compared as $ARTIFACTS/NAME-*.png.
# Usage: frame_difference SHOT X Y W H STILL PHOTO NAME
frame_difference() {
    local shot=$1 x=$2 y=$3 w=$4 h=$5 still=$6 photo=$7 name=$8 fw fh blank
    read -r fw fh < <(identify -format '%w %h' "$still")
    blank=(-fill black -draw "rectangle $(frame_rect 0 104 1024 152 "$fw" "$fh")")
    [ "$photo" = photo ] || blank+=(-draw "rectangle $(frame_rect 44 44 636 636 "$fw" "$fh")")
    /usr/bin/convert "$shot" -crop "${w}x${h}+${x}+${y}" +repage -sample "${fw}x${fh}!" "${blank[@]}" \
        -alpha off "$ARTIFACTS/$name-shown.png"
    /usr/bin/convert "$still" "${blank[@]}" -alpha off "$ARTIFACTS/$name-still.png"
    /usr/bin/compare -metric AE "$ARTIFACTS/$name-shown.png" "$ARTIFACTS/$name-still.png" null: 2>&1 | cut -d' ' -f1
}

# Each run's picture at the moment of the still: the first photograph, shown
# plainly from the start until 4 s on.
STILL_800=$WORK/still-800x600.png
STILL_DESKTOP=$WORK/still-${OUTPUT_W}x${OUTPUT_H}.png
"$BINARY" --still 2 "$STILL_800" --size 800x600 2>"$WORK/stderr" || fail "no still: $(cat "$WORK/stderr")"
"$BINARY" --still 2 "$STILL_DESKTOP" --size ${OUTPUT_W}x${OUTPUT_H} 2>"$WORK/stderr" ||
    fail "no still: $(cat "$WORK/stderr")"

# XWayland's screen size now, "WxH".
xwayland_mode() { xrandr | sed -n 's/^Screen 0:.* current \([0-9]*\) x \([0-9]*\),.*/\1x\2/p'; }

# Takes screenshot NAME; true when it shows the desktop as it was at the start.
as_before() {
    output_shot "$1"
    [ "$(region_change "$ARTIFACTS/desktop.png" "$ARTIFACTS/$1.png" 0 0 $OUTPUT_W $OUTPUT_H)" = 0 ]
}

output_shot desktop
DESKTOP_MODE=$(xwayland_mode)
[ "$DESKTOP_MODE" = ${OUTPUT_W}x${OUTPUT_H} ] || fail "XWayland's screen is $DESKTOP_MODE"
[ "$(xrandr | awk '/ connected/ {print $1; exit}')" = XWAYLAND0 ] || fail "XWayland's output is not XWAYLAND0"

# One run on PATH (x11 or wayland) with the program's ARGS: its window in
# place (X Y W H expected: "" for wherever Weston puts a window of W x H),
# the screenshot the still scaled into the box BOX_X BOX_Y BOX_W BOX_H of
# the window, then ENDING (Escape, TERM or KILL) and the screen as before.
# Usage: check_run NAME PATH "ARGS" "X Y W H" STILL "BOX" ENDING
check_run() {
    local name=$1 path=$2 args=$3 expected=$4 still=$5 box=$6 ending=$7
    local started place shot_done difference photo=photo wx wy ww wh bx by bw bh guardian id
    started=$(date +%s%N)
    [ "$path" = wayland ] && export SDL_VIDEODRIVER=wayland
    # shellcheck disable=SC2086
    start_app $args
    unset SDL_VIDEODRIVER
    # The window as expected: Weston may place and size it a moment after it shows.
    for _ in $(seq $((400 * SLOW))); do
        place=$(window_place "$path")
        read -r wx wy ww wh <<<"$place"
        if [ -n "${expected%% *}" ]; then
            [ "$place" = "$expected" ] && break
        else
            [ -n "$place" ] && [ "$ww $wh" = "${expected#* }" ] && break
        fi
        kill -0 "$APP_PID" 2>/dev/null || fail "$name: the program ended: $(cat "$WORK/stderr")"
        sleep 0.05
    done
    [ -n "$place" ] || fail "$name: no window"
    if [ -n "${expected%% *}" ]; then
        [ "$place" = "$expected" ] || fail "$name: the window is at $place, not $expected"
    else
        [ "$ww $wh" = "${expected#* }" ] || fail "$name: the window is ${ww}x$wh, not ${expected#* }"
    fi
    if [ "$path" = x11 ]; then
        id=$(xdotool search --onlyvisible --class dorirova | head -1)
        xprop -id "$id" WM_CLASS | grep -q '= "org.krv.dorirova", "org.krv.dorirova"$' ||
            fail "$name: the window's class: $(xprop -id "$id" WM_CLASS)"
        [ "$ww" != $OUTPUT_W ] || xprop -id "$id" _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN ||
            fail "$name: not full screen for the window manager"
    fi
    read -r bx by bw bh <<<"$box"
    # The first frame comes once the pictures have loaded: wait for it, up
    # to 30 s, reading the window's place again with each screenshot.
    local until=$((SECONDS + 30 * SLOW))
    while :; do
        read -r wx wy ww wh <<<"$(window_place "$path")"
        output_shot "$name"
        shot_done=$(date +%s%N)
        # Black until the first frame: look again at once.
        if [ "$(region_mean "$ARTIFACTS/$name.png" $((wx + bx)) $((wy + by)) "$bw" "$bh")" -le 5 ] &&
            [ $SECONDS -lt $until ]; then
            continue
        fi
        [ $(((shot_done - started) / 1000000)) -lt 3800 ] || photo=
        difference=$(frame_difference "$ARTIFACTS/$name.png" $((wx + bx)) $((wy + by)) "$bw" "$bh" "$still" "$photo" \
            "$name")
        [ "$difference" = 0 ] || [ $SECONDS -ge $until ] && break
        sleep 0.1
    done
    [ "$difference" = 0 ] ||
        fail "$name: $difference pixels differ from the still (see $name-shown.png, $name-still.png)"
    if [ "$bx" -gt 0 ]; then
        # The bars beside the box are black.
        [ "$(region_mean "$ARTIFACTS/$name.png" "$wx" "$wy" "$bx" "$wh")" = 0 ] &&
            [ "$(region_mean "$ARTIFACTS/$name.png" $((wx + bx + bw)) "$wy" $((ww - bx - bw)) "$wh")" = 0 ] ||
            fail "$name: the bars are not black"
    fi
    [ -n "$photo" ] || echo "  $name: the photograph was not compared (the screenshot came after 3.8 s)"

    guardian=$(pgrep -P "$APP_PID" -x dorirova-guard)
    case $ending in
        Escape) output_keys Escape ;;
        TERM) kill -TERM "$APP_PID" ;;
        KILL) kill -KILL "$APP_PID" ;;
    esac
    wait_exit 10
    local status=0
    [ "$ending" = KILL ] && status=137
    [ "$APP_STATUS" = $status ] || fail "$name: $ending: status $APP_STATUS"
    [ ! -s "$WORK/stderr" ] || fail "$name: stderr: $(cat "$WORK/stderr")"
    expect_tmpdir_empty
    # The screen as it was: the picture (nothing left over), XWayland's mode.
    for _ in $(seq 40); do
        as_before "$name-after" && break
        sleep 0.05
    done
    as_before "$name-after" || fail "$name: the screen is not as it was after $ending"
    [ "$(xwayland_mode)" = "$DESKTOP_MODE" ] || fail "$name: XWayland's screen is $(xwayland_mode) after $ending"
    for _ in $(seq 40); do
        [ -z "$guardian" ] || [[ "$(ps -o stat= -p "$guardian")" =~ ^(Z|)$ ]] && break
        sleep 0.05
    done
    [ -z "$guardian" ] || [[ "$(ps -o stat= -p "$guardian")" =~ ^(Z|)$ ]] || fail "$name: the guardian lives on"
    echo "  $name: ok"
}

FULL="0 0 $OUTPUT_W $OUTPUT_H"
for path in x11 wayland; do
    check_run "$path-window" $path "--size 800x600" " 800 600" "$STILL_800" "0 0 800 600" Escape
    check_run "$path-desktop" $path "--fullscreen" "$FULL" "$STILL_DESKTOP" "$FULL" TERM
    check_run "$path-800x600" $path "--size 800x600 --fullscreen" "$FULL" "$STILL_800" "$FULL" KILL
    # The 4:3 picture in the middle, 960 x 720, between black bars.
    check_run "$path-800x600-shape" $path "--size 800x600 --fullscreen --keep-aspect" "$FULL" "$STILL_800" \
        "160 0 960 720" Escape
done

# The dialog, on XWayland: named dorirova for the window manager and its
# task list (not left out of it), of the desktop entry's class, no title bar.
start_app
dialog=$(find_window "") || fail "no settings dialog"
xprop -id "$dialog" _NET_WM_NAME | grep -q '= "dorirova"$' ||
    fail "the dialog's name: $(xprop -id "$dialog" _NET_WM_NAME)"
xprop -id "$dialog" WM_CLASS | grep -q '= "org.krv.dorirova", "org.krv.dorirova"$' ||
    fail "the dialog's class: $(xprop -id "$dialog" WM_CLASS)"
! xprop -id "$dialog" _NET_WM_STATE | grep -q SKIP_TASKBAR || fail "the dialog is left out of the task list"
output_keys Escape
wait_exit 10
[ "$APP_STATUS" = 0 ] || fail "Escape in the dialog: status $APP_STATUS"

# A session without X: the dialog cannot show, one line and status 1;
# --size starts on Wayland all the same.
(unset DISPLAY; exec "$BINARY") 2>"$WORK/stderr" &
APP_PID=$!
wait_exit 10
[ "$APP_STATUS" = 1 ] || fail "without X the dialog's run ended with status $APP_STATUS"
grep -q "^dorirova: cannot show the settings dialog: it needs an X display" "$WORK/stderr" &&
    [ "$(wc -l <"$WORK/stderr")" = 1 ] || fail "without X: $(cat "$WORK/stderr")"
(unset DISPLAY; exec "$BINARY" --size 800x600) 2>"$WORK/stderr" &
APP_PID=$!
for _ in $(seq 400); do
    [ -n "$(wayland_window)" ] && break
    kill -0 "$APP_PID" 2>/dev/null || fail "--size without X ended: $(cat "$WORK/stderr")"
    sleep 0.05
done
[ "$(wayland_window | cut -d' ' -f3-)" = "800 600" ] || fail "--size without X: no 800 x 600 window on Wayland"
output_keys Escape
wait_exit 10
[ "$APP_STATUS" = 0 ] || fail "--size without X: status $APP_STATUS"
expect_tmpdir_empty

# The compositor ends under a run on its Wayland path: the run ends too,
# with one line and status 1, as when an X server goes.
export SDL_VIDEODRIVER=wayland
start_app --size 800x600
unset SDL_VIDEODRIVER
for _ in $(seq 400); do
    [ -n "$(wayland_window)" ] && break
    kill -0 "$APP_PID" 2>/dev/null || fail "the last run ended: $(cat "$WORK/stderr")"
    sleep 0.05
done
kill -KILL "$WESTON_PID"
wait "$WESTON_PID" 2>/dev/null
WESTON_PID=
wait_exit 5
[ "$APP_STATUS" = 1 ] || fail "the compositor gone: status $APP_STATUS"
[ "$(cat "$WORK/stderr")" = "dorirova: the connection to the display was lost" ] ||
    fail "the compositor gone: $(cat "$WORK/stderr")"
expect_tmpdir_empty
echo "e2e wayland: ok"
