#pragma once
// A charset whose every cell is one flat colour of its own, and the menu
// images in flat colours, so tests can tell from a pixel what was drawn there.
#include "tests/support/gl_test_context.h"
#include "tests/support/test_images.h"

// The colour of charset cell c.
inline GLTestContext::RGBA cellColour(int c) { return {4 * c, 255 - 3 * c, 90 + (c % 5) * 30, 255}; }

// "charset.png": 256 x 256, cells of 18 x 16 from the top left, 14 to a row.
inline Bytes flatCellCharset() {
    Bytes b(256 * 256 * 4, 0);
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 252; ++x) {
            const int cell = (y / 16) * 14 + x / 18;
            if (cell >= 64) continue;
            GLTestContext::RGBA c = cellColour(cell);
            uint8_t *p = &b[(size_t(y) * 256 + x) * 4];
            p[0] = uint8_t(c.r), p[1] = uint8_t(c.g), p[2] = uint8_t(c.b), p[3] = 255;
        }
    }
    return encodePng(256, 256, b);
}

inline Bytes flatImage(int w, int h, GLTestContext::RGBA c) {
    Bytes b;
    for (int i = 0; i < w * h; ++i) b.insert(b.end(), {uint8_t(c.r), uint8_t(c.g), uint8_t(c.b), uint8_t(c.a)});
    return encodePng(w, h, b);
}

// Menu entry k's plain and highlighted colours, and the border's and title's.
inline GLTestContext::RGBA plainColour(int k) { return {20 * k, 40, 60, 255}; }
inline GLTestContext::RGBA highlightColour(int k) { return {20 * k, 240, 200, 255}; }
const GLTestContext::RGBA BORDER_COLOUR = {10, 10, 50, 255};
const GLTestContext::RGBA TITLE_COLOUR = {200, 100, 0, 255};

inline Bytes scrollerArchive() {
    const char *keys[] = {"alb", "dun", "fem", "gol", "hix", "jup", "kes"};
    std::vector<std::pair<std::string, Bytes>> entries;
    entries.push_back({"charset.png", flatCellCharset()});
    entries.push_back({"scroller-border.png", flatImage(1024, 128, BORDER_COLOUR)});
    entries.push_back({"scroller-selection_title.png", flatImage(512, 32, TITLE_COLOUR)});
    for (int k = 1; k <= 7; ++k) {
        entries.push_back({std::string("scroller-selection_") + keys[k - 1] + "_hi.png", flatImage(512, 32, highlightColour(k))});
        entries.push_back({std::string("scroller-selection_") + keys[k - 1] + "_lo.png", flatImage(512, 32, plainColour(k))});
    }
    return packArchive(entries);
}
