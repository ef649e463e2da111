// What a person at a terminal reads: the progress line and the last line.
#include "recording/progress_line.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgressLine, ShowsFramesSpeedElapsedAndTimeLeft) {
    EXPECT_EQ(progressLine(0, 600, 0.0), "[------------------------]  0/600 frames");
    EXPECT_EQ(progressLine(150, 600, 5.0),
              "[######------------------]  150/600 frames  30.0 fps  0:05 elapsed  0:15 left");
    EXPECT_EQ(progressLine(600, 600, 20.0),
              "[########################]  600/600 frames  30.0 fps  0:20 elapsed  0:00 left");
    EXPECT_EQ(progressLine(700, 0, 1.0).substr(0, 26), "[########################]") << "out of range is held in";
}

TEST(ProgressLine, ClockAndSizeTexts) {
    EXPECT_EQ(clockText(0), "0:00");
    EXPECT_EQ(clockText(171.688), "2:51");
    EXPECT_EQ(clockText(3600), "1:00:00");
    EXPECT_EQ(clockText(-3), "0:00");
    EXPECT_EQ(sizeText(812), "812 B");
    EXPECT_EQ(sizeText(196399104), "187.3 MiB");
    EXPECT_EQ(summaryLine("party.mp4", 196399104, 171.688, 302.4),
              "party.mp4: 187.3 MiB, 2:51 of video, recorded in 5:02");
}

}  // namespace
