#include "batch/line_reader.h"

#include <cstring>

void start_line_reader(line_reader* reader, std::FILE* file)
{
    reader->file = file;
    reader->number = 0;
    reader->length = 0;
    reader->text[0] = '\0';
}

line_status read_line(line_reader* reader)
{
    // getc returns whatever a pipe or terminal has delivered, so a program
    // that feeds lines one at a time sees each one run as soon as it is sent.
    constexpr std::size_t room = max_line_length + 1;
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
    }
    if (!any)
        return line_status::end;
    ++reader->number;
    if (length > 0 && reader->text[length - 1] == '\r')
        --length;
    reader->text[length] = '\0';
    reader->length = length;
    line_status status = line_status::line;
    if (overflow || length > max_line_length)
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
