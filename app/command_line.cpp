#include "app/command_line.h"

#include "platform/printable_text.h"

#include <getopt.h>   // getopt_long: GNU long options and their abbreviations

#include <cctype>
#include <cstring>

namespace {

// Values getopt_long returns for each option: beyond any character, since
// no option has a one-letter form.
enum OptionCode {
    OPT_SIZE = 256, OPT_FULLSCREEN, OPT_KEEP_ASPECT, OPT_CAPTURE, OPT_STILL, OPT_FPS, OPT_SECONDS, OPT_KEYS,
    OPT_PHOTOS, OPT_CROP, OPT_MUSIC, OPT_TEXT, OPT_LOGO, OPT_HELP, OPT_VERSION
};

// One row per option. getopt_long's table and the help's list of options
// are made from these rows; the usage line is written out by hand, one line
// for each way to start. An option is one row here, one case in readOption,
// and its place in usageLine.
struct OptionRow {
    const char *name;       // without the leading "--"
    OptionCode code;
    const char *value;      // the value's placeholder in the help, or null for a switch
    const char *help;       // one line
};

constexpr OptionRow OPTIONS[] = {
    {"size", OPT_SIZE, "WxH", "start at once in a W x H window (320x240 to 7680x4320)"},
    {"fullscreen", OPT_FULLSCREEN, nullptr, "start at once in full screen, at --size or the desktop's size"},
    {"keep-aspect", OPT_KEEP_ASPECT, nullptr, "keep the picture's 4:3 shape, on black bars, not stretched"},
    {"capture", OPT_CAPTURE, "FILE", "record a video (.mp4, .mkv or .webm) without a display"},
    {"still", OPT_STILL, "SECONDS", "save the frame at that moment as FILE.png, without a display"},
    {"fps", OPT_FPS, "N", "a recording's frames per second (1 to 240, default 60)"},
    {"seconds", OPT_SECONDS, "S", "a video's length (up to 3600, default: until the music ends)"},
    {"keys", OPT_KEYS, "SCRIPT", "keys to release while recording: TIME:KEY,... like 1.0:Right"},
    {"photos", OPT_PHOTOS, "PATH...", "your own photographs: folders (their JPEGs and PNGs) and files"},
    {"crop", OPT_CROP, nullptr, "fill the square with each photograph, cutting its edges"},
    {"music", OPT_MUSIC, "FILE", "your own music: a module (MOD, S3M, XM, IT ...) or WAV, FLAC, Ogg, MP3"},
    {"text", OPT_TEXT, "FILE", "your own scroll text, UTF-8, in place of the members' texts"},
    {"logo", OPT_LOGO, "FILE.png", "your own logo in place of the group's"},
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

// The arguments it quotes are escaped: a newline in one cannot break the line.
CommandLine usageError(const std::string &error) {
    CommandLine faulty;
    faulty.action = CommandLine::Action::UsageError;
    faulty.error = printableText(error);
    return faulty;
}

// A whole number of 1 to 5 digits and nothing else.
bool readWholeNumber(const char *text, int32_t &value) {
    const char *p = text;
    return readNumber(p, value) && *p == '\0';
}

bool isRecording(const CommandLine &options) {
    return options.action == CommandLine::Action::RecordVideo || options.action == CommandLine::Action::Still;
}

// What only a recording takes, and what a recording cannot take: a usage
// error's text, or "" when all is well. Changes nothing.
std::string recordingFault(const CommandLine &options, bool fpsGiven, bool lengthGiven, bool keysGiven) {
    if (!isRecording(options)) {
        if (fpsGiven || keysGiven) return "--fps and --keys go with --capture or --still";
        if (lengthGiven) return "--seconds goes with --capture";
        return "";
    }
    if (lengthGiven && options.action == CommandLine::Action::Still) return "--seconds goes with --capture";
    if (options.fullscreen) return "--fullscreen does not go with --capture or --still";
    if (options.outputFile.empty()) return "a recording needs the name of the file to write";
    if (options.sizeGiven && (options.width % 2 || options.height % 2 || options.width > MAX_RECORDING_WIDTH ||
                              options.height > MAX_RECORDING_HEIGHT)) {
        return "a recording's size is even, from " + std::to_string(MIN_WIDTH) + "x" + std::to_string(MIN_HEIGHT) +
               " to " + std::to_string(MAX_RECORDING_WIDTH) + "x" + std::to_string(MAX_RECORDING_HEIGHT) + ", not " +
               std::to_string(options.width) + "x" + std::to_string(options.height);
    }
    return "";
}

// A good recording's defaults: its size when none was given; no dialog.
void takeRecordingDefaults(CommandLine &options) {
    if (!options.sizeGiven) {
        options.width = DEFAULT_RECORDING_WIDTH;
        options.height = DEFAULT_RECORDING_HEIGHT;
    }
    options.skipDialog = true;
}

// The argument getopt_long has just rejected: a short option by its letter,
// a long one as written (it is always a whole argument).
std::string rejectedArgument(int argc, char *argv[]) {
    if (optopt > 0 && optopt < 256 && std::isprint(optopt)) return std::string("-") + char(optopt);
    return optind > 0 && optind <= argc ? argv[optind - 1] : "";
}

}  // namespace

namespace {

// What the options said beyond the record: the options only a recording takes.
struct OptionsGiven {
    bool fps = false, length = false, keys = false, photos = false;
};

// getopt_long's table, from OPTIONS, ended by a row of zeros.
struct LongOptions {
    option rows[OPTION_COUNT + 1] = {};
    LongOptions() {
        for (int i = 0; i < OPTION_COUNT; ++i) {
            const bool takesValue = OPTIONS[i].value && OPTIONS[i].code != OPT_PHOTOS;
            rows[i] = {OPTIONS[i].name, takesValue ? required_argument : no_argument, nullptr, OPTIONS[i].code};
        }
    }
};

// --size's value into result; a usage error's text, or "" when it is good.
std::string readSizeOption(const char *value, CommandLine &result) {
    int32_t width = 0, height = 0;
    if (!readSize(value, width, height)) {
        return "--size takes WIDTHxHEIGHT in pixels, like 800x600, not '" + std::string(value) + "'";
    }
    if (width < MIN_WIDTH || width > MAX_WIDTH || height < MIN_HEIGHT || height > MAX_HEIGHT) {
        return "size " + std::string(value) + " is out of range (" + std::to_string(MIN_WIDTH) + "x" +
               std::to_string(MIN_HEIGHT) + " to " + std::to_string(MAX_WIDTH) + "x" + std::to_string(MAX_HEIGHT) + ")";
    }
    result.sizeGiven = result.skipDialog = true;
    result.width = width;
    result.height = height;
    return "";
}

// --capture FILE or --still SECONDS into result; a usage error's text, or "".
std::string readRecordingOption(int code, const char *value, CommandLine &result) {
    const auto action = code == OPT_CAPTURE ? CommandLine::Action::RecordVideo : CommandLine::Action::Still;
    if (isRecording(result) && result.action != action) return "--capture and --still exclude each other";
    result.action = action;
    if (code == OPT_CAPTURE) {
        result.outputFile = value;
    } else if (!parseSeconds(value, result.stillNs) || result.stillNs > MAX_RECORDING_NS) {
        return "--still takes the moment in seconds, 0 to 3600, like 2.5, not '" + std::string(value) + "'";
    }
    return "";
}

// One option getopt_long returned, with its value, into result and given; a
// usage error's text, or "" when it is good.
std::string readOption(int code, const char *value, CommandLine &result, OptionsGiven &given) {
    switch (code) {
        case OPT_SIZE:
            return readSizeOption(value, result);
        case OPT_FULLSCREEN:
            result.fullscreen = result.skipDialog = true;
            return "";
        case OPT_KEEP_ASPECT:
            result.keepAspect = true;
            return "";
        case OPT_CAPTURE:
        case OPT_STILL:
            return readRecordingOption(code, value, result);
        case OPT_FPS:
            given.fps = true;
            if (readWholeNumber(value, result.fps) && result.fps >= MIN_FPS && result.fps <= MAX_FPS) return "";
            return "--fps takes a whole number from 1 to 240, not '" + std::string(value) + "'";
        case OPT_SECONDS:
            given.length = true;
            if (parseSeconds(value, result.lengthNs) && result.lengthNs > 0 && result.lengthNs <= MAX_RECORDING_NS) {
                return "";
            }
            return "--seconds takes a length above 0 and up to 3600, like 30 or 2.5, not '" + std::string(value) + "'";
        case OPT_PHOTOS:   // its paths were gathered before (gatherPhotoPaths)
            given.photos = true;
            return "";
        case OPT_CROP:
            result.crop = true;
            return "";
        case OPT_MUSIC:
            result.musicFile = value;
            return "";
        case OPT_TEXT:
            result.textFile = value;
            return "";
        case OPT_LOGO:
            result.logoFile = value;
            return "";
        case OPT_KEYS: {
            given.keys = true;
            std::string error;
            return parseKeyScript(value, result.keys, error) ? "" : "--keys: " + error;
        }
    }
    return "invalid option";   // not reached: every code of OPTIONS has its case
}

}  // namespace

namespace {
// --photos takes every argument after it up to the next option: they go
// into paths, in order, and leave argv, where getopt_long would take them
// for stray arguments; to getopt_long it is a switch.
void gatherPhotoPaths(int &argc, char *argv[], std::vector<std::string> &paths) {
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        argv[kept++] = argv[i];
        if (std::strcmp(argv[i], "--") == 0) {
            while (++i < argc) argv[kept++] = argv[i];
            break;
        }
        if (std::strcmp(argv[i], "--photos") != 0) continue;
        while (i + 1 < argc && argv[i + 1][0] != '-') paths.push_back(argv[++i]);
    }
    argc = kept;
}
}  // namespace

CommandLine parseCommandLine(int argc, char *argv[]) {
    const LongOptions longOptions;
    CommandLine result;
    gatherPhotoPaths(argc, argv, result.photoPaths);
    OptionsGiven given;
    optind = 0;   // 0, not 1: glibc starts afresh, so the parser can run again
    opterr = 0;   // faults come back in the record instead of on stderr
    // The leading ':' tells a missing value (':') apart from an unknown option ('?').
    for (int code; (code = getopt_long(argc, argv, ":", longOptions.rows, nullptr)) != -1;) {
        if (code == OPT_HELP || code == OPT_VERSION) {
            result.action = code == OPT_HELP ? CommandLine::Action::ShowHelp : CommandLine::Action::ShowVersion;
            return result;
        }
        if (code == ':') return usageError("option '" + rejectedArgument(argc, argv) + "' needs a value");
        if (code < OPT_SIZE || code > OPT_VERSION) {
            return usageError("invalid option '" + rejectedArgument(argc, argv) + "'");
        }
        const std::string fault = readOption(code, optarg, result, given);
        if (!fault.empty()) return usageError(fault);
    }
    if (given.photos && result.photoPaths.empty()) return usageError("--photos needs a folder or file after it");
    if (result.crop && result.photoPaths.empty()) return usageError("--crop goes with --photos");
    // A still's file is the one argument that is not an option.
    if (result.action == CommandLine::Action::Still && optind < argc) result.outputFile = argv[optind++];
    if (optind < argc) return usageError("unexpected argument '" + std::string(argv[optind]) + "'");
    const std::string fault = recordingFault(result, given.fps, given.length, given.keys);
    if (!fault.empty()) return usageError(fault);
    if (isRecording(result)) takeRecordingDefaults(result);
    return result;
}

std::string usageLine() {
    return "Usage: dorirova [--size WxH] [--fullscreen] [--keep-aspect] [SHOW]\n"
           "  dorirova --capture FILE [--size WxH] [--keep-aspect] [--fps N] [--seconds S] [--keys SCRIPT]\n"
           "  dorirova --still SECONDS FILE.png [--size WxH] [--keep-aspect] [--fps N] [--keys SCRIPT]\n"
           "  dorirova --help | --version\n"
           "SHOW: [--photos PATH... [--crop]] [--music FILE] [--text FILE] [--logo FILE.png], with any of the above";
}

std::string helpText() {
    std::string text = usageLine() + "\n"
        "A real-time slideshow of 24 photographs with a text scroller and music, by krv.\n"
        "Without --size or --fullscreen a settings dialog asks for the resolution first;\n"
        "it needs an X display (in a Wayland session, XWayland's).\n"
        "--capture and --still record it exactly, without a display, at 1920x1080\n"
        "unless --size says otherwise (even sizes up to 3840x2160).\n"
        "\nOptions:\n";
    for (const OptionRow &row : OPTIONS) {
        std::string left = "  " + optionWithValue(row);
        left.resize(19, ' ');
        text += left + row.help + "\n";
    }
    text +=
        "\nKeys:\n"
        "  Left, Right     the previous or next photograph\n"
        "  Up, Down        the previous or next member's scroll text\n"
        "  Escape          end the presentation (so does closing the window)\n"
        "\nExit status:\n"
        "  0  the presentation or the dialog ended normally, or a recording was written\n"
        "  1  the display (or, for the dialog, an X display) could not be opened or was\n"
        "     lost, or a recording failed\n"
        "  2  the command line could not be read, or your own show's files cannot be\n"
        "     used (--photos finds nothing to show, or --music, --text, --logo)\n"
        "  130  a recording was interrupted (Ctrl+C); nothing is left of it\n";
    return text;
}

std::string versionText() { return "dorirova " DORIROVA_VERSION "\n"; }
