#!/usr/bin/env bash
# Records the golden frames anew: for a new Mesa, or after a change that is
# meant to alter the picture. Run from a tree whose pictures are known good;
# rewrites tests/golden_frames/golden_hashes.txt and the kept PNGs.
# Usage: tests/golden_frames/record.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
cmake --build "$build" --target test_golden_frames -j "$(nproc)" >/dev/null
out=$(mktemp)
trap 'rm -f "$out" "$out.mesa"' EXIT
export SDL_AUDIODRIVER=dummy
for size in At1024x768 At800x600 At1920x1080 At1920x1080KeepingTheShape; do
    DORIROVA_GOLDEN_RECORD=$out "$build/tests/test_golden_frames" --gtest_filter="GoldenFrames.$size" >/dev/null
done
{
    echo "# Hashes (64-bit FNV-1a of the RGBA bytes, bottom row first) of the"
    echo "# golden frames; written by tests/golden_frames/record.sh."
    echo "mesa $(cat "$out.mesa")"
    cat "$out"
} >"$root/tests/golden_frames/golden_hashes.txt"
echo "recorded $(wc -l <"$out") frames with $(cat "$out.mesa")"
