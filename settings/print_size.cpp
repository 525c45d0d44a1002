#include "settings/print_size.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <cstring>

int parse_dpi(const char* text)
{
    int64_t value = 0;
    const char* p = text;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > max_dpi)
            return 0;
    }
    if (p == text || *p != '\0')
        return 0;
    return static_cast<int>(value);
}

namespace {

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

}  // namespace

int64_t parse_print_size(const char* text)
{
    // The number is read as digits / 10^decimals; digits past what can matter
    // below a nanometre are dropped, so the value stays within 64 bits.
    int64_t digits = 0;
    int decimals = 0;
    int digit_count = 0;
    bool point_seen = false;
    const char* p = text;
    for (;; ++p) {
        if (*p >= '0' && *p <= '9') {
            ++digit_count;
            if (!point_seen) {
                digits = digits * 10 + (*p - '0');
                if (digits * nm_per_mm > max_print_size_nm)
                    return 0;
            } else if (decimals < 9) {
                digits = digits * 10 + (*p - '0');
                ++decimals;
            }
        } else if ((*p == '.' || *p == ',') && !point_seen) {
            point_seen = true;
        } else {
            break;
        }
    }
    int64_t unit_nm = nm_per_mm;
    if (lower(p[0]) == 'i' && lower(p[1]) == 'n')
        unit_nm = nm_per_inch, p += 2;
    else if (lower(p[0]) == 'm' && lower(p[1]) == 'm')
        p += 2;
    if (digit_count == 0 || *p != '\0')
        return 0;
    int64_t scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    // digits < 1001 * 10^9 and unit_nm <= 2.54e7 would overflow together, so
    // the whole part and the fraction are scaled apart.
    const int64_t whole = digits / scale;
    const int64_t fraction = digits % scale;
    if (whole > max_print_size_nm / unit_nm)
        return 0;
    const int64_t size = whole * unit_nm + (fraction * unit_nm + scale / 2) / scale;
    return size <= max_print_size_nm ? size : 0;
}

int dot_size_for(int64_t size_nm, int dpi, int width)
{
    // size_nm * dpi <= 1e9 * 1e5: far within 64 bits.
    const int64_t dots = size_nm * dpi / (nm_per_inch * width);
    return static_cast<int>(dots);
}

int32_t pixels_per_metre(int dpi)
{
    // dpi / 0.0254 = dpi * 10000 / 254, rounded half up.
    return static_cast<int32_t>((int64_t{dpi} * 10000 + 127) / 254);
}

namespace {

// The digits of value, ended by a NUL, in text.
void to_digits(std::array<char, 24>* text, uint64_t value)
{
    *std::to_chars(text->data(), text->data() + text->size() - 1, value).ptr = '\0';
}

}  // namespace

void format_decimal(char* out, std::size_t out_size, int64_t value, int decimals)
{
    uint64_t scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    const uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    uint64_t fraction = magnitude % scale;
    int places = decimals;
    while (places > 0 && fraction % 10 == 0) {
        fraction /= 10;
        --places;
    }
    std::array<char, 24> whole_digits{};
    std::array<char, 24> fraction_digits{};
    to_digits(&whole_digits, magnitude / scale);
    if (places > 0)
        to_digits(&fraction_digits, fraction);
    // The decimals keep their leading zeros: 0.05 is "05" in two places.
    const int zeros = places - static_cast<int>(std::strlen(fraction_digits.data()));
    std::snprintf(out, out_size, "%s%s%s%.*s%s", value < 0 ? "-" : "", whole_digits.data(),
                  places > 0 ? "." : "", zeros, "000000000", fraction_digits.data());
}
