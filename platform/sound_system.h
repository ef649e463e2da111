#pragma once
// The sound system: loads a tracker module (XM and the other formats
// libopenmpt knows, recognised by content) from a file and plays it on the
// audio device's own thread, with no further calls from the program.
//
// Thread rules: every function here is called from the main thread only.
// The audio thread (SDL's) reads only the playing module and its own
// position; it never touches program state.
//
// Failures are states, not crashes: with no audio device, or a file that is
// not a module, the functions return null or do nothing, and say nothing.

struct SoundSystem;
struct Sound;

constexpr unsigned SOUND_INIT_NORMAL = 0;   // soundSystemInit flags
constexpr unsigned SOUND_DEFAULT = 0;       // soundSystemCreateSound mode: no loop, not streamed
constexpr int SOUND_CHANNEL_FREE = -1;      // soundSystemPlaySound: any free channel

// A new sound system, not yet initialised; never null.
SoundSystem *soundSystemCreate();

// Opens the audio device for up to maxChannels sounds at once. False (and a
// silent system) when there is no audio device.
bool soundSystemInit(SoundSystem *system, int maxChannels, unsigned flags);

// Reads the whole file at path now and prepares it to play once, to its end,
// then silence. Null when the file is missing or not a module. The file is
// not needed afterwards: the caller may delete it at once.
Sound *soundSystemCreateSound(SoundSystem *system, const char *path, unsigned mode);

// Starts sound from its beginning on a free channel, unpaused unless paused.
// Does nothing when system or sound is null or the system has no device.
void soundSystemPlaySound(SoundSystem *system, int channel, Sound *sound, bool paused);
