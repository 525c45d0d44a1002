// field_checks: the checks, the escaping and the comparison of names that
// the builders and the table of kinds share, each refusal logged as one
// Spanish line naming the field ("Campo NAME inv\xE1lido: ...") with the
// result 1105.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Characters (code points) of well-formed UTF-8 text: its bytes that do not
// continue a sequence.
std::size_t character_count(std::string_view utf8);

// 0, or 1105 after logging, when value holds a C0 control character or DEL
// (a CR left by CR LF lines among them).
int refuse_controls(const char* name, std::string_view value);

// 0, or 1105 after logging, when value has more than max characters.
// Precondition: max <= INT_MAX.
int refuse_longer(const char* name, std::string_view value, std::size_t max);

// value with a backslash put before each byte that specials holds.
std::string escaped(std::string_view value, std::string_view specials);

// Whether a and b are the same text but for the case of ASCII letters.
bool same_ignoring_case(std::string_view a, std::string_view b);
