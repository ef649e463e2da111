#include "show/show_files.h"

#include <cstdint>
#include <vector>

#include "assets/png_check.h"
#include "platform/file_bytes.h"
#include "show/music.h"
#include "scroller/own_text.h"

// A logo is as large as a picture may be; the decoder refuses the rest.
static constexpr size_t LOGO_MAX_BYTES = size_t(1) << 30;

static std::string logoFault(const std::string &path) {
    std::vector<uint8_t> bytes;
    std::string why;
    if (!readFileBytes(path, bytes, why, LOGO_MAX_BYTES)) return why;
    return pngBytesFault(bytes.data(), bytes.size());
}

std::string checkShowFiles(const ShowContent &content) {
    std::string why;
    if (!content.musicFile.empty() && !(why = loadOwnMusic(content.musicFile)).empty()) {
        return "cannot use " + content.musicFile + " as music: " + why;
    }
    std::vector<uint8_t> text;
    if (!content.textFile.empty() && !readFileBytes(content.textFile, text, why, SHOW_TEXT_MAX_BYTES)) {
        return "cannot use " + content.textFile + " as scroll text: " + why;
    }
    if (!content.logoFile.empty() && !(why = logoFault(content.logoFile)).empty()) {
        return "cannot use " + content.logoFile + " as logo: " + why;
    }
    return "";
}

std::optional<std::string> showScrollText(const ShowContent &content) {
    if (content.textFile.empty()) return std::nullopt;
    std::vector<uint8_t> bytes;
    std::string why;
    readFileBytes(content.textFile, bytes, why, SHOW_TEXT_MAX_BYTES);
    return charsetTextFromUtf8(std::string(bytes.begin(), bytes.end()));
}
