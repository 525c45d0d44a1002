#include "batch/line_reader.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>

namespace {

// The encoding the reader has settled on after reading all of input.
text_encoding encoding_of(const std::string& input)
{
    std::FILE* f = std::tmpfile();
    std::fwrite(input.data(), 1, input.size(), f);
    std::rewind(f);
    static line_reader reader;  // 32 KiB of line buffer
    start_line_reader(&reader, f, false);
    while (read_line(&reader) != line_status::end) {
    }
    std::fclose(f);
    return reader.encoding;
}

TEST(LineReader, TheMarkOrTheFirstLineBeyondAsciiDecidesTheEncoding)
{
    const struct {
        const char* input;
        text_encoding expected;
    } cases[] = {
        {"-o a.png x\n", text_encoding::undecided},
        {"\xEF\xBB\xBF-o a.png x\n", text_encoding::utf8},
        {"-o a.png x\n-o b.png caf\xC3\xA9\n", text_encoding::utf8},
        {"-o b.png caf\xE9\n-o c.png caf\xC3\xA9\n", text_encoding::ansi},
        // DEL is ASCII; a mark after the first line is text.
        {"-o a.png \x7F\n-o b.png caf\xE9\n", text_encoding::ansi},
        {"-o a.png x\n\xEF\xBB\xBF-o b.png caf\xE9\n", text_encoding::ansi},
        // Every length and the edges of each lead byte's range.
        {"\xC2\x80 \xDF\xBF \xE0\xA0\x80 \xE1\x80\x80 \xED\x9F\xBF \xEF\xBF\xBF \xF0\x90\x80\x80 \xF1\x80\x80\x80 \xF4\x8F\xBF\xBF\n",
         text_encoding::utf8},
        // A continuation byte first, a second byte past its range, DEL beside UTF-8,
        // overlong forms, a surrogate, past U+10FFFF, cut short, a bad continuation byte.
        {"\x80\n", text_encoding::ansi},
        {"\xC2\xC0\n", text_encoding::ansi},
        {"\xE1\x7F\x80\n", text_encoding::ansi},
        {"\xE1\xC0\x80\n", text_encoding::ansi},
        {"\x7F caf\xC3\xA9\n", text_encoding::utf8},
        {"\xC1\xBF\n", text_encoding::ansi},
        {"\xC2\x7F\n", text_encoding::ansi},
        {"\xE0\x9F\xBF\n", text_encoding::ansi},
        {"\xF0\x8F\xBF\xBF\n", text_encoding::ansi},
        {"\xED\xA0\x80\n", text_encoding::ansi},
        {"\xF4\x90\x80\x80\n", text_encoding::ansi},
        {"\xF5\x80\x80\x80\n", text_encoding::ansi},
        {"caf\xC3\n", text_encoding::ansi},
        {"\xE2\x82\x28\n", text_encoding::ansi},
        {"\xF0\x90\x80\xC0\n", text_encoding::ansi},
    };
    for (const auto& c : cases)
        EXPECT_EQ(encoding_of(c.input), c.expected) << c.input;
}

TEST(LineReader, OnlyTheFirstLineIsTakenForUtf16OrLosesTheMark)
{
    const std::string input("\xFF\xFE-\0o\0\n\xEF\xBB\xBFx\n-o a\0\n", 18);
    std::FILE* f = std::tmpfile();
    std::fwrite(input.data(), 1, input.size(), f);
    std::rewind(f);
    static line_reader reader;
    start_line_reader(&reader, f, false);
    EXPECT_EQ(read_line(&reader), line_status::utf16);
    EXPECT_EQ(read_line(&reader), line_status::line);
    EXPECT_EQ(std::string(reader.text), "\xEF\xBB\xBFx");
    EXPECT_EQ(read_line(&reader), line_status::nul_byte);
    std::fclose(f);
}

}  // namespace
