// Windows entry: a GUI-subsystem program, so Windows gives it no console and
// it opens no window. The start-up code has already cut the program name and
// the blanks after it from the command line; the rest is the whole input.
#include "frontend/entry.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR command_line, int)
{
    return tessel_main(command_line);
}
