#include "app/command_line.h"

#include <getopt.h>   // getopt_long: GNU long options and their abbreviations

#include <cctype>

namespace {

// Values getopt_long returns for each option: beyond any character, since
// no option has a one-letter form.
enum OptionCode { OPT_SIZE = 256, OPT_FULLSCREEN, OPT_HELP, OPT_VERSION };

// One row per option. getopt_long's table, the usage line and the help are
// all made from these rows, so an option is one row here and one case in
// parseCommandLine.
struct OptionRow {
    const char *name;       // without the leading "--"
    OptionCode code;
    const char *value;      // the value's placeholder in the help, or null for a switch
    const char *help;       // one line
};

constexpr OptionRow OPTIONS[] = {
    {"size", OPT_SIZE, "WxH", "start at once in a W x H window (320x240 to 7680x4320)"},
    {"fullscreen", OPT_FULLSCREEN, nullptr, "start at once in full screen, at --size or the desktop's size"},
    {"help", OPT_HELP, nullptr, "show this help and exit"},
    {"version", OPT_VERSION, nullptr, "show the version and exit"},
};
constexpr int OPTION_COUNT = int(sizeof OPTIONS / sizeof OPTIONS[0]);

std::string optionWithValue(const OptionRow &row) {
    std::string text = std::string("--") + row.name;
    if (row.value) text += std::string(" ") + row.value;
    return text;
}

// Reads 1 to 5 decimal digits; false when there are none or more follow.
bool readNumber(const char *&p, int32_t &value) {
    const char *start = p;
    value = 0;
    while (std::isdigit(static_cast<unsigned char>(*p)) && p - start < 5) value = value * 10 + (*p++ - '0');
    return p > start && !std::isdigit(static_cast<unsigned char>(*p));
}

// "WxH" and nothing else: no sign, no spaces, no units.
bool readSize(const char *text, int32_t &width, int32_t &height) {
    const char *p = text;
    return readNumber(p, width) && *p++ == 'x' && readNumber(p, height) && *p == '\0';
}

CommandLine usageError(std::string error) {
    CommandLine faulty;
    faulty.action = CommandLine::Action::UsageError;
    faulty.error = std::move(error);
    return faulty;
}

// The argument getopt_long has just rejected: a short option by its letter,
// a long one as written (it is always a whole argument).
std::string rejectedArgument(int argc, char *argv[]) {
    if (optopt > 0 && optopt < 256 && std::isprint(optopt)) return std::string("-") + char(optopt);
    return optind > 0 && optind <= argc ? argv[optind - 1] : "";
}

}  // namespace

CommandLine parseCommandLine(int argc, char *argv[]) {
    option longOptions[OPTION_COUNT + 1] = {};
    for (int i = 0; i < OPTION_COUNT; ++i) {
        longOptions[i] = {OPTIONS[i].name, OPTIONS[i].value ? required_argument : no_argument, nullptr,
                          OPTIONS[i].code};
    }

    CommandLine result;
    optind = 0;   // 0, not 1: glibc starts afresh, so the parser can run again
    opterr = 0;   // faults come back in the record instead of on stderr
    // The leading ':' tells a missing value (':') apart from an unknown option ('?').
    for (int code; (code = getopt_long(argc, argv, ":", longOptions, nullptr)) != -1;) {
        switch (code) {
            case OPT_SIZE: {
                int32_t width = 0, height = 0;
                if (!readSize(optarg, width, height)) {
                    return usageError("--size takes WIDTHxHEIGHT in pixels, like 800x600, not '" +
                                      std::string(optarg) + "'");
                }
                if (width < MIN_WIDTH || width > MAX_WIDTH || height < MIN_HEIGHT || height > MAX_HEIGHT) {
                    return usageError("size " + std::string(optarg) + " is out of range (" +
                                      std::to_string(MIN_WIDTH) + "x" + std::to_string(MIN_HEIGHT) + " to " +
                                      std::to_string(MAX_WIDTH) + "x" + std::to_string(MAX_HEIGHT) + ")");
                }
                result.sizeGiven = result.skipDialog = true;
                result.width = width;
                result.height = height;
                break;
            }
            case OPT_FULLSCREEN:
                result.fullscreen = result.skipDialog = true;
                break;
            case OPT_HELP:
                result.action = CommandLine::Action::ShowHelp;
                return result;
            case OPT_VERSION:
                result.action = CommandLine::Action::ShowVersion;
                return result;
            case ':':
                return usageError("option '" + rejectedArgument(argc, argv) + "' needs a value");
            default:
                return usageError("invalid option '" + rejectedArgument(argc, argv) + "'");
        }
    }
    if (optind < argc) return usageError("unexpected argument '" + std::string(argv[optind]) + "'");
    return result;
}

std::string usageLine() {
    std::string line = "Usage: dorirova";
    for (const OptionRow &row : OPTIONS) line += " [" + optionWithValue(row) + "]";
    return line;
}

std::string helpText() {
    std::string text = usageLine() + "\n"
        "A real-time slideshow of 24 photographs with a text scroller and music, by krv.\n"
        "Without options a settings dialog asks for the resolution first.\n"
        "\nOptions:\n";
    for (const OptionRow &row : OPTIONS) {
        std::string left = "  " + optionWithValue(row);
        left.resize(18, ' ');
        text += left + row.help + "\n";
    }
    text +=
        "\nKeys:\n"
        "  Left, Right     the previous or next photograph\n"
        "  Up, Down        the previous or next member's scroll text\n"
        "  Escape          end the presentation (so does closing the window)\n"
        "\nExit status:\n"
        "  0  the presentation or the dialog ended normally\n"
        "  1  the display could not be opened\n"
        "  2  the command line could not be read\n";
    return text;
}

std::string versionText() { return "dorirova " DORIROVA_VERSION "\n"; }
