#include "payload/payload_kinds.h"

#include <array>

namespace {

constexpr std::array<payload_field_rule, 4> rules{{
    {"ssid", true}, {"password", false}, {"security", false}, {"hidden", false},
}};

}  // namespace

payload_field_rules wifi_field_rules()
{
    return rules;
}

int build_wifi_payload(const payload_fields&, std::string*)
{
    return refuse_field("ssid", "constructor de Wi-Fi sin hacer");
}
