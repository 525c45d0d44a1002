#include "payload/invoice_text.h"

#include <algorithm>

bool date_exists(int day, int month, int year)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1)
        return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    // 31 days in the odd months up to July and the even ones from August.
    const int last = month == 2 ? (leap ? 29 : 28) : 30 + (month + month / 8) % 2;
    return day <= last;
}

int digits_value(std::string_view text)
{
    if (text.empty())
        return -1;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

namespace {

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

bool all_digits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), is_digit);
}

bool is_alphanumeric(char c)
{
    return is_digit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

bool amount_is_valid(std::string_view text)
{
    if (!text.empty() && text[0] == '-')
        text.remove_prefix(1);
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view decimals =
        point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
    return !whole.empty() && whole.size() <= 12 && all_digits(whole) && decimals.size() <= 2 &&
           all_digits(decimals);
}

void append_url_encoded(std::string_view text, url_rule rule, std::string* out)
{
    constexpr char hex[] = "0123456789ABCDEF";
    const std::string_view kept = rule == url_rule::java_form ? ".-*_" : "-._~";
    for (const char c : text) {
        if (is_alphanumeric(c) || kept.find(c) != std::string_view::npos) {
            *out += c;
        } else if (c == ' ' && rule != url_rule::rfc3986) {
            *out += '+';
        } else {
            const auto byte = static_cast<unsigned char>(c);
            *out += '%';
            *out += hex[byte >> 4];
            *out += hex[byte & 0x0F];
        }
    }
}

std::uint8_t tbai_crc8(std::string_view bytes)
{
    unsigned crc = 0;
    for (const char c : bytes) {
        crc ^= static_cast<unsigned char>(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x80) != 0 ? ((crc << 1) ^ 0x07) & 0xFF : (crc << 1) & 0xFF;
    }
    return static_cast<std::uint8_t>(crc);
}
