#include "payload/payload_kinds.h"

#include "payload/field_checks.h"
#include "settings/exit_codes.h"
#include "runlog/log_message.h"
#include "util/utf8_text.h"

#include <algorithm>
#include <array>
#include <qrencode.h>

namespace {

constexpr std::array<payload_kind, 6> kinds{{
    {"verifactu", verifactu_field_rules, build_verifactu_payload, QR_ECLEVEL_M,
     payload_width::from_30_to_40_mm, payload_eci::none, 0, false},
    {"ticketbai", ticketbai_field_rules, build_ticketbai_payload, QR_ECLEVEL_M,
     payload_width::from_30_to_40_mm, payload_eci::none, 0, false},
    // The character set is named on the code's third line; an ECI would say
    // it twice, and no bank app is known to need it.
    {"epc", epc_field_rules, build_epc_payload, QR_ECLEVEL_M, payload_width::free,
     payload_eci::none, 13, false},
    // Without ECI a full 997-character bill still fits version 25.
    {"swiss", swiss_field_rules, build_swiss_payload, QR_ECLEVEL_M, payload_width::exactly_46_mm,
     payload_eci::none, 25, true},
    {"vcard", vcard_field_rules, build_vcard_payload, -1, payload_width::free,
     payload_eci::utf8_when_needed, 0, false},
    {"wifi", wifi_field_rules, build_wifi_payload, -1, payload_width::free,
     payload_eci::utf8_when_needed, 0, false},
}};

// Names shown in a log line: cut so that the int of "%.*s" is exact.
int shown(std::string_view text)
{
    return static_cast<int>(std::min(text.size(), message_buffer_size));
}

const payload_field_rule* rule_named(payload_field_rules rules, std::string_view name)
{
    const auto found =
        std::find_if(rules.begin(), rules.end(), [&](const payload_field_rule& rule) { return name == rule.name; });
    return found != rules.end() ? &*found : nullptr;
}

int check_names(const payload_kind& kind, const payload_fields& fields)
{
    const payload_field_rules rules = kind.fields();
    for (std::size_t i = 0; i < fields.items.size(); ++i) {
        const std::string_view name = fields.items[i].name;
        if (rule_named(rules, name) == nullptr) {
            log_message("Campo desconocido para -p %s: %.*s", kind.name, shown(name), name.data());
            return result_bad_command;
        }
        if (first_bad_utf8(fields.items[i].value) != std::string_view::npos) {
            log_message("Campo %.*s: texto UTF-8 mal formado", shown(name), name.data());
            return result_bad_command;
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (fields.items[j].name == name) {
                log_message("Campo repetido: %.*s", shown(name), name.data());
                return result_bad_command;
            }
        }
    }
    const auto missing = std::find_if(rules.begin(), rules.end(), [&](const payload_field_rule& rule) {
        return rule.required && !fields.has(rule.name);
    });
    if (missing != rules.end()) {
        log_message("Falta el campo obligatorio: %s", missing->name);
        return result_bad_command;
    }
    return result_ok;
}

}  // namespace

const payload_kind* payload_kind_numbered(int kind)
{
    if (kind < 1 || kind > static_cast<int>(kinds.size()))
        return nullptr;
    return &kinds[static_cast<std::size_t>(kind - 1)];
}

int payload_kind_named(const char* name)
{
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        if (same_ignoring_case(name, kinds[i].name))
            return static_cast<int>(i) + 1;
    }
    return payload_none;
}

int refuse_field(const char* name, const char* rule)
{
    log_message("Campo %s inv\xE1lido: %s", name, rule);
    return result_bad_command;
}

int build_payload(int kind, std::string_view data, std::string* out)
{
    out->clear();
    const payload_kind& k = *payload_kind_numbered(kind);
    payload_fields fields;
    int result = split_payload_fields(data, &fields);
    if (result == result_ok)
        result = check_names(k, fields);
    if (result == result_ok)
        result = k.build(fields, out);
    if (result != result_ok)
        out->clear();
    return result;
}
