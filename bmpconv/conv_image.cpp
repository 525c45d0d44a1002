// The ConvImage record's buffers: sizing, obtaining and releasing them.
#include "bmpconv/conv_image.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

ConvImage* conv_image_clear(ConvImage* image)
{
    image->palette = nullptr;
    image->row_table = nullptr;
    image->pixels = nullptr;
    return image;
}

int conv_image_alloc(ConvImage* image)
{
    // Refuse before asking for memory: a damaged header could otherwise make
    // the 32-bit sizes wrap and the rows land past the end of the buffer.
    if (!conv_image_fits(image->img_width, image->img_height, image->bit_count) ||
        image->palette_count < 0 || image->palette_count > 256) {
        conv_image_clear(image);
        return 0;
    }
    const uint64_t height = static_cast<uint64_t>(image->img_height);
    const uint64_t stride = ((uint64_t{image->img_width} * image->bit_count + 31) >> 5) << 2;
    const uint64_t image_bytes = stride * height;  // fits 31 bits: checked above

    if (image->palette_count > 0) {
        image->palette = static_cast<uint8_t*>(std::malloc(std::size_t(image->palette_count) * 3));
        if (image->palette == nullptr) {
            conv_image_clear(image);
            return 0;
        }
    } else {
        image->palette = nullptr;
    }

    image->stride = static_cast<int32_t>(stride);
    image->image_bytes = static_cast<int32_t>(image_bytes);
    image->row_table = static_cast<uint8_t**>(std::malloc(std::size_t(height) * sizeof(uint8_t*)));
    image->pixels = static_cast<uint8_t*>(std::malloc(std::size_t(image_bytes)));
    if (image->row_table == nullptr || image->pixels == nullptr) {
        conv_image_free(image);
        conv_image_clear(image);
        return 0;
    }

    // Rows go bottom-up: image row 0 is the last row of the buffer. Zeroing
    // the last word of every row leaves the fill bytes of a BMP row at 0 once
    // libpng has written the pixel bytes in front of them (fill < 4 bytes).
    for (uint64_t i = 0; i < height; ++i) {
        uint8_t* row_end = image->pixels + (image_bytes - i * stride);
        std::memset(row_end - 4, 0, 4);
        image->row_table[i] = row_end - stride;
    }
    return 1;
}

void conv_image_free(ConvImage* image)
{
    std::free(image->palette);
    std::free(image->row_table);
    std::free(image->pixels);
}
