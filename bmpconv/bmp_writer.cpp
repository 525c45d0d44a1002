// The BMP writer: lays out the file and info headers and the palette of a
// ConvImage and copies its pixel buffer, already in BMP row order, to a file.
#include "bmpconv/bmp_writer.h"

#include "bmpconv/diagnostics.h"
#include "platform/platform.h"

#include <array>

void put_u16_le(uint8_t* at, uint16_t value)
{
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void put_u32_le(uint8_t* at, uint32_t value)
{
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
    at[2] = static_cast<uint8_t>(value >> 16);
    at[3] = static_cast<uint8_t>(value >> 24);
}

int write_pixel_data(const ConvImage* image, byte_sink* sink)
{
    const uint8_t* next = image->pixels;
    uint32_t left = image->image_bytes > 0 ? static_cast<uint32_t>(image->image_bytes) : 0;
    while (left > 0) {
        const uint32_t piece = left < bmp_write_piece ? left : bmp_write_piece;
        if (!sink_write(sink, next, piece)) {
            return 0;
        }
        next += piece;
        left -= piece;
    }
    return 1;
}

namespace {

// The 14-byte file header and the 40-byte BITMAPINFOHEADER. The fields not
// set here (reserved, compression, colour counts) stay 0.
std::array<uint8_t, bmp_headers_size> make_headers(const ConvImage& image)
{
    const uint32_t data_offset = bmp_headers_size + 4 * static_cast<uint32_t>(image.palette_count);
    const uint32_t image_bytes = static_cast<uint32_t>(image.image_bytes);

    std::array<uint8_t, bmp_headers_size> h{};
    uint8_t* p = h.data();
    put_u16_le(p + 0, 0x4D42);                       //  0 signature "BM"
    put_u32_le(p + 2, data_offset + image_bytes);    //  2 file size
    put_u32_le(p + 10, data_offset);                 // 10 offset of the pixel rows
    put_u32_le(p + 14, 40);                          // 14 info header size
    put_u32_le(p + 18, image.img_width);             // 18 width
    put_u32_le(p + 22, static_cast<uint32_t>(image.img_height));  // 22 height > 0: bottom-up
    put_u16_le(p + 26, 1);                           // 26 planes
    put_u16_le(p + 28, static_cast<uint16_t>(image.bit_count));   // 28 bits per pixel
    put_u32_le(p + 34, image_bytes);                 // 34 image size
    put_u32_le(p + 38, static_cast<uint32_t>(image.x_pixels_per_metre));  // 38 horizontal resolution
    put_u32_le(p + 42, static_cast<uint32_t>(image.y_pixels_per_metre));  // 42 vertical resolution
    return h;
}

// 1, or 0 at the first incomplete write.
int write_contents(const ConvImage& image, byte_sink* sink)
{
    const std::array<uint8_t, bmp_headers_size> headers = make_headers(image);
    if (!sink_write(sink, headers.data(), headers.size())) {
        return 0;
    }
    for (int32_t i = 0; i < image.palette_count; ++i) {
        const uint8_t* rgb = image.palette + 3 * static_cast<std::size_t>(i);
        const std::array<uint8_t, 4> entry = {rgb[2], rgb[1], rgb[0], 0};  // RGBQUAD: B, G, R, 0
        if (!sink_write(sink, entry.data(), entry.size())) {
            return 0;
        }
    }
    return write_pixel_data(&image, sink);
}

}  // namespace

int write_bmp_image(const char* path, ConvImage* image)
{
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        // The caller may log the system's reason after this message.
        const int reason = last_system_error();
        conv_failure(path, "SKIPPED: Cannot create");
        conv_image_free(image);
        restore_system_error(reason);
        return 0;
    }
    set_status("Writing %.80s", base_name(path));

    byte_sink sink = file_sink(file);
    int ok = write_contents(*image, &sink);
    // Most bytes of a small file are still in the stream's buffer here: only
    // the flush and the close tell whether they reached the disk.
    if (ok && std::fflush(file) != 0) {
        ok = 0;
    }
    if (std::fclose(file) != 0) {
        ok = 0;
    }
    conv_image_free(image);
    if (!ok) {
        conv_failure(path, "SKIPPED: Write operation failed");
        restore_system_error(0);
        return 0;
    }
    set_status("OK      %.80s", base_name(path));
    end_status_line();
    return 1;
}

int make_bmp_bytes(const char* label, ConvImage* image, std::vector<unsigned char>* out)
{
    out->clear();
    set_status("Writing %.80s", label);
    byte_sink sink = memory_sink(out);
    const int ok = write_contents(*image, &sink);
    conv_image_free(image);
    if (!ok) {
        conv_failure(label, "SKIPPED: Out of memory");
        return 0;
    }
    set_status("OK      %.80s", label);
    end_status_line();
    return 1;
}
