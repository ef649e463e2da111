#include "platform/temp_file.h"

#include <fcntl.h>   // open, O_TMPFILE
#include <unistd.h>  // close, unlink, access

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

bool procFdReachable() {
    static const bool reachable = access("/proc/self/fd", X_OK) == 0;
    return reachable;
}

std::string folderWithSlash() {
    std::string folder = tempDirectory();
    if (folder.back() != '/') folder += '/';
    return folder;
}

// A named file in the folder (mkstemp), open for reading and writing; its
// path goes into path. -1 when none could be made.
int createNamedFile(std::string &path) {
    path = folderWithSlash() + "dorirova-XXXXXX";
    return mkostemp(path.data(), O_CLOEXEC);
}

// A file without a name in the folder, or -1. Filesystems without O_TMPFILE
// get a named file that is unlinked at once.
int createNamelessFile() {
    int fd = open(tempDirectory().c_str(), O_TMPFILE | O_RDWR | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) return fd;
    std::string path;
    fd = createNamedFile(path);
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
    if (!procFdReachable()) {
        std::string path;
        const int fd = createNamedFile(path);
        if (fd < 0) return {};
        close(fd);
        return path;
    }
    const int fd = createNamelessFile();
    if (fd < 0) return {};
    std::lock_guard held(heldFilesLock);
    heldFiles.push_back(fd);
    return FD_PATH_PREFIX + std::to_string(fd);
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
