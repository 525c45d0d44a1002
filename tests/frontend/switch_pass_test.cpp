#include "frontend/switch_pass.h"

#include "frontend/input_data.h"
#include "frontend/tokenizer.h"
#include "settings/print_size.h"
#include "settings/run_settings.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>

namespace {

// Runs the switch pass on a command line (no run log is open, so nothing is
// written) and leaves the settings and data for the test to inspect.
struct pass_run {
    int result;
    switch_outcome outcome;
    std::string output;
    std::string data;
    bool has_data;
};

pass_run pass(const char* text)
{
    reset_run_settings();
    char** tokens = alloc_token_array(max_tokens, token_size);
    const int count = split_command_line(text, tokens, max_tokens);
    pass_run r{};
    r.result = run_switch_pass(tokens, count, &r.outcome);
    if (r.outcome.output_name != nullptr)
        r.output = r.outcome.output_name;
    r.has_data = current_data() != nullptr;
    if (r.has_data)
        r.data = current_data()->text;
    release_data();
    free_token_array(tokens, max_tokens);
    return r;
}

TEST(SwitchPass, EverySwitchTakesAFollowingNonSwitchAsItsValue)
{
    pass_run r = pass("-8 HELLO -o out.png");
    EXPECT_EQ(r.result, 0);
    EXPECT_FALSE(r.has_data) << "-8 swallowed HELLO";
    EXPECT_EQ(run_settings.eight_bit, 1);

    r = pass("HELLO -8 -o out.png");
    EXPECT_EQ(r.data, "HELLO");
    EXPECT_EQ(r.output, "out.png");

    r = pass("-o a.png ONE TWO -o b.png");
    EXPECT_EQ(r.data, "TWO");
    EXPECT_EQ(r.output, "b.png");

    r = pass("-size 5 -c x -i y -k z -o o.png \"\"");
    EXPECT_EQ(run_settings.structured, 1);
    EXPECT_EQ(run_settings.case_sensitive, 0);
    EXPECT_EQ(run_settings.hint, QR_MODE_KANJI);
    EXPECT_TRUE(r.has_data);
    EXPECT_EQ(r.data, "") << "an empty token is data";
    pass("-i -c");
    EXPECT_EQ(run_settings.case_sensitive, 1);
}

TEST(SwitchPass, ValuesAreConvertedAndCheckedFromBelowOnly)
{
    EXPECT_EQ(pass("-z 7 -m 0 -v 41 -l hq -t Bmp").result, 0);
    EXPECT_EQ(run_settings.dot_size, 7);
    EXPECT_EQ(run_settings.margin, 0);
    EXPECT_EQ(run_settings.version, 41);
    EXPECT_EQ(run_settings.level, QR_ECLEVEL_H);
    EXPECT_EQ(run_settings.image_type, image_bmp);

    EXPECT_EQ(pass("-v abc -m abc -t bmpx -l quality").result, 0);
    EXPECT_EQ(run_settings.version, 0);
    EXPECT_EQ(run_settings.margin, 0);
    EXPECT_EQ(run_settings.image_type, image_png);
    EXPECT_EQ(run_settings.level, QR_ECLEVEL_Q);

    const std::pair<const char*, int> designators[] = {
        {"-e 0", 0}, {"-e 999999", 999999}, {"-e 0026", 26}, {"-e NONE", eci_none}, {"-u x", eci_auto}};
    for (const auto& [line, eci] : designators) {
        EXPECT_EQ(pass(line).result, 0) << line;
        EXPECT_EQ(run_settings.eci, eci) << line;
    }
    EXPECT_EQ(run_settings.utf8, 1);
    EXPECT_EQ(pass("-e 1000000").result, 1105);
    EXPECT_EQ(pass("-e 99999999999").result, 1105);

    EXPECT_EQ(pass("-z abc").result, 1105);
    EXPECT_EQ(run_settings.dot_size, 0) << "stored before it is tested";
    EXPECT_EQ(pass("-v -1").result, 1105) << "-1 is a switch, so -v has no value";
    EXPECT_EQ(pass("-m -2").result, 1105);
    EXPECT_EQ(pass("-l x").result, 1105);
    EXPECT_EQ(pass("-t").result, 1105);
    EXPECT_EQ(pass("-o").result, 1105);
    EXPECT_EQ(pass("-z 4 -z 0 -z 5").result, 1105);
    EXPECT_EQ(run_settings.dot_size, 0) << "the pass stops at the first failure";
}

TEST(SwitchPass, UnknownSwitchesFailAndHelpEndsThePass)
{
    EXPECT_EQ(pass("-M 2").result, 1105);
    EXPECT_EQ(pass("--help").result, 1105);
    EXPECT_EQ(pass("-").result, 1105);

    pass_run r = pass("-o a.png -h -M 2");
    EXPECT_EQ(r.result, 0);
    EXPECT_TRUE(r.outcome.help_shown);
    r = pass("-M 2 -h");
    EXPECT_EQ(r.result, 1105);
    EXPECT_FALSE(r.outcome.help_shown);
}

TEST(SwitchPass, PrintSizesNeedAResolutionForRastersOnly)
{
    EXPECT_EQ(pass("-d 300 -w 35,5 -t EMF").result, 0);
    EXPECT_EQ(run_settings.dpi, 300);
    EXPECT_EQ(run_settings.print_size_nm, 35500000);
    EXPECT_EQ(run_settings.image_type, image_emf);
    EXPECT_EQ(pass("-w 35 -t svg").result, 0);
    EXPECT_EQ(pass("-w 35 -t bmp -D 300").result, 0) << "in any order, either case";
    EXPECT_EQ(pass("-w 35 -t gif").result, 1105);
}

TEST(PrintSize, ValuesAreReadWholeAndExactly)
{
    const struct {
        const char* text;
        int64_t nm;
    } sizes[] = {{"35", 35000000}, {"35.5", 35500000}, {"35,5mm", 35500000}, {"1.5IN", 38100000},
                 {".5", 500000}, {"0.0000005", 1}, {"0.0000004", 0}, {"1000", 1000000000},
                 {"1000.000001", 0}, {"39in", 990600000}, {"40in", 0}, {"", 0}, {",", 0},
                 {"35mmm", 0}, {"1e9", 0}, {"3.5.1", 0}, {" 35", 0}, {"+35", 0},
                 {"99999999999999999999", 0}};
    for (const auto& size : sizes)
        EXPECT_EQ(parse_print_size(size.text), size.nm) << size.text;
    EXPECT_EQ(parse_dpi("0300"), 300);
    EXPECT_EQ(parse_dpi("100000"), 100000);
    for (const char* bad : {"100001", "0", "", "300x", "+3", "99999999999999999999"})
        EXPECT_EQ(parse_dpi(bad), 0) << bad;
    EXPECT_EQ(pixels_per_metre(max_dpi), 3937008);

    // 49 modules in 35 mm: 5, 8 and 16 dots at 203, 300 and 600 dpi.
    EXPECT_EQ(dot_size_for(35 * nm_per_mm, 203, 49), 5);
    EXPECT_EQ(dot_size_for(35 * nm_per_mm, 300, 49), 8);
    EXPECT_EQ(dot_size_for(35 * nm_per_mm, 600, 49), 16);
    EXPECT_EQ(dot_size_for(nm_per_inch, 49, 49), 1) << "exactly one inch";
    EXPECT_EQ(dot_size_for(nm_per_inch - 1, 49, 49), 0);
    EXPECT_EQ(dot_size_for(max_print_size_nm, max_dpi, 21), 187476);

    char text[32];
    const struct {
        int64_t value;
        int decimals;
        const char* text;
    } decimals[] = {{35000000, 6, "35"}, {40714, 3, "40.714"}, {50, 3, "0.05"}, {-1500, 3, "-1.5"},
                    {INT64_MIN, 0, "-9223372036854775808"}};
    for (const auto& d : decimals) {
        format_decimal(text, sizeof text, d.value, d.decimals);
        EXPECT_STREQ(text, d.text);
    }
}

TEST(ToInt, ReadsLikeTheCRuntimeButSaturates)
{
    EXPECT_EQ(to_int("  42abc"), 42);
    EXPECT_EQ(to_int("\r\t\n\v\f 5"), 5);
    EXPECT_EQ(to_int("+7"), 7);
    EXPECT_EQ(to_int("-13"), -13);
    EXPECT_EQ(to_int("abc"), 0);
    EXPECT_EQ(to_int(""), 0);
    EXPECT_EQ(to_int("99999999999999999999"), INT_MAX);
    EXPECT_EQ(to_int("18446744073709551617"), INT_MAX) << "2^64 + 1";
    EXPECT_EQ(to_int("-99999999999999999999"), INT_MIN);
    EXPECT_EQ(to_int("2147483647"), INT_MAX);
    EXPECT_EQ(to_int("-2147483648"), INT_MIN);
}

}  // namespace
