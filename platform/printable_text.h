#pragma once
// Text from outside the program (command-line arguments, names stored in an
// archive) made safe to print on one line of a terminal: nothing in it can
// end the line, move the cursor or start an escape sequence. Any thread.
#include <string>
#include <string_view>

// text with a backslash as "\\", tab, newline and carriage return as "\t",
// "\n" and "\r", and every other control character (C0, DEL, C1) and every
// byte that is not part of valid UTF-8 as "\xHH". Printable ASCII and UTF-8
// characters stay as they are; text without anything to escape comes back
// unchanged.
std::string printableText(std::string_view text);
