#include "frontend/tokenizer.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> split(const std::string& text, bool* too_long = nullptr)
{
    char** tokens = alloc_token_array(max_tokens, token_size);
    const int count = split_command_line(text.c_str(), tokens, max_tokens, too_long);
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
    EXPECT_EQ(split("\"it's a\""), (list{"\"it's", "a\""}));
    EXPECT_EQ(split("-o \"a b"), (list{"-o", "\"a b"}));
    EXPECT_EQ(split("'a\""), (list{"'a\""}));
    EXPECT_EQ(split("x \""), (list{"x", "\""})) << "a lone quote is kept as it stands";
}

TEST(Tokenizer, StopsAtNineteenTokensAndRefusesTokensThatDoNotFit)
{
    std::string words;
    for (int i = 0; i < 25; ++i)
        words += "w" + std::to_string(i) + " ";
    const list tokens = split(words);
    ASSERT_EQ(tokens.size(), 19u);
    EXPECT_EQ(tokens.back(), "w18");

    bool too_long = true;
    EXPECT_EQ(split("a " + std::string(259, 'x'), &too_long).size(), 2u);
    EXPECT_FALSE(too_long);
    EXPECT_EQ(split("\"" + std::string(259, 'x') + "\"", &too_long).size(), 1u);
    EXPECT_FALSE(too_long) << "quotes removed, 259 characters fit";
    EXPECT_EQ(split("a " + std::string(260, 'x') + " b", &too_long), list{"a"});
    EXPECT_TRUE(too_long);
}

}  // namespace
