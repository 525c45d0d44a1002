// Whether a console program was started only to show its usage: "/?", the
// Windows way, or "-h" or "--help", as the one argument.
#pragma once

#include <string_view>

inline bool asks_for_usage(int argc, char** argv)
{
    if (argc != 2)
        return false;
    const std::string_view arg(argv[1]);
    return arg == "/?" || arg == "-h" || arg == "--help";
}
