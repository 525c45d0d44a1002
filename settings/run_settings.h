// The run settings: process-wide values written only by the switch pass and
// read by the encoder choice and the symbol writers.
#pragma once

#include "settings/colours.h"

#include <cstdint>
#include <qrencode.h>

// Values of run_settings_t::eci besides an explicit designator 0..999999.
// eci_auto: with utf8, designator 26 (UTF-8) when the data holds a byte above
// 0x7F and none otherwise; without utf8, none.
inline constexpr int eci_auto = -1;
inline constexpr int eci_none = -2;  // no designator, asked for explicitly

struct run_settings_t {
    int case_sensitive = 1;        // libqrencode's case-sensitivity argument
    int dot_size = 3;              // pixels per module side, >= 1
    int margin = 4;                // quiet zone in modules, >= 0
    int level = QR_ECLEVEL_Q;      // 0 = L, 1 = M, 2 = Q, 3 = H
    int hint = QR_MODE_8;          // QR_MODE_8 or QR_MODE_KANJI
    int image_type = 1;            // 1 = PNG, 2 = BMP, 3 = SVG, 4 = EMF, 5 = the data as text
    int eight_bit = 0;             // encode everything in 8-bit mode
    int version = 0;               // 0: smallest that fits
    int structured = 0;            // structured-append series
    int dpi = 0;                   // printer dots per inch; 0: not given
    int64_t print_size_nm = 0;     // printed side of the modules; 0: not given
    int utf8 = 0;                  // the data is text in UTF-8 (-u)
    int eci = eci_auto;            // ECI designator 0..999999, eci_auto or eci_none
    int payload_kind = 0;          // 0: none; else the payload the data is built as (-p)
    symbol_colours colours;        // -f and -b; black on white when not given
    int swiss_cross = 0;           // draw the Swiss QR-bill's cross over the centre
};

extern run_settings_t run_settings;

inline constexpr int image_png = 1;
inline constexpr int image_bmp = 2;
inline constexpr int image_svg = 3;
inline constexpr int image_emf = 4;
// Not an image: the exact bytes that the symbol would encode.
inline constexpr int image_txt = 5;

// Puts every setting back to its default (for tests and fuzzing).
void reset_run_settings();
