#include "tools/music/sheet.h"

#include "tools/music/instruments.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <stdexcept>

static constexpr uint8_t TONE_PORTA_SPEED = 0x06;   // 3/8 semitone per tick
static constexpr int GLIDE_ROWS = 3;                // rows a glide keeps sliding
static constexpr uint8_t HELD_NOTE_VIBRATO = 0x45;  // speed 4, depth 5
static constexpr int VIBRATO_MIN_LENGTH = 6;        // rows

static uint8_t volumeColumn(int volume) {
    return volume < 0 ? 0 : uint8_t(0x10 + std::clamp(volume, 0, 64));
}

static int pitchClass(char letter) {
    static const int classes[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    char up = char(std::toupper(static_cast<unsigned char>(letter)));
    return (up >= 'A' && up <= 'G') ? classes[up - 'A'] : -1;
}

Chord chord(const char *name) {
    std::string s = name;
    if (s.empty() || pitchClass(s[0]) < 0) throw std::invalid_argument("bad chord " + s);
    Chord c;
    c.root = pitchClass(s[0]);
    size_t i = 1;
    if (i < s.size() && s[i] == '#') { c.root = (c.root + 1) % 12; ++i; }
    else if (i < s.size() && s[i] == 'b') { c.root = (c.root + 11) % 12; ++i; }
    if (i < s.size() && s[i] == 'm') { c.minor = true; ++i; }
    if (i < s.size() && s[i] == '7') { c.seventh = true; ++i; }
    if (i != s.size()) throw std::invalid_argument("bad chord " + s);
    return c;
}

std::vector<Chord> chords(std::initializer_list<const char *> names) {
    std::vector<Chord> out;
    for (const char *n : names) out.push_back(chord(n));
    return out;
}

uint8_t noteValue(const std::string &name) {
    if (name.size() < 2 || pitchClass(name[0]) < 0) return 0;
    int semitone = pitchClass(name[0]);
    size_t i = 1;
    if (name[i] == '#') { ++semitone; ++i; }
    else if (name[i] == 'b') { --semitone; ++i; }
    if (i + 1 != name.size() || !std::isdigit(static_cast<unsigned char>(name[i]))) return 0;
    int value = (name[i] - '0') * 12 + semitone + 1;
    return (value >= 1 && value <= 96) ? uint8_t(value) : 0;
}

// XM note value of a pitch class in an octave (C-0 is octave 0).
static uint8_t notePc(int pitch, int octave) {
    return uint8_t(octave * 12 + pitch + 1);
}

void Sheet::melody(int channel, int row, uint8_t instrument, const std::string &tokens, int volume) {
    std::string text = tokens;
    std::replace(text.begin(), text.end(), '|', ' ');
    std::istringstream in(text);
    std::string token;
    int r = row;
    int heldFrom = -1;                  // row of the last note, for vibrato on held notes
    int glideLeft = 0;                  // rows the current glide still slides
    auto addVibrato = [&](int endRow) {
        if (heldFrom < 0 || endRow - heldFrom < VIBRATO_MIN_LENGTH) return;
        for (int v = heldFrom + GLIDE_ROWS; v < endRow && v < rows(); ++v) {
            if (at(v, channel).effect == 0 && at(v, channel).param == 0)
                effect(v, channel, FX_VIBRATO, v == heldFrom + GLIDE_ROWS ? HELD_NOTE_VIBRATO : 0x00);
        }
    };
    while (in >> token) {
        if (r >= rows()) throw std::out_of_range("melody runs past the pattern");
        XmCell &c = at(r, channel);
        if (token == "." && glideLeft > 0) {
            effect(r, channel, FX_TONE_PORTA, 0x00);   // 300 keeps sliding at the same speed
            --glideLeft;
        } else if (token == "-") {
            addVibrato(r);
            heldFrom = -1;
            c.note = XM_KEY_OFF;
        } else if (token != ".") {
            glideLeft = 0;
            bool glide = token[0] == '~';
            uint8_t note = noteValue(glide ? token.substr(1) : token);
            if (!note) throw std::invalid_argument("bad note " + token);
            addVibrato(r);
            c.note = note;
            if (glide) {
                c.effect = FX_TONE_PORTA;
                c.param = TONE_PORTA_SPEED;
                glideLeft = GLIDE_ROWS - 1;
                heldFrom = r;
            } else {
                c.instrument = instrument;
                c.volume = volumeColumn(volume);
                heldFrom = r;
            }
        }
        ++r;
    }
    addVibrato(r);
}

void Sheet::drums(int channel, int row, const std::string &line, const std::vector<DrumHit> &kit) {
    int r = row;
    for (char ch : line) {
        if (ch == '|' || ch == ' ') continue;
        if (r >= rows()) throw std::out_of_range("drum line runs past the pattern");
        auto hit = std::find_if(kit.begin(), kit.end(), [ch](const DrumHit &h) { return h.symbol == ch; });
        if (hit != kit.end()) {
            XmCell &c = at(r, channel);
            c.note = hit->note;
            c.instrument = hit->instrument;
            c.volume = volumeColumn(hit->volume);
        }
        ++r;
    }
}

void Sheet::bass(int row, const std::vector<Chord> &progression, const std::string &rhythm, int volume) {
    for (size_t bar = 0; bar < progression.size(); ++bar) {
        const Chord &c = progression[bar];
        for (size_t i = 0; i < rhythm.size() && i < size_t(ROWS_PER_BAR); ++i) {
            int r = row + int(bar) * ROWS_PER_BAR + int(i);
            XmCell &cell = at(r, CH_BASS);
            uint8_t note = 0;
            switch (rhythm[i]) {
            case 'r': note = notePc(c.root, 2); break;
            case 'o': note = notePc(c.root, 3); break;
            case 'f': note = uint8_t(notePc(c.root, 2) + 7); break;
            case '-': cell.note = XM_KEY_OFF; continue;
            default: continue;
            }
            cell.note = note;
            cell.instrument = INS_BASS;
            cell.volume = volumeColumn(volume);
        }
    }
}

// A pitch class placed between E-4 and D#5, where the pads sit.
static uint8_t padNote(int pitch) {
    int semitone = 4 * 12 + pitch;
    if (semitone < 4 * 12 + 4) semitone += 12;
    return uint8_t(semitone + 1);
}

void Sheet::pads(int row, const std::vector<Chord> &progression, int volume, bool swell) {
    for (size_t bar = 0; bar < progression.size(); ++bar) {
        const Chord &c = progression[bar];
        int third = (c.root + (c.minor ? 3 : 4)) % 12;
        int top = (c.root + (c.seventh ? 10 : 7)) % 12;
        int r = row + int(bar) * ROWS_PER_BAR;
        const uint8_t notes[2] = {padNote(third), padNote(top)};
        const int channels[2] = {CH_PAD_A, CH_PAD_B};
        for (int v = 0; v < 2; ++v) {
            XmCell &cell = at(r, channels[v]);
            cell.note = notes[v];
            cell.instrument = INS_PAD;
            int start = swell ? volume / 4 : volume;
            cell.volume = volumeColumn(start);
            // A20 slides up 2 per tick, 10 per row, until the chord is at full volume.
            int slideRows = (volume - start + 5) / 10;
            for (int s = 1; s <= slideRows && r + s < rows(); ++s) effect(r + s, channels[v], FX_VOLUME_SLIDE, 0x20);
        }
    }
}

void Sheet::arpeggio(int row, const std::vector<Chord> &progression, int octave, int step, int volume) {
    for (size_t bar = 0; bar < progression.size(); ++bar) {
        const Chord &c = progression[bar];
        uint8_t intervals = uint8_t(((c.minor ? 3 : 4) << 4) | (c.seventh ? 10 : 7));
        for (int i = 0; i < ROWS_PER_BAR; ++i) {
            int r = row + int(bar) * ROWS_PER_BAR + i;
            XmCell &cell = at(r, CH_ARP);
            if (i % step == 0) {
                cell.note = notePc(c.root, octave);
                cell.instrument = INS_ARP;
                cell.volume = volumeColumn(volume);
            }
            cell.effect = FX_ARPEGGIO;
            cell.param = intervals;
        }
    }
}

void Sheet::riser(int row, int length) {
    // The crash struck every other row a semitone higher, louder each time,
    // bending upwards in between.
    for (int i = 0; i < length && row + i < rows(); i += 2) {
        XmCell &c = at(row + i, CH_FX);
        c.note = uint8_t(noteValue("C3") + i / 2);
        c.instrument = INS_CRASH;
        c.volume = volumeColumn(8 + 56 * i / std::max(1, length - 2));
        c.effect = FX_PORTA_UP;
        c.param = 0x02;
        if (row + i + 1 < rows()) effect(row + i + 1, CH_FX, FX_PORTA_UP, 0x02);
    }
}

void Sheet::echoLead(int delay, int volume) {
    for (int r = rows() - 1 - delay; r >= 0; --r) {
        const XmCell &from = at(r, CH_LEAD);
        XmCell &to = at(r + delay, CH_ECHO);
        to.note = from.note;
        to.instrument = from.instrument == INS_LEAD ? uint8_t(INS_ECHO) : from.instrument;
        to.volume = from.instrument ? volumeColumn(volume) : 0;
        to.effect = from.effect;
        to.param = from.param;
    }
}

void Sheet::effect(int row, int channel, uint8_t type, uint8_t param) {
    XmCell &c = at(row, channel);
    c.effect = type;
    c.param = param;
}
