/* Plays enhanced metafiles with Windows' own GDI, as a program placing a
 * picture does: GetEnhMetaFileA, then PlayEnhMetaFile onto a memory bitmap.
 *
 *   emf_player.exe (FILE SIDE OUT)...   for each FILE prints "L T R B", its
 *                              header's frame in 0.01 mm, plays it onto a
 *                              bitmap SIDE pixels square and writes that to
 *                              OUT as a binary PGM.
 * The bitmap starts mid-grey, so that pixels the metafile leaves unpainted
 * or half-covered show as neither black nor white. Exit status 0, or 2 when
 * a file cannot be read or played. */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static void fail(const char *what, const char *file)
{
    fprintf(stderr, "emf_player: %s: %s (error %lu)\n", file, what, (unsigned long)GetLastError());
    exit(2);
}

static void play(const char *file, int side, const char *out_name)
{
    BITMAPINFO info;
    ENHMETAHEADER header;
    RECT target = {0, 0, side, side};
    unsigned char *bits, *row;
    HENHMETAFILE emf = GetEnhMetaFileA(file);
    HDC dc = CreateCompatibleDC(NULL);
    HBITMAP bitmap;
    FILE *out;
    int x, y;

    if (side < 1)
        fail("bad side", file);
    if (emf == NULL || GetEnhMetaFileHeader(emf, sizeof header, &header) == 0)
        fail("not a metafile", file);
    printf("%ld %ld %ld %ld\n", header.rclFrame.left, header.rclFrame.top, header.rclFrame.right,
           header.rclFrame.bottom);
    memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = side;
    info.bmiHeader.biHeight = -side; /* top-down rows */
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, (void **)&bits, NULL, 0);
    if (dc == NULL || bitmap == NULL || SelectObject(dc, bitmap) == NULL)
        fail("no bitmap", file);
    memset(bits, 0x80, 4 * (size_t)side * (size_t)side);
    if (!PlayEnhMetaFile(dc, emf, &target))
        fail("PlayEnhMetaFile failed", file);
    GdiFlush();

    out = fopen(out_name, "wb");
    row = malloc((size_t)side);
    if (out == NULL || row == NULL)
        fail("cannot write", out_name);
    fprintf(out, "P5 %d %d 255\n", side, side);
    for (y = 0; y < side; ++y) {
        /* Blue, green, red, unused: green stands for the grey level. */
        for (x = 0; x < side; ++x)
            row[x] = bits[4 * ((size_t)y * side + x) + 1];
        if (fwrite(row, 1, (size_t)side, out) != (size_t)side)
            fail("cannot write", out_name);
    }
    if (fclose(out) != 0)
        fail("cannot write", out_name);
    free(row);
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
