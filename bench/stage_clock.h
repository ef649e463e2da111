#pragma once
// Where start-up time goes: exclusive wall time and minor page faults per
// stage, gathered by spans that nest. A span's time counts for its own stage
// minus whatever inner spans took, so the stages add up to the whole.
// One thread only (the program's main thread).

enum class Stage {
    Display,       // createDisplay: window, pixel format, GL context
    ArchiveCopy,   // the archive resource copied to a temporary file and its table read
    Extraction,    // image entries extracted to temporary files
    TempRemoval,   // those temporary files deleted after decoding
    DecodeJpeg,    // the photographs decoded (libjpeg), without their upload
    DecodePng,     // the graphics decoded (libpng), without their upload
    Levels,        // pixelated levels averaged, without their upload
    UploadImage,   // glTexImage2D of the full textures
    UploadLevels,  // glTexImage2D of the pixelated levels
    Music,         // the module extracted and loaded by the sound system
    SceneRest,     // the rest of the scene set-up: layer objects, ids, temp file removal
    FirstFrame,    // the first frame: loop entry, drawing, swap, until presented
    Count,
};

struct StageCost {
    double ms = 0;     // exclusive wall time, milliseconds
    long faults = 0;   // exclusive minor page faults (first touches of fresh memory)
    int spans = 0;     // how many spans of the stage were closed
};

// Opens a span of stage inside whatever span is open. Spans nest up to 16 deep.
void beginStage(Stage stage);

// Closes the innermost span.
void endStage();

// The stage of the innermost open span, or Stage::Count when none is open.
Stage currentStage();

// What the closed spans of stage took so far.
const StageCost &stageCost(Stage stage);

// A short name without spaces, used between the benchmark's processes.
const char *stageKey(Stage stage);

// Minor page faults of this process so far.
long minorPageFaults();
