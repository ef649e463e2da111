#include "platform/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

bool readFileBytes(const std::string &path, std::vector<uint8_t> &bytes, std::string &failure, size_t maxBytes) {
    bytes.clear();
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) {
        failure = std::strerror(errno);
        return false;
    }
    struct stat about = {};
    if (::fstat(file, &about) != 0 || S_ISDIR(about.st_mode)) {
        failure = S_ISDIR(about.st_mode) ? "a folder" : std::strerror(errno);
        ::close(file);
        return false;
    }
    // The size is a hint (a file may grow or shrink while it is read); the
    // limit holds for what is read.
    if (S_ISREG(about.st_mode)) bytes.reserve(std::min<size_t>(size_t(about.st_size), maxBytes) + 1);
    uint8_t block[65536];
    for (;;) {
        const ssize_t got = ::read(file, block, sizeof block);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            failure = std::strerror(errno);
            break;
        }
        if (got == 0) {
            ::close(file);
            return true;
        }
        if (bytes.size() + size_t(got) > maxBytes) {
            failure = "larger than " + std::to_string(maxBytes) + " bytes";
            break;
        }
        bytes.insert(bytes.end(), block, block + got);
    }
    ::close(file);
    bytes.clear();
    return false;
}
