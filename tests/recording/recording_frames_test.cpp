// Recorded frames against the window's: the display-less context, the
// recording's clock and its scripted keys give, byte for byte, the golden
// frames that the window path (the real loop on OSMesa) recorded, at every
// moment those share with a steady 20 frames a second; and frames not read
// back hold no memory.
#include "recording/recording.h"
#include "recording/recording_session.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <unistd.h>   // sysconf

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

namespace {

uint64_t fnv1a(const std::vector<uint8_t> &bytes) {
    uint64_t hash = 14695981039346656037ull;
    for (uint8_t b : bytes) hash = (hash ^ b) * 1099511628211ull;
    return hash;
}

// "moment" -> hash of the recorded 800 x 600 golden frames, and the Mesa they were recorded with.
std::map<std::string, uint64_t> goldenHashes800x600(std::string &mesa) {
    std::map<std::string, uint64_t> hashes;
    std::ifstream in(DORIROVA_SOURCE_DIR "/tests/golden_frames/golden_hashes.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("mesa ", 0) == 0) mesa = line.substr(5);
        std::istringstream fields(line);
        std::string size, moment, hash;
        if (fields >> size >> moment >> hash && size == "800x600") hashes[moment] = std::stoull(hash, nullptr, 16);
    }
    return hashes;
}

TEST(RecordingFrames, AreTheWindowsGoldenFramesAtTheMomentsTheyShare) {
    ScopedTempDir tmp;
    // The golden run's keys; between them the slideshow shows a photograph
    // plainly, so its history (how many frames a transition took) no longer shows.
    std::vector<ScriptedKey> keys;
    std::string error;
    ASSERT_TRUE(parseKeyScript("5.0:Right,5.5:Left,6.0:Down", keys, error));
    ASSERT_TRUE(openRecordingSession(800, 600, keys, error)) << error;
    constexpr int32_t FPS = 20;
    const std::map<int64_t, std::string> moments = {{0, "first-frame"},  {40, "display-middle"},
                                                    {100, "after-right"}, {110, "after-left"},
                                                    {120, "after-down"},  {180, "scroller-later"}};
    std::string mesa;
    const std::map<std::string, uint64_t> golden = goldenHashes800x600(mesa);
    const std::string ours = reinterpret_cast<const char *>(glGetString(GL_VERSION));
    std::vector<uint8_t> frame(800 * 600 * 4);
    std::string differing;
    for (int64_t i = 0; i <= 180; ++i) {
        ASSERT_TRUE(drawRecordingFrame(frameTimeNs(i, FPS)));
        auto moment = moments.find(i);
        if (moment == moments.end()) continue;
        readRecordingFrame(frame.data());
        if (fnv1a(frame) != golden.at(moment->second)) differing += " " + moment->second;
    }
    closeRecordingSession();
    EXPECT_TRUE(tmp.files().empty()) << "temporary files left after the session";
    if (!differing.empty() && mesa != ours) {
        GTEST_SKIP() << "golden frames recorded with " << mesa << ", this is " << ours;
    }
    EXPECT_EQ(differing, "") << "frames that differ from the window's";
}

// Resident memory of this process, in kB.
long residentKb() {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Frames drawn and never read back (a still's, before its moment) leave
// nothing queued that holds memory: a still's memory does not grow with its
// moment. (Unwaited, each of these held over 100 kB.)
TEST(RecordingFrames, DrawnWithoutReadingBackHoldNoMemory) {
    ScopedTempDir tmp;
    std::string error;
    ASSERT_TRUE(openRecordingSession(320, 240, {}, error)) << error;
    for (int64_t i = 0; i < 60; ++i) ASSERT_TRUE(drawRecordingFrame(frameTimeNs(i, 60)));
    const long before = residentKb();
    for (int64_t i = 60; i < 960; ++i) ASSERT_TRUE(drawRecordingFrame(frameTimeNs(i, 60)));
    const long grown = residentKb() - before;
    closeRecordingSession();
    EXPECT_LT(grown, 16 * 1024) << "kB more after 900 frames";
}

}  // namespace
