#!/usr/bin/env bash
# Builds the Debian package from the build into a temporary folder, as `make
# package` does, and checks it as Debian checks its own: lintian (pedantic)
# reports no error, no warning and no missing hardening; each dependency is
# named once; no maintainer script (nothing to run on install or removal, so
# removal and purge leave nothing); the presentation among the games and the
# archive tool among the programs. Usage: test_package.sh BUILD_DIR VERSION
# HARDENED, where HARDENED is OFF for a build made without Debian's
# hardening flags on purpose (the sanitizer build): its missing hardening is
# then no fault.
set -u
build=$1
version=$2
hardened=${3:-ON}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL (package): $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 \
    || fail "cpack failed: $(tail -5 "$work/cpack.log")"
deb=$(ls "$work"/dorirova_"$version"_*.deb 2>/dev/null) || fail "no dorirova_${version}_*.deb made"

files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for want in ./usr/games/dorirova ./usr/bin/dorirova-rezpack ./usr/share/man/man6/dorirova.6.gz \
            ./usr/share/man/man1/dorirova-rezpack.1.gz ./usr/share/doc/dorirova/changelog.gz; do
    grep -qx -- "$want" <<<"$files" || fail "the package lacks $want"
done
! grep -qx -- ./usr/bin/dorirova <<<"$files" || fail "the presentation is in /usr/bin, not among the games"

scripts=$(dpkg-deb -I "$deb" | awk '$NF ~ /^(pre|post)(inst|rm)$/ || $4 ~ /^(pre|post)(inst|rm)$/')
[ -z "$scripts" ] || fail "the package has maintainer scripts: $scripts"

twice=$(dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/(.*//; s/ //g' | LC_ALL=C sort | uniq -d)
[ -z "$twice" ] || fail "Depends names $(echo $twice) more than once"

# Info tags stay (they are advice), except missing hardening.
report=$(lintian --pedantic --display-info "$deb" 2>&1 | grep -v 'running with root privileges')
if [ "$hardened" = ON ]; then
    bad=$(grep -E '^(E|W): |hardening-' <<<"$report")
else
    bad=$(grep -E '^(E|W): ' <<<"$report")
fi
[ -z "$bad" ] || fail "lintian:
$bad"
echo "package: ok"
