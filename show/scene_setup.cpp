#include "show/scene_setup.h"

#include <cstdio>
#include <memory>
#include <string>

#include "assets/asset_store.h"
#include "platform/message_queue.h"
#include "scene/archive_photos.h"
#include "scene/background_layer.h"
#include "scene/file_photos.h"
#include "scene/logo_layer.h"
#include "scene/photo_layer.h"
#include "scene/virtual_screen.h"
#include "scroller/charset_text.h"
#include "scroller/scroller_layer.h"
#include "show/display.h"
#include "show/frame_loop.h"
#include "show/music.h"
#include "show/show_content.h"
#include "show/show_files.h"

void beginScene(int32_t width, int32_t height) {
    // The screen the world is stretched onto: the whole frame, or the box of its shape.
    const PictureBox picture = pictureBox(width, height);
    VirtualScreen::configure(uint32_t(picture.width), uint32_t(picture.height));
    // Created on the heap: the stack holds them until resetScene deletes them.
    // Their order is the draw order and the order keys are delivered in. The
    // stars leave out what the slideshow covers. The slideshow shows the
    // archive's photographs, or the viewer's own, and keeps their source.
    ShowContent &content = showContent();
    std::unique_ptr<PhotoSource> photos;
    if (content.photoList) {
        photos = std::make_unique<FilePhotos>(content.photoList, content.fit, std::move(content.firstPhoto));
    }
    else photos = std::make_unique<ArchivePhotos>();
    PhotoLayer *slideshow = new PhotoLayer(std::move(photos));
    LayerStack::instance().add(new BackgroundLayer(slideshow));
    LayerStack::instance().add(slideshow);
    std::optional<std::string> ownText = showScrollText(content);
    LayerStack::instance().add(ownText ? new ScrollerLayer(std::move(*ownText)) : new ScrollerLayer);
    LayerStack::instance().add(content.logoFile.empty() ? new LogoLayer : new LogoLayer(content.logoFile));
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

bool startPresentation(const DisplaySettings &settings) {
    // The window shows before the frame loop runs: from here on SIGINT and
    // SIGTERM must become the quit message, however early they come.
    installQuitSignals();
    createMusicSystem();   // audio starts only now that a presentation runs
    useDisplaySettings(settings);   // the scene's picture box keeps the shape they ask for
    beginScene(settings.width, settings.height);
    const std::string missing = AssetStore::instance()->extractionFailure();
    if (!missing.empty()) {
        std::fprintf(stderr, "dorirova: %s; running without what could not be extracted\n", missing.c_str());
    }
    if (!createDisplay(settings.width, settings.height, settings.fullscreen)) {
        // The run ends here: the loading stops and the music's file goes.
        releaseMusic();
        AssetStore::destroyInstance();
        return false;
    }
    finishScene();
    holdLoadingUntilFirstFrame();
    return true;
}

const PhotoLayer *sceneSlideshow() {
    for (Layer *layer : LayerStack::instance().layers) {
        if (const PhotoLayer *slideshow = dynamic_cast<const PhotoLayer *>(layer)) return slideshow;
    }
    return nullptr;
}

void resetScene() {
    LayerStack::instance().deleteLayers();
    resetCharset();
    resetMusic();
    resetDisplay();
    VirtualScreen::reset();
}
