// Temporary files without a name: reached by path in this process only,
// never listed in the folder, gone when removed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/temp_file.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(TempFile, IsReachedByPathButNeverNamedInTheFolder) {
    ScopedTempDir temp;
    const std::string path = createTempFile();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.rfind("/proc/self/fd/", 0), 0u) << path;
    EXPECT_TRUE(temp.holds(path));
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

    std::ofstream(path, std::ios::binary) << "module bytes";
    {
        std::ifstream in(path, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "module bytes");
    }
    EXPECT_TRUE(std::filesystem::is_empty(temp.path())) << "no name in the folder, even while in use";
    EXPECT_EQ(temp.files().size(), 1u);

    EXPECT_TRUE(removeTempFile(path));
    EXPECT_TRUE(temp.files().empty());
    EXPECT_FALSE(removeTempFile(path)) << "removed once";
}

TEST(TempFile, MissingFolderGivesNoFileAndOtherPathsAreRemovedByName) {
    ScopedTempDir temp;
    setenv("TMPDIR", (temp.path() + "/no-such-folder").c_str(), 1);
    EXPECT_EQ(createTempFile(), "");
    setenv("TMPDIR", temp.path().c_str(), 1);

    const std::string named = temp.path() + "/archive.rez";
    std::ofstream(named) << "x";
    EXPECT_TRUE(removeTempFile(named));
    EXPECT_FALSE(std::filesystem::exists(named));
    EXPECT_FALSE(removeTempFile(named));
}

}  // namespace
