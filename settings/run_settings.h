// The run settings: process-wide values written only by the switch pass and
// read by the encoder choice and the symbol writers.
#pragma once

#include <cstdint>
#include <qrencode.h>

struct run_settings_t {
    int case_sensitive = 1;        // libqrencode's case-sensitivity argument
    int dot_size = 3;              // pixels per module side, >= 1
    int margin = 4;                // quiet zone in modules, >= 0
    int level = QR_ECLEVEL_Q;      // 0 = L, 1 = M, 2 = Q, 3 = H
    int hint = QR_MODE_8;          // QR_MODE_8 or QR_MODE_KANJI
    int image_type = 1;            // 1 = PNG, 2 = BMP, 3 = SVG, 4 = EMF
    int eight_bit = 0;             // encode everything in 8-bit mode
    int version = 0;               // 0: smallest that fits
    int structured = 0;            // structured-append series
    int dpi = 0;                   // printer dots per inch; 0: not given
    int64_t print_size_nm = 0;     // printed side of the modules; 0: not given
    int swiss_cross = 0;           // draw the Swiss QR-bill's cross over the centre
};

extern run_settings_t run_settings;

inline constexpr int image_png = 1;
inline constexpr int image_bmp = 2;
inline constexpr int image_svg = 3;
inline constexpr int image_emf = 4;

// Puts every setting back to its default (for tests and fuzzing).
void reset_run_settings();
