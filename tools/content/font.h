#pragma once
// The presentation's own letters, drawn as strokes: a bold square-shouldered
// capital alphabet for the charset and the menu, with digits, punctuation,
// umlauts and sharp s; and a matching lower-case alphabet for file names and
// the banner. Design units: capitals are 10 high and 12 wide; lower case has
// an x-height of 7, ascenders to 10 and descenders to -3; y points up.
#include <string>
#include <vector>

#include "strokes.h"

struct Glyph {
    std::vector<Stroke> strokes;
    double width = 12;   // design units, for proportional setting
};

enum class LetterCase { Capitals, Lower };

// The glyph for one character (UTF-8: "a", "0", "ß", "ä"), or nullptr.
// Capitals: letters are shown as capitals whatever their case.
const Glyph *findGlyph(const std::string &character, LetterCase letterCase);

// Splits UTF-8 text into characters.
std::vector<std::string> utf8Characters(const std::string &text);

// How a line of text sits in pixels.
struct TextPlacement {
    double x = 0, baseline = 0;   // pixels, left edge and baseline (y grows downwards)
    double scale = 1;             // pixels per design unit
    double spacing = 3;           // design units between letters
    double slant = 0;             // x shift per design unit of height (italic)
    double halfWidth = 1;         // stroke half width in pixels
    LetterCase letterCase = LetterCase::Capitals;
};

// The stroke segments of a line of text, in pixels.
std::vector<StrokeSegment> textSegments(const std::string &text, const TextPlacement &placement);

// Width of a line of text in pixels (from the first stroke's left edge to
// the last one's right edge, excluding stroke width).
double textWidth(const std::string &text, const TextPlacement &placement);
