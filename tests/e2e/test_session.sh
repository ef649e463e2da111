#!/usr/bin/env bash
# A viewer's whole session at 800 x 600: the dialog, another resolution and
# Run, the first frame, a transition, the four arrows and Escape; then a run
# whose temporary folder cannot be written. Screenshots stay as artefacts.
source "$(dirname "$0")/lib.sh"
export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE=$WORK/audio.raw

# Screen pixels of virtual (x, y) at 800 x 600, y measured from the top of the screen.
sx() { echo $(( $1 * 800 / 1024 )); }
sy() { echo $(( 600 - $1 * 600 / 768 )); }

start_app
dialog=$(find_window "") || fail "no settings dialog"
screenshot 1-dialog
click_in "$dialog" 16 170          # "800 x 600"
keys_to "$dialog" Return
window=$(find_window "dorirova") || fail "no window after Run"
[ "$(window_size "$window")" = "800x600" ] || fail "the window is $(window_size "$window")"
xdotool mousemove 1270 1020
screenshot_when_drawn 2-first-frame

shot=$ARTIFACTS/2-first-frame.png
# Star field right of the photograph: dark.
read -r r g b <<<"$(region_rgb "$shot" "$(sx 700)" "$(sy 300)" 100 40)"
[ "$g" -lt 100 ] && [ "$r" -lt 120 ] || fail "star field not dark: $r $g $b"
# The framed photograph: white border, a picture inside.
[ "$(region_mean "$shot" "$(sx 45)" "$(sy 400)" 1 100)" -gt 150 ] || fail "no frame border"
[ "$(region_mean "$shot" "$(sx 100)" "$(sy 600)" 300 200)" -gt 25 ] || fail "no photograph"
# The logo, the band's bright edge lines, and the menu title.
[ "$(region_mean "$shot" "$(sx 400)" "$(sy 740)" 400 100)" -gt 30 ] || fail "no logo"
band=$(region_mean "$shot" 0 "$(sy 180)" 800 60)
[ "$band" -gt 5 ] || fail "no scroller band"
[ "$(region_mean "$shot" "$(sx 560)" "$(sy 472)" 200 24)" -gt 10 ] || fail "no menu"

# A transition: within 6 s the photograph changes.
changed=0
for _ in $(seq 24); do
    sleep 0.25
    screenshot 3-later
    if [ "$(region_change "$shot" "$ARTIFACTS/3-later.png" "$(sx 100)" "$(sy 600)" 300 200)" -gt 8 ]; then changed=1; break; fi
done
[ "$changed" = 1 ] || fail "no transition within 6 s"

# Each arrow acts at once: the photograph (Right, Left) or the menu's
# highlight (Down, Up) changes.
photo="$(sx 100) $(sy 600) 300 200"
menu="$(sx 560) $(sy 440) 300 25"
screenshot 4-start
keys_to "$window" Right
screenshot_when_changed 4-start 4-Right $photo "Right did not change the photograph"
keys_to "$window" Left
screenshot_when_changed 4-Right 4-Left $photo "Left did not change the photograph"
keys_to "$window" Down
screenshot_when_changed 4-Left 4-Down $menu "Down did not change the menu's highlight"
keys_to "$window" Up
screenshot_when_changed 4-Down 4-Up $menu "Up did not change the menu's highlight"

keys_to "$window" Escape
wait_exit 10
[ "$APP_STATUS" = 0 ] || fail "status $APP_STATUS"
expect_tmpdir_empty
[ "$(stat -c %s "$SDL_DISKAUDIOFILE" 2>/dev/null || echo 0)" -gt 100000 ] || fail "the music file did not grow"

# A temporary folder that cannot be written: the presentation runs without
# what it could not extract, says so in one line, and ends cleanly.
export TMPDIR=$WORK/no-such-folder
start_app
dialog=$(find_window "") || fail "no settings dialog"
keys_to "$dialog" Return
window=$(find_window "dorirova") || fail "no window after Run"
sleep 2
screenshot 5-no-temp-folder
keys_to "$window" Escape
wait_exit 10
[ "$APP_STATUS" = 0 ] || fail "without a temporary folder the status is $APP_STATUS"
[ "$(wc -l < "$WORK/stderr")" = 1 ] && grep -q "cannot write temporary files in $TMPDIR" "$WORK/stderr" \
    || fail "stderr: $(cat "$WORK/stderr")"
echo "e2e session: ok"
