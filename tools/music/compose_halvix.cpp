// Writes the presentation's music module, HALVIX.xm, to the path given.
// Usage: compose_halvix OUTPUT.xm
#include "tools/music/halvix_song.h"

#include <cstdio>
#include <exception>

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.xm\n", argv[0]);
        return 2;
    }
    try {
        std::vector<uint8_t> bytes = writeXm(composeHalvix());
        std::FILE *f = std::fopen(argv[1], "wb");
        if (!f) {
            std::perror(argv[1]);
            return 1;
        }
        bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
        written = std::fclose(f) == 0 && written;
        if (!written) {
            std::perror(argv[1]);
            return 1;
        }
        std::printf("%s: %zu bytes\n", argv[1], bytes.size());
        return 0;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "compose_halvix: %s\n", e.what());
        return 1;
    }
}
