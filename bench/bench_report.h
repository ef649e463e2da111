#pragma once
// The benchmark's report: what the child processes said, gathered into
// medians with their spread, printed as Markdown tables on stdout.
#include <map>
#include <string>
#include <utility>
#include <vector>

// What one child reported: each "@ key value..." line, by key; a key given on
// several lines collects all their values.
using Results = std::map<std::string, std::vector<std::string>>;

// The first value of key as a number; 0 when missing.
double number(const Results &results, const std::string &key);

// The CPU's model name, and the load average over the last minute (how busy
// the shared machine was).
std::string cpuModel();
std::string loadAverage();

// The goals, each measured against its floor: Run to the first frame and to
// every photograph ready against decoding the photographs alone, peak memory
// once loaded, and frame times with and without a transition against the
// frame floor (frames holds "WxH kind" runs: scene, transition, quad, clear).
void printGoals(const std::vector<std::pair<int, int>> &sizes, const std::vector<Results> &startups,
                const std::vector<Results> &floors, const std::map<std::string, std::vector<Results>> &frames);

// Section 1: start-up by stage beside the floor, and the ratio. Needs at
// least one run of each.
void printStartup(const std::vector<Results> &startups, const std::vector<Results> &floors);

// Section 1, continued: the background loading on a time line, from the
// start-up of median length to all photographs ready: when each came, and
// the frames meanwhile against the frame target (1.5 x the floor's quad runs).
void printLoading(const std::vector<Results> &startups, const std::vector<Results> &quadRuns);

// Section 2: frames per second by kind, per size, and the layers' share.
void printFrames(const std::vector<std::pair<int, int>> &sizes,
                 const std::map<std::string, std::vector<Results>> &frames);

// Section 2, continued: each layer's cost per frame, one run per size in order.
void printLayerCosts(const std::vector<std::pair<int, int>> &sizes, const std::vector<Results> &splits);

// Section 3: resident memory once every photograph is loaded against what
// the textures hold.
void printMemory(const std::vector<Results> &startups);
