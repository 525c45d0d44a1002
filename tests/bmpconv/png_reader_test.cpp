// The PNG reader's record (what a BMP file does not show: row table, flags)
// and its failures; the 2-bit widening transform on its own. Pixel formats
// and palettes of every PNG type are checked through png2bmp by
// check_pngsuite.py.
#include "bmpconv/conv_image.h"
#include "bmpconv/png_reader.h"
#include "test_files.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <string>
#include <vector>

namespace {

const std::string blanked = "\r" + std::string(79, ' ') + "\r";

using PngReader = converter_test;

TEST_F(PngReader, SymbolPngBecomesOneBitRecordWithBlackAndWhitePalette)
{
    png_layout layout;
    layout.width = 87;
    layout.height = 87;
    layout.bit_depth = 1;
    const std::string path = dir.file("symbol.png");
    ASSERT_NO_FATAL_FAILURE(write_png(path, layout));

    ConvImage image{};
    ASSERT_EQ(read_png_image(path.c_str(), &image), 1);
    EXPECT_EQ(image.img_width, 87u);
    EXPECT_EQ(image.img_height, 87);
    EXPECT_EQ(image.bit_count, 1u);
    EXPECT_EQ(image.palette_count, 2);
    EXPECT_EQ(image.top_down, 0);
    EXPECT_EQ(image.has_alpha, 0);
    EXPECT_EQ(image.stride, 12);
    EXPECT_EQ(image.image_bytes, 12 * 87);
    EXPECT_EQ(std::vector<uint8_t>(image.palette, image.palette + 6),
              (std::vector<uint8_t>{0, 0, 0, 255, 255, 255}));
    for (int32_t y = 0; y < 87; ++y) {
        const uint8_t* row = image.row_table[y];
        ASSERT_EQ(row, image.pixels + (86 - y) * 12);
        for (int x = 0; x < 10; ++x) {
            ASSERT_EQ(row[x], static_cast<uint8_t>(x + y)) << "row " << y << " byte " << x;
        }
        // 87 = 10 x 8 + 7: the last pixel bit of byte 10 is padding, then a fill byte.
        ASSERT_EQ(row[10], static_cast<uint8_t>(10 + y) & 0xFE) << "row " << y;
        ASSERT_EQ(row[11], 0) << "row " << y;
    }
    conv_image_free(&image);
    EXPECT_EQ(replay(output()).last_line, "Read OK symbol.png     o");
}

TEST(Expand2BitRow, WidensEveryWidthInPlaceKeepingPixelValues)
{
    std::mt19937 random(7);
    for (png_uint_32 width = 1; width <= 13; ++width) {
        SCOPED_TRACE("width " + std::to_string(width));
        std::vector<unsigned> pixels(width);
        std::vector<png_byte> row((width + 1) / 2 + 1, 0xEE);  // 0xEE marks bytes past the row
        std::fill(row.begin(), row.begin() + (width + 3) / 4, 0);
        for (png_uint_32 x = 0; x < width; ++x) {
            pixels[x] = random() % 4;
            row[x / 4] |= static_cast<png_byte>(pixels[x] << (6 - 2 * (x % 4)));
        }
        png_row_info info{};
        info.width = width;
        info.rowbytes = (width + 3) / 4;
        info.color_type = PNG_COLOR_TYPE_GRAY;
        info.bit_depth = 2;
        info.channels = 1;
        info.pixel_depth = 2;
        expand_2bit_row(nullptr, &info, row.data());

        EXPECT_EQ(info.bit_depth, 4);
        EXPECT_EQ(info.pixel_depth, 4);
        ASSERT_EQ(info.rowbytes, (width + 1) / 2);
        for (png_uint_32 x = 0; x < width; ++x) {
            EXPECT_EQ((row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F, pixels[x]) << "pixel " << x;
        }
        EXPECT_EQ(row.back(), 0xEE) << "wrote past the widened row";
    }

    png_row_info eight_bit{};
    eight_bit.width = 2;
    eight_bit.rowbytes = 2;
    eight_bit.bit_depth = 8;
    eight_bit.channels = 1;
    eight_bit.pixel_depth = 8;
    png_byte bytes[2] = {1, 2};
    expand_2bit_row(nullptr, &eight_bit, bytes);
    EXPECT_EQ(eight_bit.bit_depth, 8);
    EXPECT_EQ(bytes[1], 2);
}

TEST_F(PngReader, FailuresPrintOneLineAndHoldNothing)
{
    const std::string missing = dir.file("missing.png");
    ConvImage image{};
    EXPECT_EQ(read_png_image(missing.c_str(), &image), 0);
    EXPECT_EQ(output(), blanked + "SKIPPED: No such file or directory - " + missing + "\n");
    EXPECT_EQ(image.pixels, nullptr);

    // Not a PNG: libpng's own line only, no "SKIPPED".
    const std::string text = dir.file("text.png");
    write_file(text, std::vector<uint8_t>(40, 'x'));
    std::size_t start = output().size();
    EXPECT_EQ(read_png_image(text.c_str(), &image), 0);
    EXPECT_EQ(output().substr(start),
              "\rReading text.png       " + blanked + "ERROR(libpng): Not a PNG file - " + text + "\n");

    // Within libpng's size limits, but its rows would not fit the record.
    png_layout layout;
    layout.width = 10;
    layout.height = 10;
    layout.color_type = PNG_COLOR_TYPE_RGB;
    const std::string huge = dir.file("huge.png");
    ASSERT_NO_FATAL_FAILURE(write_png(huge, layout));
    std::vector<uint8_t> bytes = read_file(huge);
    const uint8_t sides[8] = {0x00, 0x0F, 0x42, 0x40, 0x00, 0x00, 0x03, 0xE8};  // 1000000 x 1000
    std::copy(std::begin(sides), std::end(sides), bytes.begin() + 16);
    const uint32_t crc = static_cast<uint32_t>(crc32(0, bytes.data() + 12, 17));
    for (int i = 0; i < 4; ++i) {
        bytes[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    }
    write_file(huge, bytes);
    start = output().size();
    EXPECT_EQ(read_png_image(huge.c_str(), &image), 0);
    EXPECT_EQ(output().substr(start),
              "\rReading huge.png       " + blanked + "SKIPPED: Out of memory - " + huge + "\n");
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_EQ(image.row_table, nullptr);
}

}  // namespace
