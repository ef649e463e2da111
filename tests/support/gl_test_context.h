#pragma once
// An off-screen OpenGL context on software Mesa (OSMesa) for pixel tests.
// Make one per test; it is current from construction until destruction.
#include <cstdint>
#include <memory>
#include <vector>

class GLTestContext {
public:
    // A current RGBA context with a 16-bit depth buffer, width x height pixels.
    GLTestContext(int width, int height);
    ~GLTestContext();
    GLTestContext(const GLTestContext &) = delete;
    GLTestContext &operator=(const GLTestContext &) = delete;

    bool ok() const { return context != nullptr; }
    int width() const { return w; }
    int height() const { return h; }

    // Finishes rendering and reads the frame: RGBA, bottom row first.
    std::vector<uint8_t> readPixels() const;
    // One pixel (x from the left, y from the bottom) of the last readPixels.
    struct RGBA { int r, g, b, a; };
    RGBA pixel(const std::vector<uint8_t> &frame, int x, int y) const;
    // Saves a frame from readPixels as a PNG, top row first, for a person to look at.
    void savePng(const std::vector<uint8_t> &frame, const char *path) const;

private:
    void *context = nullptr;           // OSMesaContext
    std::vector<uint8_t> buffer;       // the colour buffer OSMesa renders into
    int w = 0, h = 0;
};

// Saves an RGBA frame of width x height pixels, bottom row first, as a PNG,
// top row first.
void saveRgbaPng(const std::vector<uint8_t> &frame, int width, int height, const char *path);
