#include "payload/payload_kinds.h"

#include <array>

namespace {

constexpr std::array<payload_field_rule, 10> rules{{
    {"version", false}, {"charset", false}, {"bic", false}, {"name", true}, {"iban", true},
    {"amount", false}, {"purpose", false}, {"reference", false}, {"text", false},
    {"information", false},
}};

}  // namespace

payload_field_rules epc_field_rules()
{
    return rules;
}

int build_epc_payload(const payload_fields&, std::string*)
{
    return refuse_field("charset", "constructor de EPC sin hacer");
}
