// png2bmp INPUT.png OUTPUT.bmp: converts one PNG file to an uncompressed BMP
// file with the converter the generator uses, with the same status line and
// messages on standard error. Exit status 0 on success, 1 on any failure.
#include "bmpconv/bmp_writer.h"
#include "bmpconv/conv_image.h"
#include "platform/platform.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (!check_arguments_exact("png2bmp"))
        return 1;
    if (argc != 3) {
        std::fputs("usage: png2bmp INPUT.png OUTPUT.bmp\n", stderr);
        return 1;
    }
    ConvImage image{};
    // Each call has printed its own message when it fails and left nothing
    // to release.
    if (read_png_image(argv[1], &image) == 0) {
        return 1;
    }
    if (write_bmp_image(argv[2], &image) == 0) {
        return 1;
    }
    return 0;
}
