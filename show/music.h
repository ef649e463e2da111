#pragma once
// The music: one tracker module from the archive ("HALVIX.xm"), or the
// viewer's own music file (a module or an audio file) when the show's
// content names one, loaded at scene set-up and played from the first frame
// to its end, then silence. A show of the viewer's own photographs without
// music of their own is silent. Nothing stops it: it plays on through
// shutdown until the process ends.
#include <string>

struct SoundSystem;
struct Sound;

// The music's state, one record for the module (kept in it), with its start values.
struct MusicState {
    SoundSystem *musicSystem = nullptr;   // made once a run needs it; never released
    Sound *musicSound = nullptr;          // null until loadMusic, or when it failed; never released
    std::string musicTempPath;            // the module's temporary file; releaseMusic deletes it
    bool silentShow = false;              // loadMusic found no music chosen: silence by design
    Sound *ownSound = nullptr;            // the viewer's music, loaded by loadOwnMusic until loadMusic takes it
};

// The music's state as it stands.
const MusicState &musicState();

// Creates and initialises the sound system (100 channels), which starts the
// audio library: it may write files of its own (an audio server's runtime
// folders), so it runs only once a presentation is sure to run, never for
// --help, a usage error, the dialog's Exit or a recording.
void createMusicSystem();

// Loads the viewer's music file at path now, before anything opens, so that
// one that cannot be music ends the command at once: why it cannot, or "".
// The sound system is made for it but not started. loadMusic takes the
// sound rather than read the file again.
std::string loadOwnMusic(const std::string &path);

// Loads the viewer's music file (taking what loadOwnMusic loaded), or else extracts the module to a temporary
// file and loads it (nothing for a silent show). Last step of scene set-up. Without createMusicSystem before (a recording), the system is made
// here without audio: the sound loads and renders, nothing plays.
void loadMusic();

// Plays the module once on a free channel. First step of the frame loop.
void startMusic();

// Deletes the module's temporary file and forgets its path; the sound plays
// on (it was read whole). Harmless when there is none. Runs at shutdown.
void releaseMusic();

// releaseMusic, and forgets the sound (which plays on to its end); the sound
// system stays, ready for the next loadMusic.
void resetMusic();
