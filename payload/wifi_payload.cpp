#include "payload/field_checks.h"
#include "payload/payload_kinds.h"

#include "settings/exit_codes.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<payload_field_rule, 4> rules{{
    {"ssid", true}, {"password", false}, {"security", false}, {"hidden", false},
}};

// The T values phones read (WPA covers WPA2 and WPA3 in transition mode; SAE
// is WPA3 only, as Android shares it), and "omit" for a code without T.
constexpr std::array<const char*, 5> securities{"WPA", "WEP", "SAE", "nopass", "omit"};

bool is_hex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// A WPA passphrase is 8 to 63 printable ASCII characters; 64 hexadecimal
// digits are the key itself.
bool wpa_password_valid(std::string_view password)
{
    if (password.size() == 64 && std::all_of(password.begin(), password.end(), is_hex))
        return true;
    return password.size() >= 8 && password.size() <= 63 &&
           std::all_of(password.begin(), password.end(), [](char c) { return c >= ' ' && c <= '~'; });
}

// Backslash, semicolon, comma, double quote and colon would end or confuse
// a value; no quotes are added around text that looks hexadecimal, which
// iPhones then fail to join.
std::string wifi_value(std::string_view value)
{
    return escaped(value, "\\;,\":");
}

}  // namespace

payload_field_rules wifi_field_rules()
{
    return rules;
}

// WIFI:T:<type>;S:<ssid>;P:<password>;H:true;; with the fields that apply.
int build_wifi_payload(const payload_fields& fields, std::string* out)
{
    const std::string_view ssid = fields.value("ssid");
    const std::string_view password = fields.value("password");
    for (const char* name : {"ssid", "password"}) {
        if (const int result = refuse_controls(name, fields.value(name)); result != result_ok)
            return result;
    }
    if (ssid.size() > 32)
        return refuse_field("ssid", "m\xE1ximo 32 bytes");

    std::string_view security = password.empty() ? "nopass" : "WPA";
    if (fields.has("security")) {
        const auto* known = std::find_if(securities.begin(), securities.end(),
                                         [&](const char* s) { return same_ignoring_case(fields.value("security"), s); });
        if (known == securities.end())
            return refuse_field("security", "WPA, WEP, SAE, nopass u omit");
        security = *known;
    }
    const bool needs_password = security == "WPA" || security == "WEP" || security == "SAE";
    if (needs_password && password.empty())
        return refuse_field("password", "obligatorio con WPA, WEP y SAE");
    if (security == "WPA" && !wpa_password_valid(password))
        return refuse_field("password", "de 8 a 63 caracteres ASCII imprimibles, o 64 cifras hexadecimales");

    const std::string_view hidden = fields.value("hidden");
    if (!hidden.empty() && hidden != "true" && hidden != "false")
        return refuse_field("hidden", "true o false");

    *out = "WIFI:";
    if (security != "omit")
        *out += "T:" + std::string(security) + ";";
    *out += "S:" + wifi_value(ssid) + ";";
    if (!password.empty())
        *out += "P:" + wifi_value(password) + ";";
    if (hidden == "true")
        *out += "H:true;";
    *out += ";";
    return result_ok;
}
