#include "tests/support/nameless_files.h"

#include <fcntl.h>

#include <atomic>
#include <cerrno>
#include <cstdarg>

namespace {
std::atomic<bool> refused{false};
}  // namespace

extern "C" int __real_open(const char *path, int flags, ...);

extern "C" int __wrap_open(const char *path, int flags, ...) {
    mode_t mode = 0;
    if ((flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE) {
        va_list more;
        va_start(more, flags);
        mode = mode_t(va_arg(more, int));
        va_end(more);
    }
    if (refused && (flags & O_TMPFILE) == O_TMPFILE) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return __real_open(path, flags, mode);
}

WithoutNamelessFiles::WithoutNamelessFiles() { refused = true; }

WithoutNamelessFiles::~WithoutNamelessFiles() { refused = false; }
