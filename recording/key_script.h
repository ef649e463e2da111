#pragma once
// Key scripts: the releases of cursor keys a recording replays, written as
// comma-separated TIME:KEY items ("1.0:Right,5.5:Down"), TIME in seconds from
// the first frame and KEY one of Left, Right, Up, Down (any case).
#include <cstdint>
#include <string>
#include <vector>

struct ScriptedKey {
    int64_t atNs = 0;   // nanoseconds after the first frame, >= 0
    int key = 0;        // the message queue's KeyCode: KeyArrowLeft, KeyArrowUp, ...
};

// Reads a decimal number of seconds ("2", "2.5", ".25", at most nine
// decimals, 0 to 1,000,000,000) exactly into nanoseconds. False for
// anything else: signs, exponents, spaces, empty text.
bool parseSeconds(const std::string &text, int64_t &nanoseconds);

// Reads a key script into keys, ordered by time (items at the same time keep
// their order). An empty text is an empty script. False, with a sentence
// naming the faulty item in error, when an item is not TIME:KEY.
bool parseKeyScript(const std::string &text, std::vector<ScriptedKey> &keys, std::string &error);
