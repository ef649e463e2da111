// Music files of every kind the sound system takes besides the archive's
// XM: ordinary audio files in each format libsndfile writes here, rendered
// at a rate other than their own, and a module in another tracker format.
// The files are made by the test.
#include "platform/sound_system.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <sndfile.h>   // writing the test's audio files

#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int RATE = 48000;
constexpr double PI = 3.14159265358979323846;

// Writes frames of a file at rate: left a sine of hz at amplitude 0.5,
// right silent (stereo), or the sine alone (mono).
std::string writeSine(const std::string &dir, const char *name, int format, int rate, int channels, double hz,
                      double seconds) {
    const std::string path = dir + "/" + name;
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE *file = sf_open(path.c_str(), SFM_WRITE, &info);
    EXPECT_NE(file, nullptr) << name << ": " << sf_strerror(nullptr);
    if (!file) return path;
    const sf_count_t frames = sf_count_t(seconds * rate);
    std::vector<float> samples(size_t(frames) * size_t(channels), 0.0f);
    for (sf_count_t f = 0; f < frames; ++f) samples[size_t(f) * size_t(channels)] = float(0.5 * std::sin(2 * PI * hz * double(f) / rate));
    sf_writef_float(file, samples.data(), frames);
    sf_close(file);
    return path;
}

// The root mean square of one side (0 left, 1 right) over frames [from, to).
double rms(const std::vector<float> &stereo, int side, size_t from, size_t to) {
    double sum = 0;
    for (size_t f = from; f < to; ++f) sum += double(stereo[f * 2 + size_t(side)]) * stereo[f * 2 + size_t(side)];
    return std::sqrt(sum / double(to - from));
}

// Renders the whole sound at RATE in blocks of an odd size (so blocks and
// the decoder's own never line up); the frames rendered in total.
size_t renderAll(Sound *sound, std::vector<float> &stereo) {
    std::vector<float> block(997 * 2);
    size_t total = 0;
    for (size_t got; (got = soundRenderFrames(sound, RATE, block.data(), 997)) > 0; total += got) {
        stereo.insert(stereo.end(), block.begin(), block.begin() + ptrdiff_t(got * 2));
    }
    return total;
}

// A four-channel ProTracker module ("M.K."): one pattern, whose first row
// plays sample 1 (a square wave, looped) at C-3 on channel 1.
std::vector<char> protrackerModule() {
    std::vector<char> mod(1084 + 1024, 0);
    const auto put16 = [&](size_t at, int value) { mod[at] = char(value >> 8), mod[at + 1] = char(value & 0xFF); };
    const size_t sample = 20;                  // the first sample's header
    put16(sample + 22, 32);                    // 64 bytes long, in words
    mod[sample + 25] = 64;                     // full volume
    put16(sample + 28, 32);                    // looped whole
    for (int s = 1; s < 31; ++s) put16(20 + size_t(s) * 30 + 28, 1);   // the others: no loop
    mod[950] = 1;                              // one pattern in the song
    mod[951] = 127;
    mod[1080] = 'M', mod[1081] = '.', mod[1082] = 'K', mod[1083] = '.';
    put16(1084, 428);                          // C-3, sample 1 (high nibble 0)
    mod[1086] = 0x10;                          // sample 1 (low nibble), no effect
    for (int i = 0; i < 64; ++i) mod.push_back(char(i < 32 ? 100 : -100));
    return mod;
}

}  // namespace

// Each format loads, knows its length, and plays its sine on the left only,
// resampled from 44.1 kHz where the format allows (Opus runs at 48 kHz).
TEST(AudioFiles, EachFormatPlaysItsSoundToItsEndAtTheDeviceRate) {
    ScopedTempDir tmp;
    struct Case {
        const char *name;
        int format, rate;
        double tolerance;   // of the level: lossy formats blur it a little
    };
    const Case cases[] = {
        {"tone.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 0.01},
        {"tone.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 44100, 0.01},
        {"tone.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 44100, 0.05},
        {"tone.opus", SF_FORMAT_OGG | SF_FORMAT_OPUS, 48000, 0.05},
        {"tone.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 44100, 0.05},
    };
    SoundSystem *system = soundSystemCreate();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = writeSine(tmp.path(), c.name, c.format, c.rate, 2, 441, 1.0);
        std::string why;
        EXPECT_NE(soundSystemCreateSoundFromFile(system, path, why), nullptr);
        EXPECT_EQ(why, "");
        Sound *sound = soundSystemCreateSound(system, path.c_str());
        ASSERT_NE(sound, nullptr);
        EXPECT_NEAR(soundLengthSeconds(sound), 1.0, 0.06);
        std::vector<float> stereo;
        const size_t frames = renderAll(sound, stereo);
        EXPECT_NEAR(double(frames), RATE * soundLengthSeconds(sound), 2.0) << "played once to its end";
        EXPECT_NEAR(rms(stereo, 0, RATE / 10, RATE * 9 / 10), 0.5 / std::sqrt(2.0), c.tolerance);
        EXPECT_LT(rms(stereo, 1, RATE / 10, RATE * 9 / 10), 0.02) << "the right side stays silent";

        soundRewind(sound);
        std::vector<float> again(2 * 1000);
        EXPECT_EQ(soundRenderFrames(sound, RATE, again.data(), 1000), 1000u);
        EXPECT_EQ(std::vector<float>(stereo.begin(), stereo.begin() + 2000), again) << "rewound to its start";
    }
}

// Resampled 44.1 kHz mono comes out on both sides as the same sine sampled
// at the device rate, across the decoder's block boundaries.
TEST(AudioFiles, ResamplingKeepsTheWaveAndAMonoFileSoundsOnBothSides) {
    ScopedTempDir tmp;
    const std::string path = writeSine(tmp.path(), "mono.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 44100, 1, 1000, 0.5);
    Sound *sound = soundSystemCreateSound(soundSystemCreate(), path.c_str());
    ASSERT_NE(sound, nullptr);
    std::vector<float> stereo;
    ASSERT_EQ(renderAll(sound, stereo), size_t(RATE / 2));
    double worst = 0;
    for (size_t f = 0; f + 4 < size_t(RATE / 2); ++f) {
        const double expected = 0.5 * std::sin(2 * PI * 1000 * double(f) / RATE);
        worst = std::max({worst, std::fabs(stereo[f * 2] - expected), std::fabs(stereo[f * 2 + 1] - expected)});
    }
    EXPECT_LT(worst, 0.002);
}

TEST(AudioFiles, AProtrackerModuleLoadsAndSounds) {
    ScopedTempDir tmp;
    const std::string path = tmp.path() + "/song";
    const std::vector<char> bytes = protrackerModule();
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    Sound *sound = soundSystemCreateSound(soundSystemCreate(), path.c_str());
    ASSERT_NE(sound, nullptr);
    EXPECT_GT(soundLengthSeconds(sound), 1.0);
    std::vector<float> stereo(RATE / 2 * 2);
    soundRenderFrames(sound, RATE, stereo.data(), RATE / 2);
    EXPECT_GT(rms(stereo, 0, 0, RATE / 2) + rms(stereo, 1, 0, RATE / 2), 0.05);
}
