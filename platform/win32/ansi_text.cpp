// Text that reaches the programs as UTF-16 or UTF-8 rather than through the
// C runtime: typed console lines, made UTF-8, and file names from UTF-8
// files, made ANSI by the command line's rule (platform/win32/ansi_command_line.h).
#include "platform/platform.h"
#include "platform/win32/ansi_command_line.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <io.h>
#include <new>
#include <string>

ansi_conversion file_name_from_utf8(const char* utf8, std::string* name)
{
    name->clear();
    const std::size_t size = std::strlen(utf8);
    if (size == 0)
        return ansi_conversion::exact;
    if (size > INT_MAX / 2)
        return ansi_conversion::not_representable;
    try {
        std::wstring wide(size, L'\0');
        const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8,
                                               static_cast<int>(size), wide.data(),
                                               static_cast<int>(size));
        if (length <= 0)
            return ansi_conversion::not_representable;
        return convert_to_ansi_exactly(wide.data(), static_cast<std::size_t>(length), name);
    } catch (const std::bad_alloc&) {
        return ansi_conversion::no_memory;
    }
}

bool utf8_from_native(const char* text, std::string* utf8)
{
    utf8->clear();
    const std::size_t size = std::strlen(text);
    if (size == 0)
        return true;
    if (size > INT_MAX / 3)
        return false;
    try {
        // Every byte of the code page is at most one UTF-16 unit, and every
        // unit at most three UTF-8 bytes.
        std::wstring wide(size, L'\0');
        const int length = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(size), wide.data(),
                                               static_cast<int>(size));
        if (length <= 0)
            return false;
        return convert_to_utf8(wide.data(), static_cast<std::size_t>(length), utf8) ==
               ansi_conversion::exact;
    } catch (const std::bad_alloc&) {
        utf8->clear();
        return false;
    }
}

bool console_gives_wide_text(std::FILE* stream)
{
    return stream_is_terminal(stream);
}

console_line read_console_line(std::FILE* stream, std::size_t max_chars, std::string* line)
{
    line->clear();
    const HANDLE console = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    try {
        std::wstring wide;
        bool ended = false;
        // A cooked console returns a line once Enter is pressed, but only as
        // much of it as fits the buffer at each call.
        std::array<wchar_t, 4096> chunk{};
        while (!ended) {
            DWORD count = 0;
            if (ReadConsoleW(console, chunk.data(), static_cast<DWORD>(chunk.size()), &count,
                             nullptr) == 0 ||
                count == 0)
                break;
            ended = chunk[count - 1] == L'\n';
            const std::size_t room = wide.size() <= max_chars ? max_chars + 1 - wide.size() : 0;
            wide.append(chunk.data(), std::min<std::size_t>(count, room));
        }
        if (wide.empty() && !ended)
            return console_line::end;
        if (ended && wide.back() != L'\n')
            wide.push_back(L'\n');
        switch (convert_to_utf8(wide.data(), wide.size(), line)) {
        case ansi_conversion::exact:
            return console_line::line;
        case ansi_conversion::not_representable:
            return console_line::not_representable;
        case ansi_conversion::no_memory:
            break;
        }
    } catch (const std::bad_alloc&) {
    }
    line->clear();
    return console_line::no_memory;
}
