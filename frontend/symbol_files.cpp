#include "frontend/symbol_files.h"

#include "frontend/bmp_output.h"
#include "pngwriter/png_symbol_writer.h"
#include "runlog/log_message.h"
#include "runlog/run_log.h"
#include "settings/exit_codes.h"
#include "settings/print_size.h"
#include "settings/run_settings.h"
#include "util/byte_sink.h"
#include "vectorwriter/emf_writer.h"
#include "vectorwriter/svg_writer.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <vector>

const char* image_suffix()
{
    switch (run_settings.image_type) {
    case image_bmp: return ".bmp";
    case image_svg: return ".svg";
    case image_emf: return ".emf";
    default: return ".png";
    }
}

namespace {

// Programs that find no stated size place a picture at this resolution.
constexpr int screen_dpi = 96;

// The printed side of the whole image, quiet zone included, in nanometres:
// the -w size with the quiet zone added in proportion, else the side in
// pixels at -d. 0 when neither is given. side_pixels is the raster's side at
// the run's dot size.
int64_t printed_side_nm(int width, int64_t side_pixels)
{
    const run_settings_t& s = run_settings;
    // At most 1e9 nm times 2^32 + 177 modules: within 64 bits.
    const int64_t modules = width + 2 * int64_t{s.margin};
    if (s.print_size_nm != 0)
        return (s.print_size_nm * modules + width / 2) / width;
    if (s.dpi != 0)
        return (side_pixels * nm_per_inch + s.dpi / 2) / s.dpi;
    return 0;
}

// Where a symbol's image goes: the file file_name (a BMP drawn into the
// temporary PNG file temp_name first), or memory when memory is given.
struct image_target {
    const char* file_name;
    const char* temp_name;
    std::vector<unsigned char>* memory;
};

int put_vector_image(const QRcode* symbol, const image_target& target)
{
    const run_settings_t& s = run_settings;
    // The raster's side, which the file states when the run gives no printed
    // size; a -w size needs none.
    symbol_geometry geometry{0, 0, 0};
    if (s.print_size_nm == 0 && !compute_geometry(symbol->width, s.dot_size, s.margin, &geometry)) {
        log_image_too_large(s.dot_size, s.margin);
        return result_png_failed;
    }
    const int64_t side_nm = printed_side_nm(symbol->width, geometry.side);
    std::vector<unsigned char> bytes;
    if (s.image_type == image_svg) {
        const int64_t micrometres = (side_nm + 500) / 1000;
        const svg_side side = side_nm != 0 ? svg_side{micrometres > 0 ? micrometres : 1, true}
                                           : svg_side{geometry.side, false};
        if (!make_symbol_svg(symbol, s.margin, side, &bytes, s.colours, s.swiss_cross != 0)) {
            log_line(run_log, "Error al reservar memoria para grabar imagen");
            return result_no_memory;
        }
    } else {
        const int64_t emf_nm =
            side_nm != 0 ? side_nm : (int64_t{geometry.side} * nm_per_inch) / screen_dpi;
        if (!make_symbol_emf(symbol, s.margin, static_cast<double>(emf_nm) / nm_per_mm, &bytes, s.colours,
                             s.swiss_cross != 0)) {
            log_line(run_log, "Error al generar imagen EMF");
            return result_png_failed;
        }
    }
    if (target.memory != nullptr) {
        target.memory->swap(bytes);
        return result_ok;
    }
    return write_image_file(target.file_name, bytes);
}

// A BMP the converter cannot hold is refused before minutes of drawing and
// compressing its PNG. A side past 32 bits is the PNG writer's to refuse.
int refuse_oversized_bmp(const QRcode* symbol, const raster_scale& scale)
{
    symbol_geometry geometry{0, 0, 0};
    if (!compute_geometry(symbol->width, scale.dot_size, scale.margin, &geometry))
        return result_ok;
    return refuse_bmp_past_converter(geometry.side);
}

int put_symbol_image(const QRcode* symbol, const image_target& target)
{
    const run_settings_t& s = run_settings;
    if (s.image_type == image_svg || s.image_type == image_emf)
        return put_vector_image(symbol, target);
    raster_scale scale{s.dot_size, s.margin, s.dpi, s.colours, s.swiss_cross != 0};
    // The switch pass let -w through for a raster only with -d.
    if (s.print_size_nm != 0) {
        scale.dot_size = dot_size_for(s.print_size_nm, s.dpi, symbol->width);
        if (scale.dot_size == 0) {
            std::array<char, 32> size{};
            format_decimal(size.data(), size.size(), s.print_size_nm, 6);
            log_message("El s\xEDmbolo de %d m\xF3" "dulos no cabe en %s mm a %d ppp: aumente -w o -d",
                        symbol->width, size.data(), s.dpi);
            return result_bad_command;
        }
    }
    if (s.image_type == image_bmp) {
        const int refused = refuse_oversized_bmp(symbol, scale);
        if (refused != result_ok)
            return refused;
    }
    if (target.memory != nullptr && s.image_type != image_bmp)
        return make_symbol_png(symbol, scale, target.memory);
    if (target.memory != nullptr) {
        std::vector<unsigned char> png;
        const int result = make_symbol_png(symbol, scale, &png);
        return result != result_ok ? result : convert_png_bytes_to_bmp(png, target.memory);
    }
    if (s.image_type != image_bmp)
        return write_symbol_png(symbol, target.file_name, scale);
    const int result = write_symbol_png(symbol, target.temp_name, scale);
    // The temporary file holds the PNG; file_name is the BMP's.
    // NOLINTNEXTLINE(readability-suspicious-call-argument)
    return result != result_ok ? result : convert_png_to_bmp(target.temp_name, target.file_name);
}

}  // namespace

int write_image_file(const char* file_name, const std::vector<unsigned char>& bytes)
{
    std::FILE* file = std::fopen(file_name, "wb");
    if (file == nullptr) {
        log_message("Error al crear archivo [%s]", file_name);
        log_system_error(run_log);
        return result_cannot_create;
    }
    byte_sink sink = file_sink(file);
    bool written = sink_write(&sink, bytes.data(), bytes.size());
    // Most of a small file is still in the stream's buffer: only the flush and
    // the close tell whether it reached the disk.
    written = std::fflush(file) == 0 && written;
    written = std::fclose(file) == 0 && written;
    if (!written) {
        log_message("Error al escribir archivo [%s]", file_name);
        return result_png_failed;
    }
    return result_ok;
}

int write_symbol_file(const QRcode* symbol, const char* file_name, const char* temp_name)
{
    return put_symbol_image(symbol, image_target{file_name, temp_name, nullptr});
}

int make_symbol_image(const QRcode* symbol, std::vector<unsigned char>* out)
{
    out->clear();
    return put_symbol_image(symbol, image_target{nullptr, nullptr, out});
}
