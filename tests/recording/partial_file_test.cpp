// Output files that appear only when complete: nothing shows in the folder
// while one is written, completing replaces an older file in one step and
// keeps its mode, discarding leaves nothing, and paths that cannot take it
// say why.
#include "platform/partial_file.h"
#include "tests/support/nameless_files.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

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

mode_t permissionsOf(const std::string &path) {
    struct stat status {};
    stat(path.c_str(), &status);
    return status.st_mode & 0777;
}

TEST(PartialFile, ShowsOnlyWhenCompleteAndReplacesTheOldFileKeepingItsMode) {
    ScopedTempDir tmp;
    const std::string final = tmp.path() + "/party.mp4";
    std::ofstream(final) << "old";
    chmod(final.c_str(), 0600);
    PartialFile file;
    std::string error;
    ASSERT_TRUE(openPartialFile(final, file, error)) << error;
    std::ofstream(file.writePath, std::ios::binary) << "new";
    EXPECT_EQ(namesIn(tmp.path()), std::vector<std::string>{"party.mp4"}) << "no other name while it is written";
    EXPECT_EQ(contents(final), "old");
    ASSERT_TRUE(completePartialFile(file, error)) << error;
    EXPECT_EQ(contents(final), "new");
    EXPECT_EQ(permissionsOf(final), 0600u) << "as editors do";

    const std::string fresh = tmp.path() + "/fresh.mp4";
    ASSERT_TRUE(openPartialFile(fresh, file, error)) << error;
    ASSERT_TRUE(completePartialFile(file, error)) << error;
    EXPECT_NE(permissionsOf(fresh) & S_IROTH, 0u) << "readable like any file the user makes, not 0600";
    EXPECT_EQ(tmp.files().size(), 2u) << "nothing but the two";
}

// Without nameless files the partial file has a hidden name; discarded, it
// has none, then or later in the process.
TEST(PartialFile, DiscardedLeavesNothingNamedOrNot) {
    for (const bool nameless : {true, false}) {
        SCOPED_TRACE(nameless ? "nameless" : "named");
        ScopedTempDir tmp;
        std::optional<WithoutNamelessFiles> named;
        if (!nameless) named.emplace();
        PartialFile file;
        std::string error;
        ASSERT_TRUE(openPartialFile(tmp.path() + "/clip.webm", file, error)) << error;
        EXPECT_EQ(file.named, !nameless);
        std::ofstream(file.writePath, std::ios::binary) << "half a video";
        discardPartialFile(file);
        discardPartialFile(file);
        EXPECT_TRUE(tmp.files().empty());
    }
}

TEST(PartialFile, PathsThatCannotTakeItSayWhyAndStayAsTheyWere) {
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
    // The hidden name beside it adds 13 bytes: the longest name is refused at once.
    const std::string longest = tmp.path() + "/" + std::string(NAME_MAX - 13, 'n');
    EXPECT_FALSE(openPartialFile(longest + "x", file, error));
    EXPECT_EQ(error, "File name too long");
    ASSERT_TRUE(openPartialFile(longest, file, error)) << error;
    EXPECT_TRUE(completePartialFile(file, error)) << error;
    std::filesystem::remove(longest);
    EXPECT_EQ(tmp.files(), std::vector<std::string>{"plain"});
}

}  // namespace
