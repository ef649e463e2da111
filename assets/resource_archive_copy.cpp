// Copying the archive resource out of the executable into a temporary file,
// which the reader then opens by path.
#include "assets/resource_archive.h"

#include "platform/embedded_resources.h"
#include "platform/temp_file.h"

#include <cstdio>

namespace ResourceArchive {

std::string writeResourceToTempFile() {
    ResourceBytes resource = findResource("REZ", 102);
    if (!resource.data) return {};
    std::string path = createTempFile();
    if (path.empty()) return {};
    // The file exists already (created 0600); "w+b" reuses it.
    FILE *file = openTempFile(path, "w+b");
    bool complete = file != nullptr &&
                    std::fwrite(resource.data, 1, resource.size, file) == resource.size;
    if (file && std::fclose(file) != 0) complete = false;
    releaseResourceMemory(resource);   // read once: the copy serves from now on
    if (!complete) {
        removeTempFile(path);
        return {};
    }
    return path;
}

}  // namespace ResourceArchive
