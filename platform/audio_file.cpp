#include "platform/audio_file.h"

#include <sndfile.h>   // audio file decoding, from memory through its virtual I/O

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

static constexpr size_t BLOCK_FRAMES = 4096;   // decoded at a time (~85 ms at 48 kHz)
// Frames kept from the previous block when the window moves on: the cubic
// interpolation reads one frame before the one it stands on and two after.
static constexpr size_t KEPT_FRAMES = 4;

struct AudioFile {
    std::vector<char> bytes;              // the whole file, as read
    sf_count_t readAt = 0;                // libsndfile's read position in bytes
    SNDFILE *decoder = nullptr;
    SF_INFO info{};
    std::vector<float> decoded;           // one block as libsndfile gives it: BLOCK_FRAMES x channels
    // Source frames [windowStart, windowStart + windowFrames), stereo interleaved.
    std::vector<float> window;            // (KEPT_FRAMES + BLOCK_FRAMES) x 2
    int64_t windowStart = 0;
    size_t windowFrames = 0;
    bool decodedAll = false;              // the decoder reached the file's end
    double position = 0;                  // the next frame to render, in source frames
};

// ---- libsndfile's virtual I/O over the bytes in memory.

static sf_count_t memoryLength(void *file) { return sf_count_t(static_cast<AudioFile *>(file)->bytes.size()); }

static sf_count_t memorySeek(sf_count_t offset, int whence, void *file) {
    AudioFile &audio = *static_cast<AudioFile *>(file);
    const sf_count_t size = sf_count_t(audio.bytes.size());
    sf_count_t to = offset;
    if (whence == SEEK_CUR) to += audio.readAt;
    if (whence == SEEK_END) to += size;
    audio.readAt = std::clamp<sf_count_t>(to, 0, size);
    return audio.readAt;
}

static sf_count_t memoryRead(void *into, sf_count_t count, void *file) {
    AudioFile &audio = *static_cast<AudioFile *>(file);
    const sf_count_t got = std::clamp<sf_count_t>(sf_count_t(audio.bytes.size()) - audio.readAt, 0, count);
    std::memcpy(into, audio.bytes.data() + audio.readAt, size_t(got));
    audio.readAt += got;
    return got;
}

static sf_count_t memoryWrite(const void *, sf_count_t, void *) { return 0; }   // read only

static sf_count_t memoryTell(void *file) { return static_cast<AudioFile *>(file)->readAt; }

void AudioFileDeleter::operator()(AudioFile *file) const {
    if (file && file->decoder) sf_close(file->decoder);
    delete file;
}

AudioFilePointer audioFileOpen(std::vector<char> bytes) {
    AudioFilePointer file(new AudioFile);
    file->bytes = std::move(bytes);
    SF_VIRTUAL_IO io = {memoryLength, memorySeek, memoryRead, memoryWrite, memoryTell};
    file->decoder = sf_open_virtual(&io, SFM_READ, &file->info, file.get());
    if (!file->decoder || file->info.channels < 1 || file->info.samplerate < 1 || file->info.frames < 1) return nullptr;
    file->decoded.assign(BLOCK_FRAMES * size_t(file->info.channels), 0.0f);
    file->window.assign((KEPT_FRAMES + BLOCK_FRAMES) * 2, 0.0f);
    return file;
}

// Moves the window on until it holds frame last, or the file has ended:
// keeps its last frames, appends the next decoded block.
static void decodeThrough(AudioFile &file, int64_t last) {
    while (last >= file.windowStart + int64_t(file.windowFrames) && !file.decodedAll) {
        const size_t kept = std::min(file.windowFrames, KEPT_FRAMES);
        std::copy_n(file.window.begin() + ptrdiff_t((file.windowFrames - kept) * 2), kept * 2, file.window.begin());
        file.windowStart += int64_t(file.windowFrames - kept);
        file.windowFrames = kept;
        const size_t channels = size_t(file.info.channels);
        const size_t got = size_t(std::max<sf_count_t>(0, sf_readf_float(file.decoder, file.decoded.data(), BLOCK_FRAMES)));
        for (size_t f = 0; f < got; ++f) {
            const float *frame = &file.decoded[f * channels];
            file.window[(kept + f) * 2] = frame[0];
            file.window[(kept + f) * 2 + 1] = frame[channels > 1 ? 1 : 0];
        }
        file.windowFrames += got;
        if (got < BLOCK_FRAMES) file.decodedAll = true;
    }
}

// Frame index of the source, silence before the first and after the last.
static const float *sourceFrame(const AudioFile &file, int64_t index) {
    static const float silence[2] = {0, 0};
    const int64_t at = index - file.windowStart;
    if (at < 0 || at >= int64_t(file.windowFrames)) return silence;
    return &file.window[size_t(at) * 2];
}

// Catmull-Rom: through p1 at t = 0 and p2 at t = 1.
static float cubic(float p0, float p1, float p2, float p3, float t) {
    return p1 + 0.5f * t * (p2 - p0 + t * (2.0f * p0 - 5.0f * p1 + 4.0f * p2 - p3 + t * (3.0f * (p1 - p2) + p3 - p0)));
}

size_t audioFileRender(AudioFile &file, int rate, float *stereo, size_t frames) {
    if (rate < 1) return 0;
    const double step = double(file.info.samplerate) / double(rate);
    size_t done = 0;
    for (; done < frames; ++done) {
        const double whole = std::floor(file.position);
        const int64_t index = int64_t(whole);
        decodeThrough(file, index + 2);
        if (file.decodedAll && index >= file.windowStart + int64_t(file.windowFrames)) break;
        const float t = float(file.position - whole);
        const float *p[4] = {sourceFrame(file, index - 1), sourceFrame(file, index), sourceFrame(file, index + 1),
                             sourceFrame(file, index + 2)};
        for (int side = 0; side < 2; ++side) {
            stereo[done * 2 + size_t(side)] = cubic(p[0][side], p[1][side], p[2][side], p[3][side], t);
        }
        file.position += step;
    }
    return done;
}

void audioFileRewind(AudioFile &file) {
    sf_seek(file.decoder, 0, SEEK_SET);
    file.windowStart = 0;
    file.windowFrames = 0;
    file.decodedAll = false;
    file.position = 0;
}

double audioFileSeconds(const AudioFile &file) { return double(file.info.frames) / double(file.info.samplerate); }
