#!/usr/bin/env bash
# The viewer's own music, text and logo files: one that cannot be used ends
# the command with status 2 and one line naming it, before anything opens or
# is written, for the live show (with a display to open) and the recordings
# alike.
source "$(dirname "$0")/lib.sh"

export HOME=$WORK/home
mkdir -p "$HOME" "$WORK/cwd" "$WORK/files/folder"
unset SDL_AUDIODRIVER
FILES=$WORK/files
echo "not music, not a picture" >"$FILES/plain.txt"
head -c $((1024 * 1024 + 1)) /dev/zero | tr '\0' 'a' >"$FILES/long.txt"
printf '\211PNG\r\n\032\n' >"$FILES/cut.png"
touch "$FILES/unreadable.xm"
chmod 000 "$FILES/unreadable.xm"
# Root reads whatever the mode says: that case is left out then.
[ -r "$FILES/unreadable.xm" ] && rm "$FILES/unreadable.xm"

# Runs the program in an empty folder with the display this script has (a
# refusal must come before the window) and sets APP_STATUS.
run_in_cwd() {
    (cd "$WORK/cwd" && exec "$BINARY" "$@") >"$WORK/stdout" 2>"$WORK/stderr"
    APP_STATUS=$?
}

while read -r option file why; do
    [ -e "$FILES/$file" ] || [ "$file" = missing.ogg ] || continue
    for output in "--size 320x240" "--capture out.mp4 --size 320x240 --seconds 1" "--still 1 out.png --size 320x240"; do
        args="$output $option $FILES/$file"
        run_in_cwd $args
        [ "$APP_STATUS" = 2 ] || fail "'$args' ended with status $APP_STATUS: $(cat "$WORK/stderr")"
        what=${option#--}
        [ "$what" = text ] && what="scroll text"
        [ "$(cat "$WORK/stderr")" = "dorirova: cannot use $FILES/$file as $what: $why" ] ||
            fail "'$args' said: $(cat "$WORK/stderr")"
        left=$(find "$WORK/cwd" "$TMPDIR" "$HOME" -mindepth 1)
        [ -z "$left" ] || fail "'$args' left files: $left"
    done
done <<'LIST'
--music missing.ogg No such file or directory
--music folder a folder
--music unreadable.xm Permission denied
--music plain.txt neither a module nor an audio file this program reads
--text folder a folder
--text long.txt larger than 1048576 bytes
--logo plain.txt not a PNG file
--logo cut.png a broken PNG file: the file ends too soon
LIST
exit 0
