#include "settings/colours.h"

#include <cmath>
#include <cstdio>

bool is_black_on_white(const symbol_colours& colours)
{
    return colours.dark == colour_black && colours.light == colour_white;
}

namespace {

int hex_digit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The sRGB transfer function undone: a channel's linear light, 0 to 1.
double linear(uint8_t channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// Relative luminance with the sRGB (Rec. 709) weights.
double luminance(uint32_t colour)
{
    return 0.2126 * linear(colour_red(colour)) + 0.7152 * linear(colour_green(colour)) +
           0.0722 * linear(colour_blue(colour));
}

// The colour a viewer shows over a white page: each channel blended by the
// alpha, in sRGB values as compositors do.
uint32_t over_white(uint32_t colour)
{
    const unsigned alpha = colour_alpha(colour);
    uint32_t result = 0xFFu;
    for (int shift = 24; shift >= 8; shift -= 8) {
        const unsigned channel = (colour >> shift) & 0xFFu;
        const unsigned blended = (channel * alpha + 255u * (255u - alpha) + 127u) / 255u;
        result |= blended << shift;
    }
    return result;
}

}  // namespace

bool parse_colour(const char* text, bool with_alpha, uint32_t* out)
{
    const char* p = *text == '#' ? text + 1 : text;
    uint32_t value = 0;
    int digits = 0;
    for (; *p != '\0'; ++p, ++digits) {
        const int digit = hex_digit(*p);
        if (digit < 0 || digits == 8)
            return false;
        value = value << 4 | static_cast<uint32_t>(digit);
    }
    if (digits == 6)
        value = value << 8 | 0xFFu;
    else if (digits != 8 || !with_alpha)
        return false;
    *out = value;
    return true;
}

void format_colour(char* out, std::size_t out_size, uint32_t colour)
{
    if (colour_alpha(colour) == 0xFF)
        std::snprintf(out, out_size, "%06X", static_cast<unsigned>(colour >> 8));
    else
        std::snprintf(out, out_size, "%08X", static_cast<unsigned>(colour));
}

double symbol_contrast(const symbol_colours& colours)
{
    return luminance(over_white(colours.light)) - luminance(colours.dark);
}
