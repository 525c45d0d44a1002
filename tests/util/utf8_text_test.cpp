#include "util/utf8_text.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// Which sequences are well-formed is the line reader's table too; here, the
// position of the first that is not.
TEST(Utf8Text, FindsTheLeadByteOfTheFirstIllFormedSequence)
{
    constexpr auto none = std::string_view::npos;
    const std::pair<std::string, std::size_t> cases[] = {
        {"", none},
        {std::string("Pe\xC3\xB1" "a\0\x7F\xE2\x82\xAC\xF0\x9F\x98\x80", 14), none},
        {"Pe\xF1" "a", 2},
        {"a\x80", 1},
        {"\xC3\xC0", 0},
        {"\xE2\x82\x7F", 0},
        {"ok\xE2\x82", 2},
        {"\xE2\x82" "A", 0},
        {"\xC3\xB1\xF0\x9F\xC0\x80", 2},
        {"\xF0\x8F\xBF\xBF", 0},
        {"\xF4\x90\x80\x80", 0},
        {"\xED\xA0\x80", 0},
    };
    for (const auto& [bytes, position] : cases)
        EXPECT_EQ(first_bad_utf8(bytes), position) << testing::PrintToString(bytes);
    // A line or a field is a view into more text: nothing past its end is read.
    EXPECT_EQ(first_bad_utf8(std::string_view("ok\xC3", 2)), none);
}

}  // namespace
