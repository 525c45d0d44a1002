#include "frontend/switch_pass.h"

#include "frontend/input_data.h"
#include "frontend/payload_input.h"
#include "frontend/usage.h"
#include "runlog/log_message.h"
#include "platform/platform.h"
#include "runlog/run_log.h"
#include "settings/colours.h"
#include "settings/exit_codes.h"
#include "settings/print_size.h"
#include "settings/run_settings.h"

#include <array>
#include <climits>
#include <cstdint>
#include <string>

int to_int(const char* text)
{
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    int64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (value <= INT64_C(1) << 32)
            value = value * 10 + (*p - '0');
    }
    if (negative)
        value = -value;
    if (value < INT_MIN)
        return INT_MIN;
    if (value > INT_MAX)
        return INT_MAX;
    return static_cast<int>(value);
}

namespace {

bool equals_ignoring_case(const char* a, const char* b)
{
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(*a) != lower(*b))
            return false;
    }
    return *a == *b;
}

// Every type but the named ones means PNG, whatever the value.
int image_type_named(const char* value)
{
    if (equals_ignoring_case(value, "bmp"))
        return image_bmp;
    if (equals_ignoring_case(value, "svg"))
        return image_svg;
    if (equals_ignoring_case(value, "emf"))
        return image_emf;
    if (equals_ignoring_case(value, "txt"))
        return image_txt;
    return image_png;
}

int fail(const char* message)
{
    log_line(run_log, message);
    return result_bad_command;
}

// -d: the printer's dots per inch.
int set_dpi(const char* value)
{
    if (value == nullptr)
        return fail("Resoluci\xF3n no ha sido especificada");
    run_settings.dpi = parse_dpi(value);
    if (run_settings.dpi == 0) {
        log_message("Resoluci\xF3n Inv\xE1lida: %s. Valores posibles: puntos por pulgada, de 1 a 100000",
                    value);
        return result_bad_command;
    }
    return result_ok;
}

// -w: the printed side of the modules.
int set_print_size(const char* value)
{
    if (value == nullptr)
        return fail("Tama\xF1o de impresi\xF3n no ha sido especificado");
    run_settings.print_size_nm = parse_print_size(value);
    if (run_settings.print_size_nm == 0) {
        log_message("Tama\xF1o de impresi\xF3n Inv\xE1lido: %s. Valores posibles: mil\xEDmetros "
                    "(35 o 35,5) o pulgadas (1.4in), hasta 1000 mm", value);
        return result_bad_command;
    }
    return result_ok;
}

// -f and -b: the colours of the dark and of the light modules. Only the
// light ones may be transparent.
int set_colour(char letter, const char* value)
{
    const bool dark = letter == 'f' || letter == 'F';
    const char* name = dark ? "primer plano" : "fondo";
    if (value == nullptr) {
        log_message("Color de %s no ha sido especificado", name);
        return result_bad_command;
    }
    uint32_t* colour = dark ? &run_settings.colours.dark : &run_settings.colours.light;
    if (!parse_colour(value, !dark, colour)) {
        log_message("Color de %s Inv\xE1lido: %s. Valores posibles: %s en hexadecimal (003366 o #003366)",
                    name, value, dark ? "RRGGBB" : "RRGGBB o RRGGBBAA");
        return result_bad_command;
    }
    return result_ok;
}

// The colours against what the image type can hold and what a reader can
// read: a transparent background only where the format has one, and enough
// contrast with the dark modules darker, a transparent background judged
// over a white page.
int check_colours()
{
    const run_settings_t& s = run_settings;
    const uint8_t alpha = colour_alpha(s.colours.light);
    std::array<char, 16> dark{};
    std::array<char, 16> light{};
    format_colour(dark.data(), dark.size(), s.colours.dark);
    format_colour(light.data(), light.size(), s.colours.light);
    if (s.image_type == image_bmp && alpha != 0xFF) {
        log_message("El formato BMP no admite fondo transparente: -b %s", light.data());
        return result_bad_command;
    }
    if (s.image_type == image_emf && alpha != 0xFF && alpha != 0) {
        log_message("El formato EMF solo admite fondo opaco o del todo transparente (alfa FF o 00): -b %s",
                    light.data());
        return result_bad_command;
    }
    const double contrast = symbol_contrast(s.colours);
    if (contrast < min_symbol_contrast) {
        // Cut towards zero, so that a refused contrast never shows as the minimum.
        log_message("Contraste insuficiente entre -f %s y -b %s: %d %%. Se necesita un %d %% o m\xE1s, "
                    "con -f m\xE1s oscuro que -b", dark.data(), light.data(),
                    static_cast<int>(contrast * 100), static_cast<int>(min_symbol_contrast * 100));
        return result_bad_command;
    }
    return result_ok;
}

// -e: an ECI designator, or "none" for UTF-8 text without one. Digits only:
// a designator of another value than the one written would be a silent
// change of the character set.
int set_eci(const char* value)
{
    if (value == nullptr)
        return fail("Designador ECI no ha sido especificado");
    if (equals_ignoring_case(value, "none")) {
        run_settings.eci = eci_none;
        return result_ok;
    }
    int eci = 0;
    const char* p = value;
    for (; *p >= '0' && *p <= '9' && eci <= max_eci; ++p)
        eci = eci * 10 + (*p - '0');
    if (p == value || *p != '\0' || eci > max_eci) {
        log_message("Designador ECI inv\xE1lido: %s. Valores posibles: 0 a 999999, o none", value);
        return result_bad_command;
    }
    run_settings.eci = eci;
    return result_ok;
}

// Applies switch letter with its value (nullptr when none was given).
// Returns 0 or the failure code after logging it.
int apply_switch(char letter, const char* value, switch_outcome* outcome)
{
    run_settings_t& s = run_settings;
    switch (letter) {
    case '8':
        s.eight_bit = 1;
        return result_ok;
    case 'c': case 'C':
        s.case_sensitive = 1;
        return result_ok;
    case 'i': case 'I':
        s.case_sensitive = 0;
        return result_ok;
    case 'k': case 'K':
        s.hint = QR_MODE_KANJI;
        return result_ok;
    case 's': case 'S':
        s.structured = 1;
        return result_ok;
    case 'h': case 'H':
        print_usage();
        outcome->help_shown = true;
        return result_ok;
    case 'o': case 'O':
        if (value == nullptr)
            return fail("Archivo de salida no ha sido especificado");
        outcome->output_name = value;
        return result_ok;
    case 'l': case 'L':
        if (value == nullptr)
            return fail("Nivel no ha sido especificado");
        switch (value[0]) {
        case 'L': case 'l': s.level = QR_ECLEVEL_L; return result_ok;
        case 'M': case 'm': s.level = QR_ECLEVEL_M; return result_ok;
        case 'Q': case 'q': s.level = QR_ECLEVEL_Q; return result_ok;
        case 'H': case 'h': s.level = QR_ECLEVEL_H; return result_ok;
        default:
            log_message("Nivel Inv\xE1lido: %s. Valores posibles: L, M, Q, H", value);
            return result_bad_command;
        }
    case 'v': case 'V':
        if (value == nullptr)
            return fail("Versi\xF3n no ha sido especificada");
        s.version = to_int(value);
        if (s.version < 0) {
            log_message("Versi\xF3n inv\xE1lida: %d", s.version);
            return result_bad_command;
        }
        return result_ok;
    case 'z': case 'Z':
        if (value == nullptr)
            return fail("Tama\xF1o no ha sido especificado");
        s.dot_size = to_int(value);
        if (s.dot_size <= 0) {
            log_message("Tama\xF1o inv\xE1lido: %d", s.dot_size);
            return result_bad_command;
        }
        return result_ok;
    case 'm':
        if (value == nullptr)
            return fail("Margen no ha sido especificado");
        s.margin = to_int(value);
        if (s.margin < 0) {
            log_message("Margen Inv\xE1lido: %d", s.margin);
            return result_bad_command;
        }
        return result_ok;
    case 't': case 'T':
        if (value == nullptr)
            return fail("Tipo de imagen no ha sido especificado. Valores posibles: BMP, PNG.");
        s.image_type = image_type_named(value);
        return result_ok;
    case 'd': case 'D':
        return set_dpi(value);
    case 'w': case 'W':
        return set_print_size(value);
    case 'f': case 'F': case 'b': case 'B':
        return set_colour(letter, value);
    case 'u': case 'U':
        s.utf8 = 1;
        return result_ok;
    case 'e': case 'E':
        return set_eci(value);
    case 'p': case 'P':
        return set_payload_kind(value);
    default:
        return fail("Error de sintaxis. Use -h para mostrar ayuda");
    }
}

}  // namespace

namespace {

// Prepares the last data token once every switch is known, since -u changes
// what its bytes are: text in the code page becomes UTF-8 first. Escapes are
// resolved after that, so they still put the exact byte they name.
int prepare_data(const char* token, bool native_text)
{
    std::string converted;
    bool held = true;
    if ((run_settings.utf8 != 0 || run_settings.payload_kind != 0) && native_text) {
        held = utf8_from_native(token, &converted);
        token = converted.c_str();
    }
    if (!held || take_data_token(token) == 0) {
        log_line(run_log, "Error de memoria al preparar dato de entrada");
        return result_no_memory;
    }
    return result_ok;
}

}  // namespace

int run_switch_pass(char** tokens, int count, switch_outcome* outcome, bool image_file,
                    bool native_text)
{
    const char* data = nullptr;
    bool level_given = false;
    for (int i = 0; i < count; ++i) {
        const char* token = tokens[i];
        if (token[0] != '-') {
            data = token;
            continue;
        }
        // Every switch takes the next token as its value unless it is a switch.
        const char* value = nullptr;
        if (i + 1 < count && tokens[i + 1][0] != '-')
            value = tokens[++i];
        const int result = apply_switch(token[1], value, outcome);
        if (result != result_ok || outcome->help_shown)
            return result;
        level_given = level_given || token[1] == 'l' || token[1] == 'L';
    }
    if (run_settings.payload_kind != 0) {
        const int result = apply_payload_settings(level_given);
        if (result != result_ok)
            return result;
    }
    // Checked once every switch is read, so that their order does not matter.
    const run_settings_t& s = run_settings;
    if (s.utf8 != 0 && s.hint == QR_MODE_KANJI)
        return fail("-u y -k no se pueden combinar: -u es texto UTF-8 y -k es Shift-JIS");
    if (data != nullptr) {
        const int prepared = prepare_data(data, native_text);
        if (prepared != result_ok)
            return prepared;
    }
    // A raster printed at a guessed resolution would be resampled.
    const bool raster = s.image_type == image_png || s.image_type == image_bmp;
    if (image_file && raster && s.print_size_nm != 0 && s.dpi == 0)
        return fail("-w necesita -d para PNG y BMP: indique con -d la resoluci\xF3n de la impresora");
    // The text of -t txt has no colours to judge.
    return image_file && s.image_type != image_txt ? check_colours() : result_ok;
}
