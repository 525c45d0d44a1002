// The switch pass: turns the tokens into run settings, the output file name
// and the prepared data, stopping at the first invalid switch or value.
#pragma once

// What the pass found besides the run settings.
struct switch_outcome {
    const char* output_name = nullptr;  // points into the token array
    bool help_shown = false;            // -h met: usage written, nothing to encode
};

// Reads tokens[0..count-1] left to right. Returns 0, or 1105 (or 1102 when the
// data cannot be held) after logging the first failure. The last data token
// wins; once every switch is read it is prepared (take_data_token): with -u
// it is first converted from the platform's narrow text to UTF-8 when
// native_text is true (the tokens are in the ANSI code page). After every
// token, wherever the switches stood: -u with -k is refused, and so is a
// printed size (-w) for PNG or BMP without a resolution (-d) unless the run
// makes no image file (image_file false: the modules alone, which no size
// concerns). Before those, a kind of payload (-p) applies its standard's
// settings (apply_payload_settings); its fields are text, read as -u reads it.
int run_switch_pass(char** tokens, int count, switch_outcome* outcome, bool image_file = true,
                    bool native_text = false);

// The highest ECI designator (-e) that a symbol can hold.
inline constexpr int max_eci = 999999;

// Decimal conversion as the switches read values: leading white space, an
// optional sign, digits up to the first other character; 0 without digits.
// Values beyond the int range saturate at INT_MIN or INT_MAX.
int to_int(const char* text);
