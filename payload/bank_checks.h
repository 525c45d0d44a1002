// bank_checks: pure checks of the identifiers and amounts that payment
// payloads carry (IBAN, BIC, QR-IBAN, QR and creditor references, currency and
// country codes, amounts), the Swiss QR-bill's character list, and the
// UTF-8 to ISO 8859 conversion of EPC payment codes. No function allocates
// except where it returns or fills a std::string; none logs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// text without its spaces, ASCII letters upper-cased: the electronic form of
// an IBAN or a reference that was typed in its printed, grouped form.
std::string compact_identifier(std::string_view text);

// What is wrong with an IBAN in electronic form (no spaces, upper case).
enum iban_problem {
    iban_ok = 0,
    iban_bad_form,    // not two letters, two digits, then letters and digits
    iban_bad_length,  // outside 15..34, or not the length its country uses
    iban_bad_check,   // the mod 97-10 check fails
};
iban_problem iban_check(std::string_view iban);

// An 8- or 11-character BIC: four letters or digits (the institution), two
// letters (its country), two letters or digits (its place), and optionally a
// branch of three letters or digits. Upper case only.
bool bic_valid(std::string_view bic);

// Whether a CH or LI IBAN is a QR-IBAN: its institution id (characters 5 to
// 9) lies in 30000..31999. False for anything shorter than 9 characters.
bool is_qr_iban(std::string_view iban);

// The recursive modulo-10 check digit (0..9) of a string of digits, or -1
// when it holds anything else.
int modulo10_recursive_digit(std::string_view digits);

// A QR reference: 27 digits, not all zero, the last the recursive modulo-10
// check digit of the other 26.
bool qr_reference_valid(std::string_view reference);

// An ISO 11649 creditor reference in upper case: "RF", two check digits and 1
// to 21 letters or digits, whose mod 97-10 remainder is 1.
bool creditor_reference_valid(std::string_view reference);

// Whether code is an officially assigned ISO 3166-1 alpha-2 code (upper case).
bool country_code_valid(std::string_view code);

// A decimal amount: "0" or 1 to 9 digits without a leading zero, then
// optionally "." and 1 or 2 digits. On success *cents holds the value in
// hundredths; on failure *cents is not set.
bool parse_amount(std::string_view text, std::int64_t* cents);

// The byte position of the first character of utf8 (well-formed UTF-8) that
// is not on the Swiss QR-bill's list (U+0020-U+007E, U+00A0-U+017F,
// U+0218-U+021B, U+20AC); std::string_view::npos when every character is.
std::size_t first_outside_swiss_set(std::string_view utf8);

// EPC character sets 2 to 8: ISO 8859-1, -2, -4, -5, -7, -10, -15.
inline constexpr int epc_first_latin_set = 2;
inline constexpr int epc_last_latin_set = 8;

// Converts well-formed UTF-8 text to the single-byte set an EPC
// character-set number names (2..8). On success *out holds the bytes and the
// result is npos; else the result is the byte position in utf8 of the first
// character that the set lacks (*out then holds the bytes made so far). ASCII, C0 controls included, passes as it is; C1 controls
// (U+0080..U+009F) have no byte in any of these sets.
std::size_t utf8_to_epc_latin(std::string_view utf8, int charset, std::string* out);
