/* N calls (default 10,000) of libtessel in one process, for the sanitizer and valgrind runs:
 * symbols with a NUL byte, refusals, images, text and modules in memory. Exit 0 when each returned its code. Usage: tessel_call_loop [N] */
#include "tessel.h"

#include <stdio.h>
#include <stdlib.h>

int main(int argc, char **argv)
{
    const long n = argc > 1 ? atol(argv[1]) : 10000;
    static unsigned char buffer[4096];
    size_t size = 0;
    int side = 0;
    for (long i = 0; i < n; ++i) {
        int expected = 0, result = 0;
        switch (i % 7) {
        case 0: result = tessel_encode("-8 -l M", "loop.png", "loop\0data", 9); break;
        case 1: result = tessel_encode("-8 -t bmp", "loop.bmp", "a\0b", 3); break;
        case 4: result = tessel_image("-8 -t bmp", "a\0b", 3, buffer, sizeof buffer, &size); break;
        case 6: result = tessel_image("-8 -t txt", "a\0b", 3, buffer, sizeof buffer, &size); break;
        case 5: expected = 1107; result = tessel_modules("-8", "a\0b", 3, NULL, 0, &side); break;
        case 2: expected = 1105; result = tessel_encode(NULL, "loop.png", "a\0b", 3); break;
        default: expected = 1104; result = tessel_run("-v 41 -o loop.png X"); break;
        }
        if (result != expected) {
            fprintf(stderr, "call %ld: %d, expected %d\n", i, result, expected);
            return 1;
        }
    }
    return 0;
}
