// One libFuzzer target, built once per entry point: FUZZ_REPLAY names the
// replay function (replayArchive, replayPng, replayJpeg).
#include "tests/fuzz/fuzz_replay.h"

#include "tests/support/gl_test_context.h"
#include "tests/support/temp_dir.h"

#include <sys/mman.h>  // memfd_create: an in-memory file that stands in for stderr
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

// Debian's libpng and libjpeg are not instrumented, so libFuzzer sees only
// which of our own branches an input takes. Their messages on stderr tell
// their paths apart: each distinct message (digits left out, so "extraneous
// 12 bytes" and "extraneous 13 bytes" are one) is a feature of its own,
// through libFuzzer's extra counters, cleared by libFuzzer before each input.
__attribute__((used, section("__libfuzzer_extra_counters"))) static uint8_t messageSeen[1 << 12];

static int messageFile = -1;  // where stderr goes while inputs run; -1: not captured

// Captures stderr only when libFuzzer has sent it to /dev/null
// (-close_fd_mask=2; libFuzzer and the sanitizers report on a copy of it),
// so a run without that flag still shows every message.
static void startCapture() {
    struct stat current, null;
    if (fstat(2, &current) != 0 || stat("/dev/null", &null) != 0) return;
    if (!S_ISCHR(current.st_mode) || current.st_rdev != null.st_rdev) return;
    const int file = memfd_create("fuzz-stderr", 0);
    if (file < 0 || dup2(file, 2) < 0) return;
    messageFile = file;
}

static void countMessages() {
    static char text[1 << 16];
    const ssize_t length = pread(messageFile, text, sizeof text, 0);
    uint32_t hash = 2166136261u;  // FNV-1a over each line
    for (ssize_t i = 0; i < length; ++i) {
        const char c = text[i];
        if (c == '\n') {
            ++messageSeen[hash % sizeof messageSeen];
            hash = 2166136261u;
        } else if (c < '0' || c > '9') {
            hash = (hash ^ uint8_t(c)) * 16777619u;
        }
    }
    if (ftruncate(messageFile, 0) != 0 || lseek(messageFile, 0, SEEK_SET) != 0) {
        messageFile = -1;  // cannot reuse it: stop counting rather than mislead
    }
}

// A private TMPDIR for the run, removed at exit, and a 1 x 1 software GL
// context for the loaders' texture upload (the archive reader ignores it).
extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    static ScopedTempDir temp;
    static GLTestContext gl(1, 1);
    if (temp.path().empty() || !gl.ok()) {
        std::printf("fuzzer: no private temporary folder or no OSMesa context\n");
        std::exit(1);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static bool started = false;
    if (!started) {  // now, once libFuzzer has arranged its own output
        startCapture();
        started = true;
    }
    FUZZ_REPLAY(data, size);
    if (messageFile >= 0) countMessages();
    return 0;
}
