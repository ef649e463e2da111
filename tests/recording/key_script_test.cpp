// Key scripts and times in seconds: exact nanoseconds, order by time, and
// every malformed item refused with its text named.
#include "recording/key_script.h"
#include "platform/message_queue.h"

#include <gtest/gtest.h>

namespace {

TEST(Seconds, DecimalsBecomeExactNanoseconds) {
    int64_t ns = -1;
    EXPECT_TRUE(parseSeconds("2", ns));
    EXPECT_EQ(ns, 2000000000);
    EXPECT_TRUE(parseSeconds("5.5", ns));
    EXPECT_EQ(ns, 5500000000);
    EXPECT_TRUE(parseSeconds(".25", ns));
    EXPECT_EQ(ns, 250000000);
    EXPECT_TRUE(parseSeconds("3.", ns));
    EXPECT_EQ(ns, 3000000000);
    EXPECT_TRUE(parseSeconds("0.000000001", ns));
    EXPECT_EQ(ns, 1);
    EXPECT_TRUE(parseSeconds("0", ns));
    EXPECT_EQ(ns, 0);
    EXPECT_TRUE(parseSeconds("1000000000", ns));
    for (const char *bad : {"", ".", "-1", "+1", "1e3", " 1", "1 ", "1.2.3", "0x10", "1.0000000001", "1000000000.5",
                            "99999999999999999999", "nan", "inf"}) {
        EXPECT_FALSE(parseSeconds(bad, ns)) << bad;
    }
}

TEST(KeyScript, ItemsBecomeKeyReleasesOrderedByTime) {
    std::vector<ScriptedKey> keys;
    std::string error;
    ASSERT_TRUE(parseKeyScript("5.5:Down, 1.0:right,1:Left ,0:UP", keys, error)) << error;
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[0].atNs, 0);
    EXPECT_EQ(keys[0].key, KeyArrowUp);
    EXPECT_EQ(keys[1].key, KeyArrowRight) << "items at the same time keep their order";
    EXPECT_EQ(keys[1].atNs, 1000000000);
    EXPECT_EQ(keys[2].key, KeyArrowLeft);
    EXPECT_EQ(keys[3].atNs, 5500000000);
    EXPECT_EQ(keys[3].key, KeyArrowDown);
    EXPECT_TRUE(parseKeyScript("", keys, error));
    EXPECT_TRUE(keys.empty());
}

TEST(KeyScript, MalformedItemsAreRefusedByName) {
    std::vector<ScriptedKey> keys;
    for (const char *bad : {"1.0", "1.0:", ":Left", "1.0:Escape", "1.0:Right,", ",1:Left", "1:Left,,2:Up",
                            "x:Left", "-1:Left", "1.0:Right:Left", "1.0;Right"}) {
        std::string error;
        EXPECT_FALSE(parseKeyScript(bad, keys, error)) << bad;
        EXPECT_NE(error.find("is not TIME:KEY"), std::string::npos) << bad;
        EXPECT_TRUE(keys.empty());
    }
    std::string error;
    parseKeyScript("1:Left,2:Sideways", keys, error);
    EXPECT_EQ(error.rfind("\"2:Sideways\"", 0), 0u) << error;
}

}  // namespace
