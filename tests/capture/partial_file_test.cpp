// Output files that appear only when complete: nothing shows in the folder
// while one is written, completing replaces an older file in one step,
// discarding leaves nothing, and folders that cannot take it say why.
#include "platform/partial_file.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::string contents(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The names in a folder (not the nameless files a process holds there).
std::vector<std::string> namesIn(const std::string &folder) {
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

TEST(PartialFile, ShowsOnlyWhenCompleteAndReplacesTheOldFile) {
    ScopedTempDir tmp;
    const std::string final = tmp.path() + "/party.mp4";
    std::ofstream(final) << "old";
    PartialFile file;
    std::string error;
    ASSERT_TRUE(openPartialFile(final, file, error)) << error;
    std::ofstream(file.writePath, std::ios::binary) << "new";
    EXPECT_EQ(namesIn(tmp.path()), std::vector<std::string>{"party.mp4"}) << "no other name while it is written";
    EXPECT_EQ(contents(final), "old");
    ASSERT_TRUE(completePartialFile(file, error)) << error;
    EXPECT_EQ(contents(final), "new");
    EXPECT_EQ(tmp.files(), std::vector<std::string>{"party.mp4"});
    struct stat status {};
    stat(final.c_str(), &status);
    EXPECT_NE(status.st_mode & S_IROTH, 0u) << "readable like any file the user makes, not 0600";
}

TEST(PartialFile, DiscardedLeavesNothing) {
    ScopedTempDir tmp;
    PartialFile file;
    std::string error;
    ASSERT_TRUE(openPartialFile(tmp.path() + "/clip.webm", file, error)) << error;
    std::ofstream(file.writePath, std::ios::binary) << "half a video";
    discardPartialFile(file);
    discardPartialFile(file);
    EXPECT_TRUE(tmp.files().empty());
}

TEST(PartialFile, FoldersThatCannotTakeItSayWhy) {
    ScopedTempDir tmp;
    std::ofstream(tmp.path() + "/plain") << "a file, not a folder";
    PartialFile file;
    std::string error;
    EXPECT_FALSE(openPartialFile(tmp.path() + "/missing/clip.mp4", file, error));
    EXPECT_EQ(error, "No such file or directory");
    EXPECT_FALSE(openPartialFile(tmp.path() + "/plain/clip.mp4", file, error));
    EXPECT_EQ(error, "Not a directory");
    EXPECT_FALSE(openPartialFile(tmp.path(), file, error));
    EXPECT_EQ(error, "Is a directory");
    EXPECT_EQ(tmp.files(), std::vector<std::string>{"plain"});
}

}  // namespace
