// Reading the command line, without running the program.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "app/command_line.h"

namespace {

using Action = CommandLine::Action;

// Runs the parser on "dorirova" followed by args, on copies it may reorder.
CommandLine parse(std::vector<std::string> args) {
    args.insert(args.begin(), "dorirova");
    std::vector<char *> argv;
    for (std::string &a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    return parseCommandLine(int(args.size()), argv.data());
}

TEST(CommandLine, NoOptionsLeaveTheDialogToChoose) {
    CommandLine options = parse({});
    EXPECT_EQ(options.action, Action::Present);
    EXPECT_FALSE(options.skipDialog);
    EXPECT_FALSE(options.fullscreen);
    EXPECT_FALSE(options.sizeGiven);
}

TEST(CommandLine, SizeAndFullscreenStartAtOnce) {
    CommandLine sized = parse({"--size", "800x600"});
    EXPECT_EQ(sized.action, Action::Present);
    EXPECT_TRUE(sized.skipDialog && sized.sizeGiven);
    EXPECT_FALSE(sized.fullscreen);
    EXPECT_EQ(sized.width, 800);
    EXPECT_EQ(sized.height, 600);

    CommandLine desktop = parse({"--fullscreen"});
    EXPECT_TRUE(desktop.skipDialog && desktop.fullscreen);
    EXPECT_FALSE(desktop.sizeGiven) << "full screen alone takes the desktop's size";

    // GNU forms: "=value", abbreviations, any order; the last --size counts.
    CommandLine both = parse({"--full", "--size=1024x768", "--si", "1920x1080"});
    EXPECT_TRUE(both.fullscreen && both.sizeGiven);
    EXPECT_EQ(both.width, 1920);
    EXPECT_EQ(both.height, 1080);
}

// --keep-aspect goes with any way to start, and alone still leaves the
// dialog to choose (its box ticked).
TEST(CommandLine, KeepAspectGoesWithEveryWayToStart) {
    EXPECT_FALSE(parse({}).keepAspect);
    CommandLine alone = parse({"--keep-aspect"});
    EXPECT_TRUE(alone.keepAspect);
    EXPECT_FALSE(alone.skipDialog);
    for (const auto &args : {std::vector<std::string>{"--size", "800x600", "--keep"},
                             std::vector<std::string>{"--fullscreen", "--keep-aspect"},
                             std::vector<std::string>{"--still", "2", "a.png", "--keep-aspect"},
                             std::vector<std::string>{"--capture", "a.mp4", "--keep-aspect"}}) {
        CommandLine options = parse(args);
        EXPECT_NE(options.action, Action::UsageError) << options.error;
        EXPECT_TRUE(options.keepAspect) << args[0];
    }
}

TEST(CommandLine, SizesAtTheLimitsAreTakenAndOneBeyondIsRefused) {
    for (const char *size : {"320x240", "7680x4320", "320x4320", "7680x240", "0640x0480"}) {
        EXPECT_EQ(parse({"--size", size}).action, Action::Present) << size;
    }
    for (const char *size : {"319x240", "320x239", "7681x4320", "7680x4321", "0x0"}) {
        CommandLine options = parse({"--size", size});
        EXPECT_EQ(options.action, Action::UsageError) << size;
        EXPECT_NE(options.error.find("out of range"), std::string::npos) << options.error;
    }
}

TEST(CommandLine, MalformedCommandLinesAreUsageErrorsNamingTheCulprit) {
    struct Case {
        std::vector<std::string> args;
        std::string named;   // what the message must quote
    };
    const Case cases[] = {
        {{"--bogus"}, "--bogus"},
        {{"-x"}, "-x"},
        {{"-xyz"}, "-x"},
        {{"--size"}, "--size"},
        {{"--help=yes"}, "--help=yes"},
        {{"--fullscreen=1"}, "--fullscreen=1"},
        {{"stray"}, "stray"},
        {{"--size", "800x600", "stray"}, "stray"},
        {{"--size", ""}, "''"},
        {{"--size", "800"}, "'800'"},
        {{"--size", "800x"}, "'800x'"},
        {{"--size", "x600"}, "'x600'"},
        {{"--size", "800X600"}, "'800X600'"},
        {{"--size", "800x600x32"}, "'800x600x32'"},
        {{"--size", "-800x600"}, "'-800x600'"},
        {{"--size", "+800x600"}, "'+800x600'"},
        {{"--size", " 800x600"}, "' 800x600'"},
        {{"--size", "800 x 600"}, "'800 x 600'"},
        {{"--size", "99999999999999999999x600"}, "'99999999999999999999x600'"},
        {{"--size", "1e3x600"}, "'1e3x600'"},
        // Quoted escaped: a control character never breaks the line or reaches the terminal.
        {{"--size", "8\n00x600"}, "'8\\n00x600'"},
        {{"stray\x1b[2J"}, "stray\\x1b[2J"},
        {{"--capture", "a.mp4", "--keys", "1:Up,2:Do\nwn"}, "Do\\nwn"},
    };
    for (const Case &c : cases) {
        CommandLine options = parse(c.args);
        EXPECT_EQ(options.action, Action::UsageError) << c.args.back();
        EXPECT_NE(options.error.find(c.named), std::string::npos) << options.error;
        EXPECT_EQ(options.error.find('\n'), std::string::npos) << "one line: " << options.error;
    }
}

TEST(CommandLine, TheFirstOfHelpVersionOrAFaultDecides) {
    EXPECT_EQ(parse({"--help", "--bogus"}).action, Action::ShowHelp);
    EXPECT_EQ(parse({"--version", "--size", "1x1"}).action, Action::ShowVersion);
    EXPECT_EQ(parse({"--size", "1x1", "--help"}).action, Action::UsageError);
    EXPECT_EQ(parse({"--he"}).action, Action::ShowHelp);
    // The parser starts afresh each time: an earlier run's position does not carry over.
    EXPECT_EQ(parse({"--size", "800x600"}).action, Action::Present);
}

TEST(CommandLine, RecordingsTakeTheirFileSizeRateLengthAndKeys) {
    CommandLine video = parse({"--capture", "party.mp4"});
    EXPECT_EQ(video.action, Action::RecordVideo);
    EXPECT_EQ(video.outputFile, "party.mp4");
    EXPECT_EQ(video.width, 1920);
    EXPECT_EQ(video.height, 1080);
    EXPECT_EQ(video.fps, 60);
    EXPECT_EQ(video.lengthNs, -1) << "until the music ends";

    CommandLine small = parse({"--capture=a.webm", "--size", "320x240", "--fps", "240", "--seconds", "3600",
                               "--keys", "5.5:Down,1.0:Right"});
    EXPECT_EQ(small.width, 320);
    EXPECT_EQ(small.fps, 240);
    EXPECT_EQ(small.lengthNs, 3600000000000);
    ASSERT_EQ(small.keys.size(), 2u);
    EXPECT_EQ(small.keys[0].atNs, 1000000000);

    // The still's file may stand before or after the options.
    for (const auto &args : {std::vector<std::string>{"--still", "2.5", "shot.png", "--size", "3840x2160"},
                             std::vector<std::string>{"shot.png", "--size=3840x2160", "--still=2.5"}}) {
        CommandLine still = parse(args);
        EXPECT_EQ(still.action, Action::Still);
        EXPECT_EQ(still.outputFile, "shot.png");
        EXPECT_EQ(still.stillNs, 2500000000);
        EXPECT_EQ(still.width, 3840);
    }
    EXPECT_EQ(parse({"--still", "0", "first.png", "--fps", "1"}).action, Action::Still);
}

TEST(CommandLine, RecordingFaultsAreUsageErrors) {
    const std::vector<std::vector<std::string>> faults = {
        {"--capture", "a.mp4", "--size", "322x241"},  {"--capture", "a.mp4", "--size", "3842x2160"},
        {"--capture", "a.mp4", "--size", "3840x2162"}, {"--capture", "a.mp4", "--fps", "0"},
        {"--capture", "a.mp4", "--fps", "241"},       {"--capture", "a.mp4", "--fps", "30.5"},
        {"--capture", "a.mp4", "--seconds", "0"},     {"--capture", "a.mp4", "--seconds", "3600.001"},
        {"--capture", "a.mp4", "--seconds", "-1"},    {"--capture", "a.mp4", "--keys", "1.0:Escape"},
        {"--capture", "a.mp4", "--fullscreen"},       {"--capture", "a.mp4", "stray"},
        {"--capture", ""},                            {"--still", "2"},
        {"--still", "x", "a.png"},                    {"--still", "3600.5", "a.png"},
        {"--still", "2", "a.png", "b.png"},           {"--still", "2", "a.png", "--seconds", "3"},
        {"--still", "2", "a.png", "--capture", "b.mp4"}, {"--fps", "30"},
        {"--seconds", "3"},                           {"--keys", "1:Left"},
    };
    for (const auto &args : faults) {
        CommandLine options = parse(args);
        EXPECT_EQ(options.action, Action::UsageError) << args[0] << " " << args.back();
        EXPECT_EQ(options.error.find('\n'), std::string::npos) << options.error;
    }
}

TEST(CommandLine, HelpNamesEveryOptionKeyAndExitStatus) {
    const std::string help = helpText();
    EXPECT_EQ(help.rfind(usageLine() + "\n", 0), 0u) << "the help starts with the usage line";
    for (const char *word : {"--size WxH", "--fullscreen", "--keep-aspect", "--help", "--version", "--capture FILE",
                             "--still SECONDS FILE.png", "--fps N", "--seconds S", "--keys SCRIPT", "Left", "Right",
                             "Up", "Down", "Escape", "Exit status", "  0 ", "  1 ", "  2 ", "  130 "}) {
        EXPECT_NE(help.find(word), std::string::npos) << word;
    }
    EXPECT_TRUE(std::regex_match(versionText(), std::regex("dorirova [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << versionText();
}

}  // namespace

namespace {
TEST(CommandLine, PhotosTakeEveryPathUpToTheNextOptionWithTheShowsOtherFiles) {
    CommandLine options = parse({"--photos", "a", "b c", "--size", "800x600", "--photos", "d", "--crop",
                                 "--music", "m.xm", "--text", "t.txt", "--logo", "l.png"});
    EXPECT_EQ(options.action, Action::Present);
    EXPECT_EQ(options.photoPaths, (std::vector<std::string>{"a", "b c", "d"}));
    EXPECT_EQ(options.width, 800);
    EXPECT_TRUE(options.crop);
    EXPECT_EQ(options.musicFile + options.textFile + options.logoFile, "m.xmt.txtl.png");
    // A still's file comes after the option that ends the paths.
    CommandLine still = parse({"--photos", "dir", "--still", "2", "shot.png"});
    EXPECT_EQ(still.action, Action::Still);
    EXPECT_EQ(still.outputFile, "shot.png");
    EXPECT_EQ(still.photoPaths, std::vector<std::string>{"dir"});

    EXPECT_EQ(parse({"--photos"}).action, Action::UsageError);
    EXPECT_EQ(parse({"--photos", "--size", "800x600"}).action, Action::UsageError);
    EXPECT_EQ(parse({"--crop"}).action, Action::UsageError);
    EXPECT_EQ(parse({"--music"}).action, Action::UsageError);
}
}  // namespace
