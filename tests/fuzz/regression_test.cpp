// Every input that once broke the archive reader or an image loader (kept
// under regressions/<archive|png|jpeg>/, found by the fuzzers, and hostile
// tables made by hand for the archive) replayed through the same entry
// points: no crash, no temporary file left, and the outcome its name
// promises: "refused-..." gives open() 1 or a null texture, "accepted-..." a
// table or a texture. A kind without inputs fails: it would test nothing. Some were found because they made the
// loader allocate and touch gigabytes for a file of a few hundred bytes, so
// the process's peak memory may not grow by more than a bound either.
#include "tests/fuzz/fuzz_replay.h"

#include "tests/support/gl_test_context.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/resource.h>  // peak resident memory

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path REGRESSIONS = fs::path(DORIROVA_SOURCE_DIR) / "tests/fuzz/regressions";

// Far above what any kept input needs (a few MB), far below what the
// broken-chunk inputs made libpng take (1 to 2 GB).
constexpr long MAX_PEAK_GROWTH_KB = 256 * 1024;

long peakResidentKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;  // kilobytes on Linux
}

std::vector<fs::path> keptInputs(const char *kind) {
    std::vector<fs::path> files;
    std::error_code ignored;
    for (const auto &entry : fs::directory_iterator(REGRESSIONS / kind, ignored)) {
        if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

class FuzzRegressionTest : public ::testing::Test {
protected:
    GLTestContext gl{1, 1};
    ScopedTempDir temp;  // the replay requires it to be empty after each input

    void SetUp() override { ASSERT_TRUE(gl.ok()); }

    // byName: whether each input's name says its outcome (as it does for the
    // loader it was kept for).
    void replayAll(const char *kind, ReplayOutcome (*replay)(const uint8_t *, size_t), bool byName = true) {
        const std::vector<fs::path> files = keptInputs(kind);
        ASSERT_FALSE(files.empty()) << "nothing kept under " << (REGRESSIONS / kind);
        const long peakBefore = peakResidentKb();
        for (const fs::path &file : files) {
            const std::string name = file.filename().string();
            SCOPED_TRACE(name);
            std::ifstream in(file, std::ios::binary);
            const std::string bytes{std::istreambuf_iterator<char>(in), {}};
            const ReplayOutcome outcome =
                replay(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
            if (!byName) {
            } else if (name.starts_with("refused-")) {
                EXPECT_EQ(outcome, ReplayOutcome::Refused);
            } else if (name.starts_with("accepted-")) {
                EXPECT_EQ(outcome, ReplayOutcome::Accepted);
            } else {
                ADD_FAILURE() << "a kept input's name starts with refused- or accepted-";
            }
            EXPECT_LT(peakResidentKb() - peakBefore, MAX_PEAK_GROWTH_KB);
        }
    }
};

TEST_F(FuzzRegressionTest, ArchivesThatBrokeTheReader) {
    replayAll("archive", replayArchive);
}

TEST_F(FuzzRegressionTest, PngFilesThatBrokeTheLoader) { replayAll("png", replayPng); }

TEST_F(FuzzRegressionTest, JpegFilesThatBrokeTheLoader) { replayAll("jpeg", replayJpeg); }

// The same files read as the viewer's photographs, which decode more kinds
// (CMYK, say), and so may accept what the archive's loaders refuse.
TEST_F(FuzzRegressionTest, ImageFilesThatBrokeTheLoadersAsPhotographs) {
    replayAll("png", replayPhoto, false);
    replayAll("jpeg", replayPhoto, false);
}

}  // namespace
