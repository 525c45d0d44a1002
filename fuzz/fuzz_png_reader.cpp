// The PNG-to-BMP converter on arbitrary file bytes: read_png_image into a
// ConvImage, then write_bmp_image. The input is written to a temporary file
// (the reader takes a path) and the BMP goes to another one; both are made
// once per process in the temporary folder and removed at exit.
#include "bmpconv/bmp_writer.h"
#include "bmpconv/conv_image.h"
#include "bmpconv/diagnostics.h"
#include "fuzz/fuzz_support.h"
#include "platform/platform.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>
#include <zlib.h>

namespace {

constexpr std::array<uint8_t, 8> png_signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// Images whose pixel buffer would be larger are not read: a 60-byte file can
// ask for 2 GiB, which would only measure the allocator. Sizes past what the
// record can hold are still read, since the reader must refuse them itself.
constexpr uint64_t largest_buffer = uint64_t{64} << 20;

std::array<char, 260> png_path{};
std::array<char, 260> bmp_path{};
std::FILE* sink = nullptr;

void remove_files()
{
    std::remove(png_path.data());
    std::remove(bmp_path.data());
}

void set_up_once()
{
    if (sink != nullptr)
        return;
    FUZZ_REQUIRE(create_temp_file(png_path.data(), png_path.size(), "fzp"));
    FUZZ_REQUIRE(create_temp_file(bmp_path.data(), bmp_path.size(), "fzb"));
    std::atexit(remove_files);
    // The converter's status line and messages would flood the fuzzer's
    // output; they go to a scratch file that is rewound for every input.
    sink = std::tmpfile();
    FUZZ_REQUIRE(sink != nullptr);
}

uint32_t read_u32_be(const uint8_t* p)
{
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

void write_u32_be(uint8_t* p, uint32_t value)
{
    p[0] = static_cast<uint8_t>(value >> 24);
    p[1] = static_cast<uint8_t>(value >> 16);
    p[2] = static_cast<uint8_t>(value >> 8);
    p[3] = static_cast<uint8_t>(value);
}

bool has_signature(const std::vector<uint8_t>& file)
{
    return file.size() >= png_signature.size() &&
           std::memcmp(file.data(), png_signature.data(), png_signature.size()) == 0;
}

// libpng is not instrumented, so the fuzzer cannot learn to match a chunk's
// CRC and almost every mutation would end at the CRC check. Each whole chunk
// gets its right CRC back; wrong CRCs are covered by the converter's tests of
// damaged files.
void repair_crcs(std::vector<uint8_t>& file)
{
    std::size_t pos = png_signature.size();
    while (file.size() - pos >= 12) {
        const uint32_t length = read_u32_be(&file[pos]);
        if (length > file.size() - pos - 12)
            break;
        const uLong crc = crc32(0L, &file[pos + 4], static_cast<uInt>(length) + 4);
        write_u32_be(&file[pos + 8 + length], static_cast<uint32_t>(crc));
        pos += 12 + std::size_t{length};
    }
}

// Bits per stored pixel that the reader makes of a colour type and depth;
// 24 (the most) for combinations that libpng refuses anyway.
uint64_t stored_bits(uint8_t depth, uint8_t colour_type)
{
    if (colour_type == 2 || colour_type == 6)
        return 24;
    if (colour_type == 4)
        return 8;
    if (colour_type == 0 || colour_type == 3) {
        if (depth == 1)
            return 1;
        if (depth == 2 || depth == 4)
            return 4;
        return 8;
    }
    return 24;
}

bool too_big_to_try(const std::vector<uint8_t>& file)
{
    // Signature, then the IHDR chunk: length, "IHDR", width, height, depth, type.
    if (file.size() < 8 + 8 + 10 || std::memcmp(&file[12], "IHDR", 4) != 0)
        return false;
    const uint64_t width = read_u32_be(&file[16]);
    const uint64_t height = read_u32_be(&file[20]);
    const uint64_t stride = ((width * stored_bits(file[24], file[25]) + 31) >> 5) << 2;
    const uint64_t bytes = stride * height;
    return bytes > largest_buffer && bytes <= INT32_MAX;
}

// What a record that the reader filled must look like.
void check_record(const ConvImage& image)
{
    const uint32_t bits = image.bit_count;
    FUZZ_REQUIRE(bits == 1 || bits == 4 || bits == 8 || bits == 24);
    FUZZ_REQUIRE(image.palette_count == (bits <= 8 ? 1 << bits : 0));
    FUZZ_REQUIRE((image.palette != nullptr) == (image.palette_count > 0));
    FUZZ_REQUIRE(image.top_down == 0 && image.has_alpha == 0);
    FUZZ_REQUIRE(image.img_width > 0 && image.img_height > 0);
    const uint64_t row_bits = uint64_t{image.img_width} * bits;
    FUZZ_REQUIRE(static_cast<uint64_t>(image.stride) == ((row_bits + 31) / 32) * 4);
    FUZZ_REQUIRE(int64_t{image.image_bytes} == int64_t{image.stride} * image.img_height);

    const std::size_t stride = static_cast<std::size_t>(image.stride);
    const std::size_t data_bytes = static_cast<std::size_t>((row_bits + 7) / 8);
    for (int32_t i = 0; i < image.img_height; ++i) {
        const uint8_t* row = image.row_table[i];
        FUZZ_REQUIRE(row == image.pixels + static_cast<std::size_t>(image.img_height - 1 - i) * stride);
        // A BMP row's fill bytes are 0, whatever libpng decoded in front of them.
        for (std::size_t k = data_bytes; k < stride; ++k)
            FUZZ_REQUIRE(row[k] == 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    set_up_once();
    std::vector<uint8_t> file(data, data + size);
    if (has_signature(file)) {
        repair_crcs(file);
        if (too_big_to_try(file))
            return 0;
    }

    std::FILE* out = std::fopen(png_path.data(), "wb");
    FUZZ_REQUIRE(out != nullptr);
    FUZZ_REQUIRE(file.empty() || std::fwrite(file.data(), file.size(), 1, out) == 1);
    FUZZ_REQUIRE(std::fclose(out) == 0);

    reset_conv_diagnostics();
    std::rewind(sink);
    conv_diag.stream = sink;

    ConvImage image;
    std::memset(&image, 0xA5, sizeof image);  // the reader must not trust what it is given
    if (read_png_image(png_path.data(), &image) == 0)
        return 0;  // the reader has released what it held
    check_record(image);

    const uint64_t expected_size = bmp_headers_size + 4 * uint64_t(image.palette_count) +
                                   static_cast<uint64_t>(image.image_bytes);
    FUZZ_REQUIRE(write_bmp_image(bmp_path.data(), &image) == 1);
    FUZZ_REQUIRE(std::filesystem::file_size(bmp_path.data()) == expected_size);
    return 0;
}
