#include "platform/display_configuration.h"

#include <X11/Xlib.h>               // the display connection
#include <X11/extensions/Xrandr.h>  // screen size and CRTC configuration

#include <algorithm>
#include <cstring>

namespace {

int failedRequests = 0;

// A request the server refused (a mode gone, a size out of range) is counted,
// not printed, and ends nothing: the remaining steps still run.
int countError(Display *, XErrorEvent *) {
    ++failedRequests;
    return 0;
}

// A display connection of our own and its screen's resources; false, with
// nothing left open, without a display or without RandR 1.2.
bool openScreenResources(Display *&display, XRRScreenResources *&resources) {
    display = XOpenDisplay(nullptr);
    if (!display) return false;
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    resources = nullptr;
    if (XRRQueryExtension(display, &eventBase, &errorBase) && XRRQueryVersion(display, &major, &minor) &&
        (major > 1 || (major == 1 && minor >= 2))) {
        resources = XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
    }
    if (resources) return true;
    XCloseDisplay(display);
    return false;
}

bool showsTheSame(const XRRCrtcInfo &now, const SavedCrtc &saved) {
    if (now.mode != saved.mode || now.x != saved.x || now.y != saved.y || now.rotation != saved.rotation ||
        uint32_t(now.noutput) != saved.outputCount) {
        return false;
    }
    for (uint32_t i = 0; i < saved.outputCount; ++i) {
        if (now.outputs[i] != saved.outputs[i]) return false;
    }
    return true;
}

void setScreenSize(Display *display, int width, int height, const DisplayConfiguration &saved) {
    const int screen = DefaultScreen(display);
    if (DisplayWidth(display, screen) == width && DisplayHeight(display, screen) == height) return;
    XRRSetScreenSize(display, DefaultRootWindow(display), width, height, saved.widthMm, saved.heightMm);
    XSync(display, False);
}

}  // namespace

bool readDisplayConfiguration(DisplayConfiguration &configuration) {
    Display *display = nullptr;
    XRRScreenResources *resources = nullptr;
    if (!openScreenResources(display, resources)) return false;
    DisplayConfiguration read;
    const int screen = DefaultScreen(display);
    read.width = DisplayWidth(display, screen);
    read.height = DisplayHeight(display, screen);
    read.widthMm = DisplayWidthMM(display, screen);
    read.heightMm = DisplayHeightMM(display, screen);
    for (int i = 0; i < resources->ncrtc && read.crtcCount < MAX_SAVED_CRTCS; ++i) {
        XRRCrtcInfo *info = XRRGetCrtcInfo(display, resources, resources->crtcs[i]);
        if (!info) continue;
        if (info->mode != None) {
            SavedCrtc &saved = read.crtcs[read.crtcCount++];
            saved.crtc = uint32_t(resources->crtcs[i]);
            saved.mode = uint32_t(info->mode);
            saved.x = info->x;
            saved.y = info->y;
            saved.rotation = info->rotation;
            saved.outputCount = uint32_t(std::min(info->noutput, MAX_CRTC_OUTPUTS));
            for (uint32_t o = 0; o < saved.outputCount; ++o) saved.outputs[o] = uint32_t(info->outputs[o]);
        }
        XRRFreeCrtcInfo(info);
    }
    XRRFreeScreenResources(resources);
    XCloseDisplay(display);
    configuration = read;
    return true;
}

bool displayModesEmulated() {
    Display *display = nullptr;
    XRRScreenResources *resources = nullptr;
    if (!openScreenResources(display, resources)) return false;
    int opcode = 0, eventBase = 0, errorBase = 0;
    bool emulated = XQueryExtension(display, "XWAYLAND", &opcode, &eventBase, &errorBase);
    for (int i = 0; i < resources->noutput && !emulated; ++i) {
        XRROutputInfo *output = XRRGetOutputInfo(display, resources, resources->outputs[i]);
        if (!output) continue;
        emulated = std::strncmp(output->name, "XWAYLAND", 8) == 0;
        XRRFreeOutputInfo(output);
    }
    XRRFreeScreenResources(resources);
    XCloseDisplay(display);
    return emulated;
}

bool restoreDisplayConfiguration(const DisplayConfiguration &configuration) {
    Display *display = nullptr;
    XRRScreenResources *resources = nullptr;
    if (configuration.width <= 0 || configuration.height <= 0 || !openScreenResources(display, resources)) {
        return false;
    }
    XErrorHandler previous = XSetErrorHandler(countError);
    failedRequests = 0;
    // A CRTC must fit the screen at every step: grow the screen to hold both
    // the present and the recorded CRTCs, put the CRTCs back, then give the
    // screen its recorded size.
    const int screen = DefaultScreen(display);
    setScreenSize(display, std::max<int>(DisplayWidth(display, screen), configuration.width),
                  std::max<int>(DisplayHeight(display, screen), configuration.height), configuration);
    XRRFreeScreenResources(resources);
    resources = XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
    for (uint32_t i = 0; resources && i < std::min<uint32_t>(configuration.crtcCount, MAX_SAVED_CRTCS); ++i) {
        const SavedCrtc &saved = configuration.crtcs[i];
        XRRCrtcInfo *now = XRRGetCrtcInfo(display, resources, saved.crtc);
        if (!now) {
            ++failedRequests;
            continue;
        }
        if (!showsTheSame(*now, saved)) {
            RROutput outputs[MAX_CRTC_OUTPUTS];
            const uint32_t outputCount = std::min<uint32_t>(saved.outputCount, MAX_CRTC_OUTPUTS);
            for (uint32_t o = 0; o < outputCount; ++o) outputs[o] = saved.outputs[o];
            if (XRRSetCrtcConfig(display, resources, saved.crtc, CurrentTime, saved.x, saved.y, saved.mode,
                                 Rotation(saved.rotation), outputs, int(outputCount)) != RRSetConfigSuccess) {
                ++failedRequests;
            }
        }
        XRRFreeCrtcInfo(now);
    }
    if (resources) XRRFreeScreenResources(resources);
    setScreenSize(display, configuration.width, configuration.height, configuration);
    XSync(display, False);
    XSetErrorHandler(previous);
    XCloseDisplay(display);
    return failedRequests == 0;
}
