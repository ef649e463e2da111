#include "tools/music/halvix_song.h"

#include "tools/music/instruments.h"
#include "tools/music/sheet.h"

// ---- Harmony: one chord per bar, four bars per pattern.
static const std::vector<Chord> VERSE = chords({"Am", "F", "C", "G"});
static const std::vector<Chord> THEME_B = chords({"Dm", "G", "C", "E7"});
static const std::vector<Chord> BREAK = chords({"F", "G", "Em", "Am"});
static const std::vector<Chord> CADENCE = chords({"F", "G", "Am"});
static const std::vector<Chord> APPROACH = chords({"F", "G"});
static const std::vector<Chord> LAST_CHORD = chords({"Am"});

// ---- Drum kits: what each character of a drum line plays.
static const uint8_t C4 = noteValue("C4");
static const std::vector<DrumHit> KICKS = {
    {'x', INS_KICK, C4, -1},
    {'a', INS_KICK, noteValue("D5"), 48},   // the kick an octave up is a tom
    {'b', INS_KICK, noteValue("A4"), 52},
    {'c', INS_KICK, noteValue("E4"), 56},
};
static const std::vector<DrumHit> SNARES = {
    {'x', INS_SNARE, C4, -1}, {'X', INS_SNARE, C4, 64}, {'g', INS_SNARE, C4, 14},
    {'1', INS_SNARE, C4, 10}, {'2', INS_SNARE, C4, 18}, {'3', INS_SNARE, C4, 26},
    {'4', INS_SNARE, C4, 34}, {'5', INS_SNARE, C4, 42}, {'6', INS_SNARE, C4, 50},
};
static const std::vector<DrumHit> HATS = {
    {'x', INS_HAT, C4, -1}, {'g', INS_HAT, C4, 16},
    {'o', INS_CRASH, noteValue("A5"), 22},  // open hat: choked by the next hat
};
static const std::vector<DrumHit> CYMBALS = {
    {'C', INS_CRASH, C4, -1}, {'c', INS_CRASH, C4, 18},
};

// ---- Grooves, one bar each.
static const char *FOUR_ON_FLOOR = "x...x...x...x...";
static const char *BACKBEAT = "....x.......x...";
static const char *BACKBEAT_GHOSTS = "....x..g....x..g";
static const char *HATS_OFFBEAT = "g.x.g.x.g.x.g.x.";
static const char *HATS_OFFBEAT_OPEN = "g.x.g.x.g.x.g.o.";
static const char *HATS_SIXTEENTHS = "xgxgxgxgxgxgxgxo";

// ---- Melodies, 16 rows a bar.
static const char *HOOK_1 =
    "E5 . . E5 . . D5 . E5 . . . A5 . . . | G5 . . F5 . . E5 . C5 . . . . . D5 . |"
    "E5 . . E5 . . D5 . E5 . . . G5 . . . | B5 . . A5 . . G5 . D5 . . . . . - .";
static const char *HOOK_2 =
    "E5 . . E5 . . D5 . E5 . . . A5 . B5 . | C6 . . B5 . . A5 . G5 . . . F5 . . . |"
    "E5 . . G5 . . C6 . B5 . . . G5 . . . | ~A5 . . . . . . . . . . . . . - .";
static const char *HOOK_3 =
    "E5 . . E5 . . D5 . E5 . . . A5 . . . | G5 . . F5 . . E5 . C5 . . . . . D5 . |"
    "E5 . . E5 . . D5 . E5 . . . G5 . A5 . | B5 . . . ~D6 . . . . . . . - . . .";
static const char *TEASER =
    "E5 . . E5 . . D5 . E5 . . . A5 . . . | . . . . . . . . . . . . - . . . |"
    "E5 . . E5 . . D5 . E5 . . . G5 . . . | . . . . . . . . - . . . . . . .";
static const char *THEME_B_1 =
    "F5 . A5 . D6 . . . C6 . A5 . F5 . . . | G5 . B5 . D6 . . . C6 . B5 . G5 . . . |"
    "E5 . G5 . C6 . . . B5 . G5 . E6 . . . | D6 . . . B5 . . . G#5 . . . ~B5 . . .";
static const char *THEME_B_2 =
    "F5 . A5 . D6 . . . E6 . F6 . E6 . D6 . | D6 . . . B5 . . . G5 . A5 . B5 . . . |"
    "C6 . . . G5 . . . E5 . G5 . C6 . E6 . | D6 . . . ~E6 . . . . . . . - . . .";
static const char *THEME_B_3 =
    "F5 . A5 . D6 . . . C6 . A5 . F5 . . . | G5 . B5 . D6 . . . C6 . B5 . G5 . . . |"
    "E5 . G5 . C6 . . . B5 . G5 . E6 . . . | E6 . . . D6 . . . B5 . . . G#5 . - .";
static const char *BELLS_1 =
    "C6 . . . A5 . . . F5 . . . A5 . . . | D6 . . . B5 . . . G5 . . . B5 . . . |"
    "E6 . . . B5 . . . G5 . . . E5 . . . | A5 . . . C6 . . . E6 . . . . . . .";
static const char *BELLS_2 =
    "C6 . . . A5 . . . F5 . . . C6 . . . | D6 . . . B5 . . . G5 . . . D6 . . . |"
    "E6 . . . B5 . . . G5 . . . B5 . . . | E6 . . . D6 . . . C6 . . . B5 . . .";
static const char *FAREWELL =
    "C6 . . B5 . . A5 . G5 . . . F5 . . . | G5 . . A5 . . B5 . D6 . . . B5 . . . |"
    "A5 . . . . . . . . . . . . . . . | . . . . . . . . . . . . . . . .";

static constexpr int ECHO_DELAY = 3;     // rows: a dotted eighth
static constexpr int ECHO_VOLUME = 20;

static std::string repeatBars(const char *bar, int bars) {
    std::string s;
    for (int i = 0; i < bars; ++i) s += bar;
    return s;
}

// The full groove under four bars: kick, snare, hats, the last bar's hats open.
static void groove(Sheet &s, const char *snare, const char *hats) {
    s.drums(CH_KICK, 0, repeatBars(FOUR_ON_FLOOR, 4), KICKS);
    s.drums(CH_SNARE, 0, repeatBars(snare, 4), SNARES);
    s.drums(CH_HAT, 0, repeatBars(hats, 3) + HATS_OFFBEAT_OPEN, HATS);
}

// A drum fill over the last four rows: toms down and snares up.
static void fill(Sheet &s) {
    s.drums(CH_KICK, 48, "x...x...x...abbc", KICKS);
    s.drums(CH_SNARE, 48, "....x.......4X5X", SNARES);
    s.drums(CH_HAT, 48, "g.x.g.x.g.x.....", HATS);
}

static void leadWithEcho(Sheet &s, const char *tune, uint8_t instrument = INS_LEAD) {
    s.melody(CH_LEAD, 0, instrument, tune);
    s.echoLead(ECHO_DELAY, ECHO_VOLUME);
}

static Sheet intro() {
    Sheet s;
    s.pads(0, VERSE, 40, true);
    s.arpeggio(0, VERSE, 4, 4, 14);
    s.drums(CH_FX, 0, "c", CYMBALS);
    s.effect(0, CH_KICK, FX_SET_TEMPO, 125);
    return s;
}

static Sheet introRising() {
    Sheet s;
    s.pads(0, VERSE, 40, true);
    s.arpeggio(0, VERSE, 4, 2, 18);
    s.bass(0, VERSE, "r.......r.......");
    s.drums(CH_HAT, 0, repeatBars("g...g...g...g.g.", 4), HATS);
    s.melody(CH_LEAD, 0, INS_BELL, TEASER, 30);
    s.echoLead(ECHO_DELAY, 18);
    s.riser(32, 32);
    return s;
}

static Sheet buildUp(bool roll) {
    Sheet s;
    s.drums(CH_KICK, 0, repeatBars(FOUR_ON_FLOOR, 4), KICKS);
    s.drums(CH_HAT, 0, repeatBars(HATS_OFFBEAT, 4), HATS);
    s.bass(0, VERSE, "r.r.o.r.r.r.o.r.");
    s.pads(0, VERSE, 36);
    s.arpeggio(0, VERSE, 4, 2, 20);
    leadWithEcho(s, TEASER);
    if (roll) {
        s.drums(CH_SNARE, 0, "....x.......x..." "x...x...x...x..." "2.2.3.3.3.4.4.4." "4444555566666666", SNARES);
        s.riser(32, 32);
    } else {
        s.drums(CH_FX, 0, "C", CYMBALS);
    }
    return s;
}

// The main theme under the full band; `extra` doubles the arpeggio's pace.
static Sheet themeA(const char *hook, bool withFill, bool extra) {
    Sheet s;
    groove(s, BACKBEAT_GHOSTS, extra ? HATS_SIXTEENTHS : HATS_OFFBEAT);
    s.bass(0, VERSE, "r.rorro.r.rorror");
    s.pads(0, VERSE, 34);
    s.arpeggio(0, VERSE, 5, extra ? 1 : 2, extra ? 16 : 20);
    leadWithEcho(s, hook);
    s.drums(CH_FX, 0, "C", CYMBALS);
    if (withFill) fill(s);
    return s;
}

static Sheet themeB(const char *tune, bool withFill) {
    Sheet s;
    groove(s, BACKBEAT, HATS_SIXTEENTHS);
    s.bass(0, THEME_B, "r..r..o.r..r..o.");
    s.pads(0, THEME_B, 34);
    s.arpeggio(0, THEME_B, 5, 2, 18);
    leadWithEcho(s, tune);
    s.drums(CH_FX, 0, "C", CYMBALS);
    if (withFill) fill(s);
    return s;
}

static Sheet breakdown(bool drumsReturn) {
    Sheet s;
    s.pads(0, BREAK, 36, !drumsReturn);
    s.bass(0, BREAK, "r.......o.......");
    s.arpeggio(0, BREAK, 4, 4, 14);
    leadWithEcho(s, drumsReturn ? BELLS_2 : BELLS_1, INS_BELL);
    if (drumsReturn) {
        s.drums(CH_HAT, 0, repeatBars(HATS_OFFBEAT, 4), HATS);
        s.drums(CH_KICK, 32, repeatBars(FOUR_ON_FLOOR, 2), KICKS);
    } else {
        s.drums(CH_FX, 0, "c", CYMBALS);
    }
    return s;
}

// From `row` on, every `every` rows, a volume-column slide down (1 per tick)
// on each melodic channel, so the final chord dies away by the pattern's end.
static void fadeOut(Sheet &s, int row, int every) {
    for (int r = row; r < s.rows(); r += every) {
        for (int ch : {CH_BASS, CH_PAD_A, CH_PAD_B, CH_LEAD, CH_ECHO, CH_ARP}) {
            if (s.at(r, ch).volume == 0) s.at(r, ch).volume = 0x61;
        }
    }
}

// F, G, then the last A minor chord, slowing down from 125 to 86 BPM.
static Sheet ending() {
    Sheet s;
    s.drums(CH_KICK, 0, repeatBars(FOUR_ON_FLOOR, 2) + "x", KICKS);
    s.drums(CH_SNARE, 0, std::string(BACKBEAT) + "....x...3.4.5.6.X", SNARES);
    s.drums(CH_HAT, 0, repeatBars(HATS_OFFBEAT, 2), HATS);
    s.bass(0, APPROACH, "r.rorro.r.rorror");
    s.bass(32, LAST_CHORD, "r...............");
    s.pads(0, CADENCE, 36);
    s.arpeggio(0, APPROACH, 5, 2, 18);
    s.arpeggio(32, LAST_CHORD, 5, 16, 18);
    leadWithEcho(s, FAREWELL);
    s.drums(CH_FX, 0, "C", CYMBALS);
    s.drums(CH_FX, 32, "C", CYMBALS);
    const uint8_t tempos[] = {120, 114, 108, 102, 96, 90, 86};
    for (int i = 0; i < 7; ++i) s.effect(20 + 2 * i, CH_KICK, FX_SET_TEMPO, tempos[i]);
    fadeOut(s, 36, 3);
    return s;
}

// The last pattern starts no note: played again by a looping player it stays silent.
static Sheet silenceFalls() {
    Sheet s(4);
    for (int ch : {CH_BASS, CH_PAD_A, CH_PAD_B, CH_LEAD, CH_ECHO, CH_ARP, CH_FX}) s.at(3, ch).note = XM_KEY_OFF;
    return s;
}

XmModule composeHalvix() {
    XmModule m;
    m.name = "HALVIX";
    m.tracker = "dorirova composer";
    m.channels = CHANNEL_COUNT;
    m.speed = 6;
    m.bpm = 125;
    m.instruments = synthesiseInstruments();

    enum {
        INTRO, INTRO_RISING, BUILD, BUILD_ROLL, A1, A2, A3, B1, B2, B3,
        BREAK_1, BREAK_2, BUILD_AGAIN, A1_EXTRA, A2_EXTRA, ENDING, SILENCE,
    };
    Sheet sheets[] = {
        intro(), introRising(), buildUp(false), buildUp(true),
        themeA(HOOK_1, false, false), themeA(HOOK_2, false, false), themeA(HOOK_3, true, false),
        themeB(THEME_B_1, false), themeB(THEME_B_2, false), themeB(THEME_B_3, true),
        breakdown(false), breakdown(true), buildUp(true),
        themeA(HOOK_1, false, true), themeA(HOOK_2, false, true),
        ending(), silenceFalls(),
    };
    for (Sheet &s : sheets) m.patterns.push_back(std::move(s.pattern));

    m.orders = {
        INTRO, INTRO_RISING, BUILD, BUILD_ROLL,
        A1, A2, A1, A3,
        B1, B2, B1, B3,
        BREAK_1, BREAK_2, BUILD_AGAIN,
        A1_EXTRA, A2_EXTRA, A1_EXTRA, A3,
        B1, B3,
        ENDING, SILENCE,
    };
    // A player that loops goes back only as far as the silent last pattern.
    m.restartPosition = int(m.orders.size()) - 1;
    return m;
}
