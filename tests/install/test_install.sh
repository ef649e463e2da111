#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR under /usr/local, as
# `make install DESTDIR=...` does, and checks what lands there: the file list,
# the desktop entry and the metainfo by the desktop's own validators, the
# manual pages by rendering them, the icons by their sizes, and the programs
# by running them. Usage: test_install.sh BUILD_DIR VERSION MODULE_DIR
# (MODULE_DIR: the video module's folder under the prefix).
set -u
build=$1
version=$2
module_dir=$3
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
fail() { echo "FAIL (install): $*" >&2; exit 1; }

DESTDIR=$dest cmake --install "$build" --prefix /usr/local >"$dest.log" 2>&1 \
    || { cat "$dest.log" >&2; rm -f "$dest.log"; fail "cmake --install failed"; }
rm -f "$dest.log"
root=$dest/usr/local
id=org.krv.dorirova

expected="usr/local/bin/dorirova-rezpack
usr/local/games/dorirova
usr/local/$module_dir/dorirova-video.so
usr/local/share/applications/$id.desktop
usr/local/share/doc/dorirova/changelog.gz
usr/local/share/doc/dorirova/copyright
usr/local/share/icons/hicolor/128x128/apps/$id.png
usr/local/share/icons/hicolor/256x256/apps/$id.png
usr/local/share/icons/hicolor/48x48/apps/$id.png
usr/local/share/lintian/overrides/dorirova
usr/local/share/man/man1/dorirova-rezpack.1.gz
usr/local/share/man/man6/dorirova.6.gz
usr/local/share/metainfo/$id.metainfo.xml"
actual=$(cd "$dest" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort)
[ "$actual" = "$expected" ] || fail "installed files differ:
$(diff <(echo "$expected") <(echo "$actual"))"

# The validators: silent and content.
out=$(desktop-file-validate "$root/share/applications/$id.desktop" 2>&1) && [ -z "$out" ] \
    || fail "desktop-file-validate: $out"
out=$(appstreamcli validate --no-net "$root/share/metainfo/$id.metainfo.xml" 2>&1) \
    || fail "appstreamcli validate: $out"

# What the desktop entry names is what was installed.
icon=$(sed -n 's/^Icon=//p' "$root/share/applications/$id.desktop")
[ "$icon" = "$id" ] || fail "the desktop entry's icon is '$icon'"
# The windows' class (X11) and app_id (Wayland), for docks to match them.
class=$(sed -n 's/^StartupWMClass=//p' "$root/share/applications/$id.desktop")
[ "$class" = "$id" ] || fail "the desktop entry's StartupWMClass is '$class'"
for exec in $(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$root/share/applications/$id.desktop"); do
    [ -x "$root/games/$exec" ] || fail "the desktop entry runs '$exec', which is not installed"
done
for size in 48 128 256; do
    got=$(identify -format '%wx%h %[channels]' "$root/share/icons/hicolor/${size}x$size/apps/$id.png" 2>&1)
    [ "$got" = "${size}x$size srgba" ] || fail "the $size px icon is $got"
done

# The manual pages render without a warning, pass mandoc's checks (style
# too: the date's form, lines of at most 80 bytes), and carry their sections.
for page in man6/dorirova.6.gz man1/dorirova-rezpack.1.gz; do
    warnings=$(MANWIDTH=80 man --warnings -l "$root/share/man/$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$page: $warnings"
    warnings=$(mandoc -T lint "$root/share/man/$page" 2>&1)
    [ -z "$warnings" ] || fail "$page: $warnings"
    text=$(MANWIDTH=80 man -l "$root/share/man/$page" 2>/dev/null)
    for section in NAME SYNOPSIS DESCRIPTION "EXIT STATUS"; do
        grep -q "^$section" <<<"$text" || fail "$page has no $section section"
    done
done
text=$(MANWIDTH=80 man -l "$root/share/man/man6/dorirova.6.gz" 2>/dev/null)
for topic in --size --fullscreen --keep-aspect --capture --still --keys --help --version Escape TMPDIR \
    SDL_AUDIODRIVER FILES "dorirova $version"; do
    grep -q -e "$topic" <<<"$text" || fail "dorirova.6 does not mention $topic"
done

# The installed programs run, and every place the version shows agrees.
[ "$(env -u DISPLAY "$root/games/dorirova" --version)" = "dorirova $version" ] || fail "installed --version is wrong"
grep -q "<release version=\"$version\"" "$root/share/metainfo/$id.metainfo.xml" \
    || fail "the metainfo has no release $version"
zcat "$root/share/doc/dorirova/changelog.gz" | head -1 | grep -q "^dorirova ($version) " \
    || fail "the changelog's latest entry is not $version"
"$root/bin/dorirova-rezpack" list "$build/resources/dorirova.rez" | grep -q "^HALVIX.xm" \
    || fail "the installed dorirova-rezpack cannot list the archive"
# The installed program finds its installed video module.
env -u DISPLAY "$root/games/dorirova" --capture "$dest/short.mkv" --size 320x240 --seconds 0.1 >/dev/null 2>"$dest/err" &&
    [ -s "$dest/short.mkv" ] || fail "the installed program cannot record: $(cat "$dest/err")"
echo "install: ok"
