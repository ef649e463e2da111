#include "app/music.h"

#include <cstdio>

#include "assets/asset_store.h"
#include "platform/sound_system.h"

SoundSystem *musicSystem = nullptr;
Sound *musicSound = nullptr;
std::string musicTempPath;

void createMusicSystem() {
    musicSystem = soundSystemCreate();
    soundSystemInit(musicSystem, 100, SOUND_INIT_NORMAL);
}

// The sound system exists before main runs, while the settings dialog shows
// too, like the program's other static objects. Defined after musicTempPath,
// so that string is constructed first.
[[maybe_unused]] static const bool musicSystemCreated = (createMusicSystem(), true);

void loadMusic() {
    // The temporary file has no extension: the module is known by its content.
    musicTempPath = AssetStore::instance()->extractToTempFile("HALVIX.xm");
    musicSound = soundSystemCreateSound(musicSystem, musicTempPath.c_str(), SOUND_DEFAULT);
}

void startMusic() {
    soundSystemPlaySound(musicSystem, SOUND_CHANNEL_FREE, musicSound, false);
}

void releaseMusic() {
    if (!musicTempPath.empty()) std::remove(musicTempPath.c_str());
    musicTempPath.clear();
}
