// The command line as Windows stored it (UTF-16), in the ANSI code page that
// the programs read, without the look-alikes ("best fit") that the C runtime
// puts in place of characters the code page cannot hold.
#pragma once

#include "platform/platform.h"

#include <string>

// Fills *text with the text that follows the program name, which is skipped
// as the start-up code skips it for WinMain: the name runs to the first
// character of code 32 or less outside double quotes (each '"' turns quoting
// on or off), then every character of code 32 or less is skipped. A character
// beyond ASCII never counts as a blank here (the start-up code compares
// signed chars and so dropped such a character at the start of the text).
// On any result but exact, *text is left empty.
ansi_conversion read_ansi_command_line(std::string* text);

// Converts the length characters at wide to the ANSI code page by the same
// rule as the command line: exact, or not_representable when one character
// has no byte(s) of its own there. On any result but exact, *text is empty.
ansi_conversion convert_to_ansi_exactly(const wchar_t* wide, std::size_t length, std::string* text);

// The same text after the program name, in UTF-8: exact for every character;
// not_representable only for a lone surrogate, which is no character at all.
ansi_conversion read_utf8_command_line(std::string* text);

// Converts the length characters at wide to UTF-8 with the same rule.
ansi_conversion convert_to_utf8(const wchar_t* wide, std::size_t length, std::string* text);
