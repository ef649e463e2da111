#include "platform/temp_file.h"

#include <cstdlib>
#include <unistd.h>  // mkstemp, close

std::string createTempFile() {
    const char *dir = std::getenv("TMPDIR");
    std::string path = (dir && *dir) ? dir : "/tmp";
    if (path.back() != '/') path += '/';
    path += "dorirova-XXXXXX";
    int fd = mkstemp(path.data());
    if (fd < 0) return {};
    close(fd);
    return path;
}
