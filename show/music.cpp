#include "show/music.h"

#include "assets/asset_store.h"
#include "platform/sound_system.h"
#include "platform/temp_file.h"

static MusicState music;

const MusicState &musicState() { return music; }

void createMusicSystem() {
    if (!music.musicSystem) music.musicSystem = soundSystemCreate();
    soundSystemInit(music.musicSystem, 100, SOUND_INIT_NORMAL);
}

void loadMusic() {
    // A recording renders the music itself: its system never starts audio.
    if (!music.musicSystem) music.musicSystem = soundSystemCreate();
    // The temporary file has no extension: the module is known by its content.
    music.musicTempPath = AssetStore::instance()->extractToTempFile("HALVIX.xm");
    music.musicSound = soundSystemCreateSound(music.musicSystem, music.musicTempPath.c_str(), SOUND_DEFAULT);
}

void startMusic() {
    soundSystemPlaySound(music.musicSystem, SOUND_CHANNEL_FREE, music.musicSound, false);
}

void releaseMusic() {
    if (!music.musicTempPath.empty()) removeTempFile(music.musicTempPath);
    music.musicTempPath.clear();
}

void resetMusic() {
    releaseMusic();
    music.musicSound = nullptr;
}
