#pragma once
// The viewer's own files named on the command line (music, scroll text,
// logo), checked before anything opens so that a file the show cannot use
// ends the command at once, and read for the scene's set-up.
#include <cstddef>
#include <optional>
#include <string>

#include "show/show_content.h"

// Largest scroll text taken, in bytes: a megabyte runs for about three days.
constexpr size_t SHOW_TEXT_MAX_BYTES = 1 << 20;

// The first of the content's music, text and logo files that cannot be used,
// as one line without the program's name ("cannot use FILE as music: No
// such file or directory"); empty when every one given can be. Reads each
// file whole; the music stays loaded for the show (loadOwnMusic).
std::string checkShowFiles(const ShowContent &content);

// The content's own scroll text in the charset's bytes; none without a text
// file. A file gone since the check gives an empty text.
std::optional<std::string> showScrollText(const ShowContent &content);
