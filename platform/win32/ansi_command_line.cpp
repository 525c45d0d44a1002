#include "platform/win32/ansi_command_line.h"

#include "platform/platform.h"

#include <windows.h>

#include <climits>
#include <cstdio>
#include <cwchar>
#include <new>

namespace {

// The rule is in the header.
const wchar_t* skip_winmain_program_name(const wchar_t* line)
{
    bool quoted = false;
    for (; *line != L'\0' && (*line > L' ' || quoted); ++line) {
        if (*line == L'"')
            quoted = !quoted;
    }
    while (*line != L'\0' && *line <= L' ')
        ++line;
    return line;
}

// argv[0] as the C runtime cuts it: a quoted name ends at its closing quote,
// another at the first space or tab; the text after it holds every other
// argument.
const wchar_t* skip_argv_program_name(const wchar_t* line)
{
    if (*line == L'"') {
        const wchar_t* close = std::wcschr(line + 1, L'"');
        return close != nullptr ? close + 1 : line + std::wcslen(line);
    }
    while (*line != L'\0' && *line != L' ' && *line != L'\t')
        ++line;
    return line;
}

}  // namespace

ansi_conversion convert_to_ansi_exactly(const wchar_t* wide, std::size_t length, std::string* text)
{
    text->clear();
    if (length == 0)
        return ansi_conversion::exact;
    // Windows keeps a command line under 32,768 characters; a longer one
    // would not fit the conversion's int sizes.
    if (length > INT_MAX / 4)
        return ansi_conversion::not_representable;
    const int wide_length = static_cast<int>(length);
    // A UTF-8 code page takes neither flag nor default character: every
    // character has bytes there, and a lone surrogate fails the conversion.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL used_default = FALSE;
    BOOL* const used_default_flag = utf8 ? nullptr : &used_default;
    const int size = WideCharToMultiByte(CP_ACP, flags, wide, wide_length, nullptr, 0, nullptr,
                                         used_default_flag);
    if (size <= 0 || used_default)
        return ansi_conversion::not_representable;
    try {
        std::string bytes(static_cast<std::size_t>(size), '\0');
        if (WideCharToMultiByte(CP_ACP, flags, wide, wide_length, bytes.data(), size, nullptr,
                                used_default_flag) != size ||
            used_default)
            return ansi_conversion::not_representable;
        // Whatever the code page's table does, only text that comes back as
        // it went in is the user's own.
        std::wstring back(length, L'\0');
        if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), size, back.data(),
                                wide_length) != wide_length ||
            back.compare(0, length, wide, length) != 0)
            return ansi_conversion::not_representable;
        *text = std::move(bytes);
    } catch (const std::bad_alloc&) {
        return ansi_conversion::no_memory;
    }
    return ansi_conversion::exact;
}

ansi_conversion read_ansi_command_line(std::string* text)
{
    const wchar_t* line = skip_winmain_program_name(GetCommandLineW());
    return convert_to_ansi_exactly(line, std::wcslen(line), text);
}

ansi_conversion convert_to_utf8(const wchar_t* wide, std::size_t length, std::string* text)
{
    text->clear();
    if (length == 0)
        return ansi_conversion::exact;
    if (length > INT_MAX / 4)
        return ansi_conversion::not_representable;
    const int wide_length = static_cast<int>(length);
    const int size = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide, wide_length, nullptr,
                                         0, nullptr, nullptr);
    if (size <= 0)
        return ansi_conversion::not_representable;
    try {
        std::string bytes(static_cast<std::size_t>(size), '\0');
        if (WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide, wide_length, bytes.data(), size,
                                nullptr, nullptr) != size)
            return ansi_conversion::not_representable;
        *text = std::move(bytes);
    } catch (const std::bad_alloc&) {
        return ansi_conversion::no_memory;
    }
    return ansi_conversion::exact;
}

ansi_conversion read_utf8_command_line(std::string* text)
{
    const wchar_t* line = skip_winmain_program_name(GetCommandLineW());
    return convert_to_utf8(line, std::wcslen(line), text);
}

bool check_arguments_exact(const char* program)
{
    std::string ignored;
    const wchar_t* arguments = skip_argv_program_name(GetCommandLineW());
    switch (convert_to_ansi_exactly(arguments, std::wcslen(arguments), &ignored)) {
    case ansi_conversion::exact:
        return true;
    case ansi_conversion::not_representable:
        std::fprintf(stderr,
                     "%s: an argument holds a character that the Windows code page (ANSI) "
                     "cannot represent; use a name without it\n",
                     program);
        return false;
    case ansi_conversion::no_memory:
        break;
    }
    std::fprintf(stderr, "%s: out of memory reading the command line\n", program);
    return false;
}
