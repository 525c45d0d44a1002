#include "frontend/switch_pass.h"

#include "frontend/input_data.h"
#include "frontend/run_settings.h"
#include "frontend/tokenizer.h"

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
