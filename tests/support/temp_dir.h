#pragma once
// A fresh, private TMPDIR for one test: set on construction, restored and
// removed on destruction, so tests can check that no temporary file is left.
#include <string>
#include <vector>

class ScopedTempDir {
public:
    ScopedTempDir();
    ~ScopedTempDir();
    ScopedTempDir(const ScopedTempDir &) = delete;
    ScopedTempDir &operator=(const ScopedTempDir &) = delete;

    const std::string &path() const { return dir; }
    // Names of the files now in the folder, with the nameless ones this
    // process holds open there ("#12345" for a file made without a name).
    std::vector<std::string> files() const;
    // Whether path leads to a file of the folder (through /proc/self/fd too).
    bool holds(const std::string &path) const;

private:
    std::string dir;
    std::string previous;
    bool hadPrevious = false;
};
