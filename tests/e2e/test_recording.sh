#!/usr/bin/env bash
# Recordings from the command line, without a display: silent when stderr is
# not a terminal, a progress line and a last line when it is; every bad
# output path one line and status 1, every bad option the usage and status
# 2, Ctrl+C status 130; and in every case nothing left behind.
source "$(dirname "$0")/lib.sh"

OUT=$WORK/out
mkdir -p "$OUT"
# A recording needs no audio device, and the audio library must not leave
# its files either: HOME is a fresh folder, and SDL free to choose a driver.
export HOME=$WORK/home
mkdir -p "$HOME"
unset SDL_AUDIODRIVER

# Runs the program without a display, in $OUT; sets APP_STATUS.
record() {
    (cd "$OUT" && unset DISPLAY WAYLAND_DISPLAY && exec "$BINARY" "$@") >"$WORK/stdout" 2>"$WORK/stderr"
    APP_STATUS=$?
}

# Fails with WHAT when $OUT or $TMPDIR holds anything but the names given.
# Usage: expect_nothing_left WHAT [NAME...]
expect_nothing_left() {
    local what=$1 left
    shift
    left=$(find "$OUT" "$TMPDIR" "$HOME" -mindepth 1 -maxdepth 1 | while read -r path; do
        [[ " $* " == *" $(basename "$path") "* ]] || echo "$path"
    done)
    [ -z "$left" ] || fail "$what left: $left"
}

record --capture quiet.mp4 --size 320x240 --fps 10 --seconds 1
[ "$APP_STATUS" = 0 ] || fail "a short capture ended with status $APP_STATUS: $(cat "$WORK/stderr")"
[ ! -s "$WORK/stderr" ] && [ ! -s "$WORK/stdout" ] || fail "not silent without a terminal: $(cat "$WORK/stderr")"
[ -s "$OUT/quiet.mp4" ] || fail "no quiet.mp4"
expect_nothing_left "a capture" quiet.mp4
rm "$OUT/quiet.mp4"

# On a terminal (script gives it one): the progress line, then one last line.
(cd "$OUT" && unset DISPLAY WAYLAND_DISPLAY &&
    script -qec "'$BINARY' --capture shown.webm --size 320x240 --fps 10 --seconds 1" /dev/null) >"$WORK/tty"
grep -q "10/10 frames" "$WORK/tty" || fail "no progress line on a terminal: $(cat -v "$WORK/tty")"
grep -q "shown.webm: .* 0:01 of video, recorded in " "$WORK/tty" || fail "no last line: $(cat -v "$WORK/tty")"
rm "$OUT/shown.webm"

# Outputs that cannot be: one line on stderr, status 1, nothing made.
mkdir "$OUT/folder.mp4"
touch "$OUT/plain"
while read -r args; do
    record $args --size 320x240 --seconds 1
    [ "$APP_STATUS" = 1 ] || fail "'$args' ended with status $APP_STATUS: $(cat "$WORK/stderr")"
    [ "$(wc -l <"$WORK/stderr")" = 1 ] || fail "'$args' said more than one line: $(cat "$WORK/stderr")"
    expect_nothing_left "'$args'" folder.mp4 plain
done <<'LIST'
--capture missing/clip.mp4
--capture folder.mp4
--capture plain/clip.mp4
--capture /proc/clip.mp4
--capture clip.avi
--capture clip
LIST
record --still 1 shot.jpg --size 320x240
[ "$APP_STATUS" = 1 ] || fail "a still as .jpg ended with status $APP_STATUS"
rm -r "$OUT/folder.mp4" "$OUT/plain"

# Options out of range or malformed: the usage, status 2.
while read -r args; do
    record $args
    [ "$APP_STATUS" = 2 ] || fail "'$args' ended with status $APP_STATUS"
    grep -q "^Usage: dorirova" "$WORK/stderr" || fail "'$args' gave no usage: $(cat "$WORK/stderr")"
    expect_nothing_left "'$args'"
done <<'LIST'
--capture a.mp4 --size 3842x2160
--capture a.mp4 --size 640x481
--capture a.mp4 --fps 241
--capture a.mp4 --seconds 0
--capture a.mp4 --seconds 3601
--capture a.mp4 --keys 1.0:Jump
--still later a.png
--still 1
LIST

# Ctrl+C in the middle: status 130, and not even a partial file remains.
(cd "$OUT" && unset DISPLAY WAYLAND_DISPLAY && exec "$BINARY" --capture long.mkv --size 320x240 --fps 30 \
    --seconds 120) >"$WORK/stdout" 2>"$WORK/stderr" &
APP_PID=$!
for _ in $(seq $((400 * ${DORIROVA_E2E_SLOWDOWN:-1}))); do
    # The file being written has no name yet: it shows only among the open files.
    ls -l "/proc/$APP_PID/fd" 2>/dev/null | grep -q "$OUT/" && break
    sleep 0.05
done
ls -l "/proc/$APP_PID/fd" 2>/dev/null | grep -q "$OUT/" || fail "the capture never opened its file"
kill -INT "$APP_PID"
wait_exit 20
[ "$APP_STATUS" = 130 ] || fail "Ctrl+C ended the capture with status $APP_STATUS: $(cat "$WORK/stderr")"
expect_nothing_left "an interrupted capture"
echo "e2e recording: ok"
