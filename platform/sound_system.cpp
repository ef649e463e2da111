#include "platform/sound_system.h"

#include "platform/audio_file.h"
#include "platform/file_bytes.h"
#include "platform/temp_file.h"

#include <SDL2/SDL.h>                   // audio device and its thread
#include <libopenmpt/libopenmpt.hpp>    // module loading and rendering

#include <dlfcn.h>                      // reaching alsa-lib's error handler without linking it

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

static constexpr int DEVICE_RATE = SOUND_DEVICE_RATE;         // Hz asked for; the device may choose another
static constexpr Uint16 DEVICE_FRAMES = SOUND_DEVICE_FRAMES;  // frames per callback asked for (~21 ms)
static constexpr double EXIT_FADE_SECONDS = 0.02;   // ramp to silence before the device closes
static constexpr int EXIT_FADE_WAIT_MS = 250;       // longest wait for that ramp to be played

struct Sound {
    Sound *next = nullptr;              // the owning system's list of sounds
    // Where libopenmpt's messages go: nowhere. Declared before the module,
    // which keeps a reference to it. Written by whichever thread renders.
    std::ostream log{nullptr};
    std::unique_ptr<openmpt::module> module;   // a module, or else
    AudioFilePointer audio;                    // an ordinary audio file
};

namespace {

// What the audio thread plays on one channel. Written by the main thread only
// while it holds the device lock; `finished` is set by the audio thread.
struct Channel {
    Sound *sound = nullptr;
    bool paused = false;
    bool finished = false;              // the sound rendered its last frame
};

enum FadeState : int { PLAYING, FADE_REQUESTED, FADED };

}  // namespace

struct SoundSystem {
    SoundSystem *next = nullptr;        // every system made, for the teardown at exit
    Sound *sounds = nullptr;            // every sound made from this system; never released
    bool initialised = false;           // the audio subsystem is up
    bool deviceFailed = false;          // the device would not open: silent for good
    SDL_AudioDeviceID device = 0;       // 0 until the first sound is played
    int rate = 0;                       // Hz the device runs at
    std::vector<Channel> channels;      // maxChannels; shared with the audio thread (device lock)
    // Audio thread only, from the device's opening on.
    std::vector<float> scratch;         // one channel's frames before mixing, stereo
    float fadeGain = 1.0f;
    // The exit teardown asks for a fade; the audio thread reports it done.
    std::atomic<int> fade{PLAYING};
};

static SoundSystem *allSystems = nullptr;

// ---- Quiet audio libraries.

// alsa-lib prints its errors on stderr (a machine with no sound card gives a
// dozen lines when the default device fails to open). SDL loads alsa-lib
// itself; the handler is set through the same, already shared, library so
// that no link dependency is added. The handle is kept open for good so the
// handler stays in place.
using AlsaErrorHandler = void (*)(const char *, int, const char *, int, const char *, ...);
static void ignoreAlsaError(const char *, int, const char *, int, const char *, ...) {}

static void quietAudioLibraries() {
    static bool done = false;
    if (done) return;
    done = true;
    if (void *alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL)) {
        using SetHandler = int (*)(AlsaErrorHandler);
        if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"))) set(ignoreAlsaError);
    }
    // SDL's own audio notices (the disk driver announces itself) stay unsaid too.
    SDL_LogSetPriority(SDL_LOG_CATEGORY_AUDIO, SDL_LogPriority(SDL_NUM_LOG_PRIORITIES));
}

// ---- Rendering, on whichever thread owns the sound at the time.

static size_t renderSound(Sound &sound, int rate, float *stereo, size_t frames) noexcept {
    try {
        if (sound.audio) return audioFileRender(*sound.audio, rate, stereo, frames);
        return sound.module->read_interleaved_stereo(rate, frames, stereo);
    } catch (...) {
        return 0;
    }
}

// Adds one channel's frames into out; marks the channel finished at the sound's end.
static void mixChannel(SoundSystem &system, Channel &channel, float *out, size_t frames) {
    size_t capacity = system.scratch.size() / 2;
    for (size_t done = 0; done < frames;) {
        size_t wanted = std::min(frames - done, capacity);
        size_t got = renderSound(*channel.sound, system.rate, system.scratch.data(), wanted);
        for (size_t i = 0; i < got * 2; ++i) out[done * 2 + i] += system.scratch[i];
        done += got;
        if (got < wanted) {
            channel.finished = true;
            return;
        }
    }
}

// Audio thread: SDL calls this with the device lock held, so the channel
// table cannot change underneath it.
static void SDLCALL fillDeviceBuffer(void *userdata, Uint8 *stream, int length) {
    SoundSystem &system = *static_cast<SoundSystem *>(userdata);
    float *out = reinterpret_cast<float *>(stream);
    size_t frames = size_t(length) / (2 * sizeof(float));
    std::fill(out, out + frames * 2, 0.0f);
    if (system.fade.load(std::memory_order_acquire) == FADED) return;
    for (Channel &channel : system.channels) {
        if (channel.sound && !channel.paused && !channel.finished) mixChannel(system, channel, out, frames);
    }
    for (size_t i = 0; i < frames * 2; ++i) out[i] = std::clamp(out[i], -1.0f, 1.0f);
    if (system.fade.load(std::memory_order_acquire) != FADE_REQUESTED) return;
    float step = float(1.0 / (EXIT_FADE_SECONDS * system.rate));
    for (size_t f = 0; f < frames; ++f) {
        system.fadeGain = std::max(0.0f, system.fadeGain - step);
        out[f * 2] *= system.fadeGain;
        out[f * 2 + 1] *= system.fadeGain;
    }
    if (system.fadeGain == 0.0f) system.fade.store(FADED, std::memory_order_release);
}

// ---- Teardown at process exit.

// Runs before the destructors of everything constructed before the first
// device opened (libopenmpt's and the program's own), because it is
// registered then. Fades each playing device out so the end makes no click,
// then closes it, which joins SDL's audio thread.
static void closeDevicesAtExit() {
    for (SoundSystem *system = allSystems; system; system = system->next) {
        if (!system->device) continue;
        if (SDL_GetAudioDeviceStatus(system->device) == SDL_AUDIO_PLAYING) {
            system->fade.store(FADE_REQUESTED, std::memory_order_release);
            for (int waited = 0; waited < EXIT_FADE_WAIT_MS && system->fade.load(std::memory_order_acquire) != FADED;
                 ++waited) {
                SDL_Delay(1);
            }
        }
        SDL_CloseAudioDevice(system->device);
        system->device = 0;
    }
}

// Opens the default device for 32-bit float stereo at the rate it prefers
// and starts its thread. False when there is none.
static bool openDevice(SoundSystem &system) {
    SDL_AudioSpec wanted{};
    wanted.freq = DEVICE_RATE;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = 2;
    wanted.samples = DEVICE_FRAMES;
    wanted.callback = fillDeviceBuffer;
    wanted.userdata = &system;
    SDL_AudioSpec obtained{};
    SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained,
                                                   SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_SAMPLES_CHANGE);
    if (device == 0) return false;
    system.device = device;
    system.rate = obtained.freq;
    system.scratch.assign(size_t(std::max<int>(obtained.samples, 256)) * 2, 0.0f);
    static bool teardownRegistered = false;
    if (!teardownRegistered) teardownRegistered = std::atexit(closeDevicesAtExit) == 0;
    SDL_PauseAudioDevice(device, 0);
    return true;
}

// ---- Loading.

// The file's bytes; empty when it cannot be read (missing, a folder, empty).
static std::vector<char> readWholeFile(const char *path) {
    std::vector<char> bytes;
    std::FILE *file = openTempFile(path, "rb");
    if (!file) return bytes;
    char block[16384];
    for (size_t got; (got = std::fread(block, 1, sizeof block, file)) > 0;) bytes.insert(bytes.end(), block, block + got);
    if (std::ferror(file)) bytes.clear();
    std::fclose(file);
    return bytes;
}

// The bytes as a sound: a module libopenmpt knows, else an audio file
// libsndfile reads; null when neither.
static std::unique_ptr<Sound> soundFromBytes(std::vector<char> bytes) {
    auto sound = std::make_unique<Sound>();
    try {
        // "stop": the song ends exactly at its end, with no fade added.
        const std::map<std::string, std::string> settings = {{"play.at_end", "stop"}};
        sound->module = std::make_unique<openmpt::module>(bytes, sound->log, settings);
        sound->module->set_repeat_count(0);     // play once
        // A moment rendered now, on the main thread, makes whatever libopenmpt
        // sets up on its first render exist before the exit teardown is
        // registered (with the first play), so it outlives the audio thread.
        float moment[2 * 64];
        sound->module->read_interleaved_stereo(DEVICE_RATE, 64, moment);
        sound->module->set_position_order_row(0, 0);
        return sound;
    } catch (...) {
        sound->module.reset();          // not a module libopenmpt knows
    }
    sound->audio = audioFileOpen(std::move(bytes));
    if (!sound->audio) return nullptr;
    return sound;
}

// ---- The operations: the system's four (create, init, create a sound, play
// it), then the three on a sound that no channel plays (render, rewind, length).

SoundSystem *soundSystemCreate() {
    auto *system = new SoundSystem;
    system->next = allSystems;
    allSystems = system;
    return system;
}

bool soundSystemInit(SoundSystem *system, int maxChannels) {
    if (!system || maxChannels < 1) return false;
    if (system->initialised) return true;
    quietAudioLibraries();
    // Audio starts SDL's event system, which would otherwise take SIGINT and
    // SIGTERM from the program's own handlers into an event nobody reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    system->channels.assign(size_t(maxChannels), Channel{});
    system->initialised = true;
    return true;
}

// The bytes as one of system's sounds; null when they are none.
static Sound *systemSoundFromBytes(SoundSystem *system, std::vector<char> bytes) {
    std::unique_ptr<Sound> sound = soundFromBytes(std::move(bytes));
    if (!sound) return nullptr;
    sound->next = system->sounds;
    system->sounds = sound.get();
    return sound.release();
}

Sound *soundSystemCreateSound(SoundSystem *system, const char *path) {
    if (!system || !path) return nullptr;
    std::vector<char> bytes = readWholeFile(path);
    if (bytes.empty()) return nullptr;
    return systemSoundFromBytes(system, std::move(bytes));
}

Sound *soundSystemCreateSoundFromFile(SoundSystem *system, const std::string &path, std::string &why) {
    if (!system) return nullptr;
    std::vector<uint8_t> bytes;
    if (!readFileBytes(path, bytes, why)) return nullptr;
    if (bytes.empty()) {
        why = "the file is empty";
        return nullptr;
    }
    Sound *sound = systemSoundFromBytes(system, std::vector<char>(bytes.begin(), bytes.end()));
    if (!sound) why = "neither a module nor an audio file this program reads";
    return sound;
}

void soundSystemPlaySound(SoundSystem *system, int channel, Sound *sound, bool paused) {
    if (!system || !sound || !system->initialised || system->deviceFailed) return;
    if (!system->device && !openDevice(*system)) {
        system->deviceFailed = true;
        return;
    }
    SDL_LockAudioDevice(system->device);
    std::vector<Channel> &channels = system->channels;
    // The sound leaves any channel it is on, so the choice below may take that one.
    for (Channel &c : channels) {
        if (c.sound == sound) c = Channel{};
    }
    int slot = channel;
    if (channel == SOUND_CHANNEL_FREE) {
        auto free = std::find_if(channels.begin(), channels.end(), [](const Channel &c) { return !c.sound || c.finished; });
        slot = free == channels.end() ? -1 : int(free - channels.begin());
    }
    if (slot >= 0 && slot < int(channels.size())) {
        soundRewind(sound);
        channels[size_t(slot)] = Channel{sound, paused, false};
    }
    SDL_UnlockAudioDevice(system->device);
}

size_t soundRenderFrames(Sound *sound, int sampleRate, float *stereo, size_t frames) {
    if (!stereo) return 0;
    size_t got = sound ? renderSound(*sound, sampleRate, stereo, frames) : 0;
    for (size_t i = 0; i < got * 2; ++i) stereo[i] = std::clamp(stereo[i], -1.0f, 1.0f);
    std::fill(stereo + got * 2, stereo + frames * 2, 0.0f);
    return got;
}

void soundRewind(Sound *sound) {
    if (!sound) return;
    if (sound->audio) {
        audioFileRewind(*sound->audio);
        return;
    }
    try {
        if (sound->module->get_position_seconds() != 0.0) sound->module->set_position_order_row(0, 0);
    } catch (...) {
    }
}

double soundLengthSeconds(Sound *sound) {
    if (!sound) return 0;
    if (sound->audio) return audioFileSeconds(*sound->audio);
    try {
        return sound->module->get_duration_seconds();
    } catch (...) {
        return 0;
    }
}
