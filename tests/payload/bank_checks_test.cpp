#include "payload/bank_checks.h"

#include <gtest/gtest.h>
#include <string>

namespace {

constexpr auto npos = std::string_view::npos;

TEST(PayloadBankChecks, IbanFormLengthAndCheckDigits)
{
    const std::pair<const char*, iban_problem> cases[] = {
        {"DE89370400440532013000", iban_ok}, {"DE71110220330123456789", iban_ok},
        {"FR1420041010050500013M02606", iban_ok}, {"ES9121000418450200051332", iban_ok},
        {"CH5800791123000889012", iban_ok}, {"CH4431999123000889012", iban_ok},
        {"GB82WEST12345698765432", iban_ok},           // a country without a listed length
        {"DE88370400440532013000", iban_bad_check}, {"CH5800791123000889013", iban_bad_check},
        {"DE8937040044053201300", iban_bad_length}, {"CH580079112300088901", iban_bad_length},
        {"NO938601111794", iban_bad_length}, {"MT84MALT011000012345MTLCAST001S1234", iban_bad_length},
        {"de89370400440532013000", iban_bad_form}, {"D189370400440532013000", iban_bad_form},
        {"DE8X370400440532013000", iban_bad_form}, {"DE89-370400440532013000", iban_bad_form},
        {"DE8", iban_bad_form}};
    for (const auto& [iban, expected] : cases)
        EXPECT_EQ(iban_check(iban), expected) << iban;
    EXPECT_EQ(compact_identifier("de89 3704 0044 0532 0130 00"), "DE89370400440532013000");
}

TEST(PayloadBankChecks, BicQrIbanAndReferences)
{
    for (const char* bic : {"BHBLDEHHXXX", "BHBLDEHH", "BHB1DEH1", "DEUTDEFF500"})
        EXPECT_TRUE(bic_valid(bic)) << bic;
    for (const char* bic : {"BHBLD1HH", "BHBLDEHHX", "BHBLDEH", "bhbldehh", "BHBLDEHH-XX"})
        EXPECT_FALSE(bic_valid(bic)) << bic;

    for (const char* iban : {"CH4431999123000889012", "CH0030000", "CH0031999"})
        EXPECT_TRUE(is_qr_iban(iban)) << iban;
    for (const char* iban : {"CH9300762011623852957", "CH0029999", "CH0032000", "CH003000", "CH00300X0"})
        EXPECT_FALSE(is_qr_iban(iban)) << iban;

    EXPECT_EQ(modulo10_recursive_digit("21000000000313947143000901"), 7);
    EXPECT_EQ(modulo10_recursive_digit("2100000000031394714300090A"), -1);
    for (const char* ref : {"210000000003139471430009017", "000008207791225857421286694", "123456789012345678901234567",
                            "310014000183100197799111196", "040329000000000000000003406"})
        EXPECT_TRUE(qr_reference_valid(ref)) << ref;
    for (const char* ref : {"210000000003139471430009018", "000000000000000000000000000", "21000000000313947143000901",
                            "2100000000031394714300090170", "21000000000313947143000901A"})
        EXPECT_FALSE(qr_reference_valid(ref)) << ref;

    for (const char* ref : {"RF18539007547034", "RF18000000000539007547034", "RF712348231", "RF6812"})
        EXPECT_TRUE(creditor_reference_valid(ref)) << ref;
    for (const char* ref : {"RF720191230100405JSH0438", "RF19539007547034", "RF18", "RF180000000000539007547034",
                            "rf18539007547034", "XF18539007547034", "RFX8539007547034", "RF1853900754703-"})
        EXPECT_FALSE(creditor_reference_valid(ref)) << ref;
}

TEST(PayloadBankChecks, CountriesAndAmounts)
{
    for (const char* code : {"AD", "CH", "LI", "DE", "ZW"})
        EXPECT_TRUE(country_code_valid(code)) << code;
    for (const char* code : {"DA", "XK", "ZZ", "ch", "C", "CHE"})
        EXPECT_FALSE(country_code_valid(code)) << code;

    const std::pair<const char*, std::int64_t> amounts[] = {
        {"12.3", 1230}, {"20", 2000}, {"0.01", 1}, {"0", 0}, {"50.00", 5000}, {"999999999.99", 99999999999}};
    for (const auto& [text, cents] : amounts) {
        std::int64_t got = -1;
        EXPECT_TRUE(parse_amount(text, &got)) << text;
        EXPECT_EQ(got, cents) << text;
    }
    for (const char* text : {"012", "00.5", "1,5", "1.", ".5", "1.234", "1000000000", "", "-1", "+1", "1e3", "1.2.3", "1.x"}) {
        std::int64_t got = -1;
        EXPECT_FALSE(parse_amount(text, &got)) << text;
        EXPECT_EQ(got, -1) << text;
    }
}

TEST(PayloadBankChecks, SwissCharacterList)
{
    const std::pair<const char*, std::size_t> cases[] = {
        {"Max Muster & S\xC3\xB6hne ~", npos}, {"\xE2\x82\xAC \xC8\x98\xC8\x9B \xC2\xA0\xC5\xBF", npos},
        {"a\nb", 1}, {"a\x7F", 1}, {"\xC2\x9F", 0}, {"ab\xC6\x80", 2}, {"\xC8\x97", 0}, {"\xC8\x9C", 0},
        {"x\xC3", 1}, {"\xC0\xA0", 0}, {"\xF0\x9F\x98\x80", 0}, {"\xE2\x80\xAF", 0}};
    for (const auto& [text, at] : cases)
        EXPECT_EQ(first_outside_swiss_set(text), at) << text;
}

TEST(PayloadBankChecks, Utf8ToEpcLatinSets)
{
    struct row {
        const char* utf8;
        int charset;
        const char* bytes;  // nullptr: refused
        std::size_t at;
    };
    const row cases[] = {
        {"Fran\xC3\xA7ois D'Alsace", 2, "Fran\xE7ois D'Alsace", npos},
        {"\xC2\xA0\xC3\xBF", 2, "\xA0\xFF", npos},
        {"\xC5\x81\xC5\xA3", 3, "\xA3\xFE", npos},       // Ł ţ in ISO 8859-2
        {"\xC4\xB8", 4, "\xA2", npos},                   // ĸ in ISO 8859-4
        {"\xD0\x81\xE2\x84\x96", 5, "\xA1\xF0", npos},   // Ё № in ISO 8859-5
        {"\xCE\xA9\xE2\x82\xAC", 6, "\xD9\xA4", npos},   // Ω € in ISO 8859-7
        {"\xC5\x8B\xE2\x80\x95", 7, "\xBF\xBD", npos},   // ŋ ― in ISO 8859-10
        {"a\xE2\x82\xAC\xC5\xB8", 8, "a\xA4\xBE", npos}, // € Ÿ in ISO 8859-15
        {"ab\xE2\x82\xAC", 2, nullptr, 2}, {"\xC2\x80", 2, nullptr, 0}, {"\xEF\xBF\xBD", 6, nullptr, 0},
        {"\xC3\xA4", 5, nullptr, 0}, {"ok\xC3", 8, nullptr, 2}};
    for (const row& r : cases) {
        std::string out;
        EXPECT_EQ(utf8_to_epc_latin(r.utf8, r.charset, &out), r.at) << r.utf8;
        if (r.bytes != nullptr) {
            EXPECT_EQ(out, r.bytes) << r.utf8;
        }
    }
}

}  // namespace
