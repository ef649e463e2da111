#!/usr/bin/env bash
# The README's two commands on a machine that has nothing: a minimal Debian 12
# (debootstrap's minbase) with only what a newcomer adds first, git, make and
# sudo. There, each in a fresh clone of the committed HEAD of this checkout:
#   1. `make run` as an ordinary user with sudo, until the settings dialog
#      shows on an X server (this script's Xvfb, standing for the newcomer's
#      desktop), then Escape: the project's packages get installed here,
#      through sudo; afterwards the user's home must hold nothing new but
#      sudo's mark of a first use and the shared caches' folder (.cache):
#      the dialog writes no toolkit options, and only a presentation starts
#      the sound output;
#   2. `make test` as that user;
#   3. `make test` as root;
#   4. the user's `make package`, installed as the README says, run, removed
#      and purged: nothing of it may stay, in dpkg's lists neither.
# A failure ends it with one line naming the step and what was missing; each
# step's whole output stays in LOG_DIR.
#
# The base system (minbase with git, make and sudo, never a package of the
# project's) is kept between runs in $CLEAN_MACHINE_CACHE (default
# /var/cache/dorirova; empty: keep nothing) and built anew when older than a
# week. The machine itself lives in a folder of /var/tmp for one run. Its file
# systems are mounted in a mount namespace, and its processes run in a PID
# namespace, of this script's own: unmounted and ended however the run ends,
# even killed; then the folder goes.
#
# Usage, as root: run.sh LOG_DIR
set -u
SUITE=bookworm
MIRROR=http://deb.debian.org/debian
SECURITY_MIRROR=http://deb.debian.org/debian-security
NEWCOMER=newcomer
CACHE=${CLEAN_MACHINE_CACHE-/var/cache/dorirova}
BASE_TAR=$CACHE/clean-machine-$SUITE-base.tar
STEP_LIMIT=3600   # seconds for one step; the packages and a whole build come first

say() { echo "clean machine: $*"; }
die() { echo "clean machine: $*" >&2; exit 1; }
minutes() { printf '%dm%02ds' $(($1 / 60)) $(($1 % 60)); }

# ---- The host's side: a folder for the machine, removed whatever happens. ----
on_host() {   # LOG_DIR
    [ $# = 1 ] || die "usage: run.sh LOG_DIR"
    [ "$(id -u)" = 0 ] || die "needs root (debootstrap, chroot, mount): run it with sudo"
    local tool repo log_dir   # work and inside stay global: the traps use them after return
    for tool in debootstrap unshare chroot Xvfb xdotool git; do
        command -v $tool >/dev/null || die "the host lacks $tool (make test-clean-machine installs it)"
    done
    repo=$(cd "$(dirname "$0")/../.." && pwd)
    mkdir -p "$1" && log_dir=$(cd "$1" && pwd) || die "cannot make the log folder $1"
    rm -f "$log_dir"/*.log "$log_dir"/*.png
    work=$(mktemp -d /var/tmp/dorirova-clean-machine.XXXXXX) || die "cannot make a folder in /var/tmp"
    # Nothing is mounted there in this namespace: removing it stays on its file system.
    trap 'rm -rf --one-file-system "$work"' EXIT
    trap 'kill -KILL $inside 2>/dev/null; wait $inside; say "interrupted"; exit 130' INT TERM HUP
    mkdir -p -m 0755 "$work/root"   # the machine's /
    git -C "$repo" bundle create "$work/dorirova.bundle" HEAD >/dev/null 2>&1 \
        || die "cannot bundle HEAD of $repo"
    say "testing $(git -C "$repo" log -1 --format='%h (%s)'), the committed HEAD of $repo"
    # The inside runs from a copy: editing this file meanwhile changes nothing.
    cp "$0" "$work/run.sh"
    # Killing unshare kills the script inside (--kill-child), and with it
    # its PID namespace's every process and its mount namespace.
    unshare --mount --propagation private --pid --fork --kill-child \
        bash "$work/run.sh" --inside "$work/root" "$log_dir" &
    inside=$!
    wait $inside
}

# ---- Inside: pid 1 of a PID namespace, with a mount namespace of its own. ----
mounted=()

unmount_all() {
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}" 2>/dev/null
    done
    mounted=()
}

# As pid 1 of the namespace, kill -1 reaches every process of the run but this one.
finish() {
    kill -KILL -1 2>/dev/null
    wait 2>/dev/null
    unmount_all
}

mount_one() {   # TYPE OPTIONS TARGET
    mount -t "$1" -o "$2" "$1" "$root/$3" || die "cannot mount $1 on /$3 of the machine"
    mounted+=("$root/$3")
}

# What the newcomer types, as USER (a login shell: the environment of a fresh
# login, nothing of this script's), in their home; output to LOG, at most
# STEP_LIMIT seconds.
as_user() {   # USER LOG COMMAND
    timeout --kill-after=30 $STEP_LIMIT chroot "$root" runuser -l "$1" -c "$3" >"$2" 2>&1
}

# The most telling line of a failed step's log: what was missing or broke.
missing_piece() {   # LOG
    local log=$1 line pattern
    for pattern in 'fatal error: .*No such file or directory' 'Unable to locate package' \
                   'Could NOT find|No package .* found|Package .* not found' 'The following tests FAILED' \
                   'command not found' 'CMake Error' '^[^ ]+:[0-9]+:[0-9]+: error: ' \
                   'undefined reference|cannot find -l'; do
        line=$(grep -E -m1 -- "$pattern" "$log") || continue
        if [ "$pattern" = 'The following tests FAILED' ]; then
            line="tests failed: $(sed -n '/The following tests FAILED/,$s/^[[:space:]]*[0-9]* - \([^ ]*\).*/\1/p' "$log" |
                paste -sd, | sed 's/,/, /g')"
        fi
        echo "$line" | sed 's/^[[:space:]]*//'
        return
    done
    grep -v -e '^[[:space:]]*$' -e '\*\*\*' "$log" | tail -1
}

# Ends the run: the log's end for the reader, then the one line.
step_failed() {   # STEP LOG [WHAT]
    echo "---- last lines of $2:"
    tail -20 "$2" | sed 's/^/    /'
    die "FAILED at $1: ${3:-$(missing_piece "$2")} (log: $2)"
}

# ctest's count from a log: "P passed, F failed, S skipped".
test_counts() {   # LOG
    local line total failed skipped
    line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -1)
    total=${line##* out of }
    failed=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")
    skipped=$(grep -cE '^[[:space:]]+[0-9]+ - .*\(Skipped\)$' "$1")
    echo "$((total - failed - skipped)) passed, $failed failed, $skipped skipped"
}

# 0. The base: minbase, the archive's usual sources, git, make, sudo; then
# the newcomer, a user with sudo.
base_system() {
    local start=$SECONDS log=$log_dir/0-base-system.log how
    if [ -n "$CACHE" ] && [ -n "$(find "$BASE_TAR" -mtime -7 2>/dev/null)" ]; then
        tar -C "$root" --numeric-owner -xpf "$BASE_TAR" 2>"$log" || step_failed "the base system" "$log"
        how="from $BASE_TAR"
    else
        debootstrap --variant=minbase "$SUITE" "$root" "$MIRROR" >"$log" 2>&1 \
            || step_failed "the base system (debootstrap $SUITE)" "$log"
        how="built by debootstrap"
    fi
    mount_one proc nosuid,nodev,noexec proc
    mount_one sysfs ro,nosuid,nodev,noexec sys
    mount_one devpts newinstance,ptmxmode=0666,mode=0620,gid=5 dev/pts
    mount_one tmpfs nosuid,nodev,mode=1777 dev/shm
    # A resolver and a host name, as any installed system has.
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    printf '127.0.0.1\tlocalhost\n127.0.1.1\t%s\n::1\tlocalhost ip6-localhost ip6-loopback\n' \
        "$(hostname)" >"$root/etc/hosts"
    if [ "$how" = "built by debootstrap" ]; then
        cat >"$root/etc/apt/sources.list" <<EOF
deb $MIRROR $SUITE main
deb $MIRROR $SUITE-updates main
deb $SECURITY_MIRROR $SUITE-security main
EOF
        log=$log_dir/0-newcomer-tools.log
        as_user root "$log" "export DEBIAN_FRONTEND=noninteractive
            apt-get update && apt-get -y upgrade &&
            apt-get install -y --no-install-recommends git make sudo &&
            apt-get clean && rm -rf /var/lib/apt/lists/*" \
            || step_failed "adding git, make and sudo" "$log"
        if [ -n "$CACHE" ]; then
            mkdir -p "$CACHE" &&
                tar -C "$root" --one-file-system --numeric-owner -cpf "$BASE_TAR.part" . &&
                mv "$BASE_TAR.part" "$BASE_TAR" || rm -f "$BASE_TAR.part"
        fi
    fi
    # What is cloned comes in only now: the base kept above never holds it.
    install -m 0644 "$root/../dorirova.bundle" "$root/srv/dorirova.bundle"
    log=$log_dir/0-newcomer.log
    as_user root "$log" "useradd --create-home --shell /bin/bash --groups sudo $NEWCOMER &&
        echo '$NEWCOMER ALL=(ALL) NOPASSWD: ALL' >/etc/sudoers.d/$NEWCOMER &&
        chmod 0440 /etc/sudoers.d/$NEWCOMER" \
        || step_failed "adding the user $NEWCOMER" "$log"
    say "Debian $(cat "$root/etc/debian_version") minbase with git, make and sudo, $how" \
        "($(minutes $((SECONDS - start))))"
}

clone() {   # USER FOLDER LOG
    as_user "$1" "$3" "mkdir -p $2 && cd $2 && git -c advice.detachedHead=false clone -q /srv/dorirova.bundle dorirova" \
        || step_failed "git clone as $1" "$3"
}

# An X server of the host's, in a /tmp of its own (its lock and socket files
# go with it), which the machine reaches through its abstract socket. Sets
# display. Kept even when its last client leaves (-noreset), as a desktop is.
# Ready is when it writes its number (-displayfd): a server of another run on
# the same number would answer too, while this one dies at start.
start_xvfb() {
    local n ready=$root/../xvfb-display
    for n in $(seq 600 699); do
        : >"$ready"
        unshare --mount sh -c "mount -t tmpfs tmpfs /tmp &&
            exec Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp -noreset -displayfd 3" \
            3>"$ready" >/dev/null 2>&1 &
        xvfb_pid=$!
        for _ in $(seq 100); do
            [ -s "$ready" ] && { display=:$n; return 0; }
            kill -0 $xvfb_pid 2>/dev/null || break
            sleep 0.1
        done
        kill $xvfb_pid 2>/dev/null
        wait $xvfb_pid 2>/dev/null
    done
    die "no Xvfb display could be started on the host"
}

home_files() { chroot "$root" find /home/$NEWCOMER -path /home/$NEWCOMER/run -prune -o -print | sort; }

# 1. make run, as the newcomer, until the settings dialog shows; Escape ends it.
make_run() {
    local start=$SECONDS log=$log_dir/1-user-make-run.log step="\`make run\` as $NEWCOMER"
    local home_before new ours run_pid dialog= deadline=$((SECONDS + STEP_LIMIT))
    clone $NEWCOMER run "$log"
    home_before=$(home_files)
    start_xvfb
    as_user $NEWCOMER "$log" "cd run/dorirova && DISPLAY=$display make run" &
    run_pid=$!
    while [ -z "$dialog" ] && kill -0 $run_pid 2>/dev/null && [ $SECONDS -lt $deadline ]; do
        sleep 1
        dialog=$(DISPLAY=$display xdotool search --onlyvisible --class dorirova 2>/dev/null | head -1)
    done
    [ -n "$dialog" ] || step_failed "$step" "$log" "$(missing_piece "$log") (no settings dialog showed)"
    DISPLAY=$display import -window root "$log_dir/1-settings-dialog.png" 2>/dev/null
    DISPLAY=$display xdotool mousemove --window "$dialog" 5 5 windowfocus --sync "$dialog" 2>/dev/null
    sleep 0.5   # a window maps before the toolkit takes keys
    DISPLAY=$display xdotool key Escape
    for _ in $(seq 300); do kill -0 $run_pid 2>/dev/null || break; sleep 0.1; done
    kill -0 $run_pid 2>/dev/null && step_failed "$step" "$log" "Escape did not end the settings dialog within 30 s"
    wait $run_pid || step_failed "$step" "$log" "\`make run\` ended with status $? after Escape"
    kill $xvfb_pid 2>/dev/null
    # The dialog alone writes nothing there: no toolkit options (~/.fltk), no
    # sound output's files (~/.config/pulse). Shared caches are the
    # libraries', and sudo's mark of a first use is sudo's.
    new=$(comm -13 <(echo "$home_before") <(home_files) | sed "s|^/home/$NEWCOMER/||")
    ours=$(grep -v -E '^\.cache(/|$)' <<<"$new" |
        grep -v -x '\.sudo_as_admin_successful')
    [ -z "$ours" ] || step_failed "$step" "$log" "the home holds new files: $(echo $ours)"
    say "$step: the settings dialog showed, Escape ended it; new in the home: $(echo ${new:-nothing})" \
        "($(minutes $((SECONDS - start))))"
}

# 2, 3. make test, in a fresh clone.
make_test() {   # USER LOG
    local start=$SECONDS step="\`make test\` as $1"
    clone "$1" test "$2"
    as_user "$1" "$2" "cd test/dorirova && make test" || step_failed "$step" "$2"
    say "$step: $(test_counts "$2") ($(minutes $((SECONDS - start))))"
}

# 4. The package as the README installs it; removal and purge leave nothing.
package() {
    local start=$SECONDS log=$log_dir/4-user-package.log
    as_user $NEWCOMER "$log" 'set -ex
        cd test/dorirova && make package
        sudo DEBIAN_FRONTEND=noninteractive apt-get install -y -q ./build/dorirova_*.deb
        dpkg -L dorirova >"$HOME/package-files"
        [ "$(command -v dorirova)" = /usr/games/dorirova ]
        dorirova --version
        dorirova --still 1 ~/still.png --size 320x240 && rm ~/still.png
        sudo apt-get remove -y -q dorirova
        # Nothing to run and no configuration files: removal already forgets
        # the package, and a purge after it has nothing left to do.
        sudo dpkg --purge dorirova
        left=$(while read -r f; do [ -d "$f" ] || [ ! -e "$f" ] || echo "$f"; done <"$HOME/package-files"
               ls /var/lib/dpkg/info/dorirova.* 2>/dev/null; dpkg-query -W dorirova 2>/dev/null || true)
        [ -z "$left" ] || { echo "left behind: $(echo $left)"; exit 1; }' \
        || step_failed "the package (install, run, remove, purge)" "$log"
    say "the package: installed, ran as /usr/games/dorirova, removed and purged, nothing left" \
        "($(minutes $((SECONDS - start))))"
}

inside() {   # ROOT LOG_DIR
    root=$1
    log_dir=$2
    trap finish EXIT
    base_system
    make_run
    make_test $NEWCOMER "$log_dir/2-user-make-test.log"
    make_test root "$log_dir/3-root-make-test.log"
    package
    say "passed"
}

if [ "${1:-}" = --inside ]; then inside "$2" "$3"; else on_host "$@"; fi; exit $?
