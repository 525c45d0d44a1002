/* Test host linked with tessel.dll's import library, as a C program built
 * against tessel.h is: prints tessel_version() and the code of
 * tessel_run(argv[1]). On 32-bit Windows its compiler references the
 * decorated __stdcall names, which the import library must bind to the
 * DLL's plain ones. */
#include <stdio.h>

#include "tessel.h"

int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    printf("%s\n%d\n", tessel_version(), tessel_run(argv[1]));
    return 0;
}
