#include "platform/partial_file.h"

#include <fcntl.h>      // open(O_TMPFILE), linkat
#include <sys/stat.h>   // stat, fchmod, umask
#include <unistd.h>     // close, unlink, mkstemps, access, pathconf

#include <climits>      // NAME_MAX

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Named partial files not yet completed or discarded: removed at exit.
std::vector<std::string> namedPartials;

void removeNamedPartialsAtExit() {
    for (const std::string &path : namedPartials) unlink(path.c_str());
}

void forgetNamed(const std::string &path) {
    namedPartials.erase(std::remove(namedPartials.begin(), namedPartials.end(), path), namedPartials.end());
}

std::string folderOf(const std::string &path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string &path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A fresh hidden name beside finalPath, made as an empty file: ".NAME.XXXXXX.part".
int makeHiddenName(const std::string &finalPath, std::string &hidden) {
    const std::string folder = folderOf(finalPath);
    hidden = (folder == "/" ? "" : folder) + "/." + nameOf(finalPath) + ".XXXXXX.part";
    return mkstemps(hidden.data(), 5);
}

mode_t createMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

bool failWith(std::string &error, int code) {
    error = std::strerror(code);
    return false;
}

// What ".NAME.XXXXXX.part" adds to NAME, in bytes.
constexpr size_t HIDDEN_NAME_EXTRA = 13;

// The longest file name the folder takes.
size_t longestName(const std::string &folder) {
    const long longest = pathconf(folder.c_str(), _PC_NAME_MAX);
    return longest > 0 ? size_t(longest) : NAME_MAX;
}

}  // namespace

bool openPartialFile(const std::string &finalPath, PartialFile &file, std::string &error) {
    file = PartialFile{};
    file.finalPath = finalPath;
    if (finalPath.empty() || finalPath.back() == '/') return failWith(error, EISDIR);
    mode_t mode = createMode();
    struct stat existing {};
    if (stat(finalPath.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode)) return failWith(error, EISDIR);
        if (access(finalPath.c_str(), W_OK) != 0) return failWith(error, errno);
        if (!S_ISREG(existing.st_mode)) {
            file.direct = true;
            file.writePath = finalPath;
            return true;
        }
        mode = existing.st_mode & 0777;
    }
    const std::string folder = folderOf(finalPath);
    // Refused now rather than when the complete file cannot be named.
    if (nameOf(finalPath).size() + HIDDEN_NAME_EXTRA > longestName(folder)) return failWith(error, ENAMETOOLONG);

    const int fd = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (fd >= 0) {
        fchmod(fd, mode);   // the old file's permissions are not the umask's to cut
        file.fd = fd;
        file.writePath = "/proc/self/fd/" + std::to_string(fd);
        if (access(file.writePath.c_str(), F_OK) == 0) return true;
        close(fd);   // no /proc: the nameless file cannot be reached by a path
        file.fd = -1;
    } else if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
        return failWith(error, errno);
    }

    const int named = makeHiddenName(finalPath, file.writePath);
    if (named < 0) return failWith(error, errno);
    fchmod(named, mode);
    close(named);
    file.named = true;
    // A safety net only: every path completes or discards its file itself,
    // but a library may call exit in between (Xlib on a lost display
    // connection), and then this still removes what is unfinished.
    static const bool cleanupRegistered = std::atexit(removeNamedPartialsAtExit) == 0;
    (void)cleanupRegistered;
    namedPartials.push_back(file.writePath);
    return true;
}

bool completePartialFile(PartialFile &file, std::string &error) {
    if (file.direct) {
        file.direct = false;
        file.writePath.clear();
        return true;
    }
    if (file.fd >= 0) {
        // Named first under a hidden name, then renamed: rename replaces an
        // older file in one step, where a link would fail on it.
        std::string hidden;
        const int placeholder = makeHiddenName(file.finalPath, hidden);
        if (placeholder < 0) {
            const int code = errno;
            discardPartialFile(file);
            return failWith(error, code);
        }
        close(placeholder);
        unlink(hidden.c_str());
        if (linkat(AT_FDCWD, file.writePath.c_str(), AT_FDCWD, hidden.c_str(), AT_SYMLINK_FOLLOW) != 0) {
            const int code = errno;
            discardPartialFile(file);
            return failWith(error, code);
        }
        close(file.fd);
        file.fd = -1;
        file.writePath = hidden;
        file.named = true;
        namedPartials.push_back(hidden);
    }
    if (!file.named) return failWith(error, ENOENT);
    if (std::rename(file.writePath.c_str(), file.finalPath.c_str()) != 0) {
        const int code = errno;
        discardPartialFile(file);
        return failWith(error, code);
    }
    forgetNamed(file.writePath);
    file.named = false;
    file.writePath.clear();
    return true;
}

void discardPartialFile(PartialFile &file) {
    if (file.fd >= 0) close(file.fd);
    file.fd = -1;
    if (file.named) {
        unlink(file.writePath.c_str());
        forgetNamed(file.writePath);
    }
    file.named = false;
    file.direct = false;   // written into already: nothing to take back
    file.writePath.clear();
}
