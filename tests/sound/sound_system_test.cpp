// The sound system: loading by content from a file that is then deleted,
// playing once and then silence, bad files, and behaviour with no audio
// device, a failing device and SDL's disk-writing driver. Device tests run
// in a child process each (the audio subsystem starts once per process) and
// end it with exit() while SDL's audio thread is running.
#include "platform/sound_system.h"
#include "platform/temp_file.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

namespace {

const char *const MODULE_PATH = DORIROVA_SOURCE_DIR "/resources/archive/HALVIX.xm";
constexpr int RATE = 48000;

std::vector<char> readBytes(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A fresh temporary file (no extension) holding bytes.
std::string tempFileWith(const std::vector<char> &bytes) {
    std::string path = createTempFile();
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    return path;
}

float peakOf(const std::vector<float> &samples) {
    float peak = 0.0f;
    for (float v : samples) peak = std::max(peak, std::fabs(v));
    return peak;
}

// Renders `seconds` of sound without a device.
std::vector<float> render(Sound *sound, double seconds) {
    std::vector<float> stereo(size_t(seconds * RATE) * 2);
    soundRenderFrames(sound, RATE, stereo.data(), stereo.size() / 2);
    return stereo;
}

}  // namespace

TEST(SoundLoading, ModuleKeepsPlayingAfterItsTemporaryFileIsDeleted) {
    ScopedTempDir tmp;
    std::string path = tempFileWith(readBytes(MODULE_PATH));
    ASSERT_EQ(path.find('.'), std::string::npos) << "the temporary name carries no extension";
    SoundSystem *system = soundSystemCreate();
    Sound *sound = soundSystemCreateSound(system, path.c_str());
    ASSERT_NE(sound, nullptr);
    removeTempFile(path);
    EXPECT_TRUE(tmp.files().empty());
    EXPECT_GT(peakOf(render(sound, 8.0)), 0.05f);
}

TEST(SoundLoading, FilesThatAreNotModulesGiveNoSound) {
    ScopedTempDir tmp;
    SoundSystem *system = soundSystemCreate();
    std::string text = "Extended Module: not really, just some text that looks like a header.\n";
    std::vector<char> noise(4096);
    unsigned seed = 12345;
    for (char &c : noise) c = char((seed = seed * 1103515245u + 12345u) >> 16);
    const std::vector<std::vector<char>> notModules = {
        {}, std::vector<char>(text.begin(), text.end()), noise, std::vector<char>(1000, '\0')};
    for (const auto &bytes : notModules) {
        std::string path = tempFileWith(bytes);
        EXPECT_EQ(soundSystemCreateSound(system, path.c_str()), nullptr) << bytes.size() << " bytes";
        removeTempFile(path);
    }
    EXPECT_EQ(soundSystemCreateSound(system, (tmp.path() + "/missing").c_str()), nullptr);
    EXPECT_EQ(soundSystemCreateSound(system, tmp.path().c_str()), nullptr) << "a folder";
    EXPECT_EQ(soundSystemCreateSound(system, nullptr), nullptr);
    EXPECT_EQ(soundSystemCreateSound(nullptr, MODULE_PATH), nullptr);
}

TEST(SoundLoading, TruncatedModuleNeitherCrashesNorPrints) {
    std::vector<char> bytes = readBytes(MODULE_PATH);
    ASSERT_GT(bytes.size(), 3000u);
    EXPECT_EXIT(
        {
            {
                // Its own scope: std::exit runs no destructor of a local, and
                // the folder must go before the child ends.
                ScopedTempDir tmp;
                SoundSystem *system = soundSystemCreate();
                for (size_t length : {size_t(60), size_t(400), size_t(3000), bytes.size() - 100}) {
                    std::string path = tempFileWith(std::vector<char>(bytes.begin(), bytes.begin() + long(length)));
                    if (Sound *sound = soundSystemCreateSound(system, path.c_str())) render(sound, 1.0);
                    removeTempFile(path);
                }
            }
            std::exit(0);
        },
        testing::ExitedWithCode(0), testing::Eq(std::string()));
}

TEST(SoundPlayback, PlaysOnceToItsEndThenSilence) {
    SoundSystem *system = soundSystemCreate();
    Sound *sound = soundSystemCreateSound(system, MODULE_PATH);
    ASSERT_NE(sound, nullptr);
    const int rate = 8000;              // low rate: the whole song renders quickly
    std::vector<float> chunk(size_t(rate) * 2);
    size_t total = 0;
    for (size_t got; (got = soundRenderFrames(sound, rate, chunk.data(), size_t(rate))) > 0;) {
        total += got;
        ASSERT_LT(total, size_t(rate) * 600) << "still playing after ten minutes: it loops";
    }
    double seconds = double(total) / rate;
    EXPECT_GT(seconds, 150.0);
    EXPECT_LT(seconds, 240.0);
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::fill(chunk.begin(), chunk.end(), 0.5f);
        EXPECT_EQ(soundRenderFrames(sound, rate, chunk.data(), size_t(rate)), 0u);
        EXPECT_EQ(peakOf(chunk), 0.0f) << "rendering past the end gives silence";
    }
}

TEST(SoundPlayback, NullArgumentsAndNoInitDoNothing) {
    SoundSystem *system = soundSystemCreate();
    EXPECT_FALSE(soundSystemInit(nullptr, 100));
    EXPECT_FALSE(soundSystemInit(system, 0));
    Sound *sound = soundSystemCreateSound(system, MODULE_PATH);
    ASSERT_NE(sound, nullptr);
    soundSystemPlaySound(system, SOUND_CHANNEL_FREE, nullptr, false);
    soundSystemPlaySound(nullptr, SOUND_CHANNEL_FREE, sound, false);
    soundSystemPlaySound(system, SOUND_CHANNEL_FREE, sound, false);   // not initialised: no device
    std::vector<float> stereo(64, 0.5f);
    EXPECT_EQ(soundRenderFrames(nullptr, RATE, stereo.data(), 32), 0u);
    EXPECT_EQ(peakOf(stereo), 0.0f);
    EXPECT_GT(peakOf(render(sound, 8.0)), 0.05f) << "an unplayed sound still renders from its start";
}

// ---- With and without an audio device, each in a child process.

TEST(SoundDevice, NoAudioDriverLeavesEverythingElseWorking) {
    EXPECT_EXIT(
        {
            setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
            SoundSystem *system = soundSystemCreate();
            if (soundSystemInit(system, 100)) std::exit(2);
            Sound *sound = soundSystemCreateSound(system, MODULE_PATH);
            if (!sound) std::exit(3);
            soundSystemPlaySound(system, SOUND_CHANNEL_FREE, sound, false);
            std::exit(0);
        },
        testing::ExitedWithCode(0), testing::Eq(std::string()));
}

TEST(SoundDevice, FailingAlsaDeviceSaysNothing) {
    EXPECT_EXIT(
        {
            setenv("SDL_AUDIODRIVER", "alsa", 1);
            setenv("AUDIODEV", "dorirova-no-such-pcm", 1);   // alsa-lib complains loudly about this name
            SoundSystem *system = soundSystemCreate();
            soundSystemInit(system, 100);
            Sound *sound = soundSystemCreateSound(system, MODULE_PATH);
            if (!sound) std::exit(3);
            soundSystemPlaySound(system, SOUND_CHANNEL_FREE, sound, false);
            soundSystemPlaySound(system, SOUND_CHANNEL_FREE, sound, false);
            std::exit(0);
        },
        testing::ExitedWithCode(0), testing::Eq(std::string()));
}

TEST(SoundDevice, ExitWhileTheDummyDevicePlaysIsClean) {
    EXPECT_EXIT(
        {
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            SoundSystem *system = soundSystemCreate();
            if (!soundSystemInit(system, 100)) std::exit(2);
            Sound *sound = soundSystemCreateSound(system, MODULE_PATH);
            if (!sound) std::exit(3);
            soundSystemPlaySound(system, SOUND_CHANNEL_FREE, sound, false);
            std::exit(0);
        },
        testing::ExitedWithCode(0), testing::Eq(std::string()));
}

// SDL's disk driver writes what the device plays to a file, as 32-bit float
// stereo: nothing until the first sound plays, then the music, faded to
// silence when the process exits.
TEST(SoundDevice, DiskDriverRecordsTheMusicOnlyOnceItPlays) {
    ScopedTempDir tmp;
    const std::string recording = tmp.path() + "/device.raw";
    const uintmax_t wantedBytes = uintmax_t(RATE) * 2 * sizeof(float);   // about a second
    EXPECT_EXIT(
        {
            setenv("SDL_AUDIODRIVER", "disk", 1);
            setenv("SDL_DISKAUDIOFILE", recording.c_str(), 1);
            SoundSystem *system = soundSystemCreate();
            if (!soundSystemInit(system, 100)) std::exit(2);
            Sound *sound = soundSystemCreateSound(system, MODULE_PATH);
            if (!sound) std::exit(3);
            std::error_code ec;
            if (std::filesystem::exists(recording) && std::filesystem::file_size(recording) > 0)
                std::exit(4);           // written before playing
            soundSystemPlaySound(system, SOUND_CHANNEL_FREE, sound, false);
            // The disk driver writes in real time; allow it a generous bound.
            auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            while (std::filesystem::file_size(recording, ec) < wantedBytes || ec) {
                if (std::chrono::steady_clock::now() > deadline) std::exit(5);
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            std::exit(0);
        },
        testing::ExitedWithCode(0), testing::Eq(std::string()));

    std::vector<char> bytes = readBytes(recording);
    ASSERT_GE(bytes.size(), wantedBytes);
    std::vector<float> samples(bytes.size() / sizeof(float));
    std::copy_n(bytes.data(), samples.size() * sizeof(float), reinterpret_cast<char *>(samples.data()));
    EXPECT_GT(peakOf(samples), 0.02f) << "the device played music, not silence";
    EXPECT_LE(peakOf(samples), 1.0f);
    std::vector<float> tail(samples.end() - 64, samples.end());
    EXPECT_LT(peakOf(tail), 1e-3f) << "the music was faded out before the device closed";
}
