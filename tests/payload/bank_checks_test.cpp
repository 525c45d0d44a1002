#include "payload/bank_checks.h"

#include <gtest/gtest.h>
#include <string>

namespace {

constexpr auto npos = std::string_view::npos;

TEST(PayloadBankChecks, IbanFormLengthAndCheckDigits)
{
    const std::pair<const char*, iban_problem> cases[] = {
        {"DE89370400440532013000", iban_ok}, {"FR1420041010050500013M02606", iban_ok},
        {"ES9121000418450200051332", iban_ok}, {"CH5800791123000889012", iban_ok},
        {"LI21088100002324013AA", iban_ok},
        {"GB82WEST12345698765432", iban_ok}, {"MT63MALT011000012345MTLCAST001S123", iban_ok},  // countries without a listed length
        {"DE88370400440532013000", iban_bad_check}, {"CH5800791123000889013", iban_bad_check},
        {"DE8937040044053201300", iban_bad_length}, {"CH580079112300088901", iban_bad_length},
        {"NO938601111794", iban_bad_length}, {"MT84MALT011000012345MTLCAST001S1234", iban_bad_length},
        {"de89370400440532013000", iban_bad_form}, {"D189370400440532013000", iban_bad_form},
        {"DE8X370400440532013000", iban_bad_form}, {"DEX9370400440532013000", iban_bad_form}, {"DE89-370400440532013000", iban_bad_form}, {"DE8", iban_bad_form}};
    for (const auto& [iban, expected] : cases)
        EXPECT_EQ(iban_check(iban), expected) << iban;
    EXPECT_EQ(compact_identifier("de89 3704 0044 0532 0130 00"), "DE89370400440532013000");
    EXPECT_EQ(compact_identifier("absa za2j"), "ABSAZA2J");
}

TEST(PayloadBankChecks, BicQrIbanReferencesAndCountries)
{
    using check = bool (*)(std::string_view);
    const check bic = bic_valid, qr_iban = is_qr_iban, qrr = qr_reference_valid, rf = creditor_reference_valid,
                country = country_code_valid;
    const std::pair<check, std::pair<const char*, bool>> cases[] = {
        {bic, {"BHBLDEHHXXX", true}}, {bic, {"BHB1DEH1", true}}, {bic, {"ABSAZA2J", true}}, {bic, {"BHBLD1HH", false}},
        {bic, {"BHBLDEHHX", false}}, {bic, {"BHBLDEH", false}}, {bic, {"bhbldehh", false}},
        {qr_iban, {"CH4431999123000889012", true}}, {qr_iban, {"CH0030000", true}}, {qr_iban, {"CH0031999", true}},
        {qr_iban, {"CH0029999", false}}, {qr_iban, {"CH0032000", false}}, {qr_iban, {"CH003000", false}},
        {qr_iban, {"CH00300X0", false}}, {qr_iban, {"CH003000A", false}}, {qrr, {"210000000003139471430009017", true}},
        {qrr, {"310014000183100197799111196", true}},
        {qrr, {"000000000000000000001234040", true}}, {qrr, {"210000000003139471430009018", false}},
        {qrr, {"000000000000000000000000000", false}}, {qrr, {"21000000000313947143000901", false}},
        {qrr, {"2100000000031394714300090170", false}}, {qrr, {"21000000000313947143000901A", false}},
        {rf, {"RF18000000000539007547034", true}}, {rf, {"RF6812", true}}, {rf, {"RF712348231", true}},
        {rf, {"RF720191230100405JSH0438", false}}, {rf, {"RF18", false}}, {rf, {"RF04", false}}, {rf, {"RF03I", true}}, {rf, {"RFE91", false}}, {rf, {"RF9P1", false}}, {rf, {"RF180000000000539007547034", false}},
        {rf, {"rf18539007547034", false}}, {rf, {"XF18539007547034", false}}, {rf, {"RFX8539007547034", false}},
        {rf, {"RF1853900754703-", false}}, {country, {"AD", true}}, {country, {"ZW", true}},
        {country, {"DA", false}}, {country, {"XK", false}}, {country, {"C", false}}, {country, {"CHE", false}}};
    for (const auto& [test, row] : cases)
        EXPECT_EQ(test(row.first), row.second) << row.first;
    EXPECT_EQ(modulo10_recursive_digit("2100000000031394714300090A"), -1);
}

TEST(PayloadBankChecks, AmountsInCents)
{
    const std::pair<const char*, std::int64_t> cases[] = {
        {"12.3", 1230}, {"20", 2000}, {"0.01", 1}, {"0", 0}, {"50.00", 5000}, {"999999999.99", 99999999999},
        {"012", -1}, {"00.5", -1}, {"1,5", -1}, {"1.", -1}, {".5", -1}, {"1.234", -1}, {"1000000000", -1},
        {"", -1}, {"-1", -1}, {"+1", -1}, {"1e3", -1}, {"1.2.3", -1}, {"1.x", -1}};
    for (const auto& [text, cents] : cases) {
        std::int64_t got = -1;
        EXPECT_EQ(parse_amount(text, &got), cents >= 0) << text;
        EXPECT_EQ(got, cents) << text;
    }
}

TEST(PayloadBankChecks, SwissListAndEpcLatinSets)
{
    const std::pair<const char*, std::size_t> swiss[] = {
        {"Max Muster & S\xC3\xB6hne ~", npos}, {"\xE2\x82\xAC \xC8\x98\xC8\x9B \xC2\xA0\xC5\xBF", npos},
        {"a\nb", 1}, {"a\x7F", 1}, {"\xC2\x9F", 0}, {"ab\xC6\x80", 2}, {"\xC8\x97", 0}, {"\xC8\x9C", 0},
        {"x\xC3", 1}, {"\xF0\x9F\x98\x80", 0}, {"\xE2\x80\xAF", 0}};
    for (const auto& [text, at] : swiss)
        EXPECT_EQ(first_outside_swiss_set(text), at) << text;

    // (UTF-8, set, its bytes or "" when refused, where refused)
    const std::tuple<const char*, int, const char*, std::size_t> latin[] = {
        {"Fran\xC3\xA7ois \xC2\xA0\xC3\xBF", 2, "Fran\xE7ois \xA0\xFF", npos},
        {"\xC5\x81\xC5\xA3", 3, "\xA3\xFE", npos},       // Ł ţ in ISO 8859-2
        {"\xC4\xB8", 4, "\xA2", npos},                   // ĸ in ISO 8859-4
        {"\xD0\x81\xE2\x84\x96", 5, "\xA1\xF0", npos},   // Ё № in ISO 8859-5
        {"\xCE\xA9\xE2\x82\xAC", 6, "\xD9\xA4", npos},   // Ω € in ISO 8859-7
        {"\xC5\x8B\xE2\x80\x95", 7, "\xBF\xBD", npos},   // ŋ ― in ISO 8859-10
        {"a\xE2\x82\xAC\xC5\xB8", 8, "a\xA4\xBE", npos}, // € Ÿ in ISO 8859-15
        {"ab\xE2\x82\xAC", 2, "", 2}, {"\xC2\x80", 2, "", 0}, {"\xEF\xBF\xBD", 6, "", 0}, {"\xC3\xA4", 5, "", 0},
        {"ok\xC3", 8, "", 2}, {"\x7F", 2, "\x7F", npos}};
    for (const auto& [utf8, set, bytes, at] : latin) {
        std::string out;
        EXPECT_EQ(utf8_to_epc_latin(utf8, set, &out), at) << utf8;
        if (at == npos) {
            EXPECT_EQ(out, bytes) << utf8;
        }
    }
}

}  // namespace
