#!/usr/bin/env bash
# Runs dorirova_bench against a private Xvfb server: the first free display
# number from :40 on, one 1920 x 1200 x 24 screen (room for a 1920 x 1080
# window), stopped again when the benchmark ends.
#   run_bench.sh BENCH_BINARY [bench arguments...]
set -u
binary=$1
shift
for n in $(seq 40 240); do
    if [ ! -e /tmp/.X11-unix/X$n ] && [ ! -e /tmp/.X$n-lock ]; then
        Xvfb :$n -screen 0 1920x1200x24 -nolisten tcp -noreset >/dev/null 2>&1 &
        xvfb_pid=$!
        for _ in $(seq 100); do
            [ -e /tmp/.X11-unix/X$n ] && break
            kill -0 $xvfb_pid 2>/dev/null || break
            sleep 0.05
        done
        if kill -0 $xvfb_pid 2>/dev/null && [ -e /tmp/.X11-unix/X$n ]; then
            display=:$n
            break
        fi
        wait $xvfb_pid 2>/dev/null
    fi
done
if [ -z "${display:-}" ]; then echo "run_bench: no Xvfb display could be started" >&2; exit 1; fi
trap 'kill $xvfb_pid 2>/dev/null; wait $xvfb_pid 2>/dev/null' EXIT
echo "Xvfb $display -screen 0 1920x1200x24 (private, pid $xvfb_pid)"
DISPLAY=$display "$binary" "$@"
