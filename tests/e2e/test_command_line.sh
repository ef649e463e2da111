#!/usr/bin/env bash
# The command line: --help and --version need no display; a malformed
# command line ends with status 2 before anything opens; --size and
# --fullscreen start at once, without the dialog.
source "$(dirname "$0")/lib.sh"

# Until a presentation runs, nothing is written anywhere (an audio library
# keeps files in HOME and TMPDIR): HOME is a fresh folder, and SDL free to
# choose its audio driver, until the presentations below.
export HOME=$WORK/home
mkdir -p "$HOME" "$WORK/cwd"
unset SDL_AUDIODRIVER
expect_untouched() {
    local left
    left=$(find "$WORK/cwd" "$TMPDIR" "$HOME" -mindepth 1)
    [ -z "$left" ] || fail "$1 left files: $left"
}

# Runs the program with the given arguments in an empty folder, without a
# display, and sets APP_STATUS; stdout and stderr go to $WORK/stdout, stderr.
run_headless() {
    mkdir -p "$WORK/cwd"
    (cd "$WORK/cwd" && unset DISPLAY WAYLAND_DISPLAY && exec "$BINARY" "$@") >"$WORK/stdout" 2>"$WORK/stderr"
    APP_STATUS=$?
}

run_headless --help
[ "$APP_STATUS" = 0 ] || fail "--help ended with status $APP_STATUS: $(cat "$WORK/stderr")"
grep -q "^Usage: dorirova" "$WORK/stdout" || fail "--help printed no usage: $(cat "$WORK/stdout")"
[ ! -s "$WORK/stderr" ] || fail "--help wrote to stderr: $(cat "$WORK/stderr")"
expect_untouched "--help"

run_headless --version
[ "$APP_STATUS" = 0 ] || fail "--version ended with status $APP_STATUS"
grep -qx "dorirova [0-9]*\.[0-9]*\.[0-9]*" "$WORK/stdout" || fail "--version printed: $(cat "$WORK/stdout")"
expect_untouched "--version"

# Each malformed command line: status 2, an error and the usage line on
# stderr, nothing on stdout, no file made. The display is there, so a
# window would show if the program got that far.
while read -r args; do
    mkdir -p "$WORK/cwd"
    (cd "$WORK/cwd" && exec "$BINARY" $args) >"$WORK/stdout" 2>"$WORK/stderr"
    APP_STATUS=$?
    [ "$APP_STATUS" = 2 ] || fail "'$args' ended with status $APP_STATUS"
    [ "$(sed -n 2p "$WORK/stderr" | cut -c1-15)" = "Usage: dorirova" ] || fail "'$args' gave: $(cat "$WORK/stderr")"
    [ ! -s "$WORK/stdout" ] || fail "'$args' wrote to stdout"
    expect_untouched "'$args'"
done <<'EOF'
--bogus
--size
--size 800
--size 800x
--size 319x240
--size 7681x4320
--size 800x600x32
--size=abc --fullscreen
--fullscreen extra
-f
EOF

# The dialog's Exit (Escape) opens nothing, so writes nothing.
start_app
dialog=$(find_window "") || fail "no settings dialog"
keys_to "$dialog" Escape
wait_exit 10
[ "$APP_STATUS" = 0 ] || fail "Exit ended with status $APP_STATUS: $(cat "$WORK/stderr")"
expect_untouched "the dialog's Exit"
export SDL_AUDIODRIVER=dummy

# --size alone: an 800 x 600 window at once, no dialog (which would wait for
# a key and keep the window from showing); Escape ends it.
start_app --size 800x600
window=$(find_window "dorirova") || fail "no window titled dorirova"
[ "$(window_size "$window")" = "800x600" ] || fail "window is $(window_size "$window"), not 800x600"
screenshot_when_drawn sized
keys_to "$window" Escape
wait_exit 10
[ "$APP_STATUS" = 0 ] || fail "--size 800x600 ended with status $APP_STATUS: $(cat "$WORK/stderr")"
expect_tmpdir_empty

# --fullscreen alone: full screen at the desktop's size (Xvfb's 1280 x 1024).
start_app --fullscreen
window=$(find_window "dorirova") || fail "no window for --fullscreen"
[ "$(window_size "$window")" = "1280x1024" ] || fail "full screen window is $(window_size "$window")"
keys_to "$window" Escape
wait_exit 10
[ "$APP_STATUS" = 0 ] || fail "--fullscreen ended with status $APP_STATUS: $(cat "$WORK/stderr")"
expect_tmpdir_empty

# --fullscreen without a display: status 1 and one line, as for the dialog's choice.
run_headless --fullscreen
[ "$APP_STATUS" = 1 ] || fail "--fullscreen without a display: status $APP_STATUS"
[ "$(wc -l < "$WORK/stderr")" = 1 ] || fail "not one line: $(cat "$WORK/stderr")"
echo "e2e command line: ok"
