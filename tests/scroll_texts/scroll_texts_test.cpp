// The scroll text catalogue: keys, lengths and the bytes the charset can show.
#include "scroller/scroll_texts.h"

#include <gtest/gtest.h>   // test framework

#include <cstring>
#include <set>
#include <string>
#include <string_view>

static std::string_view textAt(int index) {
    return {scrollTexts[index].bytes, scrollTexts[index].length};
}

// A byte with a glyph of its own: a..z, digits, space, the punctuation of the
// charset, and the capitals that stand for the umlauts and sharp s.
static bool hasOwnGlyph(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' ')
        return true;
    return c != '\0' && std::strchr("*#'-_.:,;@<>!$%/()=?\"AOUS", c) != nullptr;
}

// The bytes that fall back to the plus-sign glyph, sorted by where they come from.
struct FallbackCounts {
    int capitals = 0;      // A..Z other than A O U S
    int ampersands = 0;
    int oUmlautPairs = 0;  // UTF-8 for o with umlaut: 0xC3 0xB6
    int degreePairs = 0;   // UTF-8 for the degree sign: 0xC2 0xB0
    int other = 0;         // anything else, including stray high bytes
};

static FallbackCounts countFallbacks(std::string_view text) {
    FallbackCounts n;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (hasOwnGlyph(c))
            continue;
        const unsigned char next =
            i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (c >= 'A' && c <= 'Z') {
            ++n.capitals;
        } else if (c == '&') {
            ++n.ampersands;
        } else if (c == 0xC3 && next == 0xB6) {
            ++n.oUmlautPairs;
            ++i;
        } else if (c == 0xC2 && next == 0xB0) {
            ++n.degreePairs;
            ++i;
        } else {
            ++n.other;
        }
    }
    return n;
}

TEST(ScrollTextCatalogue, KeysNameTheIntroThenTheSevenMembersInMenuOrder) {
    const char *const expected[SCROLL_TEXT_COUNT] = {
        "intro", "alb", "dun", "fem", "gol", "hix", "jup", "kes"};
    std::set<std::string> seen;
    for (int i = 0; i < SCROLL_TEXT_COUNT; ++i) {
        ASSERT_NE(scrollTextKeys[i], nullptr) << "index " << i;
        EXPECT_STREQ(scrollTextKeys[i], expected[i]) << "index " << i;
        seen.insert(scrollTextKeys[i]);
    }
    // Distinct keys: the menu can never highlight two entries at once.
    EXPECT_EQ(seen.size(), static_cast<size_t>(SCROLL_TEXT_COUNT));
}

TEST(ScrollTextCatalogue, EachTextHasItsSuppliedLength) {
    const uint32_t expected[SCROLL_TEXT_COUNT] = {768, 1794, 748, 684, 985, 4096, 2105, 630};
    for (int i = 0; i < SCROLL_TEXT_COUNT; ++i) {
        ASSERT_NE(scrollTexts[i].bytes, nullptr) << scrollTextKeys[i];
        EXPECT_EQ(scrollTexts[i].length, expected[i]) << scrollTextKeys[i];
    }
}

TEST(ScrollTextCatalogue, EachTextIsOneLineWithoutTabsOrZeroBytes) {
    for (int i = 0; i < SCROLL_TEXT_COUNT; ++i) {
        const std::string_view text = textAt(i);
        EXPECT_EQ(text.find('\n'), std::string_view::npos) << scrollTextKeys[i];
        EXPECT_EQ(text.find('\r'), std::string_view::npos) << scrollTextKeys[i];
        EXPECT_EQ(text.find('\t'), std::string_view::npos) << scrollTextKeys[i];
        EXPECT_EQ(text.find('\0'), std::string_view::npos) << scrollTextKeys[i];
        for (unsigned char c : text)
            EXPECT_FALSE(c < 0x20 || c == 0x7F) << scrollTextKeys[i] << ": control byte " << int(c);
    }
}

// Every byte shows its own glyph, apart from the few kept on purpose to show
// the plus-sign fallback: alb's UTF-8 (seven o-umlauts, one degree sign),
// fem's two ampersands, one stray capital in the intro and jup's 21.
TEST(ScrollTextCatalogue, OnlyTheDeliberateBytesFallBackToThePlusGlyph) {
    struct Expected {
        int capitals, ampersands, oUmlautPairs, degreePairs;
    };
    const Expected expected[SCROLL_TEXT_COUNT] = {
        {1, 0, 0, 0},   // intro
        {0, 0, 7, 1},   // alb
        {0, 0, 0, 0},   // dun
        {0, 2, 0, 0},   // fem
        {0, 0, 0, 0},   // gol
        {0, 0, 0, 0},   // hix
        {21, 0, 0, 0},  // jup
        {0, 0, 0, 0},   // kes
    };
    for (int i = 0; i < SCROLL_TEXT_COUNT; ++i) {
        const FallbackCounts n = countFallbacks(textAt(i));
        SCOPED_TRACE(scrollTextKeys[i]);
        EXPECT_EQ(n.capitals, expected[i].capitals);
        EXPECT_EQ(n.ampersands, expected[i].ampersands);
        EXPECT_EQ(n.oUmlautPairs, expected[i].oUmlautPairs);
        EXPECT_EQ(n.degreePairs, expected[i].degreePairs);
        EXPECT_EQ(n.other, 0);
    }
}

// The classifier above is what the catalogue check relies on; make sure it
// does not wave through bytes the charset cannot show.
TEST(ScrollTextCatalogue, FallbackCountingSeesEveryKindOfStrayByte) {
    const FallbackCounts clean = countFallbacks("schOne grUSe, 100% :) \"ok\" AOUS");
    EXPECT_EQ(clean.capitals + clean.ampersands + clean.oUmlautPairs + clean.degreePairs + clean.other, 0);

    const FallbackCounts n = countFallbacks(
        std::string_view("B&+\xC3\xB6\xC2\xB0\xC3\xA4[~\x7F\t\xB6\xC3", 15));
    EXPECT_EQ(n.capitals, 1);
    EXPECT_EQ(n.ampersands, 1);
    EXPECT_EQ(n.oUmlautPairs, 1);
    EXPECT_EQ(n.degreePairs, 1);
    // '+', 0xC3 0xA4 (two), '[', '~', 0x7F, tab, a lone 0xB6, a trailing 0xC3.
    EXPECT_EQ(n.other, 9);
}
