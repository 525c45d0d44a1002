// Rebuilds one command-line text from POSIX arguments, the form in which
// Windows hands a command line to WinMain.
#pragma once

#include <string>

// Joins argv[1..argc-1] with single spaces. An argument that is empty or holds
// a space is wrapped in double quotes, or in single quotes when it holds a
// double quote, so that the tokenizer reads it back as one token.
std::string join_arguments(int argc, const char* const* argv);
