#include "show/music.h"

#include "assets/asset_store.h"
#include "platform/sound_system.h"
#include "platform/temp_file.h"
#include "show/show_content.h"

#include <utility>

// Made by the first step that needs it and kept to the process end (the
// sound plays on through it): nothing of it is built before main.
static MusicState *record = nullptr;

static MusicState &musicRecord() {
    if (!record) record = new MusicState;
    return *record;
}

const MusicState &musicState() { return musicRecord(); }

void createMusicSystem() {
    MusicState &music = musicRecord();
    if (!music.musicSystem) music.musicSystem = soundSystemCreate();
    soundSystemInit(music.musicSystem, 100);
}

void loadMusic() {
    MusicState &music = musicRecord();
    // A recording renders the music itself: its system never starts audio.
    if (!music.musicSystem) music.musicSystem = soundSystemCreate();
    const ShowContent &content = showContent();
    music.silentShow = content.musicFile.empty() && content.ownPhotos();
    if (music.silentShow) return;
    if (!content.musicFile.empty()) {
        music.musicSound = music.ownSound ? std::exchange(music.ownSound, nullptr)
                                          : soundSystemCreateSound(music.musicSystem, content.musicFile.c_str());
        return;
    }
    // The temporary file has no extension: the module is known by its content.
    music.musicTempPath = AssetStore::instance()->extractToTempFile("HALVIX.xm");
    music.musicSound = soundSystemCreateSound(music.musicSystem, music.musicTempPath.c_str());
}

std::string loadOwnMusic(const std::string &path) {
    MusicState &music = musicRecord();
    if (!music.musicSystem) music.musicSystem = soundSystemCreate();
    std::string why;
    music.ownSound = soundSystemCreateSoundFromFile(music.musicSystem, path, why);
    return why;
}

void startMusic() {
    MusicState &music = musicRecord();
    soundSystemPlaySound(music.musicSystem, SOUND_CHANNEL_FREE, music.musicSound, false);
}

void releaseMusic() {
    MusicState &music = musicRecord();
    if (!music.musicTempPath.empty()) removeTempFile(music.musicTempPath);
    music.musicTempPath.clear();
}

void resetMusic() {
    MusicState &music = musicRecord();
    releaseMusic();
    music.musicSound = nullptr;
    music.silentShow = false;
}
