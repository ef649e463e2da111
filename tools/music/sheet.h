#pragma once
// A pattern being written by hand: a small notation for melodies, drum lines,
// bass rhythms, chords and chip arpeggios, placed row by row onto the
// module's channels. 16 rows make a bar; four bars a 64-row pattern.
#include "tools/music/xm_module.h"

#include <string>
#include <vector>

// The channels of the song, in pattern order.
enum Channel { CH_KICK, CH_SNARE, CH_HAT, CH_BASS, CH_PAD_A, CH_PAD_B, CH_LEAD, CH_ECHO, CH_ARP, CH_FX, CHANNEL_COUNT };

constexpr int ROWS_PER_BAR = 16;

// XM effect types used by the song.
enum Effect : uint8_t {
    FX_ARPEGGIO = 0x0, FX_PORTA_UP = 0x1, FX_TONE_PORTA = 0x3, FX_VIBRATO = 0x4,
    FX_VOLUME_SLIDE = 0xA, FX_SET_TEMPO = 0xF, FX_GLOBAL_VOLUME = 0x10,
};

// A triad (optionally with a minor seventh) by its root pitch class, 0 = C.
struct Chord {
    int root = 0;
    bool minor = false;
    bool seventh = false;
};

// "Am", "F", "E7", "Dm": a root letter, optional '#'/'b', optional 'm', optional '7'.
Chord chord(const char *name);
std::vector<Chord> chords(std::initializer_list<const char *> names);

// XM note value of "A4", "C#5", "Bb3" (C-4 is 49); 0 for anything else.
uint8_t noteValue(const std::string &name);

// One drum symbol: what a character of a drum line plays.
struct DrumHit {
    char symbol;
    uint8_t instrument;
    uint8_t note;
    int volume;                         // 0..64, -1 = the sample's default
};

class Sheet {
public:
    explicit Sheet(int rows = 64) : pattern(rows, CHANNEL_COUNT) {}

    XmCell &at(int row, int channel) { return pattern.at(row, channel); }
    int rows() const { return pattern.rows; }

    // One token per row from `row`: "A4" note, "~A4" glide to it (tone
    // portamento), "-" key off, "." nothing; "|" separates bars and is skipped.
    // Notes held for 6 rows or more get vibrato after their third row.
    void melody(int channel, int row, uint8_t instrument, const std::string &tokens, int volume = -1);

    // One character per row from `row`, looked up in kit; '.' and unknown
    // characters play nothing, '|' is skipped.
    void drums(int channel, int row, const std::string &line, const std::vector<DrumHit> &kit);

    // Bass over chords, one bar each, the rhythm repeated per bar:
    // 'r' root (octave 2), 'o' root an octave up, 'f' fifth, '-' key off, '.' nothing.
    void bass(int row, const std::vector<Chord> &progression, const std::string &rhythm, int volume = -1);

    // Third and fifth (or seventh) of each chord, one bar each, on the two pad
    // channels; a swell starts them quiet and slides them up over the bar.
    void pads(int row, const std::vector<Chord> &progression, int volume, bool swell = false);

    // Chip arpeggio over each chord, one bar each: the root in `octave`
    // struck every `step` rows, the effect cycling root, third, fifth on every row.
    void arpeggio(int row, const std::vector<Chord> &progression, int octave, int step, int volume);

    // A rising noise sweep over `rows` rows on the effects channel, ending at full volume.
    void riser(int row, int rows);

    // The lead channel copied onto the echo channel `delay` rows later, quieter.
    void echoLead(int delay, int volume);

    void effect(int row, int channel, uint8_t type, uint8_t param);

    XmPattern pattern;
};
