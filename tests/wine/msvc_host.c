/* Test host built as a Microsoft toolchain builds a C program: compiled for
 * the Microsoft ABI (clang --target=*-pc-windows-msvc) and linked by lld-link
 * against lib\tessel.lib, with no C runtime and no Windows headers. It makes
 * "run.png" with tessel_run and "encode.png" with tessel_encode and checks
 * tessel_version against the build's version. Exit status: 0, or the first
 * failing call's code (1 for a wrong version). On 32-bit Windows its calls
 * reference the decorated names (_tessel_run@4), which the import library
 * must bind to the DLL's plain exports, or the program does not start. */
#include "tessel.h"
#include "tessel_version.h"

__declspec(dllimport) void __stdcall ExitProcess(unsigned code);

void start(void)
{
    const char *version = tessel_version(), *expected = TESSEL_VERSION_TEXT;
    int code = tessel_run("-l q -o run.png Run\\x21");
    if (code == 0)
        code = tessel_encode("-z 2", "encode.png", "Encode \"this\"", 13);
    while (code == 0 && *version == *expected && *expected != '\0')
        ++version, ++expected;
    ExitProcess(code != 0 ? (unsigned)code : *version != *expected);
}
