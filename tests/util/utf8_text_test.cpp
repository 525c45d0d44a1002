#include "util/utf8_text.h"

#include <gtest/gtest.h>
#include <string>

namespace {

constexpr auto none = std::string_view::npos;

TEST(Utf8Text, FindsTheFirstByteOutsideAWellFormedSequence)
{
    const std::pair<std::string, std::size_t> cases[] = {
        {"", none},
        {"Pe\xC3\xB1" "a \xE2\x82\xAC \xF0\x9F\x98\x80", none},
        {"\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", none},
        {std::string("a\0b", 3), none},
        {"Pe\xF1" "a", 2},                  // Windows-1252
        {"ab\x80", 2},                      // lone continuation byte
        {"\xC0\xAF", 0},                    // overlong
        {"\xC1\xBF", 0},
        {"x\xE0\x9F\xBF", 1},               // overlong three-byte form
        {"\xED\xA0\x80", 0},                // surrogate
        {"\xF0\x8F\xBF\xBF", 0},            // overlong four-byte form
        {"\xF4\x90\x80\x80", 0},            // above U+10FFFF
        {"\xF5\x80\x80\x80", 0},
        {"\xFF", 0},
        {"ok\xC3", 2},                      // cut short at the end
        {"ok\xE2\x82", 2},
        {"\xF0\x9F\x98", 0},
        {"\xE2\x82" "A", 0},                // broken by an ASCII byte
        {"\xC3\xB1\xF0\x9F\x98\x80\xF0\x9F\xC0\x80", 6},
        {"\xE2\xC2\xAC", 0},
    };
    for (const auto& [bytes, position] : cases) {
        EXPECT_EQ(first_bad_utf8(bytes), position) << testing::PrintToString(bytes);
    }
}

}  // namespace
