// content_images: renders every picture the presentation ships.
//
//   content_images <repository root> [--only TEXT]... [--preview] [--size N] [--out DIR]
//
// Without options it writes the 24 photographs and the graphics into
// resources/archive/, the banner to resources/banner.bmp, the desktop icons
// to data/icons/, the contact sheet to docs/contact-sheet.png and the
// photographs' names, in order, to tools/content/photo_names.txt. --only renders just the pictures whose file
// names contain TEXT (and skips the contact sheet unless asked for by
// "contact"); --preview renders quickly at --size pixels as PNG into --out,
// for looking at a scene while working on it.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "graphics.h"
#include "image_files.h"
#include "photos.h"

namespace {

struct Options {
    std::string root;
    std::vector<std::string> only;
    bool preview = false;
    int size = 1024;
    std::string out;
};

bool wanted(const Options &options, const std::string &name) {
    if (options.only.empty()) return true;
    for (const std::string &o : options.only)
        if (name.find(o) != std::string::npos) return true;
    return false;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}   // namespace

int main(int argc, char **argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--only" && i + 1 < argc) options.only.push_back(argv[++i]);
        else if (a == "--preview") options.preview = true;
        else if (a == "--size" && i + 1 < argc) options.size = std::atoi(argv[++i]);
        else if (a == "--out" && i + 1 < argc) options.out = argv[++i];
        else if (options.root.empty() && a[0] != '-') options.root = a;
        else {
            std::fprintf(stderr, "unknown argument: %s\n", a.c_str());
            return 2;
        }
    }
    if (options.root.empty() || options.size < 16 || options.size > 4096) {
        std::fprintf(stderr, "usage: content_images <repository root> [--only TEXT]... [--preview] [--size N] [--out DIR]\n");
        return 2;
    }
    const std::string archive = options.root + "/resources/archive/";
    const bool toRepository = options.out.empty();
    const std::string outDir = toRepository ? archive : options.out + "/";
    bool ok = true;
    auto total = std::chrono::steady_clock::now();

    // The photographs.
    std::ofstream names;
    if (toRepository && options.only.empty()) names.open(options.root + "/tools/content/photo_names.txt");
    for (const PhotoScene &scene : photoScenes()) {
        if (names.is_open()) names << scene.fileName << "\n";
        if (!wanted(options, scene.fileName)) continue;
        auto start = std::chrono::steady_clock::now();
        PhotoJob job{toRepository ? 1024 : options.size, options.preview};
        RgbaImage image = scene.render(job);
        if (toRepository) {
            JpegResult r = writeJpeg(outDir + scene.fileName, image, 88, 84, 92, 150 * 1024, 250 * 1024);
            ok = ok && r.ok;
            std::printf("%-28s %6.1f s  quality %d  %zu KB\n", scene.fileName.c_str(), secondsSince(start), r.quality,
                        r.bytes / 1024);
        } else {
            std::string png = outDir + scene.fileName.substr(0, scene.fileName.size() - 4) + ".png";
            ok = writePng(png, image) && ok;
            std::printf("%-28s %6.1f s  -> %s\n", scene.fileName.c_str(), secondsSince(start), png.c_str());
        }
        std::fflush(stdout);
    }

    // The graphics, at their shipped sizes.
    for (const GraphicAsset &asset : graphicAssets()) {
        if (!wanted(options, asset.fileName)) continue;
        auto start = std::chrono::steady_clock::now();
        RgbaImage image = asset.draw();
        ok = writePng(outDir + asset.fileName, image) && ok;
        std::printf("%-36s %6.1f s\n", asset.fileName.c_str(), secondsSince(start));
    }
    if (wanted(options, "banner.bmp")) {
        std::string path = toRepository ? options.root + "/resources/banner.bmp" : outDir + "banner.bmp";
        RgbaImage image = dialogBanner();
        ok = writeBmp24(path, image) && ok;
        if (!toRepository) ok = writePng(outDir + "banner.png", image) && ok;
        std::printf("%-36s written\n", "banner.bmp");
    }
    // The desktop icons, at the sizes the installation puts in the icon theme.
    for (int size : {48, 128, 256}) {
        const std::string name = "dorirova-" + std::to_string(size) + ".png";
        if (!wanted(options, name)) continue;
        ok = writePng((toRepository ? options.root + "/data/icons/" : outDir) + name, desktopIcon(size)) && ok;
        std::printf("%-36s written\n", name.c_str());
    }
    if (options.only.empty() || wanted(options, "contact")) {
        std::string path = toRepository ? options.root + "/docs/contact-sheet.png" : outDir + "contact-sheet.png";
        RgbaImage sheet = contactSheet(outDir, toRepository ? options.root + "/resources/banner.bmp" : "");
        ok = sheet.width > 0 && writePng(path, sheet) && ok;
        std::printf("%-36s written\n", "contact-sheet.png");
    }
    std::printf("done in %.1f s%s\n", secondsSince(total), ok ? "" : " WITH ERRORS");
    return ok ? 0 : 1;
}
