// Windows entry: a GUI-subsystem program, so Windows gives it no console and
// it opens no window. The command line is read as Windows stored it, not as
// the start-up code hands it over: that text has look-alikes in place of the
// characters the ANSI code page cannot hold, and a full-width quotation mark
// or hyphen would reach the tokenizer as '"' or '-'.
#include "frontend/entry.h"
#include "platform/win32/ansi_command_line.h"

#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // Data read as text (-u) is every character that was typed, in UTF-8;
    // the rest of the command line keeps the code page's rule.
    std::string utf8_line;
    if (read_utf8_command_line(&utf8_line) == ansi_conversion::exact &&
        command_line_asks_for_text(utf8_line.c_str()))
        return tessel_main(utf8_line.c_str(), name_text::native, line_text::utf8);
    std::string command_line;
    switch (read_ansi_command_line(&command_line)) {
    case ansi_conversion::exact:
        break;
    case ansi_conversion::not_representable:
        return tessel_refuse_command_line(command_line_refusal::not_representable);
    case ansi_conversion::no_memory:
        return tessel_refuse_command_line(command_line_refusal::no_memory);
    }
    return tessel_main(command_line.c_str(), name_text::native, line_text::ansi);
}
