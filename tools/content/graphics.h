#pragma once
// The graphics of the presentation, drawn in code: the star backdrop, the
// group's logo, the picture frame, the scroller band, the charset, the
// menu labels, the settings dialog's banner, the desktop icon and the
// contact sheet.
#include <functional>
#include <string>
#include <vector>

#include "image.h"

struct GraphicAsset {
    std::string fileName;                 // as the archive holds it
    std::function<RgbaImage()> draw;
};

// Every PNG of the archive, in archive order.
const std::vector<GraphicAsset> &graphicAssets();

RgbaImage starBackground();        // 1024 x 1024, opaque
RgbaImage krvLogo();               // 1024 x 512
RgbaImage pictureFrame();          // 592 x 592
RgbaImage scrollerBorder();        // 1024 x 128
RgbaImage charsetImage();          // 256 x 256
RgbaImage menuTitle();             // 512 x 32
RgbaImage menuEntry(const std::string &key, bool highlighted);   // 512 x 32
RgbaImage dialogBanner();          // 300 x 160, opaque
RgbaImage desktopIcon(int size);   // size x size: the logo's letters on a rounded tile of sky

// All photographs of `archiveDir` as labelled thumbnails and every graphic on
// a checkerboard; the banner from bannerPath when given, else drawn afresh.
RgbaImage contactSheet(const std::string &archiveDir, const std::string &bannerPath);
