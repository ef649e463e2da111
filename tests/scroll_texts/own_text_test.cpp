// A viewer's own UTF-8 scroll text in the charset's conventions.
#include "scroller/own_text.h"

#include <gtest/gtest.h>   // test framework

TEST(OwnText, UmlautsCapitalsMissingCharactersBadBytesAndBreaksBecomeTheCharsets) {
    const std::string utf8 = "Grüße aus Köln!\n\tÄrger & Ölpreis 10€ ÜBER\xFF\r\nß\xC3(\xC0\xAF.";
    EXPECT_EQ(charsetTextFromUtf8(utf8), "grUSe aus kOln!  Arger   Olpreis 10  Uber  S (  .");
}
