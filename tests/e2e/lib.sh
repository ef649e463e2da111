# Shared steps of the end-to-end tests. Sourced by test_*.sh, which run under
# with_xvfb.sh with DISPLAY set; $1 of the script is the program.
set -u
BINARY=$1
NAME=$(basename "$0" .sh)
ARTIFACTS=${DORIROVA_ARTIFACTS:-/tmp/dorirova-e2e}/$NAME
mkdir -p "$ARTIFACTS"
WORK=$(mktemp -d)
export TMPDIR=$WORK/tmp
mkdir -p "$TMPDIR"
APP_PID=
trap 'cleanup' EXIT

cleanup() {
    [ -n "$APP_PID" ] && kill -9 "$APP_PID" 2>/dev/null
    rm -rf "$WORK"
}

fail() {
    echo "FAIL ($NAME): $*" >&2
    screenshot failure
    exit 1
}

# Fast PNG compression: a screenshot must not take longer than a key needs to act.
screenshot() { /usr/bin/import -window root -quality 10 "$ARTIFACTS/$1.png" 2>/dev/null; }

# Starts the program in the background with the arguments given; its stderr
# goes to $WORK/stderr.
start_app() {
    "$BINARY" "$@" 2>"$WORK/stderr" &
    APP_PID=$!
}

# Waits for the program to end (at most $1 seconds) and sets APP_STATUS.
# The sanitizer build runs two to three times slower: its make target sets
# DORIROVA_E2E_SLOWDOWN, which stretches these limits (never the program's own).
wait_exit() {
    local limit=${1:-10}
    for _ in $(seq $((limit * 20 * ${DORIROVA_E2E_SLOWDOWN:-1}))); do
        if ! kill -0 "$APP_PID" 2>/dev/null; then
            wait "$APP_PID"
            APP_STATUS=$?
            APP_PID=
            return 0
        fi
        sleep 0.05
    done
    fail "the program did not end within $limit s"
}

# The id of the first visible window of class dorirova, waiting up to 20 s:
# with $1 "" the settings dialog, which shows no title (the one window of
# its template's 300 x 258: no presentation is narrower than 320), with
# "dorirova" the presentation's window. Both are named dorirova.
find_window() {
    local want=$1 size title
    for _ in $(seq 400); do
        for id in $(xdotool search --onlyvisible --class dorirova 2>/dev/null); do
            title=$(xprop -id "$id" WM_NAME 2>/dev/null | sed -n 's/^WM_NAME([^)]*) = "\(.*\)"$/\1/p')
            size=$(window_size "$id" 2>/dev/null)
            [ "$title" = dorirova ] || continue
            if { [ -z "$want" ] && [ "$size" = 300x258 ]; } || { [ -n "$want" ] && [ "$size" != 300x258 ]; }; then
                echo "$id"
                return 0
            fi
        done
        if ! kill -0 "$APP_PID" 2>/dev/null; then
            echo "the program ended: $(cat "$WORK/stderr")" >&2
            return 1
        fi
        sleep 0.05
    done
    echo "no window '${want:-the dialog}' within 20 s" >&2
    return 1
}

# Gives window $1 the keyboard focus and the pointer, then types keys.
keys_to() {
    local id=$1; shift
    xdotool mousemove --window "$id" 5 5 windowfocus --sync "$id" 2>/dev/null
    sleep 0.3   # a window maps before the toolkit takes keys
    xdotool key --clearmodifiers "$@"
}

# Clicks at x, y (pixels) inside window $1.
click_in() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.2
}

window_size() { xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }

# How many temporary files the program holds open in $TMPDIR: they have no
# name there, so only its descriptors show them.
held_temp_files() {
    ls -l "/proc/$APP_PID/fd" 2>/dev/null | grep -c -- "-> $TMPDIR/"
}

expect_tmpdir_empty() {
    local left
    left=$(ls -A "$TMPDIR")
    [ -z "$left" ] || fail "temporary files left behind: $left"
}

# Mean brightness (0..255) of a region of a screenshot, in screen pixels:
# region FILE X Y W H (y from the top of the screen).
region_mean() {
    /usr/bin/convert "$1" -crop "$4x$5+$2+$3" +repage -colorspace Gray -format '%[fx:int(255*mean)]' info:
}

# Mean absolute difference (0..255) of the same region in two screenshots.
region_change() {
    /usr/bin/convert "$1" "$2" -crop "$5x$6+$3+$4" +repage -compose difference -composite \
        -colorspace Gray -format '%[fx:int(255*mean)]' info:
}

# Mean of each channel of a region: "R G B", each 0..255.
region_rgb() {
    /usr/bin/convert "$1" -crop "$4x$5+$2+$3" +repage -format '%[fx:int(255*mean.r)] %[fx:int(255*mean.g)] %[fx:int(255*mean.b)]' info:
}

# Takes screenshot NAME once the screen shows more than black (the first
# frame comes after every picture has loaded), waiting up to $2 seconds.
screenshot_when_drawn() {
    local limit=${2:-30}
    for _ in $(seq $((limit * 4))); do
        screenshot "$1"
        [ "$(region_mean "$ARTIFACTS/$1.png" 0 0 1024 768)" -gt 5 ] && return 0
        sleep 0.25
    done
    fail "nothing drawn within $limit s"
}

# Takes screenshot NAME until the region X Y W H differs from screenshot BASE
# (mean difference above 8), waiting up to 5 s: keys act within a frame or
# two, but frames can be slow on a busy machine. Fails with WHAT otherwise.
# Usage: screenshot_when_changed BASE NAME X Y W H WHAT
screenshot_when_changed() {
    local base=$1 name=$2 what=$7
    for _ in $(seq 20); do
        screenshot "$name"
        [ "$(region_change "$ARTIFACTS/$base.png" "$ARTIFACTS/$name.png" "$3" "$4" "$5" "$6")" -gt 8 ] && return 0
        sleep 0.25
    done
    fail "$what"
}
