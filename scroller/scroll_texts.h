#pragma once
// The catalogue of the eight scroll texts, compiled into the program.
// Index 0 is the intro, shown once at start; 1 to 7 are the members' texts,
// whose keys also name the entries of the scroller's menu.
// Filled before main runs; never written afterwards.
#include <cstdint>

constexpr int SCROLL_TEXT_COUNT = 8;

// A byte string with an explicit length: the length, not a terminator, ends it.
struct ScrollText {
    const char *bytes;
    uint32_t length;   // in bytes
};

// "intro", "alb", "dun", "fem", "gol", "hix", "jup", "kes".
extern const char *const scrollTextKeys[SCROLL_TEXT_COUNT];

// Lower case a..z; capitals A O U S stand for the umlauts and sharp s; digits,
// space and the charset's punctuation. No line breaks, tabs or zero bytes.
extern const ScrollText scrollTexts[SCROLL_TEXT_COUNT];
