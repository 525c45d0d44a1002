// The PNG reader: decodes a PNG file of any colour type, depth and interlace
// with libpng straight into the bottom-up, 4-byte aligned rows of a
// ConvImage, as 1, 4, 8 or 24 bits per pixel with a palette up to 8 bits.
#include "bmpconv/png_reader.h"

#include "bmpconv/conv_image.h"
#include "bmpconv/diagnostics.h"

#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

enum class decode_result { ok, out_of_memory, reported };

// Where the row callback finds the destination of a decoded row.
struct row_target {
    ConvImage* image;
    int last_pass;  // the pass whose rows are full rows: 0, or 6 when interlaced
};

// A nibble holding two 2-bit pixels becomes a byte holding them one per nibble.
png_byte widen(unsigned nibble)
{
    return static_cast<png_byte>(((nibble >> 2) << 4) | (nibble & 3u));
}

bool is_bmp_depth(uint32_t bit_count)
{
    return bit_count == 1 || bit_count == 4 || bit_count == 8 || bit_count == 24;
}

// Copies at most palette_count entries of the file's palette; the rest stay
// as they are (zeroed by the caller). n is clamped: a hostile count must not
// read past the file's palette nor write past the record's.
void copy_palette(ConvImage* image, png_const_colorp plte, int n)
{
    if (plte == nullptr || n < 0) {
        n = 0;
    }
    if (n > image->palette_count) {
        n = image->palette_count;
    }
    for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i) {
        image->palette[3 * i] = plte[i].red;
        image->palette[3 * i + 1] = plte[i].green;
        image->palette[3 * i + 2] = plte[i].blue;
    }
}

// The pHYs resolution in pixels per metre, or 0 (no chunk, an aspect ratio
// only, or a value the BMP's signed 32-bit fields cannot hold).
void read_resolution(png_structp png, png_infop info, ConvImage* image)
{
    png_uint_32 x = 0;
    png_uint_32 y = 0;
    int unit = PNG_RESOLUTION_UNKNOWN;
    if (png_get_pHYs(png, info, &x, &y, &unit) == 0 || unit != PNG_RESOLUTION_METER ||
        x > INT32_MAX || y > INT32_MAX) {
        x = 0;
        y = 0;
    }
    image->x_pixels_per_metre = static_cast<int32_t>(x);
    image->y_pixels_per_metre = static_cast<int32_t>(y);
}

// libpng user read transform of images below 8 bits per pixel: widens 2-bit
// rows, then, for a full row (a plain image's, or one of the last interlace
// pass) that ends inside a byte, copies the decoded last byte into the
// destination row. libpng 1.2 copied such rows whole, so the bits after the
// last pixel were the decoded ones; 1.6 keeps the destination's bits there,
// and with the decoded byte put there first they come out as 1.2 made them.
void finish_decoded_row(png_structp png, png_row_infop row_info, png_bytep row)
{
    expand_2bit_row(png, row_info, row);
    const auto* target = static_cast<const row_target*>(png_get_user_transform_ptr(png));
    if (target == nullptr || row_info == nullptr || row == nullptr || row_info->pixel_depth >= 8) {
        return;
    }
    const ConvImage* image = target->image;
    const std::uint64_t bits = std::uint64_t{row_info->width} * row_info->pixel_depth;
    if (bits % 8 == 0 || row_info->width != image->img_width ||
        png_get_current_pass_number(png) != target->last_pass) {
        return;
    }
    // With libpng's interlace handling on, the row number counts the rows of
    // the whole image in every pass, not those of the pass.
    const png_uint_32 y = png_get_current_row_number(png);
    if (y >= static_cast<png_uint_32>(image->img_height)) {
        return;
    }
    // The reader has checked that a decoded row fits the record's stride.
    const std::size_t last = static_cast<std::size_t>(bits / 8);
    image->row_table[y][last] = row[last];
}

// PNG bytes in memory, read from the front.
struct memory_source {
    const unsigned char* bytes;
    std::size_t size;
    std::size_t next;
};

// libpng's input callback for memory: the end of the bytes is what the end
// of a file is to libpng's own input.
void read_from_memory(png_structp png, png_bytep out, png_size_t size)
{
    auto* source = static_cast<memory_source*>(png_get_io_ptr(png));
    if (size > source->size - source->next) {
        png_error(png, "Read Error");
    }
    std::memcpy(out, source->bytes + source->next, size);
    source->next += size;
}

// The only function that lets libpng decode: file, or memory when file is
// null. libpng reports errors by a longjmp back to the setjmp here, skipping
// any destructor, so nothing in it has one, `result` (changed after setjmp,
// read after the jump) is volatile, and every path leaves through the one
// png_destroy_read_struct at the end.
// The record's buffers are the caller's to release on failure.
// NOLINTNEXTLINE(readability-function-cognitive-complexity): one setjmp frame for all of libpng
decode_result decode_png(std::FILE* file, memory_source* memory, const char* path, ConvImage* image)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, const_cast<char*>(path),
                                             on_png_error, on_png_warning);
    if (png == nullptr) {
        return decode_result::out_of_memory;
    }
    png_infop info = png_create_info_struct(png);
    png_infop end_info = png_create_info_struct(png);
    volatile decode_result result = decode_result::reported;
    row_target target{image, 0};

    if (info == nullptr || end_info == nullptr) {
        result = decode_result::out_of_memory;
    } else if (setjmp(png_jmpbuf(png)) == 0) {
        if (file != nullptr) {
            png_init_io(png, file);
        } else {
            png_set_read_fn(png, memory, read_from_memory);
        }
        png_set_sig_bytes(png, 0);
        // Only IHDR, PLTE and the image data matter for a BMP; every other
        // chunk is skipped unread. libpng would otherwise take and zero a
        // buffer of whatever length a text or profile chunk claims (its
        // length limit is only a warning on read): 2 GiB for a 100-byte file.
        png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
        // pHYs has a fixed length, and a stated resolution belongs in the BMP.
        static const png_byte phys_chunk[] = {'p', 'H', 'Y', 's', '\0'};
        png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_AS_DEFAULT, phys_chunk, 1);
        png_read_info(png, info);

        png_uint_32 width = 0;
        png_uint_32 height = 0;
        int file_depth = 0;
        int file_type = 0;
        png_get_IHDR(png, info, &width, &height, &file_depth, &file_type, nullptr, nullptr, nullptr);

        int working_type = file_type;
        if ((working_type & PNG_COLOR_MASK_ALPHA) != 0) {
            png_set_strip_alpha(png);
            working_type &= ~PNG_COLOR_MASK_ALPHA;
        }
        if (working_type == PNG_COLOR_TYPE_RGB) {
            png_set_bgr(png);
        }
        if (file_depth < 8) {
            // 2-bit rows are widened to 4 bits, one channel.
            const int user_depth = file_depth == 2 ? 4 : 0;
            png_set_user_transform_info(png, &target, user_depth, user_depth != 0 ? 1 : 0);
            png_set_read_user_transform_fn(png, finish_decoded_row);
        }
        if (file_depth == 16) {
            png_set_strip_16(png);
        }
        // libpng 1.6 sizes its rows in png_read_update_info, so interlace
        // handling must be on before it, not only when the rows are read.
        target.last_pass = png_set_interlace_handling(png) - 1;
        png_read_update_info(png, info);

        int out_depth = 0;
        int out_type = 0;
        png_get_IHDR(png, info, nullptr, nullptr, &out_depth, &out_type, nullptr, nullptr, nullptr);
        const png_byte channels = png_get_channels(png, info);

        image->img_width = width;
        image->img_height = static_cast<int32_t>(height);
        image->bit_count = static_cast<uint32_t>(out_depth) * channels;
        image->palette_count = image->bit_count <= 8 ? 1 << image->bit_count : 0;
        image->top_down = 0;
        image->has_alpha = (out_type & PNG_COLOR_MASK_ALPHA) != 0 ? 1 : 0;
        read_resolution(png, info, image);
        if (!is_bmp_depth(image->bit_count)) {
            png_error(png, "pixel format has no BMP form");
        }

        if (conv_image_alloc(image) == 0) {
            result = decode_result::out_of_memory;
        } else {
            // Guards the row table: libpng writes rowbytes into every row.
            if (png_get_rowbytes(png, info) > static_cast<png_size_t>(image->stride)) {
                png_error(png, "decoded row longer than the image row");
            }
            if (image->palette_count > 0) {
                std::memset(image->palette, 0, static_cast<std::size_t>(image->palette_count) * 3);
                if (out_type == PNG_COLOR_TYPE_PALETTE) {
                    png_colorp plte = nullptr;
                    int entries = 0;
                    if (png_get_PLTE(png, info, &plte, &entries) == 0) {
                        entries = 0;
                    }
                    copy_palette(image, plte, entries);
                } else {
                    const int grey_depth = file_depth == 16 ? 8 : file_depth;
                    if ((1 << grey_depth) > image->palette_count) {
                        png_error(png, "grey levels do not fit the palette");
                    }
                    static_assert(sizeof(png_color) == 3, "palette entries are RGB triples");
                    png_build_grayscale_palette(grey_depth, reinterpret_cast<png_colorp>(image->palette));
                }
            }
            png_set_read_status_fn(png, on_row_read);
            progress_start(png, width, height);
            png_read_image(png, image->row_table);
            png_read_end(png, end_info);
            result = decode_result::ok;
        }
    }
    png_destroy_read_struct(&png, &info, &end_info);
    return result;
}

}  // namespace

void expand_2bit_row(png_structp /*png*/, png_row_infop row_info, png_bytep row)
{
    if (row_info == nullptr || row == nullptr || row_info->bit_depth != 2 || row_info->channels != 1) {
        return;
    }
    // Work from the end backwards: each source byte yields two bytes at or
    // after its own position, so no source byte is overwritten before it is read.
    const png_size_t out_len = (png_size_t{row_info->width} + 1) / 2;
    png_size_t s = out_len / 2;
    png_size_t d = out_len;
    if (out_len % 2 != 0) {
        d -= 1;
        row[d] = widen(row[s] >> 4);
    }
    while (s > 0) {
        s -= 1;
        const png_byte b = row[s];
        row[d - 1] = widen(b & 0x0Fu);
        row[d - 2] = widen(b >> 4);
        d -= 2;
    }
    row_info->bit_depth = 4;
    row_info->pixel_depth = 4;
    row_info->rowbytes = out_len;
}

int read_png_image(const char* path, ConvImage* image)
{
    conv_image_clear(image);
    image->x_pixels_per_metre = 0;
    image->y_pixels_per_metre = 0;
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        conv_failure(path, "SKIPPED: No such file or directory");
        return 0;
    }
    set_status("Reading %.80s", base_name(path));

    const decode_result result = decode_png(file, nullptr, path, image);
    if (result == decode_result::ok) {
        set_status("Read OK %.80s", base_name(path));
    } else if (result == decode_result::out_of_memory) {
        conv_failure(path, "SKIPPED: Out of memory");
    }
    std::fclose(file);
    if (result != decode_result::ok) {
        conv_image_free(image);
        return 0;
    }
    return 1;
}

int read_png_bytes(const unsigned char* bytes, std::size_t size, const char* label, ConvImage* image)
{
    conv_image_clear(image);
    image->x_pixels_per_metre = 0;
    image->y_pixels_per_metre = 0;
    memory_source source{bytes, size, 0};
    set_status("Reading %.80s", label);
    const decode_result result = decode_png(nullptr, &source, label, image);
    if (result == decode_result::ok) {
        set_status("Read OK %.80s", label);
        return 1;
    }
    if (result == decode_result::out_of_memory) {
        conv_failure(label, "SKIPPED: Out of memory");
    }
    conv_image_free(image);
    return 0;
}
