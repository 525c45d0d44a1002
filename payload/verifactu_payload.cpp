#include "payload/payload_kinds.h"

#include <array>

namespace {

constexpr std::array<payload_field_rule, 6> rules{{
    {"nif", true}, {"numserie", true}, {"fecha", true}, {"importe", true}, {"sistema", false},
    {"entorno", false},
}};

}  // namespace

payload_field_rules verifactu_field_rules()
{
    return rules;
}

int build_verifactu_payload(const payload_fields&, std::string*)
{
    return refuse_field("nif", "constructor de VeriFactu sin hacer");
}
