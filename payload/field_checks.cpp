#include "payload/field_checks.h"

#include "settings/exit_codes.h"
#include "payload/payload_kinds.h"
#include "runlog/log_message.h"

#include <algorithm>

std::size_t character_count(std::string_view utf8)
{
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

int refuse_controls(const char* name, std::string_view value)
{
    const bool control = std::any_of(value.begin(), value.end(),
                                     [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
    return control ? refuse_field(name, "car\xE1" "cter de control no admitido") : result_ok;
}

int refuse_longer(const char* name, std::string_view value, std::size_t max)
{
    if (character_count(value) <= max)
        return result_ok;
    log_message("Campo %s inv\xE1lido: m\xE1ximo %d caracteres", name, static_cast<int>(max));
    return result_bad_command;
}

bool same_ignoring_case(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

std::string escaped(std::string_view value, std::string_view specials)
{
    std::string out;
    for (char c : value) {
        if (specials.find(c) != std::string_view::npos)
            out += '\\';
        out += c;
    }
    return out;
}
