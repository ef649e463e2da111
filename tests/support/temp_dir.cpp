#include "tests/support/temp_dir.h"

#include <cstdlib>
#include <filesystem>

ScopedTempDir::ScopedTempDir() {
    if (const char *old = std::getenv("TMPDIR")) {
        previous = old;
        hadPrevious = true;
    }
    std::string pattern = std::filesystem::temp_directory_path().string() + "/dorirova-test-XXXXXX";
    if (mkdtemp(pattern.data())) dir = pattern;
    setenv("TMPDIR", dir.c_str(), 1);
}

ScopedTempDir::~ScopedTempDir() {
    if (hadPrevious) setenv("TMPDIR", previous.c_str(), 1);
    else unsetenv("TMPDIR");
    std::error_code ignored;
    if (!dir.empty()) std::filesystem::remove_all(dir, ignored);
}

std::vector<std::string> ScopedTempDir::files() const {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto &entry : std::filesystem::directory_iterator(dir, ec)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}
