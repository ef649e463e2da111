#pragma once
// What a recording tells a person at a terminal: a progress line it rewrites
// in place while it works, and one line when it is done. Text only; the
// caller decides whether stderr is a terminal and when to write.
#include <cstdint>
#include <string>

// Seconds as "m:ss", or "h:mm:ss" from an hour on (rounded down to the second).
std::string clockText(double seconds);

// Bytes as "812 B", "14.2 KiB", "187.3 MiB" or "2.1 GiB".
std::string sizeText(uint64_t bytes);

// "[########------------]  1234/10302 frames  41.2 fps  0:30 elapsed  3:40 left":
// done of total frames (total > 0), elapsed wall-clock seconds; the speed and
// time left are left out until a frame is done.
std::string progressLine(int64_t done, int64_t total, double elapsedSeconds);

// "party.mp4: 187.3 MiB, 2:51 of video, recorded in 5:02".
std::string summaryLine(const std::string &file, uint64_t bytes, double videoSeconds, double tookSeconds);
