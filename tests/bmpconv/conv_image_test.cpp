// The ConvImage buffers: bottom-up row table, zeroed row ends, and the
// refusal of sizes that do not fit the record or the address space.
#include "bmpconv/conv_image.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

ConvImage header(uint32_t width, int32_t height, uint32_t bit_count)
{
    ConvImage image{};
    image.img_width = width;
    image.img_height = height;
    image.bit_count = bit_count;
    image.palette_count = bit_count <= 8 ? 1 << bit_count : 0;
    return image;
}

TEST(ConvImageAlloc, RowsRunBottomUpWithZeroedRowEnds)
{
    ConvImage image = header(87, 5, 1);
    ASSERT_EQ(conv_image_alloc(&image), 1);
    EXPECT_EQ(image.stride, 12);
    EXPECT_EQ(image.image_bytes, 60);
    EXPECT_NE(image.palette, nullptr);
    for (int32_t i = 0; i < 5; ++i) {
        uint8_t* row = image.row_table[i];
        EXPECT_EQ(row, image.pixels + (4 - i) * 12) << "row " << i;
        for (int b = 8; b < 12; ++b) {
            EXPECT_EQ(row[b], 0) << "row " << i << " byte " << b;
        }
    }
    conv_image_free(&image);

    ConvImage rgb = header(1, 1, 24);
    ASSERT_EQ(conv_image_alloc(&rgb), 1);
    EXPECT_EQ(rgb.stride, 4);
    EXPECT_EQ(rgb.palette, nullptr);
    conv_image_free(&rgb);
}

TEST(ConvImageAlloc, RefusesSizesThatDoNotFitAndHoldsNothing)
{
    const ConvImage refused[] = {
        header(1000000, 1000, 24),  // 3,000,000 x 1000 bytes: past INT32_MAX
        header(65536, 32768, 8),    // exactly 2^31 bytes
        header(UINT32_MAX, 1, 24),  // in 32-bit arithmetic the stride would wrap to 0
        header(10, 0, 8),
        header(10, -1, 8),
        header(0, 10, 8),
        header(10, 10, 2),  // no BMP form
    };
    for (ConvImage image : refused) {
        SCOPED_TRACE(std::to_string(image.img_width) + " x " + std::to_string(image.img_height) +
                     " x " + std::to_string(image.bit_count));
        image.palette = reinterpret_cast<uint8_t*>(&image);  // must be cleared, not freed
        EXPECT_EQ(conv_image_alloc(&image), 0);
        EXPECT_EQ(image.palette, nullptr);
        EXPECT_EQ(image.row_table, nullptr);
        EXPECT_EQ(image.pixels, nullptr);
    }
    ConvImage big_palette = header(4, 4, 8);
    big_palette.palette_count = 300;
    EXPECT_EQ(conv_image_alloc(&big_palette), 0);
    // Rows of whole 32-bit words need no padding: 4 of them reach 2^31 - 16 bytes.
    EXPECT_TRUE(conv_image_fits(UINT32_MAX - 31, 4, 1));
}

}  // namespace
