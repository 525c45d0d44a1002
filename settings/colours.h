// The colours of a symbol (-f, -b): how a value is read, and whether a reader
// can still tell the dark modules from the light ones. A colour is held as
// 0xRRGGBBAA: sRGB channels, then the alpha (0xFF opaque, 0x00 transparent).
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr uint32_t colour_black = 0x000000FFu;
inline constexpr uint32_t colour_white = 0xFFFFFFFFu;

struct symbol_colours {
    uint32_t dark = colour_black;   // the dark modules; always opaque
    uint32_t light = colour_white;  // the light modules and the quiet zone
};

// The lowest symbol contrast accepted, as barcode print grading measures it
// (the reflectance of the light parts less that of the dark ones): 40 % is
// the least that still grades C.
inline constexpr double min_symbol_contrast = 0.40;

inline uint8_t colour_red(uint32_t colour) { return static_cast<uint8_t>(colour >> 24); }
inline uint8_t colour_green(uint32_t colour) { return static_cast<uint8_t>(colour >> 16); }
inline uint8_t colour_blue(uint32_t colour) { return static_cast<uint8_t>(colour >> 8); }
inline uint8_t colour_alpha(uint32_t colour) { return static_cast<uint8_t>(colour); }

// True for the black on white of a run without -f and -b, which every writer
// draws exactly as it did before colours existed.
bool is_black_on_white(const symbol_colours& colours);

// Reads a colour: an optional '#', then 6 hexadecimal digits (RRGGBB, opaque)
// or, when with_alpha, 6 or 8 (RRGGBBAA), in any case, and nothing else.
// Returns false, leaving out as it was, for anything else ("12345", "GGGGGG",
// "#", "", "0x000000").
bool parse_colour(const char* text, bool with_alpha, uint32_t* out);

// Writes "RRGGBB", or "RRGGBBAA" when the colour is not opaque, in capitals,
// into out (out_size >= 9 holds either).
void format_colour(char* out, std::size_t out_size, uint32_t colour);

// The symbol contrast of the pair: the relative luminance of the light colour,
// laid over white by its alpha, less that of the dark one; from -1 to 1, and
// negative when the light modules are the darker.
double symbol_contrast(const symbol_colours& colours);
