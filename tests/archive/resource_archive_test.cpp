// The archive reader: table reading, extraction by exact name, teardown, and
// refusal of archives whose table does not fit the file.
#include "assets/resource_archive.h"

#include "platform/embedded_resources.h"
#include "platform/temp_file.h"
#include "tests/archive/archive_bytes.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

class ResourceArchiveTest : public ::testing::Test {
protected:
    ScopedTempDir temp;

    void TearDown() override { ResourceArchive::close(); }

    // Writes the bytes to a file of the temp dir and opens it; the reader
    // deletes the file on close.
    int openBytes(const std::string &bytes) {
        std::string path = temp.path() + "/archive.rez";
        writeWholeFile(path, bytes);
        return ResourceArchive::open(path.c_str());
    }

    // The extracted entry's bytes, or nullopt-like {false} when none was made.
    struct Extracted {
        bool found = false;
        std::string bytes;
    };
    Extracted extract(const char *name) {
        char path[RESOURCE_PATH_SIZE];
        std::memset(path, 'x', sizeof path);  // the reader must define the result
        ResourceArchive::extractEntry(name, path);
        Extracted result;
        if (path[0] == '\0') return result;
        result.found = std::filesystem::exists(path);
        result.bytes = readWholeFile(path);
        removeTempFile(path);
        return result;
    }
};

TEST_F(ResourceArchiveTest, EmptyArchiveOpensAndFindsNothing) {
    ASSERT_EQ(openBytes(buildArchive({})), 0);
    EXPECT_EQ(ResourceArchive::entryCount(), 0u);
    EXPECT_FALSE(extract("HALVIX.xm").found);
    EXPECT_FALSE(extract("").found);
    EXPECT_EQ(temp.files().size(), 1u) << "only the archive itself";
}

TEST_F(ResourceArchiveTest, TableGivesSizesAndOffsetsFromTheDataBase) {
    ASSERT_EQ(openBytes(buildArchive({{"a", "12345"}, {"b", ""}, {"c", "xyz"}})), 0);
    ASSERT_EQ(ResourceArchive::entryCount(), 3u);
    const uint32_t base = 4 + 260 * 3;
    EXPECT_STREQ(ResourceArchive::entry(0).name, "a");
    EXPECT_EQ(ResourceArchive::entry(0).offset, base);
    EXPECT_EQ(ResourceArchive::entry(1).size, 0u);
    EXPECT_EQ(ResourceArchive::entry(1).offset, base + 5);
    EXPECT_EQ(ResourceArchive::entry(2).offset, base + 5);
    EXPECT_EQ(ResourceArchive::entry(2).size, 3u);
}

TEST_F(ResourceArchiveTest, ExtractionsInAnyOrderGiveExactBytes) {
    const std::string first = binaryBytes(1000, 1), middle = binaryBytes(4097, 2),
                      last = binaryBytes(333, 3);
    ASSERT_EQ(openBytes(buildArchive({{"first.jpg", first}, {"middle.png", middle},
                                      {"last.xm", last}})),
              0);
    // The last entry ends exactly at the end of the file; every extraction
    // starts again from the top, whatever came before.
    EXPECT_EQ(extract("last.xm").bytes, last);
    EXPECT_EQ(extract("first.jpg").bytes, first);
    EXPECT_EQ(extract("last.xm").bytes, last);
    EXPECT_FALSE(extract("nothing.png").found);
    EXPECT_EQ(extract("middle.png").bytes, middle);
    EXPECT_EQ(extract("first.jpg").bytes, first);
    // Read into memory, the same bytes, and no file made.
    std::vector<unsigned char> read;
    ASSERT_TRUE(ResourceArchive::readEntry("middle.png", read));
    EXPECT_EQ(std::string(read.begin(), read.end()), middle);
    ASSERT_TRUE(ResourceArchive::readEntry("last.xm", read));
    EXPECT_EQ(std::string(read.begin(), read.end()), last);
    EXPECT_FALSE(ResourceArchive::readEntry("nothing.png", read));
    EXPECT_TRUE(read.empty());
    EXPECT_EQ(extract("first.jpg").bytes, first) << "a read leaves the next extraction whole";
}

// The image loaders read entries on several threads at once, with no lock:
// each read must get its own entry's bytes, whatever the others do meanwhile.
TEST_F(ResourceArchiveTest, ThreadsReadingAtOnceEachGetTheirOwnEntry) {
    std::vector<ArchiveFile> files;
    for (unsigned i = 0; i < 4; ++i) {
        files.push_back({"photo-" + std::to_string(i) + ".jpg", binaryBytes(5000 + 1000 * i, i + 10)});
    }
    ASSERT_EQ(openBytes(buildArchive(files)), 0);
    std::atomic<int> wrong{0};
    std::vector<std::thread> readers;
    for (size_t i = 0; i < 4; ++i) {
        readers.emplace_back([&, i] {
            std::vector<unsigned char> bytes;
            for (int n = 0; n < 2000; ++n) {
                const bool read = ResourceArchive::readEntry(files[i].name.c_str(), bytes);
                wrong += !read || std::string(bytes.begin(), bytes.end()) != files[i].bytes;
            }
        });
    }
    for (std::thread &reader : readers) reader.join();
    EXPECT_EQ(wrong.load(), 0);
}

TEST_F(ResourceArchiveTest, NamesMatchExactlyAndTheFirstDuplicateWins) {
    ASSERT_EQ(openBytes(buildArchive({{"HALVIX.xm", "module"},
                                      {"dup.png", "first"},
                                      {"dup.png", "second"},
                                      {"Dup.png", "other case"}})),
              0);
    EXPECT_FALSE(extract("halvix.xm").found);
    EXPECT_FALSE(extract("HALVIX.XM").found);
    EXPECT_FALSE(extract("HALVIX").found) << "a prefix is not the name";
    EXPECT_FALSE(extract("HALVIX.xm2").found);
    EXPECT_EQ(extract("HALVIX.xm").bytes, "module");
    EXPECT_EQ(extract("dup.png").bytes, "first");
    EXPECT_EQ(extract("Dup.png").bytes, "other case");
}

TEST_F(ResourceArchiveTest, EmptyEntryGivesAnExistingEmptyFile) {
    ASSERT_EQ(openBytes(buildArchive({{"empty.txt", ""}, {"after.txt", "after"}})), 0);
    Extracted empty = extract("empty.txt");
    EXPECT_TRUE(empty.found);
    EXPECT_EQ(empty.bytes, "");
    EXPECT_EQ(extract("after.txt").bytes, "after");
}

TEST_F(ResourceArchiveTest, ExtractedFileIsPrivateAndBelongsToTheCaller) {
    ASSERT_EQ(openBytes(buildArchive({{"a.png", "abc"}})), 0);
    char path[RESOURCE_PATH_SIZE];
    ResourceArchive::extractEntry("a.png", path);
    ASSERT_NE(path[0], '\0');
    EXPECT_TRUE(temp.holds(path));
    struct stat info;
    ASSERT_EQ(stat(path, &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    ResourceArchive::close();
    EXPECT_TRUE(std::filesystem::exists(path)) << "close removes only the archive";
    removeTempFile(path);
    EXPECT_TRUE(temp.files().empty());
}

TEST_F(ResourceArchiveTest, UnwritableTempDirReportsTheEntryAsMissing) {
    ASSERT_EQ(openBytes(buildArchive({{"a.png", "abc"}})), 0);
    setenv("TMPDIR", (temp.path() + "/no-such-dir").c_str(), 1);
    EXPECT_FALSE(extract("a.png").found);
    setenv("TMPDIR", temp.path().c_str(), 1);
    EXPECT_EQ(extract("a.png").bytes, "abc");
}

TEST_F(ResourceArchiveTest, CloseDeletesTheArchiveAndIsSafeToRepeat) {
    ASSERT_EQ(openBytes(buildArchive({{"a", "1"}})), 0);
    ResourceArchive::close();
    EXPECT_TRUE(temp.files().empty());
    EXPECT_EQ(ResourceArchive::entryCount(), 0u);
    EXPECT_FALSE(extract("a").found);
    ResourceArchive::close();
}

TEST_F(ResourceArchiveTest, MissingFileFailsToOpenAndCloseStaysSafe) {
    EXPECT_EQ(ResourceArchive::open((temp.path() + "/absent.rez").c_str()), 1);
    EXPECT_EQ(ResourceArchive::entryCount(), 0u);
    EXPECT_FALSE(extract("a").found);
    ResourceArchive::close();
    EXPECT_EQ(ResourceArchive::open(""), 1) << "what a failed resource copy hands on";
}

// Each shape of a table that does not fit its file: open refuses it like a
// file that cannot be opened, reads nothing past the end (the sanitizer
// build checks), and close still deletes the file.
TEST_F(ResourceArchiveTest, MalformedArchivesAreRefusedWithAnEmptyTable) {
    std::string valid = buildArchive({{"a.png", "abcdef"}, {"b.png", "gh"}});
    std::string nameWithoutNul = valid;
    std::fill(nameWithoutNul.begin() + 4, nameWithoutNul.begin() + 4 + 256, 'n');
    std::string sizePastEnd = valid;
    sizePastEnd[4 + 260 + 256] = 7;  // second entry claims 7 bytes, 2 remain after the first
    std::string hugeSize = valid;
    std::fill(hugeSize.begin() + 4 + 256, hugeSize.begin() + 4 + 260, char(0xff));
    std::string sumWraps;  // two sizes of 2^31 wrap a 32-bit sum to 0
    appendLittleEndian32(sumWraps, 2);
    for (const char *name : {"x", "y"}) {
        std::string field(name);
        field.resize(256, '\0');
        sumWraps += field;
        appendLittleEndian32(sumWraps, 0x80000000u);
    }
    std::string hugeCount = valid;
    std::fill(hugeCount.begin(), hugeCount.begin() + 4, char(0xff));
    std::string countPastEnd = valid;
    countPastEnd[0] = 3;

    const std::vector<std::pair<const char *, std::string>> shapes = {
        {"empty file", ""},
        {"shorter than the count", std::string("\0\0\0", 3)},
        {"count of 2^32 - 1", hugeCount},
        {"count past the end", countPastEnd},
        {"table cut inside a record", valid.substr(0, 4 + 260 + 100)},
        {"table cut inside a size", valid.substr(0, 4 + 260 + 258)},
        {"data cut short", valid.substr(0, valid.size() - 1)},
        {"size past the end", sizePastEnd},
        {"size of 2^32 - 1", hugeSize},
        {"sizes whose sum wraps", sumWraps},
        {"name without NUL", nameWithoutNul},
    };
    for (const auto &[shape, bytes] : shapes) {
        SCOPED_TRACE(shape);
        EXPECT_EQ(openBytes(bytes), 1);
        EXPECT_EQ(ResourceArchive::entryCount(), 0u);
        EXPECT_FALSE(extract("a.png").found);
        EXPECT_FALSE(extract("x").found);
        ResourceArchive::close();
        EXPECT_TRUE(temp.files().empty()) << "the refused archive is still deleted";
    }
}

TEST(ArchiveFormat, NamesThatCannotKeepTheirNulAreNotWritten) {
    const std::string longest(255, 'n');
    ASSERT_EQ(archiveBytes({{longest, "x"}}).size(), 4u + 260 + 1);
    EXPECT_EQ(archiveBytes({{longest + "n", "x"}}), "") << "256 bytes leave no room for the NUL";
    EXPECT_EQ(archiveBytes({{"a", "x"}, {std::string_view("b\0c", 3), "y"}}), "");
}

TEST_F(ResourceArchiveTest, TrailingBytesAfterTheLastEntryAreIgnored) {
    ASSERT_EQ(openBytes(buildArchive({{"a", "abc"}}) + "tail"), 0);
    EXPECT_EQ(extract("a").bytes, "abc");
}

TEST_F(ResourceArchiveTest, ResourceCopyHoldsExactlyTheEmbeddedBytes) {
    const std::string bytes = buildArchive({{"one.png", binaryBytes(5000, 9)}});
    overrideResource("REZ", 102, reinterpret_cast<const unsigned char *>(bytes.data()), bytes.size());
    std::string path = ResourceArchive::writeResourceToTempFile();
    overrideResource("REZ", 102, nullptr, 0);
    ASSERT_FALSE(path.empty());
    EXPECT_TRUE(temp.holds(path));
    EXPECT_EQ(readWholeFile(path), bytes);
    ASSERT_EQ(ResourceArchive::open(path.c_str()), 0);
    EXPECT_EQ(extract("one.png").bytes, binaryBytes(5000, 9));
    ResourceArchive::close();
    EXPECT_TRUE(temp.files().empty());
}

TEST_F(ResourceArchiveTest, ResourceCopyFailsCleanlyWithoutATempDir) {
    setenv("TMPDIR", (temp.path() + "/no-such-dir").c_str(), 1);
    EXPECT_EQ(ResourceArchive::writeResourceToTempFile(), "");
    setenv("TMPDIR", temp.path().c_str(), 1);
}

}  // namespace
