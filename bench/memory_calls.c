/* The in-process side of the memory benchmark: one small symbol
   ("https://example.com/item/1", tessel's defaults: level Q, 3 pixels a
   module, quiet zone 4) made N times, R rounds; prints the fastest round's
   mean time of a call, elapsed and processor, in microseconds.
     image   tessel_image into a buffer of the caller's
     encode  tessel_encode to s.png in the current folder
     floor   libqrencode and libpng alone into memory, the same PNG (checked
             against tessel_image's): what any library must spend
   Usage: memory_calls image|encode|floor N R */
#include "tessel.h"

#include <png.h>
#include <qrencode.h>

#include <malloc.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

static const char data[] = "https://example.com/item/1";
static unsigned char out[65536];
static size_t out_size;

static void to_memory(png_structp png, png_bytep bytes, png_size_t size)
{
    if (out_size + size > sizeof out)
        png_error(png, "full");
    memcpy(out + out_size, bytes, size);
    out_size += size;
}

static void no_flush(png_structp png) { (void)png; }

static int floor_png(void)
{
    QRcode *code = QRcode_encodeString(data, 0, QR_ECLEVEL_Q, QR_MODE_8, 1);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
    png_infop info = png_create_info_struct(png);
    const int side = (code->width + 8) * 3, row_bytes = (side + 7) / 8;
    unsigned char row[1024];
    int j, x, d;
    out_size = 0;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        QRcode_free(code);
        return 1;
    }
    png_set_write_fn(png, NULL, to_memory, no_flush);
    png_set_IHDR(png, info, side, side, 1, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    /* Each module row drawn once and written 3 times, the quiet zone's rows once. */
    memset(row, 0xFF, row_bytes);
    for (j = 0; j < 12; ++j)
        png_write_row(png, row);
    for (j = 0; j < code->width; ++j) {
        memset(row, 0xFF, row_bytes);
        for (x = 12; x < side - 12; ++x)
            if (code->data[j * code->width + x / 3 - 4] & 1)
                row[x / 8] &= ~(0x80 >> (x % 8));
        for (d = 0; d < 3; ++d)
            png_write_row(png, row);
    }
    memset(row, 0xFF, row_bytes);
    for (j = 0; j < 12; ++j)
        png_write_row(png, row);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    QRcode_free(code);
    return 0;
}

static int call(char mode)
{
    if (mode == 'f')
        return floor_png();
    if (mode == 'e')
        return tessel_encode(NULL, "s.png", data, sizeof data - 1);
    return tessel_image(NULL, data, sizeof data - 1, out, sizeof out, &out_size);
}

static double seconds(clockid_t clock)
{
    struct timespec t;
    clock_gettime(clock, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

int main(int argc, char **argv)
{
    const char mode = argc > 1 ? argv[1][0] : 'i';
    const long n = argc > 2 ? atol(argv[2]) : 1000, rounds = argc > 3 ? atol(argv[3]) : 5;
    double best_wall = 1e9, best_cpu = 1e9;
    long i, r;
    /* The heap settings the library makes, so that neither keeps them alone. */
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024);
    if (mode == 'f') { /* the floor makes the library's PNG, or it is no floor */
        unsigned char library[sizeof out];
        size_t size;
        if (call('i') != 0)
            return 1;
        memcpy(library, out, size = out_size);
        if (floor_png() != 0 || out_size != size || memcmp(out, library, size) != 0) {
            fputs("memory_calls: the floor's PNG is not the library's\n", stderr);
            return 1;
        }
    }
    for (r = 0; r < rounds; ++r) {
        const double wall = seconds(CLOCK_MONOTONIC), cpu = seconds(CLOCK_PROCESS_CPUTIME_ID);
        for (i = 0; i < n; ++i)
            if (call(mode) != 0)
                return 1;
        if (seconds(CLOCK_MONOTONIC) - wall < best_wall)
            best_wall = seconds(CLOCK_MONOTONIC) - wall;
        if (seconds(CLOCK_PROCESS_CPUTIME_ID) - cpu < best_cpu)
            best_cpu = seconds(CLOCK_PROCESS_CPUTIME_ID) - cpu;
    }
    printf("%.2f %.2f\n", best_wall / n * 1e6, best_cpu / n * 1e6);
    return 0;
}
