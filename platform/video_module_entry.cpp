// The one symbol the video module exports: everything else in it is hidden,
// so its functions cannot be mistaken for the program's forwarding ones.
#include "platform/video_module.h"

extern "C" __attribute__((visibility("default"))) const VideoModule *dorirovaVideoModule() {
    static const VideoModule module = {
        VIDEO_MODULE_VERSION, videoFileOpen,  videoFileWriteFrame, videoFileWriteSound,
        videoFileFinish,      videoFileClose, videoFileTimes,
    };
    return &module;
}
