#include "pngwriter/png_symbol_writer.h"

#include "pngwriter/cross_rows.h"
#include "runlog/log_message.h"
#include "runlog/run_log.h"
#include "settings/exit_codes.h"
#include "settings/print_size.h"
#include "settings/run_settings.h"
#include "util/byte_sink.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <png.h>

bool compute_geometry(int width, int dot_size, int margin, symbol_geometry* out)
{
    if (width < 1 || dot_size < 1 || margin < 0)
        return false;
    const int64_t modules = int64_t{width} + 2 * int64_t{margin};
    if (modules > INT32_MAX / dot_size)
        return false;
    const int64_t side = modules * dot_size;
    out->side = static_cast<int32_t>(side);
    out->row_bytes = static_cast<int32_t>((side + 7) / 8);
    // margin * dot_size <= side, so it fits as well.
    out->band = static_cast<int32_t>(int64_t{margin} * dot_size);
    return true;
}

void log_image_too_large(int dot_size, int margin)
{
    log_message("Imagen demasiado grande: tama\xF1o %d y margen %d exceden el l\xEDmite", dot_size,
                margin);
}

namespace {

// Clears count bits (pixels turn black) starting at pixel x of row.
void blacken(uint8_t* row, int64_t x, int64_t count)
{
    while (count > 0 && (x & 7) != 0) {
        row[x >> 3] &= static_cast<uint8_t>(~(0x80u >> (x & 7)));
        ++x;
        --count;
    }
    if (count >= 8) {
        std::memset(row + (x >> 3), 0x00, static_cast<std::size_t>(count >> 3));
        x += count & ~int64_t{7};
        count &= 7;
    }
    while (count > 0) {
        row[x >> 3] &= static_cast<uint8_t>(~(0x80u >> (x & 7)));
        ++x;
        --count;
    }
}

}  // namespace

void draw_module_row(const QRcode* symbol, int j, int dot_size, const symbol_geometry& geometry,
                     uint8_t* row)
{
    std::memset(row, 0xFF, static_cast<std::size_t>(geometry.row_bytes));
    const int width = symbol->width;
    const unsigned char* modules = symbol->data + static_cast<std::size_t>(j) * width;
    int64_t x = geometry.band;
    int k = 0;
    while (k < width) {
        // A run of dark modules is blackened in one go.
        int run = 0;
        while (k + run < width && (modules[k + run] & 1) != 0)
            ++run;
        if (run > 0) {
            blacken(row, x, int64_t{run} * dot_size);
            x += int64_t{run} * dot_size;
            k += run;
        } else {
            x += dot_size;
            ++k;
        }
    }
}

namespace {

enum class png_outcome { written, no_write_struct, no_info_struct, library_error };

// libpng's output callbacks. A sink that fails ends the image as a failed
// fwrite does in libpng's own file output: png_error, back to the setjmp.
void write_to_sink(png_structp png, png_bytep bytes, png_size_t size)
{
    if (!sink_write(static_cast<byte_sink*>(png_get_io_ptr(png)), bytes, size))
        png_error(png, "Write Error");
}

// The file is flushed once, after the image, where its result is checked.
void flush_nothing(png_structp /*png*/) {}

// The image header, with the palette the colours need: index 0, a bit of 0,
// is the dark colour, so the rows are drawn the same either way.
void set_png_header(png_structp png, png_infop info, png_uint_32 side, const symbol_colours& colours)
{
    if (is_black_on_white(colours)) {
        png_set_IHDR(png, info, side, side, 1, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        return;
    }
    png_set_IHDR(png, info, side, side, 1, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color palette[2];
    png_byte alpha[2];
    const uint32_t entries[2] = {colours.dark, colours.light};
    for (int i = 0; i < 2; ++i) {
        palette[i].red = colour_red(entries[i]);
        palette[i].green = colour_green(entries[i]);
        palette[i].blue = colour_blue(entries[i]);
        alpha[i] = colour_alpha(entries[i]);
    }
    // libpng copies both tables into the info structure.
    png_set_PLTE(png, info, palette, 2);
    if (alpha[1] != 0xFF)
        png_set_tRNS(png, info, alpha, 2, nullptr);
}

// The only function that calls libpng. Nothing with a destructor lives here:
// libpng reports errors with longjmp back to the setjmp below.
png_outcome write_png_rows(byte_sink* sink, const QRcode* symbol, const raster_scale* scale,
                           const symbol_geometry* geometry, const raster_cross* cross, uint8_t* row,
                           uint8_t* cross_row)
{
    const int dot_size = scale->dot_size;
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr)
        return png_outcome::no_write_struct;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return png_outcome::no_info_struct;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return png_outcome::library_error;
    }
    const auto side = static_cast<png_uint_32>(geometry->side);
    png_set_write_fn(png, sink, write_to_sink, flush_nothing);
    set_png_header(png, info, side, scale->colours);
    if (scale->dpi > 0) {
        const auto ppm = static_cast<png_uint_32>(pixels_per_metre(scale->dpi));
        png_set_pHYs(png, info, ppm, ppm, PNG_RESOLUTION_METER);
    }
    png_write_info(png, info);

    std::memset(row, 0xFF, static_cast<std::size_t>(geometry->row_bytes));
    for (int32_t i = 0; i < geometry->band; ++i)
        png_write_row(png, row);
    for (int j = 0; j < symbol->width; ++j) {
        draw_module_row(symbol, j, dot_size, *geometry, row);
        const int64_t top = geometry->band + static_cast<int64_t>(j) * dot_size;
        for (int d = 0; d < dot_size; ++d)
            png_write_row(png, cross_over_row(*cross, top + d, row, cross_row, static_cast<std::size_t>(geometry->row_bytes)));
    }
    std::memset(row, 0xFF, static_cast<std::size_t>(geometry->row_bytes));
    for (int32_t i = 0; i < geometry->band; ++i)
        png_write_row(png, row);

    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return png_outcome::written;
}

// Draws symbol at scale into out (memory) or, when file_name is given, into
// that file, created once the geometry and the row buffer are known to be good.
int write_symbol(const QRcode* symbol, const raster_scale& scale, const char* file_name,
                 std::vector<unsigned char>* out)
{
    const int dot_size = scale.dot_size;
    const int margin = scale.margin;
    symbol_geometry geometry{};
    if (!compute_geometry(symbol->width, dot_size, margin, &geometry)) {
        log_image_too_large(dot_size, margin);
        return result_png_failed;
    }
    const raster_cross cross =
        place_raster_cross(scale.swiss_cross, geometry.band, int64_t{symbol->width} * dot_size);
    // A row with the cross drawn over it goes into a second buffer after the first.
    const auto row_bytes = static_cast<std::size_t>(geometry.row_bytes);
    auto* row = static_cast<uint8_t*>(std::malloc(row_bytes * (cross.drawn ? 2 : 1)));
    if (row == nullptr) {
        log_line(run_log, "Error al reservar memoria para grabar imagen");
        return result_no_memory;
    }
    std::FILE* file = nullptr;
    if (file_name != nullptr) {
        file = std::fopen(file_name, "wb");
        if (file == nullptr) {
            std::free(row);
            log_message("Error al crear archivo [%s]", file_name);
            log_system_error(run_log);
            return result_cannot_create;
        }
    }
    byte_sink sink = file != nullptr ? file_sink(file) : memory_sink(out);
    const png_outcome outcome =
        write_png_rows(&sink, symbol, &scale, &geometry, &cross, row, row + row_bytes);
    std::free(row);
    // The last bytes are still in the stream's buffer: only a clean flush and
    // close mean the file is whole (a full disk shows here).
    bool flushed = true;
    bool closed = true;
    if (file != nullptr) {
        flushed = std::fflush(file) == 0;
        closed = std::fclose(file) == 0;
    }
    switch (outcome) {
    case png_outcome::no_write_struct:
        log_line(run_log, "Error al inicializar PNG writer.");
        return result_png_failed;
    case png_outcome::no_info_struct:
        log_line(run_log, "Error al crear PNG info.");
        return result_png_failed;
    case png_outcome::library_error:
        if (sink.out_of_memory) {
            log_line(run_log, "Error al reservar memoria para grabar imagen");
            return result_no_memory;
        }
        log_line(run_log, "Error al escribir imagen PNG.\n");
        return result_png_failed;
    case png_outcome::written:
        break;
    }
    if (!flushed || !closed) {
        log_line(run_log, "Error al escribir imagen PNG.\n");
        return result_png_failed;
    }
    return result_ok;
}

}  // namespace

int write_symbol_png(const QRcode* symbol, const char* file_name, const raster_scale& scale)
{
    return write_symbol(symbol, scale, file_name, nullptr);
}

int write_symbol_png(const QRcode* symbol, const char* file_name)
{
    const run_settings_t& s = run_settings;
    return write_symbol_png(symbol, file_name,
                            raster_scale{s.dot_size, s.margin, s.dpi, s.colours, s.swiss_cross != 0});
}

int make_symbol_png(const QRcode* symbol, const raster_scale& scale, std::vector<unsigned char>* out)
{
    out->clear();
    return write_symbol(symbol, scale, nullptr, out);
}
