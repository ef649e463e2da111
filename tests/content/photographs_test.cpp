// The 24 photographs of the slideshow as committed: their names, format,
// size, and that each shows a picture of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "content_reading.h"

namespace {

// The photographs in number order, as the photo layer loads them.
std::vector<std::string> photoNames() {
    std::vector<std::string> names;
    std::ifstream list(repoPath("tools/content/photo_names.txt"));
    for (std::string line; std::getline(list, line);)
        if (!line.empty()) names.push_back(line);
    return names;
}

// Mean absolute difference per channel, 0..255, of two decoded pictures of equal size.
double meanDifference(const JpegFile &a, const JpegFile &b) {
    double sum = 0;
    for (size_t i = 0; i < a.rgb.size(); ++i) sum += std::abs(int(a.rgb[i]) - int(b.rgb[i]));
    return sum / double(a.rgb.size());
}

}   // namespace

TEST(Photographs, TwentyFourNamesNumberedWithTheRightSeparator) {
    std::vector<std::string> names = photoNames();
    ASSERT_EQ(names.size(), 24u);
    // Two digits, "_" for 01 to 15 and "-" for 16 to 24, lower-case words joined by hyphens.
    const std::regex shape("([0-9]{2})([_-])[a-z0-9]+(-[a-z0-9]+)*\\.jpg");
    for (size_t i = 0; i < names.size(); ++i) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(names[i], m, shape)) << names[i];
        EXPECT_EQ(std::stoi(m[1]), int(i + 1)) << names[i];
        EXPECT_EQ(m[2], i < 15 ? "_" : "-") << names[i];
    }
}

TEST(Photographs, ArchiveHoldsExactlyTheListedPhotographs) {
    std::vector<std::string> names = photoNames();
    std::vector<std::string> found;
    for (const auto &entry : std::filesystem::directory_iterator(repoPath("resources/archive")))
        if (entry.path().extension() == ".jpg") found.push_back(entry.path().filename().string());
    std::sort(found.begin(), found.end());
    std::vector<std::string> listed = names;
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(found, listed);
}

TEST(Photographs, EachIsAProgressiveThreeComponentJpegOf1024Squared) {
    for (const std::string &name : photoNames()) {
        JpegFile jpeg = readJpegFile(archivePath(name), 8);
        ASSERT_TRUE(jpeg.ok) << name;
        EXPECT_EQ(jpeg.width, 1024u) << name;
        EXPECT_EQ(jpeg.height, 1024u) << name;
        EXPECT_EQ(jpeg.components, 3) << name;
        EXPECT_TRUE(jpeg.progressive) << name;
    }
}

TEST(Photographs, FileSizesSuitDetailedPicturesAndTheArchiveStaysNearFiveMegabytes) {
    long total = 0;
    for (const std::string &name : photoNames()) {
        long bytes = fileSize(archivePath(name));
        EXPECT_GE(bytes, 140 * 1024) << name << ": too little detail or too low a quality";
        EXPECT_LE(bytes, 260 * 1024) << name;
        total += bytes;
    }
    EXPECT_GE(total, 4L * 1024 * 1024);
    EXPECT_LE(total, 6L * 1024 * 1024);
}

TEST(Photographs, EveryPhotographDiffersFromEveryOther) {
    std::vector<std::string> names = photoNames();
    std::vector<JpegFile> thumbs;
    for (const std::string &name : names) {
        thumbs.push_back(readJpegFile(archivePath(name), 8));
        ASSERT_TRUE(thumbs.back().ok) << name;
        ASSERT_EQ(thumbs.back().rgb.size(), 128u * 128u * 3u) << name;
    }
    for (size_t i = 0; i < thumbs.size(); ++i)
        for (size_t j = i + 1; j < thumbs.size(); ++j)
            EXPECT_GT(meanDifference(thumbs[i], thumbs[j]), 12.0) << names[i] << " and " << names[j] << " look alike";
}

TEST(Photographs, EachShowsAPictureNotAFlatField) {
    // A blank or nearly uniform render (a broken scene) has almost no spread;
    // the palest real picture, white marble, still has a deviation above 10.
    for (const std::string &name : photoNames()) {
        JpegFile jpeg = readJpegFile(archivePath(name), 8);
        ASSERT_TRUE(jpeg.ok) << name;
        double mean = 0, square = 0;
        size_t n = jpeg.rgb.size();
        for (uint8_t v : jpeg.rgb) {
            mean += v;
            square += double(v) * v;
        }
        mean /= n;
        double deviation = std::sqrt(square / n - mean * mean);
        EXPECT_GT(deviation, 8.0) << name;
        EXPECT_GT(mean, 12.0) << name << " is nearly black";
        EXPECT_LT(mean, 235.0) << name << " is nearly white";
    }
}
