#include "platform/posix/command_line.h"

std::string join_arguments(int argc, const char* const* argv)
{
    std::string text;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (i > 1)
            text += ' ';
        if (arg.empty() || arg.find(' ') != std::string_view::npos) {
            const char quote = arg.find('"') != std::string_view::npos ? '\'' : '"';
            text += quote;
            text += arg;
            text += quote;
        } else {
            text += arg;
        }
    }
    return text;
}
