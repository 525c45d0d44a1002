#include "frontend/tokenizer.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> split(const std::string& text, split_status* status = nullptr)
{
    char** tokens = alloc_token_array(max_tokens, token_size);
    const int count = split_command_line(text.c_str(), tokens, max_tokens, status);
    std::vector<std::string> out(tokens, tokens + count);
    free_token_array(tokens, max_tokens);
    return out;
}

using list = std::vector<std::string>;

TEST(Tokenizer, SpacesSeparateAndNothingElseDoes)
{
    EXPECT_EQ(split(""), list{});
    EXPECT_EQ(split("    "), list{});
    EXPECT_EQ(split("  -o   a.png  X  "), (list{"-o", "a.png", "X"}));
    EXPECT_EQ(split("-o a.png\tX"), (list{"-o", "a.png\tX"}));
}

TEST(Tokenizer, QuotesKeepSpacesAndAreRemovedOnlyWhenTheyEnclose)
{
    EXPECT_EQ(split("-o \"my file.png\""), (list{"-o", "my file.png"}));
    EXPECT_EQ(split("-o 'my file.png'"), (list{"-o", "my file.png"}));
    EXPECT_EQ(split("\"\" ''"), (list{"", ""}));
    EXPECT_EQ(split("x=\"a b\""), (list{"x=\"a b\""}));
    EXPECT_EQ(split("\"a b\"c"), (list{"\"a b\"c"}));
    // Only a quote's own kind closes it: apostrophes in addresses and names
    // stay inside double quotes, and double quotes inside single ones.
    EXPECT_EQ(split("-o a.png \"It's ok\""), (list{"-o", "a.png", "It's ok"}));
    EXPECT_EQ(split("'Dijo \"hola\" y' x"), (list{"Dijo \"hola\" y", "x"}));
    EXPECT_EQ(split("\"L'H x"), (list{"\"L'H x"})) << "unbalanced double, apostrophe inside";
    EXPECT_EQ(split("'a \"b c"), (list{"'a \"b c"})) << "unbalanced single, double inside";
    EXPECT_EQ(split("-o \"a b"), (list{"-o", "\"a b"}));
    EXPECT_EQ(split("'a\""), (list{"'a\""}));
    EXPECT_EQ(split("x \""), (list{"x", "\""})) << "a lone quote is kept as it stands";
}

TEST(Tokenizer, StopsAtNineteenTokensAndKeepsLongTokensWhole)
{
    std::string words;
    for (int i = 0; i < 25; ++i)
        words += "w" + std::to_string(i) + " ";
    const list tokens = split(words);
    ASSERT_EQ(tokens.size(), 19u);
    EXPECT_EQ(tokens.back(), "w18");

    const std::string fits(259, 'x');
    const std::string longer(260, 'y');
    const std::string longest(32767, 'z');
    const std::string too_long(32768, 'w');
    const struct {
        std::string text;
        list expected;
        split_status status;
    } cases[] = {
        {"a " + fits, {"a", fits}, split_status::ok},
        {"\"" + longer + "\" b", {longer, "b"}, split_status::ok},
        {longer + " " + fits + " " + longest, {longer, fits, longest}, split_status::ok},
        {"\"" + longest + "\"", {longest}, split_status::ok},
        {"a " + too_long + " b", {"a"}, split_status::token_too_long},
    };
    for (const auto& c : cases) {
        split_status status = split_status::no_memory;
        EXPECT_EQ(split(c.text, &status), c.expected) << c.text.size();
        EXPECT_EQ(status, c.status) << c.text.size();
    }
}

}  // namespace
