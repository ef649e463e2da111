#include "app/startup.h"

#include <cstdio>
#include <string>

#include "app/command_line.h"
#include "platform/display_window.h"
#include "platform/guardian.h"
#include "recording/recording.h"
#include "resources/embedded_blobs.h"
#include "resources/settings_dialog.h"
#include "show/display.h"
#include "show/frame_loop.h"
#include "show/scene_setup.h"
#include "show/show_content.h"
#include "show/show_files.h"

ViewerChoice &viewerChoice() {
    static ViewerChoice choice;
    return choice;
}

namespace {
struct Resolution {
    int id;
    int32_t width, height;
};
// Tested in this order at Run; the first ticked one counts.
constexpr Resolution RESOLUTIONS[] = {
    {IDC_800x600, 800, 600},     {IDC_1024x768, 1024, 768},   {IDC_1280x1024, 1280, 1024},
    {IDC_1440x900, 1440, 900},   {IDC_1440x1050, 1440, 1050}, {IDC_1680x1050, 1680, 1050},
    {IDC_1920x1080, 1920, 1080}, {IDC_1920x1200, 1920, 1200},
};
}  // namespace

bool settingsDialogProc(DialogState &dialog, DialogMessage message, int controlId) {
    switch (message) {
        case DialogMessage::InitDialog:
            checkDialogButton(dialog, IDC_1024x768, true);
            checkDialogButton(dialog, IDC_KEEP_ASPECT, viewerChoice().settings.keepAspect);
            return true;
        case DialogMessage::Command:
            if (controlId == IDC_RUN) {
                viewerChoice().settings.fullscreen = isDialogButtonChecked(dialog, IDC_FULLSCREEN);
                viewerChoice().settings.keepAspect = isDialogButtonChecked(dialog, IDC_KEEP_ASPECT);
                for (const Resolution &r : RESOLUTIONS) {
                    if (isDialogButtonChecked(dialog, r.id)) {
                        viewerChoice().settings.width = r.width;
                        viewerChoice().settings.height = r.height;
                        break;
                    }
                }
                endDialog(dialog, 0);
                return true;
            }
            if (controlId == IDC_EXIT) {
                viewerChoice().run = false;
                endDialog(dialog, 0);
                return true;
            }
            return false;
    }
    return false;
}

namespace {
// --help and --version: the text on stdout; a failed write is a failure.
int printAndEnd(const std::string &text) {
    std::fputs(text.c_str(), stdout);
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? EXIT_STATUS_OK : EXIT_STATUS_FAILED;
}

// The command line's size and full-screen choice in place of the dialog's.
// False, with one line on stderr, when full screen wants the desktop's size
// and there is no display to ask.
bool takeCommandLineSettings(const CommandLine &options) {
    viewerChoice().settings.fullscreen = options.fullscreen;
    if (options.sizeGiven) {
        viewerChoice().settings.width = options.width;
        viewerChoice().settings.height = options.height;
        return true;
    }
    if (!options.fullscreen) return true;
    int width = 0, height = 0;
    if (!desktopSize(width, height)) {
        std::fprintf(stderr, "dorirova: cannot open a full-screen display at the desktop's size: %s\n",
                     displayFailureReason());
        return false;
    }
    viewerChoice().settings.width = width;
    viewerChoice().settings.height = height;
    return true;
}
// --capture and --still: the presentation recorded without a display.
int record(const CommandLine &options) {
    RecordingSettings settings;
    settings.file = options.outputFile;
    settings.width = options.width;
    settings.height = options.height;
    settings.fps = options.fps;
    settings.lengthNs = options.lengthNs;
    settings.stillNs = options.stillNs;
    settings.keys = options.keys;
    settings.keepAspect = options.keepAspect;
    return options.action == CommandLine::Action::Still ? recordStill(settings) : recordVideo(settings);
}

// The presentation: the dialog unless the command line chose, the display,
// the scene and the frame loop; the exit status.
int present(const CommandLine &options) {
    viewerChoice().settings.keepAspect = options.keepAspect;
    if (options.skipDialog) {
        if (!takeCommandLineSettings(options)) return EXIT_STATUS_FAILED;
    } else {
        const int dialogResult = dialogBox(settingsDialogTemplate(), settingsDialogProc);
        if (dialogResult == DIALOG_NO_DISPLAY) {
            // The viewer has chosen nothing: say so, rather than start at a size unasked.
            std::fputs("dorirova: cannot show the settings dialog: it needs an X display (DISPLAY); "
                       "--size or --fullscreen start without it\n",
                       stderr);
            return EXIT_STATUS_FAILED;
        }
        if (!viewerChoice().run) return dialogResult;
    }
    const DisplaySettings &chosen = viewerChoice().settings;
    if (!startPresentation(chosen)) {
        std::fprintf(stderr, "dorirova: cannot open a %d x %d %s display: %s\n", chosen.width, chosen.height,
                     chosen.fullscreen ? "full-screen" : "windowed", displayFailureReason());
        return EXIT_STATUS_FAILED;
    }
    return runFrameLoop();   // its shutdown releases the music, the asset store and the display's mode
}
}  // namespace

namespace {
// The viewer's own content from the command line, for the scene's set-up.
void takeShowContent(const CommandLine &options) {
    ShowContent &content = showContent();
    content.photoPaths = options.photoPaths;
    content.fit = options.crop ? PhotoFit::Fill : PhotoFit::Inside;
    content.musicFile = options.musicFile;
    content.textFile = options.textFile;
    content.logoFile = options.logoFile;
}

// The viewer's own files, before anything opens (window, sound device,
// dialog, output file): false, with one line on stderr, when one cannot be used.
bool showFilesUsable() {
    const std::string fault = checkShowFiles(showContent());
    if (fault.empty()) return true;
    std::fprintf(stderr, "dorirova: %s\n", fault.c_str());
    return false;
}
}  // namespace

int dorirovaMain(int argc, char *argv[]) {
    // Set-up, in this order; nothing of the program's runs before it.
    provideProgramResources();   // the archive and the banner, for whatever runs
    const CommandLine options = parseCommandLine(argc, argv);
    switch (options.action) {
        case CommandLine::Action::ShowHelp:
            return printAndEnd(helpText());
        case CommandLine::Action::ShowVersion:
            return printAndEnd(versionText());
        case CommandLine::Action::UsageError:
            std::fprintf(stderr, "dorirova: %s\n%s\n", options.error.c_str(), usageLine().c_str());
            return EXIT_STATUS_USAGE;
        case CommandLine::Action::RecordVideo:
        case CommandLine::Action::Still:
        case CommandLine::Action::Present:
            break;
    }
    // The viewer's own files, before anything opens: what cannot be used
    // ends the command here.
    takeShowContent(options);
    if (const std::string fault = checkShowPhotos(showContent()); !fault.empty()) {
        std::fprintf(stderr, "dorirova: %s\n", fault.c_str());
        return EXIT_STATUS_USAGE;
    }
    if (!showFilesUsable()) return EXIT_STATUS_USAGE;
    if (options.action != CommandLine::Action::Present) return record(options);

    // Before anything connects to the display: whatever ends the run, the
    // guardian puts back a display mode changed for full screen.
    startGuardian();
    const int status = present(options);
    // Teardown, the guardian last: told "all done" and reaped when the
    // display's mode is back (or was never changed).
    endGuardian();
    return status;
}
