#include "batch/line_reader.h"

#include "platform/platform.h"
#include "util/utf8_text.h"

#include <cstring>
#include <string_view>

namespace {

// Notepad's "Unicode" is UTF-16 with a byte-order mark; other tools leave
// the mark out, and then ASCII text shows a NUL in every other byte.
bool looks_like_utf16(const char* text, std::size_t length)
{
    if (length >= 2 && (std::memcmp(text, "\xFF\xFE", 2) == 0 || std::memcmp(text, "\xFE\xFF", 2) == 0))
        return true;
    return std::memchr(text, '\0', length) != nullptr;
}

// Decides the encoding from the line just read, when it is not decided yet.
void decide_encoding(line_reader* reader)
{
    if (reader->encoding != text_encoding::undecided)
        return;
    const auto* text = reinterpret_cast<const unsigned char*>(reader->text);
    for (std::size_t i = 0; i < reader->length; ++i) {
        if (text[i] > 0x7F) {
            const std::string_view line(reader->text, reader->length);
            reader->encoding = first_bad_utf8(line) == std::string_view::npos ? text_encoding::utf8
                                                                              : text_encoding::ansi;
            return;
        }
    }
}

// The next byte of the current line, or EOF.
int next_byte(line_reader* reader)
{
    if (!reader->console)
        return std::getc(reader->file);
    if (reader->console_at == reader->console_text.size())
        return EOF;
    return static_cast<unsigned char>(reader->console_text[reader->console_at++]);
}

// Reads the next console line into console_text for next_byte. Returns line,
// or end, or the status of a line that could not be converted (counted).
line_status take_console_line(line_reader* reader)
{
    reader->console_at = 0;
    const console_line got = read_console_line(reader->file, max_line_length, &reader->console_text);
    if (got == console_line::line)
        return line_status::line;
    if (got == console_line::end)
        return line_status::end;
    ++reader->number;
    reader->length = 0;
    reader->text[0] = '\0';
    return got == console_line::no_memory ? line_status::no_memory : line_status::not_representable;
}

// The status of the line just read into text; a line that is not run is
// emptied, and a line that is run may decide the encoding.
line_status check_line(line_reader* reader, bool first, bool overflow)
{
    const std::size_t length = reader->length;
    line_status status = line_status::line;
    if (first && looks_like_utf16(reader->text, length))
        status = line_status::utf16;
    else if (overflow || length > max_line_length)
        status = line_status::too_long;
    else if (std::memchr(reader->text, '\0', length) != nullptr)
        status = line_status::nul_byte;
    if (status == line_status::line) {
        decide_encoding(reader);
    } else {
        reader->length = 0;
        reader->text[0] = '\0';
    }
    return status;
}

}  // namespace

void start_line_reader(line_reader* reader, std::FILE* file, bool typed)
{
    reader->file = file;
    reader->typed = typed;
    reader->console = console_gives_wide_text(file);
    reader->encoding = reader->console ? text_encoding::wide : text_encoding::undecided;
    reader->console_text.clear();
    reader->console_at = 0;
    reader->number = 0;
    reader->length = 0;
    reader->text[0] = '\0';
}

line_status read_line(line_reader* reader)
{
    // getc returns whatever a pipe or terminal has delivered, so a program
    // that feeds lines one at a time sees each one run as soon as it is sent.
    constexpr std::size_t room = max_line_length + 1;
    const bool first = reader->number == 0;
    std::size_t count = 0;  // bytes of this line read so far, the LF not counted
    std::size_t length = 0;
    bool overflow = false;
    bool any = false;
    const line_status typed = reader->console ? take_console_line(reader) : line_status::line;
    if (typed != line_status::line)
        return typed;
    for (;;) {
        const int c = next_byte(reader);
        if (c == EOF) {
            // Nothing reads a console's stream through the runtime: no error.
            if (std::ferror(reader->file) != 0) {
                reader->length = 0;
                reader->text[0] = '\0';
                return line_status::read_error;
            }
            break;
        }
        any = true;
        if (c == '\n')
            break;
        if (length < room)
            reader->text[length++] = static_cast<char>(c);
        else
            overflow = true;
        // The byte-order mark that Notepad puts before UTF-8 text is no part
        // of the first command line.
        ++count;
        if (first && count == 3 && std::memcmp(reader->text, "\xEF\xBB\xBF", 3) == 0) {
            length = 0;
            reader->encoding = text_encoding::utf8;
        }
    }
    if (!any)
        return line_status::end;
    if (length > 0 && reader->text[length - 1] == '\r')
        --length;
    // Ctrl-Z then Enter is how a console user ends typed input; the CR of a
    // CR LF line end is already gone, so "\x1A\r\n" counts as well as "\x1A\n".
    if (reader->typed && length == 1 && reader->text[0] == '\x1A')
        return line_status::end;
    ++reader->number;
    reader->text[length] = '\0';
    reader->length = length;
    return check_line(reader, first, overflow);
}

bool is_blank_line(const line_reader& reader)
{
    for (std::size_t i = 0; i < reader.length; ++i) {
        if (reader.text[i] != ' ' && reader.text[i] != '\t')
            return false;
    }
    return true;
}
