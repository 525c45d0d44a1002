#include "frontend/payload_input.h"

#include "settings/colours.h"
#include "settings/exit_codes.h"
#include "settings/print_size.h"
#include "settings/run_settings.h"
#include "frontend/symbol_output.h"
#include "payload/payload_kinds.h"
#include "runlog/log_message.h"
#include "runlog/run_log.h"

#include <string_view>

namespace {

constexpr int64_t standard_print_size_nm(payload_width width)
{
    return width == payload_width::exactly_46_mm ? 46 * nm_per_mm : 35 * nm_per_mm;
}

bool print_size_allowed(payload_width width, int64_t size_nm)
{
    switch (width) {
    case payload_width::from_30_to_40_mm:
        return size_nm >= 30 * nm_per_mm && size_nm <= 40 * nm_per_mm;
    case payload_width::exactly_46_mm:
        return size_nm == 46 * nm_per_mm;
    case payload_width::free:
        break;
    }
    return true;
}

}  // namespace

int set_payload_kind(const char* value)
{
    if (value == nullptr) {
        log_line(run_log, "Tipo de contenido no ha sido especificado");
        return result_bad_command;
    }
    run_settings.payload_kind = payload_kind_named(value);
    if (run_settings.payload_kind == payload_none) {
        log_message("Tipo de contenido Inv\xE1lido: %s. Valores posibles: verifactu, ticketbai, epc, "
                    "swiss, vcard, wifi", value);
        return result_bad_command;
    }
    return result_ok;
}

int apply_payload_settings(bool level_given)
{
    run_settings_t& s = run_settings;
    const payload_kind& kind = *payload_kind_numbered(s.payload_kind);
    if (s.structured != 0) {
        log_message("-p %s no admite una serie de s\xEDmbolos (-s): el est\xE1ndar es un solo s\xEDmbolo",
                    kind.name);
        return result_bad_command;
    }
    if (kind.level >= 0) {
        if (level_given && s.level != kind.level) {
            log_message("Nivel no admitido con -p %s: el est\xE1ndar fija el nivel M", kind.name);
            return result_bad_command;
        }
        s.level = kind.level;
    }
    if (s.print_size_nm != 0 && !print_size_allowed(kind.width, s.print_size_nm)) {
        log_message(kind.width == payload_width::exactly_46_mm
                        ? "Tama\xF1o de impresi\xF3n no admitido con -p %s: el est\xE1ndar fija 46 mm"
                        : "Tama\xF1o de impresi\xF3n no admitido con -p %s: de 30 a 40 mm",
                    kind.name);
        return result_bad_command;
    }
    const bool printed = s.dpi != 0 || s.image_type == image_svg || s.image_type == image_emf;
    if (kind.width != payload_width::free && s.print_size_nm == 0 && printed)
        s.print_size_nm = standard_print_size_nm(kind.width);
    // A version limit is the standard's byte count in 8-bit mode; libqrencode's
    // own split into segments can need a version more near that count.
    if (kind.max_version != 0)
        s.eight_bit = 1;
    // The fields are read as text whatever -u says; what -u adds besides, the
    // UTF-8 check and designator 26, follows the payload's own character set.
    s.utf8 = kind.eci == payload_eci::utf8_when_needed ? 1 : 0;
    if (s.eci == eci_auto && kind.eci == payload_eci::none)
        s.eci = eci_none;
    // The cross is black on white by the standard; drawn in other colours it
    // would no longer hide the modules under it the same way in every format.
    if (kind.swiss_cross && !is_black_on_white(s.colours)) {
        log_message("-p %s no admite -f ni -b: el est\xE1ndar fija negro sobre blanco", kind.name);
        return result_bad_command;
    }
    s.swiss_cross = kind.swiss_cross ? 1 : 0;
    return result_ok;
}

int take_payload(const char** data, std::size_t* size, std::string* payload)
{
    if (run_settings.payload_kind == payload_none || *data == nullptr)
        return result_ok;
    // No kind's field names add more than this to the text they make, so
    // longer fields make no payload that a symbol holds: refused unread.
    constexpr std::size_t names_slack = 4096;
    if (*size > max_encodable_bytes + names_slack) {
        log_line(run_log, "Error al codificar dato de entrada");
        return result_encode_refused;
    }
    const int result = build_payload(run_settings.payload_kind, std::string_view(*data, *size), payload);
    if (result != result_ok)
        return result;
    *data = payload->c_str();
    *size = payload->size();
    return result_ok;
}

QRcode* within_payload_version(QRcode* symbol)
{
    const payload_kind* kind = payload_kind_numbered(run_settings.payload_kind);
    if (symbol == nullptr || kind == nullptr || kind->max_version == 0 ||
        symbol->version <= kind->max_version)
        return symbol;
    log_message("El contenido -p %s necesita la versi\xF3n %d: el est\xE1ndar admite hasta la %d",
                kind->name, symbol->version, kind->max_version);
    QRcode_free(symbol);
    return nullptr;
}
