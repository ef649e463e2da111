#include "platform/temp_file.h"

#include <fcntl.h>   // open, O_TMPFILE, fcntl
#include <unistd.h>  // close, unlink, ftruncate, lseek

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

constexpr char FD_PATH_PREFIX[] = "/proc/self/fd/";

// Descriptors of the files this process made and has not removed yet: each
// is the file's only anchor, so closing it deletes the file. Threads that
// load images make and remove files too: heldFiles is read and changed only
// under heldFilesLock.
std::vector<int> heldFiles;
std::mutex heldFilesLock;

std::string folderWithSlash() {
    std::string folder = tempDirectory();
    if (folder.back() != '/') folder += '/';
    return folder;
}

// A file without a name in the folder, or -1. Filesystems without O_TMPFILE
// get a named file (mkstemp, 0600) that is unlinked at once.
int createNamelessFile() {
    int fd = open(tempDirectory().c_str(), O_TMPFILE | O_RDWR | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) return fd;
    std::string path = folderWithSlash() + "dorirova-XXXXXX";
    fd = mkostemp(path.data(), O_CLOEXEC);
    if (fd >= 0) unlink(path.c_str());
    return fd;
}

// The descriptor a path of ours stands for, or -1 for any other path.
// Needs heldFilesLock.
int heldFileOf(const std::string &path) {
    const size_t prefix = sizeof FD_PATH_PREFIX - 1;
    if (path.compare(0, prefix, FD_PATH_PREFIX) != 0 || path.size() == prefix) return -1;
    char *end = nullptr;
    const long fd = std::strtol(path.c_str() + prefix, &end, 10);
    if (*end != '\0' || std::find(heldFiles.begin(), heldFiles.end(), fd) == heldFiles.end()) return -1;
    return int(fd);
}

}  // namespace

std::string tempDirectory() {
    const char *dir = std::getenv("TMPDIR");
    return (dir && *dir) ? dir : "/tmp";
}

std::string createTempFile() {
    const int fd = createNamelessFile();
    if (fd < 0) return {};
    std::lock_guard held(heldFilesLock);
    heldFiles.push_back(fd);
    return FD_PATH_PREFIX + std::to_string(fd);
}

std::FILE *openTempFile(const std::string &path, const char *mode) {
    int copy = -1;
    {
        std::lock_guard held(heldFilesLock);
        const int fd = heldFileOf(path);
        if (fd < 0) return std::fopen(path.c_str(), mode);
        // A descriptor of its own, so that closing the stream leaves the file held.
        copy = fcntl(fd, F_DUPFD_CLOEXEC, 0);
    }
    if (copy < 0) return nullptr;
    const bool emptied = mode[0] != 'w' || ftruncate(copy, 0) == 0;
    std::FILE *stream = emptied && lseek(copy, 0, SEEK_SET) == 0 ? fdopen(copy, mode) : nullptr;
    if (!stream) close(copy);
    return stream;
}

bool removeTempFile(const std::string &path) {
    std::unique_lock held(heldFilesLock);
    const int fd = heldFileOf(path);
    if (fd < 0) {
        held.unlock();
        return std::remove(path.c_str()) == 0;
    }
    heldFiles.erase(std::find(heldFiles.begin(), heldFiles.end(), fd));
    held.unlock();   // closing may wait for the disk; others need not
    return close(fd) == 0;
}
