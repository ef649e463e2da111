// Listing the viewer's photographs: which files, in which order, and what
// makes a listing fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "scene/photo_list.h"
#include "tests/support/temp_dir.h"

namespace {

void touch(const std::string &path) { std::fclose(std::fopen(path.c_str(), "wb")); }

std::vector<std::string> listed(const PhotoList &list) {
    std::vector<std::string> names;
    std::string path;
    list.waitForSorting();
    for (uint32_t i = 0; i < list.count(); ++i) {
        EXPECT_TRUE(list.nameAt(i, path));
        names.push_back(path.substr(path.rfind('/') + 1));
    }
    return names;
}

TEST(PhotoList, NaturalOrderComparesNumbersByValue) {
    std::vector<std::string> names = {"img10.jpg", "img2.jpg", "IMG1.jpg", "img02b.jpg", "a.png", "img2a.jpg", "b1"};
    std::sort(names.begin(), names.end(), naturalLess);
    EXPECT_EQ(names, (std::vector<std::string>{"a.png", "b1", "IMG1.jpg", "img2.jpg", "img2a.jpg", "img02b.jpg",
                                               "img10.jpg"}));
}

TEST(PhotoList, AFolderGivesItsPhotographsInNameOrderAndFilesStayWhereGiven) {
    ScopedTempDir dir;
    const std::string folder = dir.path() + "/f";
    std::filesystem::create_directory(folder);
    std::filesystem::create_directory(folder + "/sub.jpg");
    for (const char *name : {"x10.JPG", "x9.jpeg", "x1.png", ".hidden.jpg", "notes.txt", "x100.jpg", "x11.jpg"}) {
        touch(folder + "/" + name);
    }
    touch(dir.path() + "/given.bin");
    PhotoList list({dir.path() + "/given.bin", folder});
    ASSERT_EQ(list.fault(), "");
    std::string path;
    EXPECT_TRUE(list.nameAt(1, path) && path == folder + "/x1.png") << "the first is known before the sorting ends";
    EXPECT_TRUE(list.nameAt(5, path) && path == folder + "/x100.jpg") << "and so is the last";
    EXPECT_EQ(listed(list),
              (std::vector<std::string>{"given.bin", "x1.png", "x9.jpeg", "x10.JPG", "x11.jpg", "x100.jpg"}));
    EXPECT_TRUE(list.drop(1));
    EXPECT_EQ(listed(list)[1], "x9.jpeg");

    EXPECT_NE(PhotoList({folder, dir.path() + "/missing"}).fault().find("missing"), std::string::npos);
    std::filesystem::create_directory(dir.path() + "/empty");
    EXPECT_NE(PhotoList({dir.path() + "/empty"}).fault(), "");
    EXPECT_EQ(PhotoList({dir.path() + "/empty"}).count(), 0u);
}

}  // namespace
