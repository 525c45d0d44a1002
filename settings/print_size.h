// Printed sizes: the values of -d (dots per inch) and -w (the printed side of
// the symbol's modules), and what they come to for a symbol of a given width.
// Sizes are held in nanometres, so millimetres and inches with a few decimals
// are exact and the dot size is found with integer arithmetic alone.
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr int max_dpi = 100000;
inline constexpr int64_t nm_per_mm = 1000000;
inline constexpr int64_t nm_per_inch = 25400000;
// One metre: larger than any page, and small enough that every product below
// fits 64 bits.
inline constexpr int64_t max_print_size_nm = 1000 * nm_per_mm;

// Reads a -d value: decimal digits only, 1 to max_dpi. Returns the value, or
// 0 for anything else (a sign, a blank, a letter, an empty text).
int parse_dpi(const char* text);

// Reads a -w value in full: digits with at most one decimal point or comma
// (at least one digit in all), then nothing or "mm" (millimetres) or "in"
// (inches), in any case. Returns the size in nanometres, rounded to the
// nearest, or 0 when the text is anything else or the size is 0 or past
// max_print_size_nm.
int64_t parse_print_size(const char* text);

// The largest whole number of pixels per module with which width modules take
// no more than size_nm at dpi dots per inch; 0 when one pixel per module is
// already too big. Preconditions: width >= 1, 1 <= dpi <= max_dpi,
// 0 < size_nm <= max_print_size_nm.
int dot_size_for(int64_t size_nm, int dpi, int width);

// Pixels per metre of dpi dots per inch, rounded (300 -> 11811).
int32_t pixels_per_metre(int dpi);

// Writes value / 10^decimals as a decimal with a point and without trailing
// zeros ("35", "40.714") into out (out_size >= 24 holds any value), the same
// in every locale. decimals is 0 to 9.
void format_decimal(char* out, std::size_t out_size, int64_t value, int decimals);
