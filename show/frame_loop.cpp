#include "show/frame_loop.h"

#include <GL/gl.h>  // per-frame viewport, clear and matrices

#include "assets/asset_store.h"
#include "platform/display_window.h"
#include "scene/logo_layer.h"
#include "show/display.h"
#include "show/exit_status.h"
#include "show/music.h"

static int shutdownRuns = 0;

// Images uploaded between two frames, at most: a photograph with its
// pixelated levels costs about 3 ms here (its texture's fresh memory, mostly),
// so two keep a frame's upload near the length of a frame while the loader's
// threads still set the pace of the loading.
static const int UPLOADS_PER_FRAME = 2;

LayerStack &LayerStack::instance() {
    static LayerStack *stack = new LayerStack;   // lives until the process ends
    return *stack;
}

void LayerStack::add(Layer *layer) { layers.push_back(layer); }

void LayerStack::initAll() {
    if (state != Created) return;
    for (Layer *layer : layers) layer->init();
    state = Initialised;
}

void LayerStack::broadcastKey(int32_t key) {
    for (Layer *layer : layers) layer->onKey(key);
}

void LayerStack::deleteLayers() {
    for (Layer *layer : layers) delete layer;
    layers.clear();
    state = Created;
}

void setUpFrame() {
    const DisplaySettings &display = displaySettings();
    if (display.keepAspect) {
        keepPictureShape();
    } else {
        glViewport(0, 0, display.width, display.height);
    }
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void startRunning() {
    LayerStack &stack = LayerStack::instance();
    if (stack.state != Initialised) return;
    stack.state = Running;
    // The first frame blends as the logo leaves every later one to.
    enableLayerBlending();
}

bool drawFrame(int &endStatus) {
    Message message;
    if (peekMessage(message) && displayWindowProc(message, endStatus)) return false;

    AssetStore::uploadArrived(UPLOADS_PER_FRAME);
    setUpFrame();
    LayerStack &layers = LayerStack::instance();
    if (layers.state == Running) {
        for (Layer *layer : layers.layers) layer->draw();
    }
    return true;
}

static bool loadingHeldForFirstFrame = false;

void holdLoadingUntilFirstFrame() {
    AssetStore::instance()->pauseLoading();
    loadingHeldForFirstFrame = true;
}

int runFrameLoop() {
    startMusic();
    startRunning();
    int status = 0;
    while (drawFrame(status)) {
        presentFrame();
        if (loadingHeldForFirstFrame) {
            loadingHeldForFirstFrame = false;
            AssetStore::instance()->resumeLoading();
        }
    }
    shutdown();
    return status;
}

bool displayWindowProc(const Message &message, int &endStatus) {
    switch (message.kind) {
        case MessageKind::Quit:
            endStatus = message.exitCode;
            return true;
        case MessageKind::Close:
            // The window stays; the quit ends the run in a later frame.
            postQuitMessage(EXIT_STATUS_OK);
            return false;
        case MessageKind::KeyDown:
            // Escape going down asks for the end as a close does; its
            // release, when it comes first, ends the run at once.
            if (message.key == KeyEscape) postQuitMessage(EXIT_STATUS_OK);
            return false;
        case MessageKind::KeyUp:
            if (message.key == KeyEscape) {
                endStatus = EXIT_STATUS_OK;
                return true;
            }
            if (isArrowKey(message.key)) LayerStack::instance().broadcastKey(message.key);
            return false;
        case MessageKind::SysKeyUp:
        case MessageKind::Other:
            return false;
    }
    return false;
}

void shutdown() {
    ++shutdownRuns;
    releaseMusic();
    AssetStore::destroyInstance();   // closes and deletes the archive's copy
    // Leaving the desktop at the presentation's resolution would outlast us.
    releaseDisplay();
}

int shutdownCount() { return shutdownRuns; }
