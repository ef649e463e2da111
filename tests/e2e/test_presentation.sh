#!/usr/bin/env bash
# The presentation with the shipped archive: the first frame, the slideshow,
# the keys, the scroller and the music, as a viewer sees and hears them.
source "$(dirname "$0")/lib.sh"

# SDL's disk audio driver writes what would be played into a file.
export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE=$WORK/audio.raw
export SDL_DISKAUDIODELAY=20

start_app
dialog=$(find_window "") || fail "no settings dialog"
sleep 1
[ ! -s "$SDL_DISKAUDIOFILE" ] || fail "sound was written while the dialog showed"
keys_to "$dialog" Return
window=$(find_window "dorirova") || fail "no window after Run"
xdotool mousemove 1270 1020   # the pointer out of the picture
screenshot_when_drawn first

# At 1024 x 768 one virtual pixel is one screen pixel; screen y = 768 - virtual y.
# The star field right of the photograph, below the menu: dark, not the green clear colour.
read -r r g b <<<"$(region_rgb "$ARTIFACTS/first.png" 700 600 300 50)"
[ "$g" -lt 100 ] && [ "$r" -lt 120 ] || fail "the star field is not dark: $r $g $b"
# The photograph inside its frame: a picture, not the star field.
photo=$(region_mean "$ARTIFACTS/first.png" 100 200 400 300)
[ "$photo" -gt 25 ] || fail "no photograph in the frame (mean $photo)"
# The frame's white border at virtual x 44..46.
border=$(region_mean "$ARTIFACTS/first.png" 44 200 2 300)
[ "$border" -gt 200 ] || fail "no white frame border (mean $border)"
# The logo across the upper right.
logo_mean=$(region_mean "$ARTIFACTS/first.png" 400 40 550 150)
[ "$logo_mean" -gt 30 ] || fail "no logo (mean $logo_mean)"

# The scroll text moves through the band (virtual y 104..149).
for _ in $(seq 20); do
    screenshot scrolled
    moved=$(region_change "$ARTIFACTS/first.png" "$ARTIFACTS/scrolled.png" 0 620 1024 40)
    [ "$moved" -gt 0 ] && break
    sleep 0.25
done
[ "$moved" -gt 0 ] || fail "the scroll text does not move"

# The slideshow moves on by itself, after 4 s.
screenshot_when_changed first changed 100 150 450 300 "the photograph did not change by itself"

# Right shows the next photograph at once; a second Right the one after;
# Left goes back to the first of them. The slideshow moves on by itself 4 s
# after the last key, so the keys follow one another closely: each waits
# only for the photograph's region to change (raw bytes, compared whole,
# which a busy machine grabs and compares in a fraction of a second).
grab_photo() { /usr/bin/import -window root -crop 450x300+100+150 -depth 8 "rgb:$WORK/$1.rgb" 2>/dev/null; }
# Grabs NAME until it differs from BASE (at most 20 times); false if it never does.
grab_photo_when_changed() {
    for _ in $(seq 20); do
        grab_photo "$2"
        cmp -s "$WORK/$1.rgb" "$WORK/$2.rgb" || return 0
    done
    return 1
}
# False when Left showed another photograph than the first Right.
right_right_left() {
    grab_photo before
    keys_to "$window" Right
    grab_photo_when_changed before right || fail "Right did not change the photograph"
    keys_to "$window" Right
    grab_photo_when_changed right right2 || fail "a second Right did not change the photograph"
    keys_to "$window" Left
    for _ in $(seq 20); do
        grab_photo left
        cmp -s "$WORK/right.rgb" "$WORK/left.rgb" && return 0
    done
    return 1
}
# If the machine is so busy that the slideshow moved on between two keys all
# the same, the keys are tried again; a Left that goes elsewhere fails each time.
went_back=0
for _ in 1 2 3; do
    if right_right_left; then
        went_back=1
        break
    fi
done
screenshot left
[ "$went_back" = 1 ] || fail "Left did not go back to the photograph before"

# Down highlights the first member's entry (virtual y 408..440) and restarts the text.
menu_before=$(region_mean "$ARTIFACTS/left.png" 690 328 250 32)
keys_to "$window" Down
screenshot_when_changed left down 690 328 250 32 "Down did not change the first entry"
menu_after=$(region_mean "$ARTIFACTS/down.png" 690 328 250 32)
[ "$menu_after" -gt "$menu_before" ] || fail "Down did not highlight the first entry ($menu_before -> $menu_after)"
keys_to "$window" Up
screenshot_when_changed down up 690 328 250 32 "Up did not change the first entry"

# The music: the disk driver's file grew and holds sound, not silence.
size=$(stat -c %s "$SDL_DISKAUDIOFILE" 2>/dev/null || echo 0)
[ "$size" -gt 100000 ] || fail "hardly any audio was written ($size bytes)"
loud=$(od -An -v -t d2 -w2 -j $((size / 2)) -N 200000 "$SDL_DISKAUDIOFILE" | awk '{ if ($1 > 500 || $1 < -500) n++ } END { print n + 0 }')
[ "$loud" -gt 100 ] || fail "the audio written is silent"

keys_to "$window" Escape
wait_exit 10
[ "$APP_STATUS" = 0 ] || fail "the run ended with status $APP_STATUS"
expect_tmpdir_empty
echo "e2e presentation: ok"
