#!/usr/bin/env bash
# Recordings from the command line, without a display: silent when stderr is
# not a terminal, a progress line and a last line when it is; every bad
# output path one line and status 1, every bad option the usage and status
# 2, Ctrl+C status 130; and in every case nothing left behind. As root also
# without /proc and in a nearly full TMPDIR.
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
[ "$APP_STATUS" = 0 ] || fail "a short recording ended with status $APP_STATUS: $(cat "$WORK/stderr")"
[ ! -s "$WORK/stderr" ] && [ ! -s "$WORK/stdout" ] || fail "not silent without a terminal: $(cat "$WORK/stderr")"
[ -s "$OUT/quiet.mp4" ] || fail "no quiet.mp4"
expect_nothing_left "a recording" quiet.mp4
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
ls -l "/proc/$APP_PID/fd" 2>/dev/null | grep -q "$OUT/" || fail "the recording never opened its file"
kill -INT "$APP_PID"
wait_exit 20
[ "$APP_STATUS" = 130 ] || fail "Ctrl+C ended the recording with status $APP_STATUS: $(cat "$WORK/stderr")"
expect_nothing_left "an interrupted recording"

# Root only, each in a mount namespace of its own: without /proc the video
# module is found and the temporary files have no name, even after a
# SIGKILL; in a TMPDIR with room for the archive's copy but not the music, a
# video fails whole (a still, which needs no music, is made).
if [ "$(id -u)" = 0 ] && unshare -m true 2>/dev/null; then
    # Usage: in_namespace SETUP ARGS...: SETUP runs in sh first, then the program.
    in_namespace() {
        local setup=$1
        shift
        cd "$OUT" && unset DISPLAY WAYLAND_DISPLAY && exec unshare -m sh -c "$setup && exec \"\$0\" \"\$@\"" "$BINARY" "$@"
    }
    # The sanitizers read their options from /proc and LeakSanitizer walks the
    # threads there: only the plain build runs without it.
    if ! ldd "$BINARY" | grep -q libasan; then
        NO_PROC="mount -t tmpfs none /proc"
        (in_namespace "$NO_PROC" --capture noproc.mkv --size 320x240 --fps 10 --seconds 1) >"$WORK/stdout" 2>"$WORK/stderr"
        APP_STATUS=$?
        [ "$APP_STATUS" = 0 ] && [ -s "$OUT/noproc.mkv" ] || fail "without /proc: status $APP_STATUS: $(cat "$WORK/stderr")"
        rm "$OUT/noproc.mkv"

        (in_namespace "$NO_PROC" --capture killed.mkv --size 320x240 --fps 30 --seconds 120) >"$WORK/stdout" 2>"$WORK/stderr" &
        APP_PID=$!
        # Frames written: the scene, the archive's copy and the music are there.
        # Without /proc the partial output has a name (the manual says so).
        writing() { [ -n "$(find "$OUT" -name '.killed.mkv.*.part' -size +0)" ]; }
        for _ in $(seq $((400 * ${DORIROVA_E2E_SLOWDOWN:-1}))); do
            writing && break
            sleep 0.05
        done
        writing || fail "without /proc the recording never wrote a frame: $(cat "$WORK/stderr")"
        kill -KILL "$APP_PID"
        wait "$APP_PID" 2>/dev/null
        APP_PID=
        expect_tmpdir_empty
        rm -f "$OUT"/.killed.mkv.*.part
        expect_nothing_left "a recording killed without /proc"
    fi

    archive_pages=$(( ($(stat -c %s "$(dirname "$BINARY")/resources/dorirova.rez") + 4095) / 4096 ))
    NEARLY_FULL="mount -t tmpfs -o size=$(( (archive_pages + 4) * 4096 )) none '$TMPDIR'"
    (in_namespace "$NEARLY_FULL" --capture full.mp4 --size 320x240 --seconds 1) >"$WORK/stdout" 2>"$WORK/stderr"
    APP_STATUS=$?
    [ "$APP_STATUS" = 1 ] && [ "$(wc -l <"$WORK/stderr")" = 1 ] && grep -q "cannot write temporary files" "$WORK/stderr" ||
        fail "a nearly full TMPDIR: status $APP_STATUS: $(cat "$WORK/stderr")"
    expect_nothing_left "a recording in a nearly full TMPDIR"
    (in_namespace "$NEARLY_FULL" --still 1 full.png --size 320x240) >"$WORK/stdout" 2>"$WORK/stderr" ||
        fail "a still in a nearly full TMPDIR: $(cat "$WORK/stderr")"
    expect_nothing_left "a still in a nearly full TMPDIR" full.png
fi
echo "e2e recording: ok"
