#include "font.h"

#include <map>

namespace {

using P = StrokePoint;

Stroke line(std::initializer_list<P> points, double weight = 1.0) { return Stroke{points, false, weight}; }
Stroke loop(std::initializer_list<P> points, double weight = 1.0) { return Stroke{points, true, weight}; }
Stroke dot(double x, double y, double weight = 1.3) { return Stroke{{{x, y, 0}}, false, weight}; }

// Capitals, 12 x 10. Corners of radius 3 give the square-shouldered look.
std::map<std::string, Glyph> capitals() {
    const double r = 3.2, s = 2.4;
    std::map<std::string, Glyph> g;
    g["a"] = {{line({{0, 0}, {0, 10, r}, {12, 10, r}, {12, 0}}), line({{0, 4.6}, {12, 4.6}})}};
    g["b"] = {{line({{0, 5}, {0, 10}, {9, 10, s}, {9, 5, s}, {0, 5}}), line({{0, 0}, {0, 5}}),
               line({{6, 5}, {12, 5, s}, {12, 0, s}, {0, 0}})}};
    g["c"] = {{line({{12, 10}, {0, 10, r}, {0, 0, r}, {12, 0}})}};
    g["d"] = {{loop({{0, 0}, {0, 10}, {12, 10, 4}, {12, 0, 4}})}};
    g["e"] = {{line({{12, 10}, {0, 10}, {0, 0}, {12, 0}}), line({{0, 5}, {9, 5}})}};
    g["f"] = {{line({{12, 10}, {0, 10}, {0, 0}}), line({{0, 5}, {9, 5}})}};
    g["g"] = {{line({{12, 10}, {0, 10, r}, {0, 0, r}, {12, 0, r}, {12, 5}, {6.5, 5}})}};
    g["h"] = {{line({{0, 0}, {0, 10}}), line({{12, 0}, {12, 10}}), line({{0, 5}, {12, 5}})}};
    g["i"] = {{line({{6, 0}, {6, 10}}), line({{2.5, 10}, {9.5, 10}}), line({{2.5, 0}, {9.5, 0}})}};
    g["j"] = {{line({{4, 10}, {12, 10}}), line({{12, 10}, {12, 0, r}, {0, 0}, {0, 3.5}})}};
    g["k"] = {{line({{0, 0}, {0, 10}}), line({{12, 10}, {5, 5}, {12, 0}}), line({{0, 5}, {5, 5}})}};
    g["l"] = {{line({{0, 10}, {0, 0}, {12, 0}})}};
    g["m"] = {{line({{0, 0}, {0, 10, r}, {12, 10, r}, {12, 0}}), line({{6, 10}, {6, 3}})}};
    g["n"] = {{line({{0, 0}, {0, 10}, {12, 0}, {12, 10}})}};
    g["o"] = {{loop({{0, 0, r}, {0, 10, r}, {12, 10, r}, {12, 0, r}})}};
    g["p"] = {{line({{0, 0}, {0, 10}, {12, 10, r}, {12, 4.6, r}, {0, 4.6}})}};
    g["q"] = {{loop({{0, 0, r}, {0, 10, r}, {12, 10, r}, {12, 0, r}}), line({{7, 4}, {12, 0}})}};
    g["r"] = {{line({{0, 0}, {0, 10}, {12, 10, r}, {12, 5, r}, {0, 5}}), line({{5, 5}, {12, 0}})}};
    g["s"] = {{line({{12, 10}, {0, 10, 2.5}, {0, 5, 2.5}, {12, 5, 2.5}, {12, 0, 2.5}, {0, 0}})}};
    g["t"] = {{line({{0, 10}, {12, 10}}), line({{6, 10}, {6, 0}})}};
    g["u"] = {{line({{0, 10}, {0, 0, r}, {12, 0, r}, {12, 10}})}};
    g["v"] = {{line({{0, 10}, {0, 5}, {6, 0}, {12, 5}, {12, 10}})}};
    g["w"] = {{line({{0, 10}, {0, 0, r}, {12, 0, r}, {12, 10}}), line({{6, 0}, {6, 7}})}};
    g["x"] = {{line({{0, 10}, {12, 0}}), line({{0, 0}, {12, 10}})}};
    g["y"] = {{line({{0, 10}, {6, 5}, {12, 10}}), line({{6, 5}, {6, 0}})}};
    g["z"] = {{line({{0, 10}, {12, 10}, {0, 0}, {12, 0}})}};
    g["0"] = {{loop({{0, 0, r}, {0, 10, r}, {12, 10, r}, {12, 0, r}}), line({{3.8, 2.8}, {8.2, 7.2}}, 0.8)}};
    g["1"] = {{line({{2.5, 7.5}, {6.5, 10}, {6.5, 0}}), line({{2.5, 0}, {10.5, 0}})}};
    g["2"] = {{line({{0, 10}, {12, 10, 2.5}, {12, 5, 2.5}, {0, 5, 2.5}, {0, 0}, {12, 0}})}};
    g["3"] = {{line({{0, 10}, {12, 10, r}, {12, 0, r}, {0, 0}}), line({{4, 5}, {12, 5}})}};
    g["4"] = {{line({{0, 10}, {0, 4, 1.5}, {12, 4}}), line({{9, 10}, {9, 0}})}};
    g["5"] = {{line({{12, 10}, {0, 10}, {0, 5}, {12, 5, 2.5}, {12, 0, 2.5}, {0, 0}})}};
    g["6"] = {{line({{12, 10}, {0, 10, r}, {0, 0, 2.5}, {12, 0, 2.5}, {12, 5, 2.5}, {0, 5}})}};
    g["7"] = {{line({{0, 10}, {12, 10}, {12, 8}, {6, 2}, {6, 0}})}};
    g["8"] = {{loop({{0, 0, 2.5}, {0, 10, 2.5}, {12, 10, 2.5}, {12, 0, 2.5}}), line({{0, 5}, {12, 5}})}};
    g["9"] = {{line({{0, 0}, {12, 0, r}, {12, 10, 2.5}, {0, 10, 2.5}, {0, 5, 2.5}, {12, 5}})}};
    g["+"] = {{line({{6, 1.5}, {6, 8.5}}), line({{1, 5}, {11, 5}})}};
    g["*"] = {{line({{6, 1}, {6, 9}}), line({{2.4, 7.2}, {9.6, 2.8}}), line({{2.4, 2.8}, {9.6, 7.2}})}};
    g["#"] = {{line({{3.6, 0}, {3.6, 10}}, 0.85), line({{8.4, 0}, {8.4, 10}}, 0.85), line({{0, 3}, {12, 3}}, 0.85),
               line({{0, 7.2}, {12, 7.2}}, 0.85)}};
    g["'"] = {{line({{6, 10}, {6, 6.5}})}};
    g["-"] = {{line({{2, 5}, {10, 5}})}};
    g["_"] = {{line({{0, 0}, {12, 0}})}};
    g["."] = {{dot(6, 0.4)}};
    g[":"] = {{dot(6, 0.4), dot(6, 6.4)}};
    g[","] = {{dot(6.5, 2.0), line({{6.5, 2.0}, {4.8, 0}})}};
    g[";"] = {{dot(6.5, 6.4), dot(6.5, 2.0), line({{6.5, 2.0}, {4.8, 0}})}};
    g["@"] = {{loop({{4.2, 3, 1}, {4.2, 7, 1}, {8.2, 7}, {8.2, 3}}, 0.75),
               line({{8.2, 3}, {12, 3}, {12, 10, 2.5}, {0, 10, 2.5}, {0, 0, 2.5}, {12, 0}}, 0.75)}};
    g["<"] = {{line({{11, 9.5}, {1, 5}, {11, 0.5}})}};
    g[">"] = {{line({{1, 9.5}, {11, 5}, {1, 0.5}})}};
    g["!"] = {{line({{6, 10}, {6, 4}}), dot(6, 0.4)}};
    g["$"] = {{line({{12, 8.8}, {0, 8.8, 2}, {0, 5, 2}, {12, 5, 2}, {12, 1.2, 2}, {0, 1.2}}, 0.85), line({{6, 10}, {6, 0}}, 0.85)}};
    g["%"] = {{line({{11.5, 10}, {0.5, 0}}), dot(2, 8, 1.7), dot(10, 2, 1.7)}};
    g["/"] = {{line({{11, 10}, {1, 0}})}};
    g["("] = {{line({{8.5, 10}, {4, 10, 3}, {4, 0, 3}, {8.5, 0}})}};
    g[")"] = {{line({{3.5, 10}, {8, 10, 3}, {8, 0, 3}, {3.5, 0}})}};
    g["="] = {{line({{1, 7}, {11, 7}}), line({{1, 3}, {11, 3}})}};
    g["?"] = {{line({{0, 10}, {12, 10, r}, {12, 5, 2}, {6, 5}, {6, 3.2}}), dot(6, 0.4)}};
    g["\""] = {{line({{3.8, 10}, {3.8, 6.5}}), line({{8.2, 10}, {8.2, 6.5}})}};
    g["ß"] = {{line({{0, 0}, {0, 10, r}, {9, 10, 2.2}, {9, 5.2, 2}, {6, 5.2}}),
               line({{6, 5.2}, {12, 5.2, 2.4}, {12, 0, 2.4}, {4.5, 0}})}};
    // Umlauts: a shorter body leaves room for the dots.
    g["ä"] = {{line({{0, 0}, {0, 7, 2.6}, {12, 7, 2.6}, {12, 0}}), line({{0, 3.2}, {12, 3.2}}), dot(3.2, 9.6, 1.15), dot(8.8, 9.6, 1.15)}};
    g["ö"] = {{loop({{0, 0, 2.6}, {0, 7, 2.6}, {12, 7, 2.6}, {12, 0, 2.6}}), dot(3.2, 9.6, 1.15), dot(8.8, 9.6, 1.15)}};
    g["ü"] = {{line({{0, 7}, {0, 0, 2.6}, {12, 0, 2.6}, {12, 7}}), dot(3.2, 9.6, 1.15), dot(8.8, 9.6, 1.15)}};
    g[" "] = {{}, 8};
    return g;
}

// Digits scaled down for lower-case text keep their shapes but fit 9 wide.
Glyph narrowDigit(const Glyph &g) {
    Glyph n = g;
    for (Stroke &s : n.strokes)
        for (StrokePoint &p : s.points) p.x *= 0.75;
    n.width = 9;
    return n;
}

// Lower case: x-height 7, ascenders 10, descenders -3, mostly 9 wide.
std::map<std::string, Glyph> lowerCase() {
    const double r = 3.0;
    std::map<std::string, Glyph> g;
    auto bowl = [&](double w) { return loop({{0, 0, r}, {0, 7, r}, {w, 7, r}, {w, 0, r}}); };
    g["a"] = {{bowl(9), line({{9, 7}, {9, 0}})}, 9};
    g["b"] = {{bowl(9), line({{0, 10}, {0, 0}})}, 9};
    g["c"] = {{line({{9, 7}, {0, 7, r}, {0, 0, r}, {9, 0}})}, 9};
    g["d"] = {{bowl(9), line({{9, 10}, {9, 0}})}, 9};
    g["e"] = {{line({{0, 3.6}, {9, 3.6}, {9, 7, r}, {0, 7, r}, {0, 0, r}, {9, 0}})}, 9};
    g["f"] = {{line({{8, 10}, {2.5, 10, 2.5}, {2.5, 0}}), line({{0, 7}, {7, 7}})}, 8};
    g["g"] = {{bowl(9), line({{9, 7}, {9, -3, r}, {0, -3}})}, 9};
    g["h"] = {{line({{0, 10}, {0, 0}}), line({{0, 7}, {9, 7, r}, {9, 0}})}, 9};
    g["i"] = {{line({{1.5, 7}, {1.5, 0}}), dot(1.5, 9.6)}, 3};
    g["j"] = {{line({{4, 7}, {4, -3, 2.5}, {0, -3}}), dot(4, 9.6)}, 4.5};
    g["k"] = {{line({{0, 10}, {0, 0}}), line({{8, 7}, {1, 3.2}}), line({{3.5, 4.4}, {9, 0}})}, 9};
    g["l"] = {{line({{1.5, 10}, {1.5, 0, 2}, {4, 0}})}, 4};
    g["m"] = {{line({{0, 0}, {0, 7, 2.5}, {12, 7, 2.5}, {12, 0}}), line({{6, 7}, {6, 0}})}, 12};
    g["n"] = {{line({{0, 0}, {0, 7}, {9, 7, r}, {9, 0}})}, 9};
    g["o"] = {{bowl(9)}, 9};
    g["p"] = {{bowl(9), line({{0, 7}, {0, -3}})}, 9};
    g["q"] = {{bowl(9), line({{9, 7}, {9, -3}})}, 9};
    g["r"] = {{line({{0, 0}, {0, 7, r}, {7, 7}})}, 7};
    g["s"] = {{line({{9, 7}, {0, 7, 1.8}, {0, 3.5, 1.8}, {9, 3.5, 1.8}, {9, 0, 1.8}, {0, 0}})}, 9};
    g["t"] = {{line({{2.5, 10}, {2.5, 0, 2}, {7, 0}}), line({{0, 7}, {7, 7}})}, 7};
    g["u"] = {{line({{0, 7}, {0, 0, r}, {9, 0}, {9, 7}})}, 9};
    g["v"] = {{line({{0, 7}, {4.5, 0}, {9, 7}})}, 9};
    g["w"] = {{line({{0, 7}, {3, 0}, {6, 5}, {9, 0}, {12, 7}})}, 12};
    g["x"] = {{line({{0, 7}, {9, 0}}), line({{0, 0}, {9, 7}})}, 9};
    g["y"] = {{line({{0, 7}, {0, 0, r}, {9, 0}}), line({{9, 7}, {9, -3, r}, {0, -3}})}, 9};
    g["z"] = {{line({{0, 7}, {9, 7}, {0, 0}, {9, 0}})}, 9};
    g["-"] = {{line({{1, 3.6}, {7, 3.6}})}, 8};
    g["_"] = {{line({{0, -1.5}, {9, -1.5}})}, 9};
    g["."] = {{dot(1.5, 0.4)}, 3};
    g[" "] = {{}, 5};
    const std::map<std::string, Glyph> caps = capitals();
    for (char d = '0'; d <= '9'; ++d) g[std::string(1, d)] = narrowDigit(caps.at(std::string(1, d)));
    return g;
}

const std::map<std::string, Glyph> &table(LetterCase letterCase) {
    static const std::map<std::string, Glyph> caps = capitals();
    static const std::map<std::string, Glyph> lower = lowerCase();
    return letterCase == LetterCase::Capitals ? caps : lower;
}

}   // namespace

std::vector<std::string> utf8Characters(const std::string &text) {
    std::vector<std::string> out;
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : 4;
        out.push_back(text.substr(i, n));
        i += n;
    }
    return out;
}

const Glyph *findGlyph(const std::string &character, LetterCase letterCase) {
    const auto &t = table(letterCase);
    auto it = t.find(character);
    if (it != t.end()) return &it->second;
    // Lower-case text borrows the capitals' punctuation.
    if (letterCase == LetterCase::Lower) return findGlyph(character, LetterCase::Capitals);
    return nullptr;
}

std::vector<StrokeSegment> textSegments(const std::string &text, const TextPlacement &placement) {
    std::vector<StrokeSegment> out;
    double pen = 0;
    for (const std::string &ch : utf8Characters(text)) {
        const Glyph *g = findGlyph(ch, placement.letterCase);
        if (!g) g = findGlyph("+", LetterCase::Capitals);
        for (const Stroke &s : g->strokes) {
            auto transform = [&](double x, double y) {
                return Vec2d{placement.x + (pen + x + y * placement.slant) * placement.scale, placement.baseline - y * placement.scale};
            };
            std::vector<StrokeSegment> segs = strokeSegments(s, transform, placement.halfWidth);
            out.insert(out.end(), segs.begin(), segs.end());
        }
        pen += g->width + placement.spacing;
    }
    return out;
}

double textWidth(const std::string &text, const TextPlacement &placement) {
    double pen = 0;
    auto chars = utf8Characters(text);
    for (size_t i = 0; i < chars.size(); ++i) {
        const Glyph *g = findGlyph(chars[i], placement.letterCase);
        double w = g ? g->width : 12;
        pen += w + (i + 1 < chars.size() ? placement.spacing : 0);
    }
    return pen * placement.scale;
}
