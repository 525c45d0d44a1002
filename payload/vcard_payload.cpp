#include "payload/payload_kinds.h"

#include <array>

namespace {

constexpr std::array<payload_field_rule, 3> rules{{
    {"family", false}, {"given", false}, {"name", false},
}};

}  // namespace

payload_field_rules vcard_field_rules()
{
    return rules;
}

int build_vcard_payload(const payload_fields&, std::string*)
{
    return refuse_field("name", "constructor de vCard sin hacer");
}
