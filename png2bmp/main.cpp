// png2bmp INPUT.png OUTPUT.bmp: converts one PNG file to an uncompressed BMP
// file with the converter the generator uses, with the same status line and
// messages on standard error. Exit status 0 on success, 1 on any failure.
// "/?", "-h" or "--help" alone prints the usage text on standard output.
#include "bmpconv/bmp_writer.h"
#include "bmpconv/conv_image.h"
#include "platform/platform.h"
#include "util/help_request.h"

#include <cstdio>

namespace {

constexpr const char* usage_text =
    "Usage: png2bmp INPUT.png OUTPUT.bmp\n"
    "\n"
    "Converts a PNG image to an uncompressed Windows BMP file. Any PNG file is\n"
    "read: every colour type and bit depth, interlaced or not. The BMP file has\n"
    "1, 4, 8 or 24 bits per pixel (2-bit images become 4-bit, 16-bit samples\n"
    "become 8-bit, transparency is dropped). A resolution the PNG states in\n"
    "pixels per metre (its pHYs chunk) is kept in the BMP's resolution fields.\n"
    "\n"
    "INPUT.png   the PNG file to read.\n"
    "OUTPUT.bmp  the BMP file to write; an existing file of that name is replaced.\n"
    "            Put a name with spaces in double quotes.\n"
    "\n"
    "Output: a status line with a progress meter on standard error (Reading,\n"
    "Read OK, Writing, OK); a failure is one line there beginning \"SKIPPED: \",\n"
    "\"ERROR(libpng): \" or \"WARNING(libpng): \". Nothing is logged.\n"
    "\n"
    "Exit status: 0 when the BMP file was written, 1 on any failure; after a\n"
    "failed write OUTPUT.bmp may be left incomplete.\n"
    "\n"
    "png2bmp /? (or -h, --help) shows this text.\n";

}  // namespace

int main(int argc, char** argv)
{
    if (asks_for_usage(argc, argv)) {
        std::fputs(usage_text, stdout);
        return 0;
    }
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
