// VeriFactu: the address of AEAT's checking service with the invoice's four
// parameters, each encoded as AEAT's own Java sample does (URLEncoder).
#include "settings/exit_codes.h"
#include "payload/invoice_text.h"
#include "payload/payload_kinds.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<payload_field_rule, 6> rules{{
    {"nif", true}, {"numserie", true}, {"fecha", true}, {"importe", true}, {"sistema", false},
    {"entorno", false},
}};

bool nif_is_valid(std::string_view nif)
{
    if (nif.size() != 9)
        return false;
    return std::all_of(nif.begin(), nif.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'); });
}

bool numserie_is_valid(std::string_view numserie)
{
    if (numserie.size() > 60)
        return false;
    return std::all_of(numserie.begin(), numserie.end(), [](char c) { return c >= 32 && c <= 126; });
}

// DD-MM-AAAA, a day that exists.
bool fecha_is_valid(std::string_view fecha)
{
    return fecha.size() == 10 && fecha[2] == '-' && fecha[5] == '-' &&
           date_exists(digits_value(fecha.substr(0, 2)), digits_value(fecha.substr(3, 2)),
                       digits_value(fecha.substr(6, 4)));
}

// The service's address for the system and environment fields; nullptr
// (after logging) for a value that is neither.
const char* service_address(const payload_fields& fields)
{
    const std::string_view sistema = fields.value("sistema");
    const std::string_view entorno = fields.value("entorno");
    const bool verifactu = sistema.empty() || sistema == "verifactu";
    const bool production = entorno.empty() || entorno == "produccion";
    if (!verifactu && sistema != "noverifactu") {
        refuse_field("sistema", "valores posibles: verifactu, noverifactu");
        return nullptr;
    }
    if (!production && entorno != "pruebas") {
        refuse_field("entorno", "valores posibles: produccion, pruebas");
        return nullptr;
    }
    if (production)
        return verifactu ? "https://www2.agenciatributaria.gob.es/wlpl/TIKE-CONT/ValidarQR?"
                         : "https://www2.agenciatributaria.gob.es/wlpl/TIKE-CONT/ValidarQRNoVerifactu?";
    return verifactu ? "https://prewww2.aeat.es/wlpl/TIKE-CONT/ValidarQR?"
                     : "https://prewww2.aeat.es/wlpl/TIKE-CONT/ValidarQRNoVerifactu?";
}

}  // namespace

payload_field_rules verifactu_field_rules()
{
    return rules;
}

int build_verifactu_payload(const payload_fields& fields, std::string* out)
{
    if (!nif_is_valid(fields.value("nif")))
        return refuse_field("nif", "9 caracteres, d\xEDgitos o letras may\xFAsculas");
    if (!numserie_is_valid(fields.value("numserie")))
        return refuse_field("numserie", "hasta 60 caracteres ASCII imprimibles (32 a 126)");
    if (!fecha_is_valid(fields.value("fecha")))
        return refuse_field("fecha", "una fecha que exista, DD-MM-AAAA");
    if (!amount_is_valid(fields.value("importe")))
        return refuse_field("importe", "hasta 12 d\xEDgitos enteros y 2 decimales con punto");
    const char* address = service_address(fields);
    if (address == nullptr)
        return result_bad_command;
    *out = address;
    const char* const names[] = {"nif", "numserie", "fecha", "importe"};
    for (const char* name : names) {
        if (name != names[0])
            *out += '&';
        *out += name;
        *out += '=';
        append_url_encoded(fields.value(name), url_rule::java_form, out);
    }
    return result_ok;
}
