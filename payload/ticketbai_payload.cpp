#include "payload/payload_kinds.h"

#include <array>

namespace {

constexpr std::array<payload_field_rule, 6> rules{{
    {"id", true}, {"s", false}, {"nf", true}, {"i", true}, {"provincia", true}, {"entorno", false},
}};

}  // namespace

payload_field_rules ticketbai_field_rules()
{
    return rules;
}

int build_ticketbai_payload(const payload_fields&, std::string*)
{
    return refuse_field("id", "constructor de TicketBAI sin hacer");
}
