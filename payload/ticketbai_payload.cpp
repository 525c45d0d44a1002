// TicketBAI: the province's checking address with the invoice's identifier,
// series, number and total, and cr, the CRC-8 of the URL as encoded.
#include "settings/exit_codes.h"
#include "payload/invoice_text.h"
#include "payload/payload_kinds.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace {

constexpr std::array<payload_field_rule, 7> rules{{
    {"id", true}, {"s", false}, {"nf", true}, {"i", true}, {"provincia", true}, {"entorno", false},
    {"espacio", false},
}};

// The identifier's text before its CRC: "TBAI-", the NIF, "-", the date
// DDMMAA, "-", 13 characters of the signature, "-".
constexpr std::size_t id_crc_at = 36;

bool base64_character(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '+' ||
           c == '/';
}

// Logs and returns 1105 when id is not a TicketBAI identifier with its CRC.
int check_id(std::string_view id)
{
    if (id.size() != 39 || id.substr(0, 5) != "TBAI-" || id[14] != '-' || id[21] != '-' ||
        id[35] != '-')
        return refuse_field("id", "TBAI-NIF-DDMMAA-firma-CRC, 39 caracteres");
    const std::string_view nif = id.substr(5, 9);
    if (!std::all_of(nif.begin(), nif.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'); }))
        return refuse_field("id", "el NIF son 9 d\xEDgitos o letras may\xFAsculas");
    // The year is checked on its own: 2000 plus a non-digit's -1 would be 1999.
    const int year = digits_value(id.substr(19, 2));
    if (year < 0 || !date_exists(digits_value(id.substr(15, 2)), digits_value(id.substr(17, 2)), 2000 + year))
        return refuse_field("id", "la fecha DDMMAA no existe");
    const std::string_view signature = id.substr(22, 13);
    if (!std::all_of(signature.begin(), signature.end(), base64_character))
        return refuse_field("id", "la firma son 13 caracteres de Base64");
    if (digits_value(id.substr(id_crc_at, 3)) != tbai_crc8(id.substr(0, id_crc_at)))
        return refuse_field("id", "el CRC no corresponde");
    return result_ok;
}

// A series or number of the invoice record: 1 to 20 characters, none a
// control character.
bool invoice_text_is_valid(std::string_view text)
{
    std::size_t characters = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32 || byte == 127)
            return false;
        // UTF-8 continuation bytes belong to the character before them.
        characters += (byte & 0xC0) != 0x80 ? 1 : 0;
    }
    return characters <= 20;
}

// The province's address for the environment; nullptr (after logging) for
// an unknown province or environment.
const char* checking_address(const payload_fields& fields)
{
    const std::string_view provincia = fields.value("provincia");
    const std::string_view entorno = fields.value("entorno");
    const bool production = entorno.empty() || entorno == "produccion";
    if (!production && entorno != "pruebas") {
        refuse_field("entorno", "valores posibles: produccion, pruebas");
        return nullptr;
    }
    if (provincia == "araba")
        return production ? "https://ticketbai.araba.eus/tbai/qrtbai/"
                          : "https://pruebas-ticketbai.araba.eus/tbai/qrtbai/";
    if (provincia == "bizkaia")
        return "https://batuz.eus/QRTBAI/";
    if (provincia == "gipuzkoa")
        return production ? "https://tbai.egoitza.gipuzkoa.eus/qr/" : "https://tbai.prep.gipuzkoa.eus/qr/";
    refuse_field("provincia", "valores posibles: araba, bizkaia, gipuzkoa");
    return nullptr;
}

}  // namespace

payload_field_rules ticketbai_field_rules()
{
    return rules;
}

int build_ticketbai_payload(const payload_fields& fields, std::string* out)
{
    const int refused = check_id(fields.value("id"));
    if (refused != result_ok)
        return refused;
    if (!invoice_text_is_valid(fields.value("s")))
        return refuse_field("s", "hasta 20 caracteres, sin caracteres de control");
    if (!invoice_text_is_valid(fields.value("nf")))
        return refuse_field("nf", "hasta 20 caracteres, sin caracteres de control");
    if (!amount_is_valid(fields.value("i")))
        return refuse_field("i", "hasta 12 d\xEDgitos enteros y 2 decimales con punto");
    const std::string_view espacio = fields.value("espacio");
    if (!espacio.empty() && espacio != "%20" && espacio != "+")
        return refuse_field("espacio", "valores posibles: %20, +");
    const url_rule rule = espacio == "+" ? url_rule::rfc3986_space_plus : url_rule::rfc3986;
    const char* address = checking_address(fields);
    if (address == nullptr)
        return result_bad_command;
    *out = address;
    *out += "?id=";
    append_url_encoded(fields.value("id"), rule, out);
    // Without a series the pair is left out, not written empty.
    if (fields.has("s")) {
        *out += "&s=";
        append_url_encoded(fields.value("s"), rule, out);
    }
    *out += "&nf=";
    append_url_encoded(fields.value("nf"), rule, out);
    *out += "&i=";
    append_url_encoded(fields.value("i"), rule, out);
    std::array<char, 8> crc{};
    std::snprintf(crc.data(), crc.size(), "&cr=%03u", static_cast<unsigned>(tbai_crc8(*out)));
    *out += crc.data();
    return result_ok;
}
