#!/usr/bin/env bash
# Your own photographs, recorded without a display: a folder of mixed sizes,
# shapes, orientations and formats with broken files among them. Every good
# one shows, fitted and the right way up, in name order; every broken one is
# skipped with one line naming it; and what cannot be shown at all ends the
# command with status 2 and one line, writing nothing.
source "$(dirname "$0")/lib.sh"

PHOTOS=$WORK/photos
OUT=$WORK/out
mkdir -p "$PHOTOS" "$OUT"
export HOME=$WORK/home
mkdir -p "$HOME"

# A picture that shows its way up: red top left, blue top right, green
# bottom left, white bottom right; W x H.
quadrants() {
    local w=$1 h=$2 hw=$(($1 / 2)) hh=$(($2 / 2))
    /usr/bin/convert -size "${w}x${h}" xc:white \
        -fill red -draw "rectangle 0,0 $((hw - 1)),$((hh - 1))" \
        -fill blue -draw "rectangle $hw,0 $((w - 1)),$((hh - 1))" \
        -fill lime -draw "rectangle 0,$hh $((hw - 1)),$((h - 1))" "$3"
}

# $2 as a JPEG that says its pixels are stored turned: EXIF orientation $1.
with_orientation() {
    {
        printf '\xff\xd8\xff\xe1\x00\x22Exif\x00\x00MM\x00\x2a\x00\x00\x00\x08\x00\x01'
        printf '\x01\x12\x00\x03\x00\x00\x00\x01\x00'"\\x0$1"'\x00\x00\x00\x00\x00\x00'
        tail -c +3 "$2"
    } >"$3"
}

quadrants 1600 900 "$WORK/wide.ppm"
quadrants 600 1000 "$WORK/tall.ppm"
/usr/bin/convert "$WORK/wide.ppm" -quality 92 "$PHOTOS/p01-wide.jpg"
/usr/bin/convert "$WORK/tall.ppm" -colors 8 "$PHOTOS/p02-palette.png"
# Stored turned a quarter to the left; orientation 6 turns it back.
/usr/bin/convert "$WORK/wide.ppm" -rotate -90 -quality 92 "$WORK/turned.jpg"
with_orientation 6 "$WORK/turned.jpg" "$PHOTOS/p03-phone.jpg"
/usr/bin/convert "$WORK/tall.ppm" -colorspace CMYK -quality 92 "$PHOTOS/p04-cmyk.jpg"
/usr/bin/convert "$WORK/wide.ppm" -depth 16 "$PHOTOS/p05-deep.png"
head -c 3000 "$PHOTOS/p01-wide.jpg" >"$PHOTOS/p06-cut.jpg"
echo "not a photograph" >"$PHOTOS/p07-text.png"
/usr/bin/convert "$WORK/tall.ppm" -colorspace Gray "$WORK/tall-grey.ppm"
/usr/bin/convert "$WORK/tall-grey.ppm" "$PHOTOS/p10-grey.jpg"
# What each good one must look like, in show order.
REFERENCES=(wide.ppm tall.ppm wide.ppm tall.ppm wide.ppm tall-grey.ppm)

record() {
    (cd "$OUT" && unset DISPLAY WAYLAND_DISPLAY && exec "$BINARY" "$@") >"$WORK/stdout" 2>"$WORK/stderr"
    APP_STATUS=$?
}

# The photograph's square in a 1024x768 still, below the logo, above the scroll band, within the frame.
INNER=512x400+84+200

# Fails unless the still at which Right has been released K times, in the
# show of FOLDER, shows the picture REFERENCE fitted into the square on black
# (name: NAME). Leaves the program's stderr in $WORK/stderr.
# Usage: expect_shown FOLDER K REFERENCE NAME
expect_shown() {
    local folder=$1 k=$2 reference=$3 name=$4 keys= error
    for i in $(seq 1 "$k"); do keys+="${keys:+,}0.$i:Right"; done
    record --photos "$folder" --still 0.$((k + 2)) "$name.png" --size 1024x768 --fps 10 ${keys:+--keys $keys}
    [ "$APP_STATUS" = 0 ] || fail "$name ended with status $APP_STATUS: $(cat "$WORK/stderr")"
    /usr/bin/convert "$reference" -resize 592x592 -background black -gravity center -extent 592x592 \
        +gravity -crop "512x400+40+68" +repage "$WORK/want.png"
    /usr/bin/convert "$OUT/$name.png" -crop "$INNER" +repage "$WORK/got.png"
    cp "$OUT/$name.png" "$ARTIFACTS/$name.png"
    rm "$OUT/$name.png"
    error=$(/usr/bin/compare -metric RMSE "$WORK/got.png" "$WORK/want.png" null: 2>&1 | sed 's/.*(\(.*\))/\1/')
    awk -v e="$error" 'BEGIN { exit !(e < 0.08) }' ||
        fail "$name is not its file fitted the right way up (RMSE $error; see $ARTIFACTS/$name.png)"
}

for k in 0 1 2 3 4 5; do
    expect_shown "$PHOTOS" $k "$WORK/${REFERENCES[$k]}" "shot$k"
done
[ "$(grep -c "skipping" "$WORK/stderr")" = 2 ] || fail "not one line for each broken file: $(cat "$WORK/stderr")"
grep -q "skipping .*p07-text.png: " "$WORK/stderr" || fail "no line for the text file: $(cat "$WORK/stderr")"

# Every EXIF orientation: the picture stored turned or mirrored as a phone
# may store it, with the orientation that puts it right.
mkdir "$WORK/turned"
TURNS=("" -flop "-rotate 180" -flip -transpose "-rotate -90" -transverse "-rotate 90")
for orientation in 1 2 3 4 5 6 7 8; do
    /usr/bin/convert "$WORK/wide.ppm" ${TURNS[$((orientation - 1))]} -quality 92 "$WORK/stored.jpg"
    with_orientation $orientation "$WORK/stored.jpg" "$WORK/turned/o$orientation.jpg"
done
for k in 0 1 2 3 4 5 6 7; do
    expect_shown "$WORK/turned" $k "$WORK/wide.ppm" "orientation$((k + 1))"
done

# Nothing to show: status 2, one line, no file written.
mkdir "$WORK/empty" "$WORK/broken"
cp "$PHOTOS/p06-cut.jpg" "$PHOTOS/p07-text.png" "$WORK/broken/"
for paths in "$WORK/missing" "$WORK/empty" "$PHOTOS $WORK/missing"; do
    record --photos $paths --capture none.mp4 --size 320x240
    [ "$APP_STATUS" = 2 ] || fail "--photos $paths ended with status $APP_STATUS"
    [ "$(wc -l <"$WORK/stderr")" = 1 ] || fail "--photos $paths said more than one line: $(cat "$WORK/stderr")"
done
record --photos "$WORK/broken" --capture none.mp4 --size 320x240
[ "$APP_STATUS" = 2 ] || fail "only broken photographs ended with status $APP_STATUS"
tail -1 "$WORK/stderr" | grep -q "none of the photographs can be shown" || fail "no last line: $(cat "$WORK/stderr")"
[ -z "$(ls -A "$OUT")" ] || fail "a refused command wrote $(ls "$OUT")"
[ -z "$(ls -A "$TMPDIR")" ] || fail "temporary files left behind"
exit 0
