// The rezpack tool as a user runs it: pack, list and extract, exit status 0
// or 1 with one line on stderr, and no temporary file left behind.
#include "tests/archive/archive_bytes.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>   // makedev
#include <sys/wait.h>
#include <unistd.h>          // geteuid

#include <algorithm>
#include <filesystem>

namespace {

const std::string REZPACK = DORIROVA_BINARY_DIR "/rezpack";

struct ToolRun {
    int status = -1;
    std::string out, err;
};

class RezpackTest : public ::testing::Test {
protected:
    ScopedTempDir temp;  // also the TMPDIR rezpack sees
    std::string work = temp.path() + "/work";

    void SetUp() override { std::filesystem::create_directories(work + "/sub"); }

    void TearDown() override {
        // Everything rezpack made for itself is gone; only our folder is left.
        EXPECT_EQ(temp.files(), std::vector<std::string>{"work"});
    }

    // Runs rezpack in work, with `as` before it (another user's setpriv).
    ToolRun rezpack(const std::string &arguments, const std::string &as = "") {
        std::string command = "cd " + work + " && " + as + REZPACK + " " + arguments + " >" + temp.path() +
                              "/out 2>" + temp.path() + "/err";
        ToolRun run;
        int raw = std::system(command.c_str());
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.out = readWholeFile(temp.path() + "/out");
        run.err = readWholeFile(temp.path() + "/err");
        std::filesystem::remove(temp.path() + "/out");
        std::filesystem::remove(temp.path() + "/err");
        return run;
    }

    void expectFailure(const ToolRun &run) {
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(run.err.rfind("rezpack: ", 0), 0u) << run.err;
        EXPECT_EQ(run.out, "");
    }
};

TEST_F(RezpackTest, PackListAndExtractGiveBackEveryFileExactly) {
    const std::vector<ArchiveFile> files = {
        {"b.png", binaryBytes(3000, 1)}, {"Zeta.txt", "zeta\n"},     {"A.jpg", binaryBytes(1000, 2)},
        {"empty.dat", ""},               {"alpha.txt", "alpha\n"},   {"c.XM", binaryBytes(500, 3)},
    };
    std::string arguments = "pack out.rez";
    for (const ArchiveFile &f : files) {
        std::string path = (f.name == "b.png" ? "sub/" : "") + f.name;  // stored by base name
        writeWholeFile(work + "/" + path, f.bytes);
        arguments += " " + path;
    }
    ToolRun pack = rezpack(arguments);
    ASSERT_EQ(pack.status, 0) << pack.err;
    EXPECT_EQ(pack.err, "");

    // Case-insensitive order of name; the archive is exactly the format.
    const std::vector<ArchiveFile> sorted = {files[2], files[4], files[0], files[5], files[3], files[1]};
    EXPECT_EQ(readWholeFile(work + "/out.rez"), buildArchive(sorted));

    ToolRun list = rezpack("list out.rez");
    ASSERT_EQ(list.status, 0) << list.err;
    std::string expected;
    uint32_t offset = 4 + 260 * 6;
    for (const ArchiveFile &f : sorted) {
        expected += f.name + "\t" + std::to_string(f.bytes.size()) + "\t" + std::to_string(offset) + "\n";
        offset += uint32_t(f.bytes.size());
    }
    EXPECT_EQ(list.out, expected);

    for (const ArchiveFile &f : files) {
        SCOPED_TRACE(f.name);
        ASSERT_EQ(rezpack("extract out.rez " + f.name + " copy").status, 0);
        EXPECT_EQ(readWholeFile(work + "/copy"), f.bytes);
        ToolRun toStdout = rezpack("extract out.rez " + f.name + " -");
        EXPECT_EQ(toStdout.status, 0);
        EXPECT_EQ(toStdout.out, f.bytes);
    }
    std::filesystem::remove(work + "/A.jpg");
    ASSERT_EQ(rezpack("extract out.rez A.jpg").status, 0) << "default: the entry's name, here";
    EXPECT_EQ(readWholeFile(work + "/A.jpg"), files[2].bytes);
    EXPECT_TRUE(std::filesystem::exists(work + "/out.rez")) << "reading never deletes the archive";
}

TEST_F(RezpackTest, ArchiveWrittenByHandIsRead) {
    std::string bytes;
    for (unsigned char b : {2, 0, 0, 0}) bytes.push_back(char(b));  // entry count 2
    std::string name0 = "a.txt";
    name0.resize(256, '\0');
    bytes += name0;
    for (unsigned char b : {3, 0, 0, 0}) bytes.push_back(char(b));  // size 3
    std::string name1 = "Z";
    name1.resize(256, '\0');
    bytes += name1;
    for (unsigned char b : {0, 1, 0, 0}) bytes.push_back(char(b));  // size 256
    bytes += "abc";                                                  // data base 524
    bytes += binaryBytes(256, 6);
    ASSERT_EQ(bytes.size(), 4u + 520 + 3 + 256);
    writeWholeFile(work + "/hand.rez", bytes);

    ToolRun list = rezpack("list hand.rez");
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(list.out, "a.txt\t3\t524\nZ\t256\t527\n");
    EXPECT_EQ(rezpack("extract hand.rez a.txt -").out, "abc");
    EXPECT_EQ(rezpack("extract hand.rez Z -").out, binaryBytes(256, 6));
}

TEST_F(RezpackTest, PackingNothingGivesAnEmptyArchive) {
    ASSERT_EQ(rezpack("pack none.rez").status, 0);
    EXPECT_EQ(readWholeFile(work + "/none.rez"), std::string(4, '\0'));
    ToolRun list = rezpack("list none.rez");
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out, "");
}

TEST_F(RezpackTest, FailuresExitWithOneAndOneLine) {
    writeWholeFile(work + "/a.txt", "a");
    writeWholeFile(work + "/sub/a.txt", "other a");
    ASSERT_EQ(rezpack("pack good.rez a.txt").status, 0);
    std::string malformed = readWholeFile(work + "/good.rez");
    malformed[0] = 9;  // a count the file cannot hold
    writeWholeFile(work + "/bad.rez", malformed);

    for (const char *arguments : {"extract good.rez missing.txt out", "extract good.rez A.TXT",
                                  "extract good.rez 'two\nlines' out", "list bad.rez", "extract bad.rez a.txt -",
                                  "list absent.rez", "pack new.rez a.txt absent.txt", "pack new.rez a.txt sub/a.txt",
                                  "pack new.rez a.txt sub", "pack new.rez /dev/zero", "", "unpack good.rez", "list",
                                  "extract good.rez"}) {
        SCOPED_TRACE(arguments);
        expectFailure(rezpack(arguments));
    }
    EXPECT_FALSE(std::filesystem::exists(work + "/out"));
    EXPECT_FALSE(std::filesystem::exists(work + "/A.TXT"));
    EXPECT_FALSE(std::filesystem::exists(work + "/new.rez")) << "no half-made archive";
}

// What was at the output's path stays as it was when the output cannot be
// written there: a folder, a device that takes nothing, a read-only file.
TEST_F(RezpackTest, FailedWritesLeaveWhatWasAtThePath) {
    writeWholeFile(work + "/a.txt", "a");
    ASSERT_EQ(rezpack("pack good.rez a.txt").status, 0);
    std::filesystem::create_directory(work + "/folder");
    for (const char *arguments : {"extract good.rez a.txt folder", "pack folder a.txt"}) {
        SCOPED_TRACE(arguments);
        expectFailure(rezpack(arguments));
        EXPECT_TRUE(std::filesystem::is_directory(work + "/folder"));
    }
    // A copy of /dev/full: making a device takes root.
    if (mknod((work + "/full").c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0) {
        expectFailure(rezpack("extract good.rez a.txt full"));
        EXPECT_TRUE(std::filesystem::is_character_file(work + "/full"));
        std::filesystem::remove(work + "/full");
    }
    // Read-only to its user; root, whom no mode stops, runs the tool as nobody
    // in folders that nobody may write to.
    writeWholeFile(work + "/keep.txt", "precious");
    chmod((work + "/keep.txt").c_str(), 0444);
    const bool root = geteuid() == 0;
    if (root) {
        chmod(temp.path().c_str(), 0777);
        chmod(work.c_str(), 0777);
    }
    expectFailure(rezpack("extract good.rez a.txt keep.txt", root ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : ""));
    EXPECT_EQ(readWholeFile(work + "/keep.txt"), "precious");

    // A file that may be written is replaced whole, keeping its mode.
    writeWholeFile(work + "/mine.txt", "old and longer");
    chmod((work + "/mine.txt").c_str(), 0640);
    ASSERT_EQ(rezpack("extract good.rez a.txt mine.txt").status, 0);
    EXPECT_EQ(readWholeFile(work + "/mine.txt"), "a");
    EXPECT_EQ(std::filesystem::status(work + "/mine.txt").permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);
}

// Names as stored: without OUT none writes outside the current folder, and
// listings and messages show their control characters escaped, so a name
// can neither forge a row nor drive the terminal.
TEST_F(RezpackTest, StoredNamesStayInTheFolderAndOnTheirLine) {
    const std::string absolute = temp.path() + "/absolute.txt";
    writeWholeFile(work + "/hostile.rez", buildArchive({{"../up.txt", "u"},
                                                         {"sub/../../up.txt", "s"},
                                                         {absolute, "a"},
                                                         {"tab\tnew\nline\t9\t9\x1b[2J\\", "t"},
                                                         {"\u00c5sa \u00f6.jpg", "8"},
                                                         {"c1\u009b2J\xff", "c"}}));
    ToolRun list = rezpack("list hostile.rez");
    ASSERT_EQ(list.status, 0) << list.err;
    // UTF-8 letters stay; a C1 control and a stray byte are escaped byte by byte.
    EXPECT_EQ(list.out, "../up.txt\t1\t1564\nsub/../../up.txt\t1\t1565\n" + absolute +
                            "\t1\t1566\ntab\\tnew\\nline\\t9\\t9\\x1b[2J\\\\\t1\t1567\n"
                            "\u00c5sa \u00f6.jpg\t1\t1568\nc1\\xc2\\x9b2J\\xff\t1\t1569\n");
    for (const std::string name : {"../up.txt", "sub/../../up.txt", absolute.c_str()}) {
        SCOPED_TRACE(name);
        expectFailure(rezpack("extract hostile.rez '" + name + "'"));
    }
    expectFailure(rezpack("extract hostile.rez up.txt 'no\nsuch/folder'"));
    ASSERT_EQ(rezpack("extract hostile.rez ../up.txt chosen.txt").status, 0) << "an OUT given is the user's choice";
    EXPECT_EQ(readWholeFile(work + "/chosen.txt"), "u");
}

}  // namespace
