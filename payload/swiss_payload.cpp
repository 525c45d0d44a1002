#include "payload/bank_checks.h"
#include "payload/field_checks.h"
#include "payload/payload_kinds.h"

#include "settings/exit_codes.h"
#include "runlog/log_message.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>

namespace {

constexpr std::array<payload_field_rule, 20> rules{{
    {"iban", true}, {"creditor_name", true}, {"creditor_street", false},
    {"creditor_building", false}, {"creditor_postcode", true}, {"creditor_town", true},
    {"creditor_country", true}, {"amount", false}, {"currency", true}, {"debtor_name", false},
    {"debtor_street", false}, {"debtor_building", false}, {"debtor_postcode", false},
    {"debtor_town", false}, {"debtor_country", false}, {"reference", false}, {"message", false},
    {"billing", false}, {"alternative1", false}, {"alternative2", false},
}};

// Characters of each text element (the IBAN, currency, reference and amount
// have checks of their own). Together these limits keep a bill within 870
// characters, separators included, below the 997 that version 25 holds in
// ASCII; its bytes, two or three for a letter beyond ASCII, are held to
// version 25 when the symbol is made.
struct element_length {
    const char* name;
    std::size_t max;
};
constexpr std::array<element_length, 15> lengths{{
    {"creditor_name", 70}, {"creditor_street", 70}, {"creditor_building", 16},
    {"creditor_postcode", 16}, {"creditor_town", 35}, {"debtor_name", 70}, {"debtor_street", 70},
    {"debtor_building", 16}, {"debtor_postcode", 16}, {"debtor_town", 35}, {"message", 140},
    {"billing", 140}, {"alternative1", 100}, {"alternative2", 100}, {"currency", 3},
}};

// What a debtor needs once any of its fields is given (a creditor's are
// required by the field table).
constexpr std::array<const char*, 4> debtor_required{"debtor_name", "debtor_postcode", "debtor_town",
                                                     "debtor_country"};

// A zero amount is only for a notice that the bill is not for payment, with
// these words in the message.
constexpr std::array<const char*, 4> no_payment_notices{
    "NICHT ZUR ZAHLUNG VERWENDEN", "NE PAS UTILISER POUR LE PAIEMENT", "NON UTILIZZARE PER IL PAGAMENTO",
    "DO NOT USE FOR PAYMENT"};

int check_texts(const payload_fields& fields)
{
    for (const payload_field& field : fields.items) {
        const std::string name(field.name);
        if (first_outside_swiss_set(field.value) != std::string_view::npos)
            return refuse_field(name.c_str(), "car\xE1" "cter fuera de la lista de la QR-factura suiza");
        if (field.value.starts_with(' ') || field.value.ends_with(' '))
            return refuse_field(name.c_str(), "sin espacios al principio ni al final");
    }
    for (const element_length& element : lengths) {
        if (const int result = refuse_longer(element.name, fields.value(element.name), element.max); result != result_ok)
            return result;
    }
    if (character_count(fields.value("message")) + character_count(fields.value("billing")) > 140)
        return refuse_field("billing", "message y billing suman m\xE1s de 140 caracteres");
    if (fields.has("billing") && (!fields.value("billing").starts_with("//") || fields.value("billing").size() < 4))
        return refuse_field("billing", "empieza por // y un c\xF3" "digo de 2 caracteres");
    return result_ok;
}

int check_parties(const payload_fields& fields)
{
    if (!country_code_valid(fields.value("creditor_country")))
        return refuse_field("creditor_country", "c\xF3" "digo ISO 3166 de 2 letras may\xFAsculas");
    bool debtor = false;
    for (const payload_field& field : fields.items)
        debtor = debtor || (field.name.starts_with("debtor_") && !field.value.empty());
    if (!debtor)
        return result_ok;
    const auto* missing = std::find_if(debtor_required.begin(), debtor_required.end(),
                                       [&](const char* name) { return !fields.has(name); });
    if (missing != debtor_required.end()) {
        log_message("Falta el campo obligatorio: %s (con los dem\xE1s del deudor)", *missing);
        return result_bad_command;
    }
    if (!country_code_valid(fields.value("debtor_country")))
        return refuse_field("debtor_country", "c\xF3" "digo ISO 3166 de 2 letras may\xFAsculas");
    return result_ok;
}

// The amount with its two decimals, or "" when the payer is to enter it.
int amount_text(const payload_fields& fields, std::string* out)
{
    out->clear();
    const std::string_view amount = fields.value("amount");
    if (amount.empty())
        return result_ok;
    std::int64_t cents = 0;
    if (!parse_amount(amount, &cents))
        return refuse_field("amount", "cifras con punto decimal, hasta 2 decimales, sin ceros a la izquierda");
    if (cents == 0) {
        bool notice = false;
        for (const char* words : no_payment_notices)
            notice = notice || fields.value("message").find(words) != std::string_view::npos;
        if (!notice)
            return refuse_field("amount", "0.00 solo con el aviso NICHT ZUR ZAHLUNG VERWENDEN (o NE PAS UTILISER "
                                          "POUR LE PAIEMENT, NON UTILIZZARE PER IL PAGAMENTO) en message");
    }
    std::array<char, 24> text{};
    std::snprintf(text.data(), text.size(), "%lld.%02lld", static_cast<long long>(cents / 100),
                  static_cast<long long>(cents % 100));
    *out = text.data();
    return result_ok;
}

// The reference type follows from the account: a QR-IBAN takes a QR
// reference and nothing else; any other IBAN a creditor reference or none.
int reference_lines(const std::string& iban, std::string_view given, std::string* type, std::string* reference)
{
    *reference = compact_identifier(given);
    if (is_qr_iban(iban)) {
        *type = "QRR";
        if (reference->empty())
            return refuse_field("reference", "obligatoria con un QR-IBAN (referencia QR de 27 cifras)");
        if (!qr_reference_valid(*reference))
            return refuse_field("reference", "referencia QR de 27 cifras con d\xEDgito de control (m\xF3" "dulo 10 recursivo)");
        return result_ok;
    }
    if (reference->empty()) {
        *type = "NON";
        return result_ok;
    }
    *type = "SCOR";
    if (qr_reference_valid(*reference))
        return refuse_field("reference", "una referencia QR necesita un QR-IBAN");
    if (!creditor_reference_valid(*reference))
        return refuse_field("reference", "referencia RF de 5 a 25 caracteres con d\xEDgitos de control (m\xF3" "dulo 97)");
    return result_ok;
}

void add_address(const payload_fields& fields, const char* party, std::string* out)
{
    const std::string prefix = std::string(party) + "_";
    const bool present = fields.has(prefix + "name");
    *out += present ? "S\n" : "\n";
    for (const char* part : {"name", "street", "building", "postcode", "town", "country"}) {
        *out += fields.value(prefix + part);
        *out += '\n';
    }
}

}  // namespace

payload_field_rules swiss_field_rules()
{
    return rules;
}

// 31 to 34 elements separated by LF, none after the last; addresses are
// structured (type S), the ultimate creditor's seven elements stay empty.
int build_swiss_payload(const payload_fields& fields, std::string* out)
{
    int result = check_texts(fields);
    if (result == result_ok)
        result = check_parties(fields);
    if (result != result_ok)
        return result;

    const std::string iban = compact_identifier(fields.value("iban"));
    const iban_problem problem = iban_check(iban);
    if (problem == iban_bad_check)
        return refuse_field("iban", "d\xEDgitos de control incorrectos (m\xF3" "dulo 97)");
    if (problem != iban_ok || !(iban.starts_with("CH") || iban.starts_with("LI")))
        return refuse_field("iban", "IBAN suizo o de Liechtenstein de 21 caracteres");
    const std::string_view currency = fields.value("currency");
    if (currency != "CHF" && currency != "EUR")
        return refuse_field("currency", "CHF o EUR");
    std::string amount;
    if ((result = amount_text(fields, &amount)) != result_ok)
        return result;
    std::string type;
    std::string reference;
    if ((result = reference_lines(iban, fields.value("reference"), &type, &reference)) != result_ok)
        return result;

    *out = "SPC\n0200\n1\n" + iban + "\n";
    add_address(fields, "creditor", out);
    *out += "\n\n\n\n\n\n\n" + amount + "\n" + std::string(currency) + "\n";
    add_address(fields, "debtor", out);
    *out += type + "\n" + reference + "\n" + std::string(fields.value("message")) + "\nEPD";
    const std::string_view alternative1 = fields.value("alternative1");
    const std::string_view alternative2 = fields.value("alternative2");
    if (fields.has("billing") || !alternative1.empty() || !alternative2.empty())
        *out += "\n" + std::string(fields.value("billing"));
    for (std::string_view alternative : {alternative1, alternative2}) {
        if (!alternative.empty())
            *out += "\n" + std::string(alternative);
    }
    return result_ok;
}
