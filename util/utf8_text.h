// utf8_text: checks that bytes are well-formed UTF-8 (the Unicode standard's
// definition: no overlong forms, no surrogates, nothing above U+10FFFF).
#pragma once

#include <cstddef>
#include <string_view>

// The position of the first byte that does not begin a well-formed sequence
// (for a sequence cut short or broken, the position of its lead byte), or
// std::string_view::npos when all of bytes is well-formed.
std::size_t first_bad_utf8(std::string_view bytes);
