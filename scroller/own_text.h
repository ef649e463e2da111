#pragma once
// A scroll text of the viewer's own, brought as UTF-8, in the charset's
// conventions (the catalogue's): lower case a..z, capitals A O U S for
// ä ö ü ß, digits, the space and the charset's punctuation, one line.
#include <string>

// The text in the charset's bytes: capital letters lower-cased; Ä ä, Ö ö,
// Ü ü, ß and ẞ become A, O, U, S; line breaks (CR LF as one), tabs and
// other control characters, every character the charset lacks, and each
// byte that is not part of valid UTF-8 become a space.
std::string charsetTextFromUtf8(const std::string &utf8);
