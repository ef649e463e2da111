#pragma once
// What the show shows: the group's own (the archive's photographs, module,
// texts and logo) unless the viewer brought their own on the command line.
// Set once before any scene is set up, read by the scene's set-up, the
// music and the recording.
#include <string>
#include <vector>

#include "assets/photo_file.h"

struct ShowContent {
    std::vector<std::string> photoPaths;   // folders and files as given; empty: the archive's 24
    PhotoFit fit = PhotoFit::Inside;       // how a photograph goes into the square
    std::string musicFile;                 // a module or an audio file; empty: the archive's module,
                                           // or silence with photographs of one's own
    std::string textFile;                  // one UTF-8 scroll text; empty: the members' texts
    std::string logoFile;                  // a PNG; empty: the group's logo

    bool ownPhotos() const { return !photoPaths.empty(); }
};

// The run's content, the group's own until changed.
ShowContent &showContent();
