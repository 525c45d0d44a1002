// unescape_data and parse_hex against a model of the escape rules written
// here from the rules themselves, not from the code: the two must agree on
// every text.
#include "frontend/input_data.h"
#include "fuzz/fuzz_support.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace {

char to_upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::optional<uint32_t> hex_digit(char c)
{
    c = to_upper(c);
    if (c >= '0' && c <= '9')
        return static_cast<uint32_t>(c - '0');
    if (c >= 'A' && c <= 'F')
        return static_cast<uint32_t>(c - 'A' + 10);
    return std::nullopt;
}

// The digits after an optional 0x / 0X, up to the first non-digit; digits
// past 32 bits shift out.
uint32_t model_parse_hex(std::string_view text)
{
    if (text.size() >= 2 && text[0] == '0' && to_upper(text[1]) == 'X')
        text.remove_prefix(2);
    uint32_t value = 0;
    for (const char c : text) {
        const std::optional<uint32_t> digit = hex_digit(c);
        if (!digit)
            break;
        value = (value << 4) | *digit;
    }
    return value;
}

// The byte of a two-character escape, by the letter after the backslash.
std::optional<char> simple_escape(char letter)
{
    switch (to_upper(letter)) {
    case '"': return '"';
    case '\'': return '\'';
    case '0': return '\0';
    case '\\': return '\\';
    case 'N': return '\n';
    case 'R': return '\r';
    case 'S': return ' ';
    case 'T': return '\t';
    default: return std::nullopt;
    }
}

std::string model_unescape(std::string_view in)
{
    std::string out;
    std::size_t i = 0;
    while (i < in.size()) {
        const std::size_t after = in.size() - i - 1;  // characters after this one
        if (in[i] == '\\' && after >= 1) {
            if (const std::optional<char> byte = simple_escape(in[i + 1])) {
                out += *byte;
                i += 2;
                continue;
            }
            if (to_upper(in[i + 1]) == 'X' && after >= 3) {
                const std::string_view pair = in.substr(i + 2, 2);
                const uint32_t value = model_parse_hex(pair);
                if (value != 0 || pair == "00") {
                    out += static_cast<char>(value & 0xFF);
                    i += 4;
                    continue;
                }
            }
        }
        // Not an escape: the character stands for itself, a backslash too,
        // and the scan goes on right after it.
        out += in[i];
        ++i;
    }
    // A NUL from \0 or \x00 ends the data.
    return out.substr(0, out.find('\0'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    // Both functions take C strings: the text ends at the first NUL byte.
    std::string text(reinterpret_cast<const char*>(data), size);
    text.resize(std::strlen(text.c_str()));

    FUZZ_REQUIRE(parse_hex(text.c_str()) == model_parse_hex(text));

    const std::string expected = model_unescape(text);
    std::string work = text;
    FUZZ_REQUIRE(unescape_data(work.data()) == 1);
    const std::string got(work.c_str());
    FUZZ_REQUIRE(got == expected);
    FUZZ_REQUIRE(got.size() <= text.size());
    return 0;
}
