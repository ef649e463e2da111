// The presentation's music module, HALVIX.xm: a whole, well-formed XM 1.04
// file that two independent players load cleanly and agree on, a song of
// two and a half to four minutes that ends instead of looping, never falls
// silent for long before its end and never clips, and exactly what the
// composer writes.
#include "tests/music/xm_walk.h"
#include "tests/support/temp_dir.h"

#include <libopenmpt/libopenmpt.hpp>    // the module as the presentation plays it

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string MODULE_PATH = DORIROVA_SOURCE_DIR "/resources/archive/HALVIX.xm";

std::vector<uint8_t> readBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Output (stdout and stderr) of a shell command and its exit status.
struct CommandResult {
    std::string output;
    int status = -1;
};

CommandResult run(const std::string &command) {
    CommandResult result;
    std::FILE *pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.output.append(buffer, got);
    result.status = pclose(pipe);
    return result;
}

// The value after "Key....:" or "Key   :" on a line of a player's report.
std::string reportField(const std::string &report, const std::string &key) {
    std::smatch m;
    std::regex line("(^|\\n)" + key + "[ .]*: *([^\\n]*)");
    return std::regex_search(report, m, line) ? m[2].str() : std::string();
}

// Words a player uses when a file is damaged or something in it is not understood.
bool mentionsTrouble(const std::string &report) {
    std::string lower = report;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    for (const char *word : {"warning", "error", "unsupported", "truncat", "corrupt", "invalid", "unknown"}) {
        if (lower.find(word) != std::string::npos) return true;
    }
    return false;
}

// Loaded with the settings the presentation plays it with: once, ending exactly.
std::unique_ptr<openmpt::module> loadAsPlayed(const std::vector<uint8_t> &bytes, std::ostream &log) {
    auto module = std::make_unique<openmpt::module>(bytes, log, std::map<std::string, std::string>{{"play.at_end", "stop"}});
    module->set_repeat_count(0);
    return module;
}

class HalvixModule : public testing::Test {
protected:
    void SetUp() override {
        bytes = readBytes(MODULE_PATH);
        ASSERT_FALSE(bytes.empty()) << MODULE_PATH;
        walk = walkXm(bytes);
    }
    // Cells of every pattern the order list plays.
    std::vector<XmWalkCell> playedCells() const {
        std::vector<XmWalkCell> cells;
        for (int order : walk.orders) {
            if (order < int(walk.patterns.size()))
                cells.insert(cells.end(), walk.patterns[order].begin(), walk.patterns[order].end());
        }
        return cells;
    }
    std::vector<uint8_t> bytes;
    XmWalk walk;
};

}  // namespace

TEST_F(HalvixModule, IsAWholeXm104FileOfAbout30KB) {
    EXPECT_EQ(walk.error, "");
    EXPECT_EQ(walk.version, 0x0104);
    EXPECT_EQ(walk.flags & 1, 1) << "linear frequency table";
    EXPECT_GE(walk.channels, 8);
    EXPECT_EQ(walk.channels % 2, 0) << "FastTracker 2 needs an even channel count";
    EXPECT_GE(bytes.size(), 20u * 1024);
    EXPECT_LE(bytes.size(), 40u * 1024);
    for (int order : walk.orders) EXPECT_LT(order, int(walk.patterns.size()));
}

TEST_F(HalvixModule, SongEndsInsteadOfJumpingBack) {
    ASSERT_EQ(walk.error, "");
    ASSERT_FALSE(walk.orders.empty());
    EXPECT_EQ(walk.restartPosition, walk.songLength - 1) << "a looping player goes back only to the last pattern";
    for (const XmWalkCell &c : playedCells()) {
        EXPECT_NE(c.effect, 0x0B) << "position jump";
        EXPECT_FALSE(c.effect == 0x0E && (c.param >> 4) == 0x6) << "pattern loop";
    }
    for (const XmWalkCell &c : walk.patterns[walk.orders.back()]) {
        EXPECT_TRUE(c.note == 0 || c.note == 97) << "the last pattern starts no note, so a loop of it is silent";
    }
}

TEST_F(HalvixModule, HasDrumsBassChordsLeadAndTheirEffects) {
    ASSERT_EQ(walk.error, "");
    std::set<std::string> names;
    int enveloped = 0;
    for (const XmWalkInstrument &ins : walk.instruments) {
        names.insert(ins.name);
        enveloped += ins.volumeEnvelope;
        EXPECT_GT(ins.sampleBytes, 0u) << ins.name;
    }
    for (const char *role : {"kick", "snare", "hat", "bass", "pad", "lead"}) EXPECT_TRUE(names.count(role)) << role;
    EXPECT_GE(enveloped, 4) << "instruments shaped by volume envelopes";

    std::set<int> channelsWithNotes;
    bool arpeggio = false, portamento = false, vibrato = false, volumeSlide = false;
    std::vector<XmWalkCell> cells = playedCells();
    for (size_t i = 0; i < cells.size(); ++i) {
        const XmWalkCell &c = cells[i];
        if (c.note > 0 && c.note < 97) channelsWithNotes.insert(int(i % size_t(walk.channels)));
        arpeggio |= c.effect == 0x0 && c.param != 0;
        portamento |= c.effect >= 0x1 && c.effect <= 0x3;
        vibrato |= c.effect == 0x4;
        volumeSlide |= c.effect == 0xA || (c.volume >= 0x60 && c.volume < 0x80);
    }
    EXPECT_EQ(int(channelsWithNotes.size()), walk.channels) << "every channel plays";
    EXPECT_TRUE(arpeggio);
    EXPECT_TRUE(portamento);
    EXPECT_TRUE(vibrato);
    EXPECT_TRUE(volumeSlide);
}

TEST_F(HalvixModule, LibopenmptLoadsItCleanly) {
    std::ostringstream log;
    auto loaded = loadAsPlayed(bytes, log);
    openmpt::module &module = *loaded;
    EXPECT_EQ(log.str(), "");
    EXPECT_EQ(module.get_metadata("warnings"), "");
    EXPECT_EQ(module.get_metadata("type"), "xm");
    EXPECT_EQ(module.get_num_samples(), int(walk.instruments.size())) << "every instrument's sample loaded";
    EXPECT_GE(module.get_duration_seconds(), 150.0);
    EXPECT_LE(module.get_duration_seconds(), 240.0);

    CommandResult info = run("openmpt123 --info '" + MODULE_PATH + "'");
    ASSERT_NE(info.status, -1);
    ASSERT_NE(WEXITSTATUS(info.status), 127) << "openmpt123 is not installed";
    EXPECT_FALSE(mentionsTrouble(info.output)) << info.output;
    EXPECT_EQ(reportField(info.output, "Type").substr(0, 2), "xm") << info.output;
    EXPECT_EQ(reportField(info.output, "Samples"), std::to_string(walk.instruments.size())) << info.output;
}

TEST_F(HalvixModule, LibxmpLoadsItAndBothPlayersAgreeOnItsLength) {
    CommandResult openmpt = run("openmpt123 --info '" + MODULE_PATH + "'");
    CommandResult xmp = run("xmp --load-only --verbose '" + MODULE_PATH + "'");
    ASSERT_NE(WEXITSTATUS(xmp.status), 127) << "xmp is not installed";
    EXPECT_FALSE(mentionsTrouble(xmp.output)) << xmp.output;
    EXPECT_NE(reportField(xmp.output, "Module type").find("XM 1.04"), std::string::npos) << xmp.output;
    EXPECT_EQ(reportField(xmp.output, "Samples"), std::to_string(walk.instruments.size())) << xmp.output;
    EXPECT_EQ(reportField(xmp.output, "Channels").substr(0, 2), std::to_string(walk.channels)) << xmp.output;

    std::smatch m;
    std::string openmptDuration = reportField(openmpt.output, "Duration");
    std::string xmpDuration = reportField(xmp.output, "Duration");
    ASSERT_TRUE(std::regex_match(openmptDuration, m, std::regex("(\\d+):(\\d+\\.\\d+)"))) << openmpt.output;
    double openmptSeconds = std::stod(m[1]) * 60 + std::stod(m[2]);
    ASSERT_TRUE(std::regex_match(xmpDuration, m, std::regex("(\\d+)min(\\d+)s"))) << xmp.output;
    double xmpSeconds = std::stod(m[1]) * 60 + std::stod(m[2]);   // whole seconds only
    EXPECT_NEAR(openmptSeconds, xmpSeconds, 1.0);
    EXPECT_GE(openmptSeconds, 150.0);
    EXPECT_LE(openmptSeconds, 240.0);
}

TEST_F(HalvixModule, PlaysToAnEndWithoutLongSilenceOrClipping) {
    std::ostringstream log;
    auto played = loadAsPlayed(bytes, log);
    openmpt::module &module = *played;
    const int rate = 44100;
    const size_t block = 1024;          // frames judged silent or not together
    std::vector<float> stereo(block * 2);
    size_t frames = 0, silentFrames = 0, longestSilence = 0;
    float peak = 0.0f;
    for (size_t got; (got = module.read_interleaved_stereo(rate, block, stereo.data())) > 0;) {
        float blockPeak = 0.0f;
        for (size_t i = 0; i < got * 2; ++i) blockPeak = std::max(blockPeak, std::fabs(stereo[i]));
        peak = std::max(peak, blockPeak);
        silentFrames = blockPeak < 1e-3f ? silentFrames + got : 0;
        longestSilence = std::max(longestSilence, silentFrames);
        frames += got;
        ASSERT_LT(frames, size_t(rate) * 600) << "still playing after ten minutes: it loops";
    }
    EXPECT_LT(double(longestSilence) / rate, 2.0) << "seconds of silence in a row";
    EXPECT_LT(peak, 1.0f) << "clipped";
    EXPECT_GT(peak, 0.3f) << "far too quiet";
    EXPECT_NEAR(double(frames) / rate, module.get_duration_seconds(), 0.1);
    EXPECT_EQ(module.read_interleaved_stereo(rate, block, stereo.data()), 0u) << "it ended for good";
}

#ifdef HALVIX_COMPOSER
TEST_F(HalvixModule, IsExactlyWhatTheComposerWrites) {
    ScopedTempDir tmp;
    std::string fresh = tmp.path() + "/HALVIX.xm";
    CommandResult composed = run(std::string("'") + HALVIX_COMPOSER + "' '" + fresh + "'");
    ASSERT_EQ(composed.status, 0) << composed.output;
    EXPECT_TRUE(readBytes(fresh) == bytes) << "resources/archive/HALVIX.xm is stale: rebuild the content-music target";
}
#endif
