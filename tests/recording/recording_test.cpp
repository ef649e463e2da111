// Recordings made by the real program without a display, read back with
// FFmpeg's decoders and libpng: the streams, size, rate, frame count and
// durations; sound that is there; pictures that are what the still shows;
// a photograph that changes; a scripted key that acts; a still that is,
// byte for byte, the frame a recording shows at that moment; exact frame
// times; and no file at all when the presentation cannot be recorded whole.
#include "recording/recording.h"
#include "recording/recording_session.h"
#include "tests/support/decoded_video.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr int WIDTH = 320, HEIGHT = 240, FPS = 30;

// Runs the program with args, without a display, in an environment with
// more (NAME=VALUE ...), its stderr as redirected; its exit status.
int runProgram(const std::string &args, const std::string &more = "", const std::string &stderrTo = "2>/dev/null") {
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY SDL_AUDIODRIVER=dummy " + more + " '" DORIROVA_PROGRAM
                                "' " + args + " " + stderrTo;
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A PNG read back as RGBA, bottom row first, like a frame from GL (alpha 255).
std::vector<uint8_t> readPng(const std::string &path, int &width, int &height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    std::vector<uint8_t> rgba;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return rgba;
    image.format = PNG_FORMAT_RGBA;
    width = int(image.width);
    height = int(image.height);
    rgba.resize(PNG_IMAGE_SIZE(image));
    png_image_finish_read(&image, nullptr, rgba.data(), -width * 4, nullptr);
    return rgba;
}

std::vector<uint8_t> still(const std::string &folder, const std::string &moment, const std::string &more = "") {
    const std::string path = folder + "/still-" + moment + ".png";
    EXPECT_EQ(runProgram("--still " + moment + " '" + path + "' --size 320x240 --fps 30 " + more), 0);
    int width = 0, height = 0;
    std::vector<uint8_t> frame = readPng(path, width, height);
    EXPECT_EQ(width, WIDTH);
    EXPECT_EQ(height, HEIGHT);
    return frame;
}

// The photograph's part that nothing covers (virtual x 60..280, y 250..420),
// without the alpha that a still does not keep.
std::vector<uint8_t> photoPart(const std::vector<uint8_t> &frame) {
    std::vector<uint8_t> part;
    for (int y = 250 * HEIGHT / 768; y < 420 * HEIGHT / 768; ++y) {
        for (int x = 60 * WIDTH / 1024; x < 280 * WIDTH / 1024; ++x) {
            const uint8_t *p = &frame[(size_t(y) * WIDTH + x) * 4];
            part.insert(part.end(), {p[0], p[1], p[2], 255});
        }
    }
    return part;
}

TEST(Recording, Mp4HoldsTheWholeRunInSyncAndShowsWhatTheStillShows) {
    ScopedTempDir tmp;
    const std::string file = tmp.path() + "/run.mp4";
    ASSERT_EQ(runProgram("--capture '" + file + "' --size 320x240 --fps 30 --seconds 6.5"), 0);
    DecodedVideo video = decodeVideo(file, 2 * FPS);
    ASSERT_TRUE(video.ok) << video.error;
    EXPECT_EQ(video.videoCodec, "h264");
    EXPECT_EQ(video.audioCodec, "aac");
    EXPECT_EQ(video.width, WIDTH);
    EXPECT_EQ(video.height, HEIGHT);
    EXPECT_DOUBLE_EQ(video.fps, FPS);
    EXPECT_EQ(video.frames, 195);
    EXPECT_NEAR(video.videoSeconds, 6.5, 1e-6);
    EXPECT_EQ(std::lround(video.soundSeconds * 48000), 312000) << "every sample of 6.5 s, the last short frame's too";
    EXPECT_EQ(video.sampleRate, 48000);
    EXPECT_EQ(video.channels, 2);
    EXPECT_GT(video.soundPeak, 0.05f) << "the music plays";

    const std::vector<uint8_t> atTwo = still(tmp.path(), "2.0");
    EXPECT_GT(psnr(video.frameYuv, toYuv420(atTwo, WIDTH, HEIGHT)), 35.0) << "the frame at 2 s is the still at 2 s";
    const std::vector<uint8_t> atSix = decodeVideo(file, 6 * FPS).frame;
    EXPECT_LT(psnr(photoPart(atSix), photoPart(video.frame)), 20.0) << "another photograph at 6 s";
    EXPECT_EQ(tmp.files().size(), 2u) << "the video and the still, nothing else";
}

TEST(Recording, WebmWithAKeyShowsTheKeysEffect) {
    ScopedTempDir tmp;
    const std::string file = tmp.path() + "/keys.webm";
    ASSERT_EQ(runProgram("--capture '" + file + "' --size 320x240 --fps 30 --seconds 3.5 --keys 1.0:Right"), 0);
    DecodedVideo video = decodeVideo(file, 3 * FPS);
    ASSERT_TRUE(video.ok) << video.error;
    EXPECT_EQ(video.videoCodec, "vp9");
    EXPECT_EQ(video.audioCodec, "opus");
    EXPECT_EQ(video.frames, 105);
    EXPECT_NEAR(video.soundSeconds, video.videoSeconds, 1.0 / FPS);

    const std::vector<uint8_t> withKey = still(tmp.path(), "3.0", "--keys 1.0:Right");
    const std::vector<uint8_t> withoutKey = still(tmp.path(), "3");
    EXPECT_GT(psnr(video.frameYuv, toYuv420(withKey, WIDTH, HEIGHT)), 35.0);
    EXPECT_LT(psnr(photoPart(video.frame), photoPart(withoutKey)), 20.0) << "Right at 1 s shows the next photograph";
}

// The program's still against the frames a recording draws, in this process
// with the recording's own drawing: equal to the byte. 4.12 s lies between
// frames: the still is the frame a video shows then, 123 (4.1 s).
TEST(Recording, StillIsTheRecordingsFrameAtThatMomentExactly) {
    ScopedTempDir tmp;
    const std::vector<uint8_t> shot = still(tmp.path(), "4.12", "--keys 0.5:Down");
    std::vector<ScriptedKey> keys;
    std::string error;
    ASSERT_TRUE(parseKeyScript("0.5:Down", keys, error));
    ASSERT_TRUE(openRecordingSession(WIDTH, HEIGHT, keys, error)) << error;
    for (int64_t i = 0; i <= 123; ++i) ASSERT_TRUE(drawRecordingFrame(frameTimeNs(i, FPS)));
    std::vector<uint8_t> frame(WIDTH * HEIGHT * 4);
    readRecordingFrame(frame.data());
    closeRecordingSession();
    for (size_t i = 3; i < frame.size(); i += 4) frame[i] = 255;   // a still is opaque
    EXPECT_TRUE(frame == shot) << "frame 123 at 30 fps (4.1 s, in a transition) differs from --still 4.12";
}

// Frame i's time is i / fps exactly, rounded down to the nanosecond, at any
// rate and however far into the run: no drift from a rounded frame length.
TEST(Recording, FrameTimesAreExactAtEveryRate) {
    EXPECT_EQ(frameTimeNs(7, 7), 1000000000);
    for (const int32_t fps : {1, 7, 24, 30, 59, 60, 239, 240}) {
        SCOPED_TRACE(fps);
        EXPECT_EQ(frameTimeNs(int64_t(fps) * 3600, fps), 3600000000000);
        EXPECT_EQ(frameTimeNs(1, fps), 1000000000 / fps);
        EXPECT_EQ(frameCountFor(3600000000000, fps), int64_t(fps) * 3600);
        EXPECT_EQ(frameShownAt(3600000000000 - 1, fps), int64_t(fps) * 3600 - 1);
        EXPECT_EQ(frameShownAt(frameTimeNs(fps + 1, fps), fps), fps + 1);
    }
}

// A recording or a still that cannot hold the whole presentation (here: no
// temporary folder, so no archive and no music) fails whole: status 1, one
// line naming the cause, and no file.
TEST(Recording, WithoutItsAssetsFailsWithOneLineAndNoFile) {
    ScopedTempDir tmp;
    for (const std::string &output :
         {"--capture '" + tmp.path() + "/run.mp4' --seconds 1", "--still 1 '" + tmp.path() + "/still.png'"}) {
        SCOPED_TRACE(output);
        const std::string err = tmp.path() + "/err";
        EXPECT_EQ(runProgram(output + " --size 320x240 --fps 10", "TMPDIR=/nonexistent", "2>'" + err + "'"), 1);
        const std::string said{std::istreambuf_iterator<char>(std::ifstream(err).rdbuf()), {}};
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_NE(said.find("cannot write temporary files in /nonexistent"), std::string::npos) << said;
        std::remove(err.c_str());
        EXPECT_TRUE(tmp.files().empty());
    }
}

// A mono 16-bit WAV of seconds at 48 kHz: a square wave at half its range.
void writeSquareWav(const std::string &path, double seconds) {
    const uint32_t frames = uint32_t(seconds * 48000), bytes = frames * 2;
    std::string wav = "RIFF....WAVEfmt ";
    const auto put = [&wav](uint32_t value, int size) {
        for (int i = 0; i < size; ++i) wav += char(value >> (8 * i) & 0xFF);
    };
    wav.replace(4, 4, std::string(4, '\0'));
    for (int i = 0; i < 4; ++i) wav[4 + i] = char((36 + bytes) >> (8 * i) & 0xFF);
    put(16, 4), put(1, 2), put(1, 2), put(48000, 4), put(96000, 4), put(2, 2), put(16, 2);
    wav += "data";
    put(bytes, 4);
    for (uint32_t f = 0; f < frames; ++f) put(f / 50 % 2 ? 0xC000 : 0x4000, 2);
    std::ofstream(path, std::ios::binary) << wav;
}

// The mean difference of two frames' bytes over the virtual rectangle from
// (x, y), width x height.
double meanDifference(const std::vector<uint8_t> &a, const std::vector<uint8_t> &b, int x, int y, int width,
                      int height) {
    double sum = 0;
    int count = 0;
    for (int row = y * HEIGHT / 768; row < (y + height) * HEIGHT / 768; ++row) {
        for (int column = x * WIDTH / 1024; column < (x + width) * WIDTH / 1024; ++column, ++count) {
            for (int c = 0; c < 3; ++c) sum += std::abs(a[(size_t(row) * WIDTH + column) * 4 + c] - b[(size_t(row) * WIDTH + column) * 4 + c]);
        }
    }
    return sum / count;
}

}  // namespace

// A WAV of the viewer's own is the soundtrack and, with no length asked
// for, sets the video's length.
TEST(Recording, OwnMusicFileIsHeardAndSetsTheLength) {
    ScopedTempDir tmp;
    const std::string song = tmp.path() + "/song.wav", file = tmp.path() + "/own.mp4";
    writeSquareWav(song, 1.5);
    ASSERT_EQ(runProgram("--capture '" + file + "' --size 320x240 --fps 10 --music '" + song + "'"), 0);
    DecodedVideo video = decodeVideo(file);
    ASSERT_TRUE(video.ok) << video.error;
    EXPECT_EQ(video.frames, 15);
    EXPECT_NEAR(video.soundSeconds, 1.5, 0.01);
    EXPECT_GT(video.soundPeak, 0.4f) << "the square wave plays";
}

// Photographs of one's own and no music: a silent show, which records with a
// soundtrack of silence rather than fail for music, each photograph's four
// seconds and its transition long (4.42 s) when no length is asked for.
TEST(Recording, OwnPhotographsWithoutMusicRecordSilence) {
    ScopedTempDir tmp;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = image.height = 64;
    image.format = PNG_FORMAT_RGB;
    const std::vector<uint8_t> grey(64 * 64 * 3, 128);
    ASSERT_TRUE(png_image_write_to_file(&image, (tmp.path() + "/photo.png").c_str(), 0, grey.data(), 0, nullptr));
    const std::string file = tmp.path() + "/silent.mp4";
    ASSERT_EQ(runProgram("--capture '" + file + "' --size 320x240 --fps 10 --photos '" + tmp.path() + "/photo.png'"), 0);
    DecodedVideo video = decodeVideo(file);
    ASSERT_TRUE(video.ok) << video.error;
    EXPECT_EQ(video.frames, 45);
    EXPECT_NEAR(video.soundSeconds, 4.5, 0.01) << "sound for every frame";
    EXPECT_EQ(video.soundPeak, 0.0f);
}

// A text of the viewer's own runs in the band, and the member menu is gone.
TEST(Recording, OwnTextRunsWithoutTheMenu) {
    ScopedTempDir tmp;
    const std::string text = tmp.path() + "/text.txt";
    std::ofstream(text) << "Grüße! " << std::string(200, 'w') << "\n";
    const std::vector<uint8_t> own = still(tmp.path(), "12", "--text '" + text + "'");
    const std::vector<uint8_t> members = still(tmp.path(), "12.0");
    EXPECT_GT(meanDifference(own, members, 0, 114, 1024, 24), 10.0) << "another text in the band";
    EXPECT_GT(meanDifference(own, members, 660, 216, 300, 256), 10.0) << "no menu";
    EXPECT_LT(meanDifference(own, members, 60, 250, 220, 170), 1.0) << "the photograph as ever";
}
