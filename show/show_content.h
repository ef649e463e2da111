#pragma once
// What the show shows: the group's own (the archive's photographs, module,
// texts and logo) unless the viewer brought their own on the command line.
// Set once before any scene is set up, read by the scene's set-up, the
// music and the recording.
#include <memory>
#include <string>
#include <vector>

#include "assets/photo_file.h"
#include "scene/photo_list.h"

struct ShowContent {
    std::vector<std::string> photoPaths;   // folders and files as given; empty: the archive's 24
    std::shared_ptr<PhotoList> photoList;  // their photographs, listed by checkShowPhotos
    std::unique_ptr<Image> firstPhoto;     // the first of them, decoded by checkShowPhotos, until a show takes it
    PhotoFit fit = PhotoFit::Inside;       // how a photograph goes into the square
    std::string musicFile;                 // a module or an audio file; empty: the archive's module,
                                           // or silence with photographs of one's own
    std::string textFile;                  // one UTF-8 scroll text; empty: the members' texts
    std::string logoFile;                  // a PNG; empty: the group's logo

    bool ownPhotos() const { return !photoPaths.empty(); }
};

// The run's content, the group's own until changed.
ShowContent &showContent();

// Lists the viewer's photographs (when there are any) into the content's
// photoList and makes sure the first of them can be shown, taking out, with
// a line on stderr each, those before it that cannot. A fault (nothing to
// show, a path that cannot be read) comes back as one line without the
// program's name, and nothing is left listed; "" when all is well.
std::string checkShowPhotos(ShowContent &content);
