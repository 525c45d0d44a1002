#include "frontend/input_data.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {
string_buffer* prepared_data = nullptr;
}

int take_data_token(const char* token)
{
    release_data();
    prepared_data = buffer_from_text(token);
    // Encoding the text with its escapes unresolved would be a wrong symbol,
    // so a failed escape pass is a failure too.
    if (prepared_data == nullptr || unescape_data(prepared_data->text) == 0) {
        release_data();
        return 0;
    }
    // The escapes shortened the text in place; the record's length follows.
    prepared_data->length = static_cast<int32_t>(std::strlen(prepared_data->text));
    return 1;
}

int take_data_bytes(const char* bytes, std::size_t size)
{
    release_data();
    if (size >= static_cast<std::size_t>(INT32_MAX))
        return 0;
    prepared_data = new_buffer_sized(static_cast<int32_t>(size + 1));
    if (prepared_data == nullptr)
        return 0;
    if (size > 0)
        std::memcpy(prepared_data->text, bytes, size);
    prepared_data->text[size] = '\0';
    prepared_data->length = static_cast<int32_t>(size);
    return 1;
}

void release_data()
{
    free_buffer(prepared_data);
    prepared_data = nullptr;
}

const string_buffer* current_data()
{
    return prepared_data;
}

unsigned parse_hex(const char* text)
{
    if (text == nullptr)
        return 0;
    const std::size_t n = std::strlen(text);
    if (n + 1 > static_cast<std::size_t>(INT32_MAX))
        return 0;
    string_buffer* copy = new_buffer_sized(static_cast<int32_t>(n + 1));
    if (copy == nullptr)
        return 0;
    set_text(copy, text);
    for (char* c = copy->text; *c != '\0'; ++c)
        *c = static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
    std::string_view digits(copy->text);
    if (digits.starts_with("0X"))
        digits.remove_prefix(2);
    constexpr std::string_view hex_digits = "0123456789ABCDEF";
    unsigned value = 0;
    for (const char c : digits) {
        const std::size_t digit = hex_digits.find(c);
        if (digit == std::string_view::npos)
            break;
        value = (value << 4) + static_cast<unsigned>(digit);
    }
    free_buffer(copy);
    return value;
}

namespace {

// The byte an escape letter stands for, or -1 when it is not one of the
// two-character escapes.
int simple_escape(char letter)
{
    switch (std::tolower(static_cast<unsigned char>(letter))) {
    case '"': return '"';
    case '\'': return '\'';
    case '0': return '\0';
    case '\\': return '\\';
    case 'n': return '\n';
    case 'r': return '\r';
    case 's': return ' ';
    case 't': return '\t';
    default: return -1;
    }
}

}  // namespace

int unescape_data(char* text)
{
    const std::size_t len = std::strlen(text);
    auto* out = static_cast<char*>(std::malloc(len + 1));
    if (out == nullptr)
        return 0;
    std::size_t o = 0;
    std::size_t i = 0;
    while (i < len) {
        const char c = text[i];
        if (c == '\\' && i + 1 < len) {
            const char letter = text[i + 1];
            const int simple = simple_escape(letter);
            if (simple >= 0) {
                out[o++] = static_cast<char>(simple);
                i += 2;
                continue;
            }
            if ((letter == 'x' || letter == 'X') && i + 3 < len) {
                const char pair[3] = {text[i + 2], text[i + 3], '\0'};
                const unsigned value = parse_hex(pair);
                if (value != 0 || std::strcmp(pair, "00") == 0) {
                    out[o++] = static_cast<char>(value & 0xFF);
                    i += 4;
                    continue;
                }
            }
        }
        out[o++] = c;
        ++i;
    }
    out[o] = '\0';
    // The result ends at its first NUL: a \0 or \x00 ends the data.
    std::memcpy(text, out, std::strlen(out) + 1);
    std::free(out);
    return 1;
}
