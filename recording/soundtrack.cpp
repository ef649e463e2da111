#include "recording/soundtrack.h"

#include <algorithm>

#include "show/music.h"
#include "platform/sound_system.h"

static_assert(SOUNDTRACK_RATE == SOUND_DEVICE_RATE, "the soundtrack is what the device is asked to play");

namespace {
// One device block at a time: the module sounds the same only when it is
// rendered in the blocks the device asks for.
struct Soundtrack {
    float block[SOUND_DEVICE_FRAMES * 2] = {};
    size_t used = SOUND_DEVICE_FRAMES;   // frames of block already handed out
};
Soundtrack soundtrack;
}  // namespace

void startSoundtrack() {
    soundtrack = Soundtrack{};
    soundRewind(musicState().musicSound);
}

void renderSoundtrack(float *stereo, size_t frames) {
    while (frames > 0) {
        if (soundtrack.used == SOUND_DEVICE_FRAMES) {
            soundRenderFrames(musicState().musicSound, SOUND_DEVICE_RATE, soundtrack.block, SOUND_DEVICE_FRAMES);
            soundtrack.used = 0;
        }
        const size_t count = std::min(frames, SOUND_DEVICE_FRAMES - soundtrack.used);
        std::copy_n(soundtrack.block + soundtrack.used * 2, count * 2, stereo);
        soundtrack.used += count;
        stereo += count * 2;
        frames -= count;
    }
}

double musicSeconds() { return soundLengthSeconds(musicState().musicSound); }
