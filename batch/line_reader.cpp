#include "batch/line_reader.h"

#include <cstring>

namespace {

// Notepad's "Unicode" is UTF-16 with a byte-order mark; other tools leave
// the mark out, and then ASCII text shows a NUL in every other byte.
bool looks_like_utf16(const char* text, std::size_t length)
{
    if (length >= 2 && (std::memcmp(text, "\xFF\xFE", 2) == 0 || std::memcmp(text, "\xFE\xFF", 2) == 0))
        return true;
    return std::memchr(text, '\0', length) != nullptr;
}

}  // namespace

void start_line_reader(line_reader* reader, std::FILE* file, bool typed)
{
    reader->file = file;
    reader->typed = typed;
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
    for (;;) {
        const int c = std::getc(reader->file);
        if (c == EOF) {
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
        if (first && count == 3 && std::memcmp(reader->text, "\xEF\xBB\xBF", 3) == 0)
            length = 0;
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
    line_status status = line_status::line;
    if (first && looks_like_utf16(reader->text, length))
        status = line_status::utf16;
    else if (overflow || length > max_line_length)
        status = line_status::too_long;
    else if (std::memchr(reader->text, '\0', length) != nullptr)
        status = line_status::nul_byte;
    if (status != line_status::line) {
        reader->length = 0;
        reader->text[0] = '\0';
    }
    return status;
}

bool is_blank_line(const line_reader& reader)
{
    for (std::size_t i = 0; i < reader.length; ++i) {
        if (reader.text[i] != ' ' && reader.text[i] != '\t')
            return false;
    }
    return true;
}
