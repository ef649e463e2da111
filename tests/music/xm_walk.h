#pragma once
// A reader of XM files for tests: walks every header, pattern and sample of
// the file by the sizes it declares, independently of any player, and keeps
// what the tests look at.
#include <cstdint>
#include <string>
#include <vector>

struct XmWalkCell {
    int note = 0, instrument = 0, volume = 0, effect = 0, param = 0;
};

struct XmWalkInstrument {
    std::string name;
    int samples = 0;
    bool volumeEnvelope = false;
    bool panningEnvelope = false;
    size_t sampleBytes = 0;             // all its samples' data
};

struct XmWalk {
    std::string error;                  // empty when the whole file was walked
    size_t bytesWalked = 0;             // where the walk ended
    int version = 0;
    int songLength = 0, restartPosition = 0, channels = 0, flags = 0, speed = 0, bpm = 0;
    std::vector<int> orders;            // songLength entries
    std::vector<std::vector<XmWalkCell>> patterns;   // rows * channels cells each
    std::vector<XmWalkInstrument> instruments;
};

XmWalk walkXm(const std::vector<uint8_t> &file);
