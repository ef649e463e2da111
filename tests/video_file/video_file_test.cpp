// The video file writer: each container written with its codecs and read
// back by FFmpeg's decoders (sizes, rate, counts, durations, sound, an
// upright picture), and the names and formats it refuses.
#include "platform/video_file.h"
#include "tests/support/decoded_video.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <vector>

namespace {

constexpr int WIDTH = 320, HEIGHT = 240, FPS = 30, FRAMES = 45, RATE = 48000;

// A gradient with a bright block that moves one way and a dark stripe along
// the top rows, so that a frame turned upside down cannot pass for itself.
std::vector<uint8_t> testFrame(int index) {
    std::vector<uint8_t> rgba(size_t(WIDTH) * HEIGHT * 4);
    for (int y = 0; y < HEIGHT; ++y) {
        for (int x = 0; x < WIDTH; ++x) {
            uint8_t *p = &rgba[(size_t(y) * WIDTH + x) * 4];   // y = 0 is the bottom row
            const bool block = x >= 40 + index * 4 && x < 100 + index * 4 && y >= 60 && y < 120;
            const bool stripe = y >= HEIGHT - 30;
            p[0] = block ? 250 : stripe ? 10 : uint8_t(x * 255 / WIDTH);
            p[1] = block ? 240 : stripe ? 10 : uint8_t(y * 255 / HEIGHT);
            p[2] = block ? 40 : stripe ? 60 : 128;
            p[3] = 255;
        }
    }
    return rgba;
}

struct Written {
    std::string path;
    std::string error;
    bool finished = false;
};

Written writeTestVideo(const std::string &path, VideoContainer container) {
    Written written{path, "", false};
    VideoFile *file = videoFileOpen(written.path, {container, WIDTH, HEIGHT, FPS, RATE}, written.error);
    if (!file) return written;
    std::vector<float> sound(size_t(RATE / FPS) * 2);
    for (int i = 0; i < FRAMES; ++i) {
        EXPECT_TRUE(videoFileWriteFrame(file, testFrame(i).data()));
        for (size_t s = 0; s < sound.size() / 2; ++s) {
            const double t = double(size_t(i) * (RATE / FPS) + s) / RATE;
            sound[2 * s] = sound[2 * s + 1] = float(0.5 * std::sin(2 * M_PI * 440 * t));
        }
        EXPECT_TRUE(videoFileWriteSound(file, sound.data(), sound.size() / 2));
    }
    written.finished = videoFileFinish(file, written.error);
    videoFileClose(file);
    return written;
}

struct ContainerCase {
    const char *name;
    VideoContainer container;
    const char *videoCodec;
    const char *audioCodec;
    bool timesSoundExactly;   // the container's times give every sample: MP4's edit list drops the priming
};

class VideoFileContainers : public testing::TestWithParam<ContainerCase> {};

TEST_P(VideoFileContainers, DecodeBackWithTheirCodecsSizeRateCountsAndSound) {
    const ContainerCase &c = GetParam();
    ScopedTempDir tmp;
    const Written written = writeTestVideo(tmp.path() + "/" + c.name, c.container);
    ASSERT_TRUE(written.finished) << written.error;

    const DecodedVideo video = decodeVideo(written.path, 20);
    ASSERT_TRUE(video.ok) << video.error;
    EXPECT_EQ(video.videoCodec, c.videoCodec);
    EXPECT_EQ(video.audioCodec, c.audioCodec);
    EXPECT_EQ(video.width, WIDTH);
    EXPECT_EQ(video.height, HEIGHT);
    EXPECT_DOUBLE_EQ(video.fps, FPS);
    EXPECT_EQ(video.frames, FRAMES);
    EXPECT_EQ(video.sampleRate, RATE);
    EXPECT_EQ(video.channels, 2);
    EXPECT_NEAR(video.soundSeconds, video.videoSeconds, 1.0 / FPS) << "sound and picture last as long";
    // 72000 samples: the last encoder frame is a short one, and it is there.
    if (c.timesSoundExactly) {
        EXPECT_EQ(std::lround(video.soundSeconds * RATE), FRAMES * RATE / FPS);
    }
    EXPECT_GT(video.soundPeak, 0.3f);
    // Lossy, but close to what went in, and the right way up.
    EXPECT_GT(psnr(video.frameYuv, toYuv420(testFrame(20), WIDTH, HEIGHT)), 35.0);
    EXPECT_LT(psnr(video.frameYuv, toYuv420(testFrame(30), WIDTH, HEIGHT)), 30.0) << "frames keep their order";
}

INSTANTIATE_TEST_SUITE_P(, VideoFileContainers,
                         testing::Values(ContainerCase{"clip.mp4", VideoContainer::Mp4, "h264", "aac", true},
                                         ContainerCase{"clip.mkv", VideoContainer::Matroska, "h264", "aac", false},
                                         ContainerCase{"clip.webm", VideoContainer::WebM, "vp9", "opus", false}),
                         [](const auto &info) { return std::string(info.param.name).substr(5); });

TEST(VideoFileNames, ContainerFollowsTheExtensionInAnyCase) {
    EXPECT_EQ(videoContainerForName("a.mp4"), VideoContainer::Mp4);
    EXPECT_EQ(videoContainerForName("dir/Party.MKV"), VideoContainer::Matroska);
    EXPECT_EQ(videoContainerForName("/x/y.webm"), VideoContainer::WebM);
    EXPECT_EQ(videoContainerForName("a.avi"), VideoContainer::None);
    EXPECT_EQ(videoContainerForName("mp4"), VideoContainer::None);
    EXPECT_EQ(videoContainerForName("clips.mp4/take"), VideoContainer::None);
    EXPECT_EQ(videoContainerForName("a.mp4.part"), VideoContainer::None);
}

TEST(VideoFileRefusals, MissingFolderOddSizeAndNoContainerOpenNothing) {
    ScopedTempDir tmp;
    std::string error;
    EXPECT_EQ(videoFileOpen(tmp.path() + "/none/clip.mp4", {VideoContainer::Mp4, WIDTH, HEIGHT, FPS, RATE}, error),
              nullptr);
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_EQ(videoFileOpen(tmp.path() + "/odd.mp4", {VideoContainer::Mp4, 321, HEIGHT, FPS, RATE}, error), nullptr);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(videoFileOpen(tmp.path() + "/x.mp4", {VideoContainer::None, WIDTH, HEIGHT, FPS, RATE}, error), nullptr);
    EXPECT_TRUE(tmp.files().empty());
    // Failed files take every later call quietly.
    EXPECT_FALSE(videoFileWriteFrame(nullptr, nullptr));
    videoFileClose(nullptr);
}

// A colon in the name is a file's, not a protocol's.
TEST(VideoFileRefusals, NameWithAColonIsAFileName) {
    ScopedTempDir tmp;
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(tmp.path());
    const Written written = writeTestVideo("take:1.mkv", VideoContainer::Matroska);
    std::filesystem::current_path(previous);
    EXPECT_TRUE(written.finished) << written.error;
    EXPECT_TRUE(std::filesystem::exists(tmp.path() + "/take:1.mkv"));
}

}  // namespace
