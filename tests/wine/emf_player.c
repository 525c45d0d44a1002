/* Plays enhanced metafiles with Windows' own GDI, as a program placing a
 * picture does: GetEnhMetaFileA, then PlayEnhMetaFile onto a memory bitmap.
 *
 *   emf_player.exe (FILE SIDE OUT)...   for each FILE prints its header's
 *                              frame in 0.01 mm, "L T R B", plays it onto a
 *                              bitmap SIDE pixels square and writes that to
 *                              OUT as a binary PGM, or in colour as a binary
 *                              PPM when OUT ends in ".ppm".
 * The bitmap starts mid-grey, so that pixels the metafile leaves unpainted
 * or half-covered show as neither black nor white. Exit status 0, or 2 when
 * a file cannot be read, played or written. */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static void play(const char *file, int side, const char *out_name)
{
    BITMAPINFO info = {{sizeof info.bmiHeader, side, -side /* top-down */, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {{0, 0, 0, 0}}};
    ENHMETAHEADER header;
    RECT target = {0, 0, side, side};
    unsigned char *bits = NULL;
    HENHMETAFILE emf = GetEnhMetaFileA(file);
    HDC dc = CreateCompatibleDC(NULL);
    HBITMAP bitmap = side > 0 ? CreateDIBSection(dc, &info, DIB_RGB_COLORS, (void **)&bits, NULL, 0) : NULL;
    FILE *out;
    size_t i, pixels = (size_t)side * (size_t)side;
    int colour = strlen(out_name) > 4 && strcmp(out_name + strlen(out_name) - 4, ".ppm") == 0;

    if (emf == NULL || GetEnhMetaFileHeader(emf, sizeof header, &header) == 0 || bitmap == NULL ||
        SelectObject(dc, bitmap) == NULL) {
        fprintf(stderr, "emf_player: %s: not a metafile, or no bitmap (error %lu)\n", file, GetLastError());
        exit(2);
    }
    printf("%ld %ld %ld %ld\n", header.rclFrame.left, header.rclFrame.top, header.rclFrame.right,
           header.rclFrame.bottom);
    memset(bits, 0x80, 4 * pixels);
    if (!PlayEnhMetaFile(dc, emf, &target) || !GdiFlush()) {
        fprintf(stderr, "emf_player: %s: PlayEnhMetaFile failed\n", file);
        exit(2);
    }
    /* Blue, green, red, unused: green stands for the grey level. */
    for (i = 0; i < pixels; ++i) {
        unsigned char rgb[3] = {bits[4 * i + 2], bits[4 * i + 1], bits[4 * i]};
        memcpy(bits + (colour ? 3 * i : i), colour ? rgb : rgb + 1, colour ? 3 : 1);
    }
    out = fopen(out_name, "wb");
    if (out == NULL || fprintf(out, "P%d %d %d 255\n", colour ? 6 : 5, side, side) < 0 ||
        fwrite(bits, colour ? 3 : 1, pixels, out) != pixels || fclose(out) != 0) {
        fprintf(stderr, "emf_player: cannot write %s\n", out_name);
        exit(2);
    }
    DeleteDC(dc);
    DeleteObject(bitmap);
    DeleteEnhMetaFile(emf);
}

int main(int argc, char **argv)
{
    int i;
    if (argc < 4 || (argc - 1) % 3 != 0) {
        fputs("usage: emf_player.exe (FILE SIDE OUT)...\n", stderr);
        return 2;
    }
    for (i = 1; i < argc; i += 3)
        play(argv[i], atoi(argv[i + 1]), argv[i + 2]);
    return 0;
}
