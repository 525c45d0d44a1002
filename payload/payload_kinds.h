// The kinds of payload that -p builds: for each, its field names, its builder
// and the symbol settings its standard fixes; and build_payload, which turns
// the data's fields into the bytes to encode.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "payload/payload_fields.h"

// The kinds, as run_settings.payload_kind holds them; 0 is no -p.
inline constexpr int payload_none = 0;
inline constexpr int payload_verifactu = 1;
inline constexpr int payload_ticketbai = 2;
inline constexpr int payload_epc = 3;
inline constexpr int payload_swiss = 4;
inline constexpr int payload_vcard = 5;
inline constexpr int payload_wifi = 6;

struct payload_field_rule {
    const char* name;
    bool required;  // absent or empty: refused before the builder runs
};
using payload_field_rules = std::span<const payload_field_rule>;

// Each builder gets fields whose names are all in its kind's table, none
// repeated, every required one present with a value that is not empty, and
// every value well-formed UTF-8. It puts into *out (replaced) the exact bytes
// to encode and returns 0, or logs ONE line naming the field and the rule it
// breaks (refuse_field, or its own Spanish Windows-1252 text) and returns
// 1105; *out is then unspecified.
int build_verifactu_payload(const payload_fields& fields, std::string* out);
int build_ticketbai_payload(const payload_fields& fields, std::string* out);
int build_epc_payload(const payload_fields& fields, std::string* out);
int build_swiss_payload(const payload_fields& fields, std::string* out);
int build_vcard_payload(const payload_fields& fields, std::string* out);
int build_wifi_payload(const payload_fields& fields, std::string* out);

// Each kind's field names, defined in the file of its builder.
payload_field_rules verifactu_field_rules();
payload_field_rules ticketbai_field_rules();
payload_field_rules epc_field_rules();
payload_field_rules swiss_field_rules();
payload_field_rules vcard_field_rules();
payload_field_rules wifi_field_rules();

// The printed side a standard asks for.
enum class payload_width {
    free,              // whatever -w says
    from_30_to_40_mm,  // -w from 30 to 40 mm; 35 mm where a printed size applies
    exactly_46_mm,     // -w 46 mm only; 46 mm where a printed size applies
};

// The ECI designator a kind writes when the command line names none.
enum class payload_eci {
    none,              // never (ASCII text, or a character set named in the text)
    utf8_when_needed,  // 26 when a byte is above 0x7F, as -u does
};

struct payload_kind {
    const char* name;  // the value of -p
    payload_field_rules (*fields)();
    int (*build)(const payload_fields& fields, std::string* out);
    int level;            // the level the standard fixes (QR_ECLEVEL_*), or -1: free
    payload_width width;
    payload_eci eci;
    int max_version;      // the largest version the standard allows; 0: any
    bool swiss_cross;     // the writers draw the Swiss cross over the centre
};

// The kind numbered kind (payload_verifactu ... payload_wifi), or nullptr.
const payload_kind* payload_kind_numbered(int kind);

// The number of the kind named name (any letter case), or 0 when none is.
int payload_kind_named(const char* name);

// Reads data's fields (split_payload_fields), checks every value is
// well-formed UTF-8 and every name against kind's table (unknown, repeated,
// required and missing or empty), then runs the kind's builder. Returns 0
// with the bytes to encode in *out (replaced), or 1105 after logging one
// line that names the field; *out is then empty. kind must be a valid kind.
int build_payload(int kind, std::string_view data, std::string* out);

// Logs "Campo NAME inv\xE1lido: RULE" (rule in Spanish, Windows-1252) and
// returns 1105: the usual refusal of a builder.
int refuse_field(const char* name, const char* rule);
