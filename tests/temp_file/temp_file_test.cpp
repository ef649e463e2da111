// Temporary files without a name: reached by path in this process only,
// never listed in the folder, gone when removed.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/temp_file.h"
#include "tests/support/nameless_files.h"
#include "tests/support/temp_dir.h"

namespace {

std::string readStream(std::FILE *stream) {
    std::string bytes;
    char chunk[64];
    for (size_t got; stream && (got = std::fread(chunk, 1, sizeof chunk, stream)) > 0;) bytes.append(chunk, got);
    if (stream) std::fclose(stream);
    return bytes;
}

// Made without a name, or where the filesystem cannot do that, named and
// unlinked at once: never in the folder's listing, even while in use.
TEST(TempFile, IsReachedByPathButNeverNamedInTheFolder) {
    for (const bool nameless : {true, false}) {
        SCOPED_TRACE(nameless ? "nameless" : "named, then unlinked");
        ScopedTempDir temp;
        std::optional<WithoutNamelessFiles> named;
        if (!nameless) named.emplace();
        const std::string path = createTempFile();
        ASSERT_FALSE(path.empty());
        EXPECT_EQ(path.rfind("/proc/self/fd/", 0), 0u) << path;
        EXPECT_TRUE(temp.holds(path));
        EXPECT_TRUE(std::filesystem::is_empty(temp.path())) << "no name in the folder";
        EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
                  std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

        std::ofstream(path, std::ios::binary) << "module bytes";
        EXPECT_EQ(readStream(openTempFile(path, "rb")), "module bytes") << "reached through its descriptor";
        std::FILE *shorter = openTempFile(path, "wb");
        ASSERT_NE(shorter, nullptr);
        std::fputs("xm", shorter);
        std::fclose(shorter);
        EXPECT_EQ(readStream(openTempFile(path, "rb")), "xm") << "\"w\" empties it first";
        EXPECT_TRUE(std::filesystem::is_empty(temp.path())) << "no name in the folder, even while in use";
        EXPECT_EQ(temp.files().size(), 1u);

        EXPECT_TRUE(removeTempFile(path));
        EXPECT_TRUE(temp.files().empty());
        EXPECT_FALSE(removeTempFile(path)) << "removed once";
    }
}

TEST(TempFile, MissingFolderGivesNoFileAndOtherPathsAreRemovedByName) {
    ScopedTempDir temp;
    setenv("TMPDIR", (temp.path() + "/no-such-folder").c_str(), 1);
    EXPECT_EQ(createTempFile(), "");
    setenv("TMPDIR", temp.path().c_str(), 1);

    const std::string named = temp.path() + "/archive.rez";
    std::ofstream(named) << "x";
    EXPECT_EQ(readStream(openTempFile(named, "rb")), "x") << "other paths open as any file";
    EXPECT_TRUE(removeTempFile(named));
    EXPECT_FALSE(std::filesystem::exists(named));
    EXPECT_FALSE(removeTempFile(named));
}

}  // namespace
