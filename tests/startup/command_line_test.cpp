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

TEST(CommandLine, HelpNamesEveryOptionKeyAndExitStatus) {
    const std::string help = helpText();
    EXPECT_EQ(help.rfind(usageLine() + "\n", 0), 0u) << "the help starts with the usage line";
    for (const char *word : {"--size WxH", "--fullscreen", "--help", "--version", "Left", "Right", "Up", "Down",
                             "Escape", "Exit status", "  0 ", "  1 ", "  2 "}) {
        EXPECT_NE(help.find(word), std::string::npos) << word;
    }
    EXPECT_TRUE(std::regex_match(versionText(), std::regex("dorirova [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << versionText();
}

}  // namespace
