// The soundtrack: the music from the archive, cut into pieces of any size,
// is sample for sample what the device gets in its blocks; no music is silence.
#include "show/music.h"
#include "recording/soundtrack.h"
#include "assets/asset_store.h"
#include "platform/sound_system.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(Soundtrack, PiecesOfAnySizeAreTheDevicesBlocksExactly) {
    ScopedTempDir tmp;
    loadMusic();
    ASSERT_NE(musicState().musicSound, nullptr);
    EXPECT_NEAR(musicSeconds(), 171.7, 0.1);
    // What the device is fed: fresh from the file, block after block.
    Sound *device = soundSystemCreateSound(musicState().musicSystem, musicState().musicTempPath.c_str());
    releaseMusic();
    AssetStore::destroyInstance();
    const size_t total = SOUNDTRACK_RATE * 3;
    std::vector<float> played(total * 2 + SOUND_DEVICE_FRAMES * 2);
    for (size_t done = 0; done < total; done += SOUND_DEVICE_FRAMES) {
        soundRenderFrames(device, SOUND_DEVICE_RATE, played.data() + done * 2, SOUND_DEVICE_FRAMES);
    }

    startSoundtrack();
    std::vector<float> recorded(total * 2);
    // Frames of 60, 30 and 7 frames a second, and a block and a half.
    const size_t pieces[] = {800, 1600, 6857, 1536};
    for (size_t done = 0, i = 0; done < total; ++i) {
        const size_t count = std::min(pieces[i % 4], total - done);
        renderSoundtrack(recorded.data() + done * 2, count);
        done += count;
    }
    size_t differing = 0;
    for (size_t i = 0; i < total * 2; ++i) differing += recorded[i] != played[i];
    EXPECT_EQ(differing, 0u);
    EXPECT_TRUE(tmp.files().empty());
}

TEST(Soundtrack, WithoutMusicIsSilence) {
    resetMusic();
    startSoundtrack();
    std::vector<float> recorded(4000, 1.0f);
    renderSoundtrack(recorded.data(), 2000);
    for (float v : recorded) ASSERT_EQ(v, 0.0f);
    EXPECT_EQ(musicSeconds(), 0.0);
}

}  // namespace
