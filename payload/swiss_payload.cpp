#include "payload/payload_kinds.h"

#include <array>

namespace {

constexpr std::array<payload_field_rule, 20> rules{{
    {"iban", true}, {"creditor_name", true}, {"creditor_street", false},
    {"creditor_building", false}, {"creditor_postcode", true}, {"creditor_town", true},
    {"creditor_country", true}, {"amount", false}, {"currency", true}, {"debtor_name", false},
    {"debtor_street", false}, {"debtor_building", false}, {"debtor_postcode", false},
    {"debtor_town", false}, {"debtor_country", false}, {"reference", false}, {"message", false},
    {"billing", false}, {"alternative1", false}, {"alternative2", false},
}};

}  // namespace

payload_field_rules swiss_field_rules()
{
    return rules;
}

int build_swiss_payload(const payload_fields&, std::string*)
{
    return refuse_field("iban", "constructor de QR-factura sin hacer");
}
