#pragma once
// The sound system: loads a tracker module (XM and the other formats
// libopenmpt knows) or an ordinary audio file (WAV, FLAC, Ogg Vorbis, Opus,
// MP3: what libsndfile reads), recognised by content, never by file name,
// and plays it on the audio device's own thread, with no further calls from
// the program.
//
// Thread rules: every function here is called from the main thread only.
// The audio thread (SDL's) reads only the sounds on its channels and their
// own play positions; it never touches program state. The device opens with
// the first sound played, so nothing reaches the device (not even silence)
// before that; it is fed 32-bit float stereo, at 48000 Hz unless the device
// prefers another rate (SDL's disk driver writes exactly that).
//
// Lifetime: systems and sounds are never released by the program. When the
// process ends, the device is faded out and closed (joining the audio thread)
// before anything the thread reads can be destroyed; the sounds themselves
// are never destroyed, so the thread can never touch a destroyed module.
//
// Failures are states, not crashes: with no audio device, or a file that is
// not a module, the functions return null, false or do nothing, and say
// nothing (audio library noise is kept off the terminal).
#include <cstddef>
#include <string>

struct SoundSystem;
struct Sound;

constexpr int SOUND_CHANNEL_FREE = -1;      // soundSystemPlaySound: any free channel
// What the device is asked for: the rate in Hz and the frames rendered at a
// time. A device that grants both plays exactly what soundRenderFrames gives
// when called with them (a module's sound depends on the block size).
constexpr int SOUND_DEVICE_RATE = 48000;
constexpr size_t SOUND_DEVICE_FRAMES = 1024;

// A new sound system, not yet initialised; never null.
SoundSystem *soundSystemCreate();

// Makes the system ready to play up to maxChannels (1..) sounds at once:
// starts the audio subsystem and chooses its driver. False (and a silent
// system) when there is no audio driver; a device that later fails to open
// also leaves the system silent.
bool soundSystemInit(SoundSystem *system, int maxChannels);

// Reads the whole file at path now and prepares it to play once, to its end,
// then silence. Null when the file is missing or neither a module nor an
// audio file. The file is not needed afterwards: the caller may delete it at
// once. An audio file is kept as its bytes (compressed as it was) and decoded
// as it plays. Works with or without an audio device.
Sound *soundSystemCreateSound(SoundSystem *system, const char *path);

// As soundSystemCreateSound, for the viewer's own file at path: null, with
// why saying why ("No such file or directory", "a folder", "neither a module
// nor an audio file ..."), when it cannot be a sound. Works with a system
// not yet initialised.
Sound *soundSystemCreateSoundFromFile(SoundSystem *system, const std::string &path, std::string &why);

// Starts sound from its beginning on channel (SOUND_CHANNEL_FREE: the first
// free one; else 0..maxChannels-1), opening the device on first use. A sound
// plays on one channel at a time: playing it again restarts it. A paused
// sound holds its channel silently. Does nothing when system or sound is
// null, the system has no device, or no channel is free.
void soundSystemPlaySound(SoundSystem *system, int channel, Sound *sound, bool paused);

// Renders the sound's next frames into stereo (interleaved left, right;
// clamped to -1..1 as the device's mix is) at sampleRate Hz without any
// device, advancing its position like playing would. Returns the frames
// rendered: fewer than asked at its end (the rest of the buffer is zeroed),
// 0 after it. Only for a sound that no channel plays.
size_t soundRenderFrames(Sound *sound, int sampleRate, float *stereo, size_t frames);

// Puts the sound back at its start, as playing it does. Only for a sound
// that no channel plays; takes null.
void soundRewind(Sound *sound);

// How long the sound plays once from its start, in seconds; 0 for null.
double soundLengthSeconds(Sound *sound);
