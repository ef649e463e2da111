#include "show/show_content.h"

#include <cstdio>

#include "platform/printable_text.h"
#include "scene/file_photos.h"

ShowContent &showContent() {
    static ShowContent content;
    return content;
}

std::string checkShowPhotos(ShowContent &content) {
    if (!content.ownPhotos()) return "";
    auto list = std::make_shared<PhotoList>(content.photoPaths);
    if (!list->fault().empty()) return list->fault();
    // The first must show before a window opens: one that cannot is taken
    // out here, as the show would take it out, and the next one tried.
    for (;;) {
        std::string path, failure;
        list->nameAt(0, path);
        content.firstPhoto.reset(loadPhotoFile(path, PHOTO_TEXELS, content.fit, failure));
        if (content.firstPhoto) break;
        std::fprintf(stderr, "dorirova: skipping %s: %s\n", printableText(path).c_str(), failure.c_str());
        if (!list->drop(0)) return "none of the photographs can be shown";
    }
    content.photoList = std::move(list);
    return "";
}
