// loadPhotoFile: opens the file, tells JPEG from PNG by its first bytes, and
// hands it to that format's decoding (photo_jpeg.cpp, photo_png.cpp).
#include "assets/photo_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>

#include "assets/photo_decoding.h"

// "cannot be read: " and the system's words for error.
static std::string unreadable(int error) {
    char text[128];
    return std::string("cannot be read: ") + strerror_r(error, text, sizeof text);
}

const char *photoSizeRefusal(uint64_t width, uint64_t height, uint64_t fileBytes) {
    const uint64_t pixels = width * height;
    if (width > PHOTO_PIXEL_BUDGET.maxSide || height > PHOTO_PIXEL_BUDGET.maxSide ||
        pixels > PHOTO_PIXEL_BUDGET.maxPixels) {
        return "too large";
    }
    if (pixels > PHOTO_PIXEL_BUDGET.freePixels && pixels - PHOTO_PIXEL_BUDGET.freePixels > fileBytes * PHOTO_PIXEL_BUDGET.perByte) {
        return "too large for its size (a decompression bomb?)";
    }
    return nullptr;
}

bool startScaler(PhotoWork &work, uint32_t width, uint32_t height, const PhotoPlacement &placement,
                 int orientation, uint32_t side) noexcept {
    try {
        work.scaler.emplace(width, height, placement, orientation, side);
        if (work.scaler->ready()) return true;
    } catch (const std::bad_alloc &) {   // its few rows
    }
    work.refusal = PHOTO_NO_MEMORY;
    return false;
}

Image *photoResult(bool decoded, PhotoWork &work, std::string &failure) {
    if (!decoded || !work.scaler->complete()) {
        failure = work.refusal.empty() ? PHOTO_CORRUPT : work.refusal;
        return nullptr;
    }
    const uint32_t side = work.scaler->side();
    Image *image = newImage(side, side, 1, work.scaler->takeSquare());
    if (!image) {
        failure = PHOTO_NO_MEMORY;
        return nullptr;
    }
    image->opaque = true;
    return image;
}

// Decodes the open file as its first bytes say.
static Image *decodePhotoFile(const PhotoSource &source, std::string &failure) {
    static constexpr uint8_t JPEG_START[] = {0xFF, 0xD8, 0xFF};
    static constexpr uint8_t PNG_SIGNATURE[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    uint8_t start[sizeof PNG_SIGNATURE] = {};
    const size_t got = std::fread(start, 1, sizeof start, source.file);
    if (std::ferror(source.file)) {
        failure = unreadable(errno);
        return nullptr;
    }
    std::rewind(source.file);
    if (got >= sizeof JPEG_START && std::memcmp(start, JPEG_START, sizeof JPEG_START) == 0) {
        return decodePhotoJpeg(source, failure);
    }
    if (got == sizeof PNG_SIGNATURE && std::memcmp(start, PNG_SIGNATURE, sizeof PNG_SIGNATURE) == 0) {
        return decodePhotoPng(source, failure);
    }
    failure = "not a JPEG or PNG image";
    return nullptr;
}

Image *loadPhotoFile(const std::string &path, uint32_t side, PhotoFit fit, std::string &failure) {
    // Not blocking: a named pipe among the photographs must not hang the
    // loader in open(); it is refused below as no regular file.
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (descriptor < 0) {
        failure = unreadable(errno);
        return nullptr;
    }
    struct stat status {};
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        failure = S_ISDIR(status.st_mode) ? unreadable(EISDIR) : "not a regular file";
        close(descriptor);
        return nullptr;
    }
    FILE *file = fdopen(descriptor, "rb");
    if (!file) {
        failure = unreadable(errno);
        close(descriptor);
        return nullptr;
    }
    Image *image = decodePhotoFile({file, uint64_t(status.st_size), side, fit}, failure);
    std::fclose(file);
    return image;
}
