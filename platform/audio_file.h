#pragma once
// An ordinary audio file (WAV, FLAC, Ogg Vorbis, Opus, MP3: whatever
// libsndfile reads), the sound system's other kind of sound beside a module.
// Its bytes are held as the file had them (a compressed song stays small) and
// decoded on demand, a block at a time, from memory: rendering never touches
// the disk and allocates nothing. Rendered at any rate: a rate other than the
// file's is reached by cubic interpolation between its frames.
//
// Platform-internal: only the sound system uses it. One thread at a time:
// whichever renders the sound (the audio thread while a channel plays it).
#include <cstddef>
#include <memory>
#include <vector>

struct AudioFile;

struct AudioFileDeleter {
    void operator()(AudioFile *file) const;
};
using AudioFilePointer = std::unique_ptr<AudioFile, AudioFileDeleter>;

// The file's bytes as an audio file, taking them over; null when libsndfile
// does not read them as audio (or they hold no frame).
AudioFilePointer audioFileOpen(std::vector<char> bytes);

// Renders the next frames into stereo (interleaved left, right) at rate Hz:
// a mono file on both sides, the first two channels of a file with more.
// Returns the frames rendered: fewer than asked at the file's end, 0 after.
size_t audioFileRender(AudioFile &file, int rate, float *stereo, size_t frames);

// Back to the first frame.
void audioFileRewind(AudioFile &file);

// The file's length in seconds, at its own rate.
double audioFileSeconds(const AudioFile &file);
