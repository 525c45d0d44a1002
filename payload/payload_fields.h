// The fields of a payload (-p): the data is not the text to encode but
// "name=value" lines, which split_payload_fields reads into this record.
#pragma once

#include <string_view>
#include <vector>

struct payload_field {
    std::string_view name;   // the bytes before the line's first '='
    std::string_view value;  // every byte after that '=', byte for byte
};

// The fields in the order given. The views point into the data handed to
// split_payload_fields and are valid while it is.
struct payload_fields {
    std::vector<payload_field> items;

    // The value of the first field named name, or "" when there is none: an
    // empty value and an absent field mean the same to a builder.
    std::string_view value(std::string_view name) const;
    // Whether the field is given with a value that is not empty.
    bool has(std::string_view name) const { return !value(name).empty(); }
};

// Splits data at each LF into lines; an empty line is skipped (so a final LF
// is harmless), any other must hold a '='. A CR stays in the value it ends.
// Returns 0, or 1105 after logging the first line without '='; out is
// replaced either way (what was read before the failure).
int split_payload_fields(std::string_view data, payload_fields* out);
