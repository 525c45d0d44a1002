// Checks and encodings shared by the Spanish invoice payloads (VeriFactu and
// TicketBAI): dates, amounts, percent-encoding and the TicketBAI CRC-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Whether day/month/year is a day of the Gregorian calendar (year 1 to 9999).
bool date_exists(int day, int month, int year);

// The value of the decimal digits of text, or -1 when text is empty or holds
// anything else. text must be at most 9 characters (no overflow).
int digits_value(std::string_view text);

// An invoice total as the invoice records write it: an optional '-', 1 to
// 12 digits, then optionally '.' and at most 2 digits.
bool amount_is_valid(std::string_view text);

// How a percent-encoding treats the characters it keeps and the space.
enum class url_rule {
    java_form,  // Java's URLEncoder: A-Z a-z 0-9 . - * _ kept, space '+'
    rfc3986,    // A-Z a-z 0-9 - . _ ~ kept, space "%20"
    rfc3986_space_plus,  // as rfc3986, but space '+'
};

// Appends text to *out, every other byte as %XX with upper-case hex digits.
void append_url_encoded(std::string_view text, url_rule rule, std::string* out);

// TicketBAI's CRC-8: polynomial 0x07, initial value 0, no reflection, no
// final XOR (check value 0xF4 for "123456789").
std::uint8_t tbai_crc8(std::string_view bytes);
