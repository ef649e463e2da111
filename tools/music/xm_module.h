#pragma once
// An extended module (XM, format version 1.04) held in memory, and its
// serialisation to the bytes of an .xm file. Only what the composer uses:
// one sample per instrument, 8-bit samples, linear frequency table.
#include <cstdint>
#include <string>
#include <vector>

// Note values of a pattern cell.
constexpr uint8_t XM_NO_NOTE = 0;
constexpr uint8_t XM_KEY_OFF = 97;      // releases the note: envelopes leave their sustain

// One channel on one row. Zero fields are empty; volume 0 means "no volume
// column" (set volume v is 0x10 + v, v 0..64).
struct XmCell {
    uint8_t note = XM_NO_NOTE;          // 1..96 = C-0..B-7, or XM_KEY_OFF
    uint8_t instrument = 0;             // 1-based, 0 = none
    uint8_t volume = 0;                 // volume column byte
    uint8_t effect = 0;                 // effect type 0x0..0x21 (0 with param 0 = none)
    uint8_t param = 0;                  // effect parameter
};

struct XmPattern {
    int rows = 64;                      // 1..256
    int channels = 0;
    std::vector<XmCell> cells;          // row-major: rows * channels

    XmPattern(int rowCount, int channelCount)
        : rows(rowCount), channels(channelCount), cells(size_t(rowCount) * channelCount) {}
    XmCell &at(int row, int channel) { return cells[size_t(row) * channels + channel]; }
    const XmCell &at(int row, int channel) const { return cells[size_t(row) * channels + channel]; }
};

// Volume or panning envelope: up to 12 points, x in ticks (rising), y 0..64.
struct XmEnvelope {
    struct Point { uint16_t tick; uint16_t value; };
    std::vector<Point> points;          // empty = envelope off
    int sustain = -1;                   // point index held until key off, -1 = none
    int loopStart = -1, loopEnd = -1;   // point indices, -1 = no loop
};

struct XmSample {
    std::string name;                   // up to 22 characters
    std::vector<int8_t> data;           // signed 8-bit PCM, stored delta-encoded
    uint32_t loopStart = 0;             // in samples
    uint32_t loopLength = 0;            // in samples, 0 = no loop
    bool pingPong = false;              // loop forwards and back instead of forwards
    uint8_t volume = 64;                // default volume 0..64
    int8_t finetune = 0;                // 1/128 semitone
    uint8_t panning = 128;              // 0 left .. 255 right
    int8_t relativeNote = 0;            // semitones; 0 plays C-4 at 8363 Hz
};

struct XmInstrument {
    std::string name;                   // up to 22 characters
    XmSample sample;                    // mapped to every note
    XmEnvelope volumeEnvelope;
    XmEnvelope panningEnvelope;
    uint8_t vibratoType = 0;            // auto-vibrato: 0 sine, 1 square, 2 ramp down, 3 ramp up
    uint8_t vibratoSweep = 0;           // ticks to reach full depth
    uint8_t vibratoDepth = 0;           // 0..15
    uint8_t vibratoRate = 0;            // 0..63
    uint16_t fadeout = 0;               // volume lost per tick after key off, /65536
};

struct XmModule {
    std::string name;                   // up to 20 characters
    std::string tracker;                // up to 20 characters
    int channels = 8;                   // 2..32, even
    int speed = 6;                      // ticks per row
    int bpm = 125;                      // tempo: a tick lasts 2.5 / bpm seconds
    int restartPosition = 0;            // order index a looping player goes back to
    std::vector<uint8_t> orders;        // pattern indices, played in this order
    std::vector<XmPattern> patterns;
    std::vector<XmInstrument> instruments;
};

// The bytes of an .xm file (version 1.04, linear frequencies, packed patterns).
std::vector<uint8_t> writeXm(const XmModule &module);
