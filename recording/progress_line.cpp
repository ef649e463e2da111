#include "recording/progress_line.h"

#include <algorithm>
#include <cstdio>

namespace {
constexpr int BAR_WIDTH = 24;   // characters between the brackets
}

std::string clockText(double seconds) {
    const int64_t total = seconds > 0 ? int64_t(seconds) : 0;
    char text[32];
    if (total >= 3600) {
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(total / 3600),
                      static_cast<long long>(total / 60 % 60), static_cast<long long>(total % 60));
    } else {
        std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(total / 60),
                      static_cast<long long>(total % 60));
    }
    return text;
}

std::string sizeText(uint64_t bytes) {
    if (bytes < 1024) return std::to_string(bytes) + " B";
    const char *units[] = {"KiB", "MiB", "GiB", "TiB"};
    double value = double(bytes) / 1024;
    int unit = 0;
    for (; value >= 1024 && unit < 3; ++unit) value /= 1024;
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %s", value, units[unit]);
    return text;
}

std::string progressLine(int64_t done, int64_t total, double elapsedSeconds) {
    total = std::max<int64_t>(total, 1);
    done = std::clamp<int64_t>(done, 0, total);
    const int filled = int(done * BAR_WIDTH / total);
    std::string line = "[" + std::string(size_t(filled), '#') + std::string(size_t(BAR_WIDTH - filled), '-') + "]  ";
    line += std::to_string(done) + "/" + std::to_string(total) + " frames";
    if (done > 0 && elapsedSeconds > 0) {
        char speed[32];
        std::snprintf(speed, sizeof speed, "  %.1f fps", double(done) / elapsedSeconds);
        line += speed;
        line += "  " + clockText(elapsedSeconds) + " elapsed";
        line += "  " + clockText(elapsedSeconds * double(total - done) / double(done)) + " left";
    }
    return line;
}

std::string summaryLine(const std::string &file, uint64_t bytes, double videoSeconds, double tookSeconds) {
    return file + ": " + sizeText(bytes) + ", " + clockText(videoSeconds) + " of video, recorded in " +
           clockText(tookSeconds);
}
