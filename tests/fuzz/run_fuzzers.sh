#!/bin/sh
# Runs the three fuzzers of a fuzz build one after the other, each for a
# bounded time on one core, seeded:
#   archive  archives packed by the build's own rezpack from small files
#   png      every file of PngSuite (tests/data/pngsuite/png), if present
#   jpeg     JPEGs made here by cjpeg: baseline, progressive, grey, restart
#            markers, arithmetic coding, odd sizes
# Before each, the inputs kept under tests/fuzz/regressions/ run once each.
#
#   tests/fuzz/run_fuzzers.sh BUILD_DIR [SECONDS_EACH]   (from the repository root)
#
# Inputs that grow coverage stay in BUILD_DIR/fuzz-corpus/<kind>/ across runs;
# a crasher is written to BUILD_DIR/fuzz-crashes/<kind>/ and makes the exit
# status 1 (after the other fuzzers have had their turn).
set -eu

build=${1:?usage: run_fuzzers.sh BUILD_DIR [SECONDS_EACH]}
seconds=${2:-60}
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$build" && pwd)
seeds=$build/fuzz-seeds
pngsuite=$root/tests/data/pngsuite/png

# Every temporary file of the run goes below one private folder, removed at
# the end even when a fuzzer crashed and left its own folder behind. In memory
# where there is a tmpfs: every input makes and deletes a few files.
scratch=$(mktemp -d /dev/shm/dorirova-fuzz-XXXXXX 2>/dev/null ||
          mktemp -d "$build/fuzz-tmp-XXXXXX")
trap 'rm -rf "$scratch"' EXIT INT TERM

# ---- seeds: archives --------------------------------------------------------
rm -rf "$seeds"
mkdir -p "$seeds/archive" "$seeds/jpeg" "$scratch/files"
(
    cd "$scratch/files"
    : > empty.bin
    printf 'dorirova' > word.txt
    printf '\000\001\002\003\377\376' > bytes.bin
    printf 'P6\n2 2\n255\n\377\000\000\000\377\000\000\000\377\377\377\377' > tiny.ppm
    long=$(printf '%0255d' 0 | tr 0 n)   # a name of the longest kind, 255 bytes
    printf 'x' > "$long"
)
f=$scratch/files
"$build/rezpack" pack "$seeds/archive/one.rez" "$f/word.txt"
"$build/rezpack" pack "$seeds/archive/empty-entry.rez" "$f/empty.bin" "$f/word.txt"
"$build/rezpack" pack "$seeds/archive/three.rez" "$f/bytes.bin" "$f/tiny.ppm" "$f/word.txt"
"$build/rezpack" pack "$seeds/archive/long-name.rez" "$f"/nnn* "$f/bytes.bin"
"$build/rezpack" pack "$seeds/archive/none.rez"

# ---- seeds: JPEGs -----------------------------------------------------------
# Test pictures as binary PPM and PGM: gradients and a checker, odd sizes so
# the last block row and column are partial.
picture() {  # picture WIDTH HEIGHT P6|P5 > file
    LC_ALL=C awk -v w="$1" -v h="$2" -v kind="$3" 'BEGIN {
        printf "%s\n%d %d\n255\n", kind, w, h
        for (y = 0; y < h; y++) for (x = 0; x < w; x++) {
            if (kind == "P5") { printf "%c", (x * 255 / w + ((int(x / 4) + int(y / 4)) % 2) * 40) % 256; continue }
            printf "%c%c%c", int(x * 255 / w), ((int(x / 3) + int(y / 5)) % 2) ? 200 : 40, (x * x + y * 3) % 256
        }
    }'
}
picture 37 29 P6 > "$scratch/colour.ppm"
picture 16 16 P6 > "$scratch/square.ppm"
picture 1 1 P6 > "$scratch/dot.ppm"
picture 33 21 P5 > "$scratch/grey.pgm"
jpeg() {  # jpeg NAME INPUT CJPEG-OPTIONS...
    name=$1 input=$2
    shift 2
    cjpeg "$@" -outfile "$seeds/jpeg/$name.jpg" "$input"
}
jpeg baseline "$scratch/colour.ppm" -quality 75
jpeg progressive "$scratch/colour.ppm" -progressive
jpeg grey "$scratch/grey.pgm" -quality 80
jpeg grey-progressive "$scratch/grey.pgm" -progressive
jpeg colour-as-grey "$scratch/colour.ppm" -grayscale
jpeg restart-rows "$scratch/colour.ppm" -restart 1
jpeg restart-blocks "$scratch/colour.ppm" -restart 2B -progressive
jpeg optimised-444 "$scratch/square.ppm" -optimize -sample 1x1
jpeg subsampled-2x1 "$scratch/square.ppm" -sample 2x1 -quality 50
jpeg arithmetic "$scratch/colour.ppm" -arithmetic
jpeg arithmetic-progressive "$scratch/grey.pgm" -arithmetic -progressive
jpeg one-pixel "$scratch/dot.ppm"

# ---- fuzzing ----------------------------------------------------------------
# stderr is taken from the inputs (libpng and libjpeg warn on every broken
# file; the fuzzer counts their messages instead); libFuzzer and the
# sanitizers keep reporting on a copy of it. Mesa keeps a little memory of its
# own past exit: not ours to report.
fuzzer() {  # fuzzer KIND LIBFUZZER-ARGUMENTS...
    kind=$1
    shift
    TMPDIR=$scratch/$kind \
        LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0 \
        "$build/fuzz_$kind" -timeout=20 -close_fd_mask=2 "$@"
}

status=0
for kind in archive png jpeg; do
    corpus=$build/fuzz-corpus/$kind
    crashes=$build/fuzz-crashes/$kind
    kept=$root/tests/fuzz/regressions/$kind
    mkdir -p "$corpus" "$crashes" "$scratch/$kind"

    # The kept crashers once each, under the sanitizers. They are not seeds:
    # several claim 16384 x 16384 pixels, and their mutants would have the
    # fuzzer spend its time allocating and poisoning gigabytes.
    if [ -n "$(ls "$kept" 2>/dev/null)" ]; then
        echo "==== fuzz_$kind: the kept inputs of $kept"
        if ! fuzzer "$kind" "$kept"/*; then
            echo "==== a kept input breaks fuzz_$kind again"
            status=1
        fi
    fi

    set -- "$corpus"
    case $kind in
        png)
            if [ -d "$pngsuite" ]; then set -- "$@" "$pngsuite"
            else echo "fuzz: no PngSuite at $pngsuite; the PNG fuzzer starts without it"; fi ;;
        *) set -- "$@" "$seeds/$kind" ;;
    esac
    dict=
    [ -f "$root/tests/fuzz/$kind.dict" ] && dict=-dict=$root/tests/fuzz/$kind.dict
    echo "==== fuzz_$kind: ${seconds} s"
    # Seeds stay in the corpus even when they add no coverage of ours: the
    # libraries' own paths are unseen. One summary at the end (executions,
    # executions per second, slowest input, peak memory) instead of a line per
    # new input; crashes are reported in full either way.
    if ! fuzzer "$kind" -max_total_time="$seconds" -max_len=8192 -keep_seed=1 \
            -verbosity=0 -print_final_stats=1 $dict -artifact_prefix="$crashes/" "$@"; then
        echo "==== fuzz_$kind found a crash: see $crashes/"
        status=1
    fi
done
exit $status
