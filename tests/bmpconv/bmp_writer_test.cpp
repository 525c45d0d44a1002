// The BMP writer: header fields and palette of the written file, the pixel
// buffer copied whole (also past one 16 MiB piece), and failed writes.
#include "bmpconv/bmp_writer.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

const std::string blanked = "\r" + std::string(79, ' ') + "\r";

// A record as the reader leaves it, with every pixel byte numbered by its
// place in the buffer and the palette entries i, 2i, 3i.
ConvImage filled_record(uint32_t width, int32_t height, uint32_t bit_count)
{
    ConvImage image{};
    image.img_width = width;
    image.img_height = height;
    image.bit_count = bit_count;
    image.palette_count = bit_count <= 8 ? 1 << bit_count : 0;
    EXPECT_EQ(conv_image_alloc(&image), 1);
    for (int32_t i = 0; i < image.image_bytes; ++i) {
        image.pixels[i] = static_cast<uint8_t>(i * 7 + i / 251);
    }
    for (int32_t i = 0; i < image.palette_count * 3; ++i) {
        image.palette[i] = static_cast<uint8_t>((i % 3 + 1) * (i / 3));
    }
    return image;
}

using BmpWriter = converter_test;

TEST_F(BmpWriter, SymbolSizedImageMatchesTheWorkedExample)
{
    ConvImage image = filled_record(87, 87, 1);
    image.palette[0] = image.palette[1] = image.palette[2] = 0;
    image.palette[3] = image.palette[4] = image.palette[5] = 255;
    const std::vector<uint8_t> pixels(image.pixels, image.pixels + image.image_bytes);
    const std::vector<uint8_t> bottom_row(image.row_table[86], image.row_table[86] + 12);
    const std::string path = dir.file("out.bmp");

    ASSERT_EQ(write_bmp_image(path.c_str(), &image), 1);
    const std::vector<uint8_t> file = read_file(path);
    ASSERT_EQ(file.size(), 1106u);
    const std::vector<uint8_t> headers = {
        'B', 'M', 0x52, 0x04, 0, 0,  // 0 signature, 2 file size 1106
        0, 0, 0, 0, 62, 0, 0, 0,     // 6 reserved, 10 data offset 62
        40, 0, 0, 0, 87, 0, 0, 0,    // 14 info header size, 18 width
        87, 0, 0, 0, 1, 0, 1, 0,     // 22 height (positive: bottom-up), 26 planes, 28 bits
        0, 0, 0, 0, 0x14, 4, 0, 0,   // 30 no compression, 34 image size 1044
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // 38 .. 53
        0, 0, 0, 0, 255, 255, 255, 0};                   // 54 palette: black, white
    EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + 62), headers);
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 62, file.end()), pixels);
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 62, file.begin() + 74), bottom_row);
    EXPECT_EQ(output(), "\rWriting out.bmp        \rOK      out.bmp        \n");
    std::vector<uint8_t> field(5, 0xEE);  // sizes of 16 MiB and more need the high byte
    put_u32_le(field.data(), 0x12345678);
    EXPECT_EQ(field, (std::vector<uint8_t>{0x78, 0x56, 0x34, 0x12, 0xEE}));
}

TEST_F(BmpWriter, PaletteAndPixelDataPastOnePieceAreWrittenWhole)
{
    ConvImage image = filled_record(4096, 4097, 8);  // 16 MiB + one row
    ASSERT_GT(static_cast<uint32_t>(image.image_bytes), bmp_write_piece);
    const std::vector<uint8_t> pixels(image.pixels, image.pixels + image.image_bytes);
    const std::string path = dir.file("large.bmp");
    ASSERT_EQ(write_bmp_image(path.c_str(), &image), 1);
    const std::vector<uint8_t> file = read_file(path);
    ASSERT_EQ(file.size(), 1078 + pixels.size());
    for (int i = 0; i < 256; ++i) {  // blue, green, red, 0
        const std::vector<uint8_t> entry = {uint8_t(3 * i), uint8_t(2 * i), uint8_t(i), 0};
        ASSERT_EQ(std::vector<uint8_t>(file.begin() + 54 + 4 * i, file.begin() + 58 + 4 * i), entry) << i;
    }
    EXPECT_TRUE(std::equal(pixels.begin(), pixels.end(), file.begin() + 1078));
}

TEST_F(BmpWriter, FailuresPrintOneLineOnABlankedLine)
{
    const std::string nowhere = dir.file("no-such-folder/out.bmp");
    ConvImage image = filled_record(8, 8, 1);
    EXPECT_EQ(write_bmp_image(nowhere.c_str(), &image), 0);
    EXPECT_EQ(output(), blanked + "SKIPPED: Cannot create - " + nowhere + "\n");
    EXPECT_FALSE(std::filesystem::exists(nowhere));

    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full here";
    }
    // A small file fails only when its buffer is flushed; a large one on the
    // first piece of pixel data.
    for (const int32_t height : {8, 20000}) {
        SCOPED_TRACE("height " + std::to_string(height));
        image = filled_record(height == 8 ? 8 : 800, height, 8);
        const std::size_t start = output().size();
        EXPECT_EQ(write_bmp_image("/dev/full", &image), 0);
        const std::string shown = output().substr(start);
        EXPECT_EQ(shown, "\rWriting full           " + blanked +
                             "SKIPPED: Write operation failed - /dev/full\n");
    }
}

}  // namespace
