#include "show/show_files.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "assets/png_check.h"
#include "platform/sound_system.h"
#include "scroller/own_text.h"

// A logo is as large as a picture may be; the decoder refuses the rest.
static constexpr size_t LOGO_MAX_BYTES = size_t(1) << 30;

bool readShowFile(const std::string &path, size_t maxBytes, std::string &bytes, std::string &why) {
    bytes.clear();
    errno = 0;
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file) {
        why = std::system_category().message(errno ? errno : ENOENT);
        return false;
    }
    char block[16384];
    for (size_t got; bytes.size() <= maxBytes && (got = std::fread(block, 1, sizeof block, file)) > 0;) {
        bytes.append(block, got);
    }
    const bool failed = std::ferror(file);
    const int error = errno;
    std::fclose(file);
    if (failed) {
        why = std::system_category().message(error ? error : EIO);   // a folder reads as "Is a directory"
    } else if (bytes.size() > maxBytes) {
        why = "larger than " + std::to_string(maxBytes) + " bytes";
    }
    if (failed || bytes.size() > maxBytes) {
        bytes.clear();
        return false;
    }
    return true;
}

static std::string logoFault(const std::string &path) {
    std::string bytes, why;
    if (!readShowFile(path, LOGO_MAX_BYTES, bytes, why)) return why;
    return pngBytesFault(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
}

std::string showFilesFault(const ShowContent &content) {
    std::string why;
    if (!content.musicFile.empty() && !(why = soundFileFault(content.musicFile.c_str())).empty()) {
        return "cannot use " + content.musicFile + " as music: " + why;
    }
    std::string text;
    if (!content.textFile.empty() && !readShowFile(content.textFile, SHOW_TEXT_MAX_BYTES, text, why)) {
        return "cannot use " + content.textFile + " as scroll text: " + why;
    }
    if (!content.logoFile.empty() && !(why = logoFault(content.logoFile)).empty()) {
        return "cannot use " + content.logoFile + " as logo: " + why;
    }
    return "";
}

std::optional<std::string> showScrollText(const ShowContent &content) {
    if (content.textFile.empty()) return std::nullopt;
    std::string bytes, why;
    readShowFile(content.textFile, SHOW_TEXT_MAX_BYTES, bytes, why);
    return charsetTextFromUtf8(bytes);
}
