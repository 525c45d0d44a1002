// POSIX entry: the arguments are joined back into the one command-line text
// that the Windows build receives, and handed to the same entry function.
// A POSIX parent sees the result modulo 256.
#include "frontend/entry.h"
#include "platform/posix/command_line.h"

int main(int argc, char** argv)
{
    const std::string command_line = join_arguments(argc, argv);
    return tessel_main(command_line.c_str());
}
