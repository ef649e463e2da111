#pragma once
// One input for each fuzzed entry point: the bytes are written to a temporary
// file, handed to the entry point by path, the outcome is checked against the
// rules below, and everything is released again. The libFuzzer fuzzers and the
// regression test that replays kept crashers share these, so a crasher is
// replayed exactly as it was found.
//
// Needs TMPDIR set to a private, empty folder: after each input it must be
// empty again (no temporary file outlives a load). The image replays need the
// current GL context. A broken rule prints one line on stdout (stderr may be
// closed while fuzzing) and aborts, which libFuzzer reports as a crash.
#include <cstddef>
#include <cstdint>

enum class ReplayOutcome {
    Refused,   // open() returned 1, or the decoder gave null
    Accepted,  // open() returned 0, or the decoder gave an image
};

// ResourceArchive::open on the bytes. Open must succeed exactly when the
// table fits the file (count, names with their NUL, sizes); then the table
// must match the bytes and every name must extract its first entry's exact
// bytes, while a name not in the table gives an empty path. close() must
// delete the archive file.
ReplayOutcome replayArchive(const uint8_t *data, size_t size);

// The PNG decoder on the bytes. An image must be well formed (size within
// limits, power-of-two padding that is all zero), its pixelated levels must
// follow the block-mean rule for any sequence of block sizes, and its upload
// must give GL names to the texture and each level.
ReplayOutcome replayPng(const uint8_t *data, size_t size);

// The JPEG decoder on the bytes (R G B); an image must satisfy the same rules
// as for PNG and have no alpha.
ReplayOutcome replayJpeg(const uint8_t *data, size_t size);

// The photograph file loader on a file of the bytes, into a 64 x 64 square
// (fitted or filled as the size is even or odd): an image must be exactly
// that, opaque R G B A, and satisfy the same rules as for PNG; a refusal must
// say why.
ReplayOutcome replayPhoto(const uint8_t *data, size_t size);
