#include "frontend/input_data.h"

#include <gtest/gtest.h>
#include <string>

extern int allocations_left;  // tests/util: the allocation after this many fails

namespace {

std::string unescape(const std::string& in)
{
    std::string text = in;
    EXPECT_EQ(unescape_data(text.data()), 1);
    return std::string(text.c_str());
}

TEST(UnescapeData, ResolvesEveryEscapeInEitherCase)
{
    EXPECT_EQ(unescape("Hello\\sWorld"), "Hello World");
    EXPECT_EQ(unescape("a\\nb\\Rc\\td\\N"), "a\nb\rc\td\n");
    EXPECT_EQ(unescape("\\\"q\\'"), "\"q'");
    EXPECT_EQ(unescape("\\\\n"), "\\n");
    EXPECT_EQ(unescape("\\x41\\x42"), "AB");
    EXPECT_EQ(unescape("\\X4a\\xff"), "J\xff");
}

TEST(UnescapeData, LeavesIncompleteOrUnknownEscapesAsTheyStand)
{
    EXPECT_EQ(unescape("\\x4G"), "\x04") << "one digit is enough; all four characters go";
    EXPECT_EQ(unescape("\\xG4"), "\\xG4");
    EXPECT_EQ(unescape("\\x0x41"), "\\x0x41");
    EXPECT_EQ(unescape("\\q"), "\\q");
    EXPECT_EQ(unescape("abc\\"), "abc\\");
    EXPECT_EQ(unescape("abc\\x4"), "abc\\x4");
    EXPECT_EQ(unescape("\\x\\s"), "\\x ") << "after a failed \\x the scan resumes at x";
}

TEST(UnescapeData, ANulEscapeEndsTheData)
{
    EXPECT_EQ(unescape("ab\\0cd"), "ab");
    EXPECT_EQ(unescape("ab\\x00cd"), "ab");
    EXPECT_EQ(unescape("\\0"), "");
}

TEST(ParseHex, ReadsLeadingDigitsAfterAnOptionalPrefix)
{
    EXPECT_EQ(parse_hex(nullptr), 0u);
    EXPECT_EQ(parse_hex(""), 0u);
    EXPECT_EQ(parse_hex("ff"), 255u);
    EXPECT_EQ(parse_hex("0x1A"), 26u);
    EXPECT_EQ(parse_hex("0XzZ"), 0u);
    EXPECT_EQ(parse_hex("4G"), 4u);
    EXPECT_EQ(parse_hex("123456789"), 0x23456789u) << "digits past 32 bits shift out";
}

TEST(TakeDataToken, TheLastTokenWinsAndIsPrepared)
{
    ASSERT_EQ(take_data_token("first"), 1);
    ASSERT_EQ(take_data_token("a\\sb"), 1);
    ASSERT_NE(current_data(), nullptr);
    EXPECT_STREQ(current_data()->text, "a b");
    EXPECT_EQ(current_data()->length, 3) << "the length follows the shortened text";
    release_data();
    EXPECT_EQ(current_data(), nullptr);
    release_data();
}

TEST(TakeDataBytes, AFailedAllocationFailsAndHoldsNothing)
{
#if !defined(__GLIBC__) || defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "no malloc of glibc's to fail on demand";
#endif
    allocations_left = 1;
    EXPECT_EQ(take_data_bytes("ab", 2), 0);
    EXPECT_EQ(current_data(), nullptr);
}

}  // namespace
