#include "app/startup.h"

#include <cstdio>
#include <string>

#include "app/capture.h"
#include "app/command_line.h"
#include "app/display.h"
#include "app/frame_loop.h"
#include "app/music.h"
#include "assets/asset_store.h"
#include "platform/display_window.h"
#include "platform/guardian.h"
#include "platform/message_queue.h"
#include "resources/settings_dialog.h"
#include "scene/background_layer.h"
#include "scene/logo_layer.h"
#include "scene/photo_layer.h"
#include "scene/virtual_screen.h"
#include "scroller/charset_text.h"
#include "scroller/scroller_layer.h"

bool DisplaySettings::run = true;
int32_t DisplaySettings::width = 1024;
int32_t DisplaySettings::height = 768;
bool DisplaySettings::fullscreen = false;
bool DisplaySettings::keepAspect = false;

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
            checkDialogButton(dialog, IDC_KEEP_ASPECT, DisplaySettings::keepAspect);
            return true;
        case DialogMessage::Command:
            if (controlId == IDC_RUN) {
                DisplaySettings::fullscreen = isDialogButtonChecked(dialog, IDC_FULLSCREEN);
                DisplaySettings::keepAspect = isDialogButtonChecked(dialog, IDC_KEEP_ASPECT);
                for (const Resolution &r : RESOLUTIONS) {
                    if (isDialogButtonChecked(dialog, r.id)) {
                        DisplaySettings::width = r.width;
                        DisplaySettings::height = r.height;
                        break;
                    }
                }
                endDialog(dialog, 0);
                return true;
            }
            if (controlId == IDC_EXIT) {
                DisplaySettings::run = false;
                endDialog(dialog, 0);
                return true;
            }
            return false;
    }
    return false;
}

void beginScene(int32_t width, int32_t height) {
    // The screen the world is stretched onto: the whole frame, or the box of its shape.
    const PictureBox picture = pictureBox(width, height);
    VirtualScreen::configure(uint32_t(picture.width), uint32_t(picture.height));
    // Created on the heap and never deleted: the stack holds them to the end.
    // Their order is the draw order and the order keys are delivered in.
    LayerStack::instance().add(new BackgroundLayer);
    LayerStack::instance().add(new PhotoLayer);
    LayerStack::instance().add(new ScrollerLayer);
    LayerStack::instance().add(new LogoLayer);
    LayerStack::instance().initAll();   // the layers' images begin to load on the loader's threads
    loadMusic();                        // meanwhile, here
}

void finishScene() {
    // The frame loop starts once the first frame's images are here; the
    // other photographs come in between frames.
    AssetStore::instance()->waitForFirstFrame();
}

void initScene(int32_t width, int32_t height) {
    beginScene(width, height);
    finishScene();
}

bool startPresentation(int32_t width, int32_t height, bool fullscreen) {
    // The window shows before the frame loop runs: from here on SIGINT and
    // SIGTERM must become the quit message, however early they come.
    installQuitSignals();
    createMusicSystem();   // audio starts only now that a presentation runs
    beginScene(width, height);
    const std::string missing = AssetStore::instance()->extractionFailure();
    if (!missing.empty()) {
        std::fprintf(stderr, "dorirova: %s; running without what could not be extracted\n", missing.c_str());
    }
    if (!createDisplay(width, height, fullscreen)) {
        // The run ends here: the loading stops and the music's file goes.
        releaseMusic();
        AssetStore::destroyInstance();
        return false;
    }
    finishScene();
    holdLoadingUntilFirstFrame();
    return true;
}

void resetScene() {
    LayerStack &stack = LayerStack::instance();
    for (Layer *layer : stack.layers) delete layer;
    stack.layers.clear();
    stack.state = Created;
    resetBackground();
    resetSlideshow();
    resetScroller();
    resetCharset();
    resetLogo();
    resetMusic();
    resetDisplay();
    VirtualScreen::reset();
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
    DisplaySettings::fullscreen = options.fullscreen;
    if (options.sizeGiven) {
        DisplaySettings::width = options.width;
        DisplaySettings::height = options.height;
        return true;
    }
    if (!options.fullscreen) return true;
    int width = 0, height = 0;
    if (!desktopSize(width, height)) {
        std::fprintf(stderr, "dorirova: cannot open a full-screen display at the desktop's size: %s\n",
                     displayFailureReason());
        return false;
    }
    DisplaySettings::width = width;
    DisplaySettings::height = height;
    return true;
}
// --capture and --still: the presentation recorded without a display.
int record(const CommandLine &options) {
    CaptureSettings settings;
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
}  // namespace

int dorirovaMain(int argc, char *argv[]) {
    const CommandLine options = parseCommandLine(argc, argv);
    switch (options.action) {
        case CommandLine::Action::ShowHelp:
            return printAndEnd(helpText());
        case CommandLine::Action::ShowVersion:
            return printAndEnd(versionText());
        case CommandLine::Action::UsageError:
            std::fprintf(stderr, "dorirova: %s\n%s\n", options.error.c_str(), usageLine().c_str());
            return EXIT_STATUS_USAGE;
        case CommandLine::Action::Capture:
        case CommandLine::Action::Still:
            return record(options);
        case CommandLine::Action::Present:
            break;
    }

    // Before anything connects to the display: whatever ends the run, the
    // guardian puts back a display mode changed for full screen.
    startGuardian();
    DisplaySettings::keepAspect = options.keepAspect;
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
        if (!DisplaySettings::run) return dialogResult;
    }
    display.keepAspect = DisplaySettings::keepAspect;

    if (!startPresentation(DisplaySettings::width, DisplaySettings::height, DisplaySettings::fullscreen)) {
        std::fprintf(stderr, "dorirova: cannot open a %d x %d %s display: %s\n", DisplaySettings::width,
                     DisplaySettings::height, DisplaySettings::fullscreen ? "full-screen" : "windowed",
                     displayFailureReason());
        return EXIT_STATUS_FAILED;
    }
    return runFrameLoop();
}
