#!/usr/bin/env bash
# Instructions per frame, counted by callgrind: a figure that other work on a
# shared machine does not move, for comparing two builds of the layers. Runs
# dorirova_bench's frame-work child (30 frames of warm-up, then FRAMES
# measured, everything loaded, on a driven clock) for each size and kind:
# scene, transition, and quad (the frame floor).
# Needs an X display; run it through run_bench.sh for a private Xvfb:
#   bench/run_bench.sh bench/frame_instructions.sh ./build/bench/dorirova_bench [FRAMES]
set -euo pipefail
bench=$1
frames=${2:-20}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
for size in "1024 768" "1920 1080"; do
    for kind in scene transition quad; do
        rm -f "$out"/cg.*
        valgrind --tool=callgrind --callgrind-out-file="$out/cg.%p" \
            "$bench" child frame-work $size $kind "$frames" >/dev/null 2>&1
        # The dump the child asked for after its measured frames.
        dump=$(grep -l "Trigger: Client Request: measured frames" "$out"/cg.* | head -1)
        total=$(awk '/^totals:/ {print $2; exit}' "$dump")
        printf '%-9s %-10s %12.0f instructions a frame\n' "${size/ /x}" "$kind" "$(echo "$total / $frames" | bc -l)"
    done
done
