#include "platform/temp_file.h"

#include <cstdlib>
#include <unistd.h>  // mkstemp, close

std::string tempDirectory() {
    const char *dir = std::getenv("TMPDIR");
    return (dir && *dir) ? dir : "/tmp";
}

std::string createTempFile() {
    std::string path = tempDirectory();
    if (path.back() != '/') path += '/';
    path += "dorirova-XXXXXX";
    int fd = mkstemp(path.data());
    if (fd < 0) return {};
    close(fd);
    return path;
}
