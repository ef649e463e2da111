#!/usr/bin/env bash
# Runs one end-to-end script against a private Xvfb server with its own
# display number and its own TMPDIR. Usage: with_xvfb.sh SCRIPT BINARY
set -u
script=$1
binary=$2
for n in $(seq 40 240); do
    if [ ! -e /tmp/.X11-unix/X$n ] && [ ! -e /tmp/.X$n-lock ]; then
        display=:$n
        Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
        xvfb_pid=$!
        for _ in $(seq 100); do
            [ -e /tmp/.X11-unix/X$n ] && break
            kill -0 $xvfb_pid 2>/dev/null || break
            sleep 0.05
        done
        if kill -0 $xvfb_pid 2>/dev/null && [ -e /tmp/.X11-unix/X$n ]; then break; fi
        unset display
    fi
done
if [ -z "${display:-}" ]; then echo "with_xvfb: no Xvfb display could be started" >&2; exit 1; fi
trap 'kill $xvfb_pid 2>/dev/null; wait $xvfb_pid 2>/dev/null' EXIT
export DISPLAY=$display
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
bash "$script" "$binary"
