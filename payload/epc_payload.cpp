#include "payload/bank_checks.h"
#include "payload/field_checks.h"
#include "payload/payload_kinds.h"

#include "settings/exit_codes.h"
#include "runlog/log_message.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

constexpr std::array<payload_field_rule, 10> rules{{
    {"version", false}, {"charset", false}, {"bic", false}, {"name", true}, {"iban", true},
    {"amount", false}, {"purpose", false}, {"reference", false}, {"text", false},
    {"information", false},
}};

// A code of version 13 at level M holds at most 331 bytes.
constexpr std::size_t max_bytes = 331;

// The text fields, their line (from 0) and their length in characters.
struct text_line {
    const char* name;
    int line;
    std::size_t max;
};
constexpr std::array<text_line, 4> text_lines{{
    {"name", 5, 70}, {"reference", 9, 35}, {"text", 10, 140}, {"information", 11, 70},
}};

int check_bank_fields(const payload_fields& fields, bool version_001, std::array<std::string, 12>* lines)
{
    const std::string bic = compact_identifier(fields.value("bic"));
    if (bic.empty() && version_001)
        return refuse_field("bic", "obligatorio con la versi\xF3n 001");
    if (!bic.empty() && !bic_valid(bic))
        return refuse_field("bic", "8 u 11 letras o cifras, las 5.\xAA y 6.\xAA letras del pa\xEDs");
    (*lines)[4] = bic;

    const std::string iban = compact_identifier(fields.value("iban"));
    switch (iban_check(iban)) {
    case iban_bad_form: return refuse_field("iban", "dos letras, dos cifras y luego letras o cifras");
    case iban_bad_length: return refuse_field("iban", "longitud no v\xE1lida para su pa\xEDs");
    case iban_bad_check: return refuse_field("iban", "d\xEDgitos de control incorrectos (m\xF3" "dulo 97)");
    case iban_ok: break;
    }
    (*lines)[6] = iban;

    const std::string_view amount = fields.value("amount");
    std::int64_t cents = 0;
    if (!amount.empty() && !parse_amount(amount, &cents))
        return refuse_field("amount", "cifras con punto decimal, hasta 2 decimales, sin ceros a la izquierda");
    if (!amount.empty() && cents == 0)
        return refuse_field("amount", "de 0.01 a 999999999.99 euros");
    if (!amount.empty())
        (*lines)[7] = "EUR" + std::string(amount);

    const std::string_view purpose = fields.value("purpose");
    const bool capitals = std::all_of(purpose.begin(), purpose.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
    if (!capitals || (!purpose.empty() && purpose.size() != 4))
        return refuse_field("purpose", "c\xF3" "digo de 4 letras may\xFAsculas");
    (*lines)[8] = purpose;
    return result_ok;
}

// The text fields, checked for length and written in the character set.
int check_text_fields(const payload_fields& fields, int set, std::array<std::string, 12>* lines)
{
    for (const text_line& field : text_lines) {
        const std::string_view value = fields.value(field.name);
        if (const int result = refuse_longer(field.name, value, field.max); result != result_ok)
            return result;
        std::string& line = (*lines)[static_cast<std::size_t>(field.line)];
        line = value;
        if (set >= epc_first_latin_set && utf8_to_epc_latin(value, set, &line) != std::string_view::npos) {
            log_message("Campo %s inv\xE1lido: car\xE1" "cter que el juego de caracteres %d no tiene", field.name, set);
            return result_bad_command;
        }
    }
    return result_ok;
}

}  // namespace

payload_field_rules epc_field_rules()
{
    return rules;
}

// Twelve lines at most, LF between them and none after the last; empty lines
// at the end are left out. The text fields are written in the character set
// the third line names: 1 is UTF-8 (the default, which holds any text), 2 to
// 8 the ISO 8859 sets.
int build_epc_payload(const payload_fields& fields, std::string* out)
{
    const std::string_view version = fields.has("version") ? fields.value("version") : "002";
    if (version != "001" && version != "002")
        return refuse_field("version", "001 o 002");
    const std::string_view charset = fields.has("charset") ? fields.value("charset") : "1";
    if (charset.size() != 1 || charset[0] < '1' || charset[0] > '8')
        return refuse_field("charset", "un n\xFAmero de 1 a 8");
    const int set = charset[0] - '0';

    for (const payload_field& field : fields.items) {
        if (const int result = refuse_controls(std::string(field.name).c_str(), field.value); result != result_ok)
            return result;
    }

    std::array<std::string, 12> lines{"BCD", std::string(version), std::string(charset), "SCT"};
    if (const int result = check_bank_fields(fields, version == "001", &lines); result != result_ok)
        return result;

    if (const int result = check_text_fields(fields, set, &lines); result != result_ok)
        return result;
    if (fields.has("reference") && fields.has("text"))
        return refuse_field("text", "no se admite junto con reference");
    const std::string reference = compact_identifier(lines[9]);
    if (reference.starts_with("RF")) {
        if (!creditor_reference_valid(reference))
            return refuse_field("reference", "referencia RF con d\xEDgitos de control incorrectos (m\xF3" "dulo 97)");
        lines[9] = reference;
    }

    std::size_t used = lines.size();
    while (lines[used - 1].empty())
        --used;
    *out = lines[0];
    for (std::size_t i = 1; i < used; ++i)
        *out += "\n" + lines[i];
    if (out->size() > max_bytes) {
        log_message("C\xF3" "digo EPC demasiado largo: %d bytes, m\xE1ximo 331", static_cast<int>(out->size()));
        return result_bad_command;
    }
    return result_ok;
}
