#include "payload/field_checks.h"
#include "payload/payload_kinds.h"

#include "settings/exit_codes.h"
#include "runlog/log_message.h"

#include <array>

namespace {

constexpr std::array<payload_field_rule, 22> rules{{
    {"family_name", false}, {"given_name", false}, {"additional_names", false}, {"prefix", false},
    {"suffix", false}, {"formatted_name", false}, {"organisation", false}, {"unit", false},
    {"title", false}, {"phone", false}, {"mobile", false}, {"fax", false}, {"email", false},
    {"po_box", false}, {"extended_address", false}, {"street", false}, {"town", false},
    {"region", false}, {"postcode", false}, {"country", false}, {"url", false}, {"note", false},
}};

// The components of N and ADR, in the order vCard 3.0 gives them.
constexpr std::array<const char*, 5> name_parts{"family_name", "given_name", "additional_names", "prefix",
                                                "suffix"};
constexpr std::array<const char*, 7> address_parts{"po_box", "extended_address", "street", "town",
                                                   "region", "postcode", "country"};

// The single-valued properties after FN, in the order written. TEL and URL
// values are phone numbers and URIs, which vCard does not escape.
struct property {
    const char* field;
    const char* head;
    bool text;
};
constexpr std::array<property, 5> before_address{{
    {"title", "TITLE:", true}, {"phone", "TEL;TYPE=WORK,VOICE:", false},
    {"mobile", "TEL;TYPE=CELL,VOICE:", false}, {"fax", "TEL;TYPE=WORK,FAX:", false},
    {"email", "EMAIL:", true},
}};

// A text value as vCard writes it: backslash, comma and semicolon escaped
// (the values hold no line breaks: controls are refused).
std::string text_value(std::string_view value)
{
    return escaped(value, "\\,;");
}

// The components joined by ';', each escaped, the empty ones at the end left
// out as vCard 3.0's grammar allows.
template <std::size_t n>
std::string components(const payload_fields& fields, const std::array<const char*, n>& names)
{
    std::size_t used = n;
    while (used > 0 && !fields.has(names[used - 1]))
        --used;
    std::string out;
    for (std::size_t i = 0; i < used; ++i) {
        if (i > 0)
            out += ';';
        out += text_value(fields.value(names[i]));
    }
    return out;
}

// FN when no formatted_name is given: the name's parts in reading order, or
// else the organisation.
std::string formatted_name(const payload_fields& fields)
{
    if (fields.has("formatted_name"))
        return std::string(fields.value("formatted_name"));
    std::string out;
    for (const char* part : {"prefix", "given_name", "additional_names", "family_name", "suffix"}) {
        if (!fields.has(part))
            continue;
        if (!out.empty())
            out += ' ';
        out += fields.value(part);
    }
    return out.empty() ? std::string(fields.value("organisation")) : out;
}

}  // namespace

payload_field_rules vcard_field_rules()
{
    return rules;
}

// vCard 3.0, the version phone cameras read best: CR LF after every line,
// the last included, and no folding (readers of codes do not need it).
int build_vcard_payload(const payload_fields& fields, std::string* out)
{
    for (const payload_field& field : fields.items) {
        if (const int result = refuse_controls(std::string(field.name).c_str(), field.value); result != result_ok)
            return result;
    }
    const std::string fn = formatted_name(fields);
    if (fn.empty()) {
        log_message("Falta el campo obligatorio: formatted_name (o family_name, given_name, organisation)");
        return result_bad_command;
    }
    *out = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:" + components(fields, name_parts) + "\r\nFN:" + text_value(fn) + "\r\n";
    if (fields.has("organisation") || fields.has("unit")) {
        *out += "ORG:" + text_value(fields.value("organisation"));
        if (fields.has("unit"))
            *out += ";" + text_value(fields.value("unit"));
        *out += "\r\n";
    }
    for (const property& p : before_address) {
        if (!fields.has(p.field))
            continue;
        *out += p.head;
        *out += p.text ? text_value(fields.value(p.field)) : std::string(fields.value(p.field));
        *out += "\r\n";
    }
    const std::string address = components(fields, address_parts);
    if (!address.empty())
        *out += "ADR;TYPE=WORK:" + address + "\r\n";
    if (fields.has("url"))
        *out += "URL:" + std::string(fields.value("url")) + "\r\n";
    if (fields.has("note"))
        *out += "NOTE:" + text_value(fields.value("note")) + "\r\n";
    *out += "END:VCARD\r\n";
    return result_ok;
}
