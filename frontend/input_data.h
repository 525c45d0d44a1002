// The data to encode: the last data token of the command line, held in a
// string_buffer with its backslash escapes resolved.
#pragma once

#include "util/string_buffer.h"

#include <cstddef>

// Releases the data held so far and makes the prepared data from token.
// Returns 1, or 0 when memory runs out; no data is held then.
int take_data_token(const char* token);

// Releases the data held so far and holds a copy of the size bytes at bytes
// exactly as they are (NUL bytes included, no escapes), with a NUL after
// them; length is size. Returns 1, or 0 when memory runs out or size does not
// fit a string_buffer (size + 1 > INT32_MAX); no data is held then. bytes may
// be nullptr only when size is 0.
int take_data_bytes(const char* bytes, std::size_t size);

// Frees the data held, if any. Safe to call at any time.
void release_data();

// The prepared data, or nullptr while no data token has been taken.
const string_buffer* current_data();

// Resolves \" \' \0 \\ \n \r \s \t and \xHH (letters in any case) in place; an
// unknown or incomplete escape leaves the backslash as it stands. A NUL from
// \0 or \x00 ends the text. Returns 1, or 0 when the work buffer cannot be had
// (the text is then unchanged).
int unescape_data(char* text);

// The value of the hexadecimal digits at the start of text, after an optional
// 0x; 0 for nullptr or when memory runs out. Stops at the first non-digit.
// Digits beyond 32 bits shift out of the result.
unsigned parse_hex(const char* text);
