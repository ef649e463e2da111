// Pictures whose pixels do not fit the memory the process may have: a few
// bytes of header claim up to 16384 x 16384 pixels, and the loaders must give
// null instead of ending the process with an uncaught std::bad_alloc. Each
// load runs in a child process under an address-space limit a little above
// what the process already has.
#include "assets/image_decoding.h"
#include "tests/support/image_files.h"

#include "tests/support/temp_dir.h"
#include "tests/support/test_images.h"

#include <gtest/gtest.h>

#include <png.h>      // writing the test pictures
#include <cstdio>     // FILE, needed before jpeglib.h
#include <jpeglib.h>  // JCS_RGB
#include <sys/resource.h>  // setrlimit: the address-space limit
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>  // the CRC of a hand-made PNG chunk

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool SANITIZED = true;  // their shadow memory needs terabytes of address space
#else
constexpr bool SANITIZED = false;
#endif

size_t addressSpaceInUse() {
    std::ifstream statm("/proc/self/statm");
    size_t pages = 0;
    statm >> pages;
    return pages * size_t(sysconf(_SC_PAGESIZE));
}

enum class ChildResult { Null, Decoded, Died };

// Runs decodes(path) in a child whose address space may grow by at most
// headroom bytes.
ChildResult loadUnderLimit(bool (*decodes)(const std::string &), const std::string &path,
                           size_t headroom) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        alarm(60);  // a child that hangs dies
        const rlim_t limit = addressSpaceInUse() + headroom;
        const rlimit cap{limit, limit};
        setrlimit(RLIMIT_AS, &cap);
        int code = 2;  // an exception, which would have ended the program
        try {
            code = decodes(path) ? 1 : 0;
        } catch (...) {
        }
        _exit(code);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 2) return ChildResult::Died;
    return WEXITSTATUS(status) == 0 ? ChildResult::Null : ChildResult::Decoded;
}

bool decodesPng(const std::string &path) { return decodePngFile(path) != nullptr; }
bool decodesJpeg(const std::string &path) { return decodeJpegFile(path) != nullptr; }

constexpr size_t MB = size_t(1) << 20;

// A PNG file of width x height 8-bit grey pixels, all zero, written in full.
void writeGreyPng(const std::string &path, uint32_t width, uint32_t height) {
    FILE *file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_compression_level(png, 1);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(width, 0);
    for (uint32_t y = 0; y < height; ++y) png_write_row(png, row.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

void appendBigEndian32(std::string &out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(char(value >> shift));
}

void appendPngChunk(std::string &out, const std::string &type, const std::string &data) {
    appendBigEndian32(out, uint32_t(data.size()));
    const std::string body = type + data;
    out += body;
    appendBigEndian32(out, uint32_t(crc32(0, reinterpret_cast<const Bytef *>(body.data()),
                                          uInt(body.size()))));
}

// A PNG that claims width x height RGBA and ends where its image data would
// begin: the loader allocates for the pixels before it finds out.
std::string pngClaiming(uint32_t width, uint32_t height) {
    std::string header;
    appendBigEndian32(header, width);
    appendBigEndian32(header, height);
    header += std::string("\x08\x06\x00\x00\x00", 5);  // 8 bits, RGBA, no interlace
    std::string out("\x89PNG\r\n\x1a\n", 8);
    appendPngChunk(out, "IHDR", header);
    appendPngChunk(out, "IDAT", "");
    return out;
}

// A small baseline JPEG whose frame header then claims width x height pixels.
std::string jpegClaiming(uint16_t width, uint16_t height) {
    const Bytes small = encodeJpegRows(16, 16, 3, JCS_RGB, Bytes(16 * 3, 90));
    std::string out(small.begin(), small.end());
    const size_t frame = out.find("\xff\xc0");  // length, precision, height, width
    out[frame + 5] = char(height >> 8);
    out[frame + 6] = char(height & 0xff);
    out[frame + 7] = char(width >> 8);
    out[frame + 8] = char(width & 0xff);
    return out;
}

class OutOfMemoryTest : public ::testing::Test {
protected:
    ScopedTempDir temp;

    void SetUp() override {
        if (SANITIZED) GTEST_SKIP() << "address-space limits and sanitizers do not mix";
    }

    std::string write(const std::string &name, const std::string &bytes) {
        const std::string path = temp.path() + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
};

TEST_F(OutOfMemoryTest, PixelBufferBeyondTheLimitGivesNull) {
    // 1 GB and 768 MB of pixels against 256 MB of headroom.
    EXPECT_EQ(loadUnderLimit(decodesPng, write("big.png", pngClaiming(16384, 16384)), 256 * MB),
              ChildResult::Null);
    EXPECT_EQ(loadUnderLimit(decodesJpeg, write("big.jpg", jpegClaiming(16384, 16384)), 256 * MB),
              ChildResult::Null);
}

TEST_F(OutOfMemoryTest, PaddingBeyondTheLimitGivesNull) {
    // 16383 x 4096 grey decodes to 192 MB of RGB, which fits; padding it to
    // 16384 wide needs as much again, which does not.
    const std::string path = temp.path() + "/wide.png";
    writeGreyPng(path, 16383, 4096);
    EXPECT_EQ(loadUnderLimit(decodesPng, path, 300 * MB), ChildResult::Null);
}

}  // namespace
