#include "tests/support/temp_dir.h"

#include <algorithm>
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

namespace {
// Where a path leads: a /proc/self/fd link's target, which ends in
// " (deleted)" for a file without a name; any other path as it is.
std::string targetOf(const std::string &path) {
    std::error_code ec;
    std::filesystem::path target = std::filesystem::read_symlink(path, ec);
    return ec ? path : target.string();
}

const std::string DELETED = " (deleted)";
}  // namespace

std::vector<std::string> ScopedTempDir::files() const {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto &entry : std::filesystem::directory_iterator(dir, ec)) {
        names.push_back(entry.path().filename().string());
    }
    for (const auto &entry : std::filesystem::directory_iterator("/proc/self/fd", ec)) {
        std::string target = targetOf(entry.path().string());
        if (target.size() <= DELETED.size() || target.compare(target.size() - DELETED.size(), DELETED.size(), DELETED) != 0 ||
            std::filesystem::path(target).parent_path() != dir) {
            continue;
        }
        std::string name = std::filesystem::path(target.substr(0, target.size() - DELETED.size())).filename().string();
        if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    }
    return names;
}

bool ScopedTempDir::holds(const std::string &path) const {
    return std::filesystem::path(targetOf(path)).parent_path() == dir;
}
