#include "frontend/bmp_output.h"

#include "bmpconv/bmp_writer.h"
#include "bmpconv/conv_image.h"
#include "bmpconv/diagnostics.h"
#include "platform/platform.h"
#include "runlog/log_message.h"
#include "runlog/run_log.h"
#include "settings/exit_codes.h"

#include <array>
#include <cstdio>

void make_temp_name(char* buffer, std::size_t size)
{
    if (create_temp_file(buffer, size, "tessl-"))
        return;
    std::array<char, 32> unique{};
    make_unique_name(unique.data());
    std::snprintf(buffer, size, "%s.tmp", unique.data());
}

int refuse_bmp_past_converter(int side)
{
    if (conv_image_fits(static_cast<uint32_t>(side), side, 1))
        return result_ok;
    log_message("Imagen demasiado grande para BMP: %d p\xEDxeles de lado, m\xE1ximo %u (el conversor "
                "la tiene entera en memoria)",
                side, max_1bit_square_side);
    return result_bmp_failed;
}

namespace {

// The converter's own reason, which a program without standard error would
// otherwise never see, under the run log's line. Every failure of the
// reader and the writer has printed its line, so there is one.
void log_converter_reason()
{
    log_continuation(run_log, conv_diag.failure);
}

}  // namespace

int convert_png_to_bmp(const char* png_name, const char* bmp_name)
{
    ConvImage image;
    conv_image_clear(&image);
    if (read_png_image(png_name, &image) == 0) {
        log_line(run_log, "No se pudo leer PNG temporal");
        log_converter_reason();
        return result_bmp_failed;
    }
    // The writer releases the image's buffers whatever happens.
    if (write_bmp_image(bmp_name, &image) == 0) {
        log_line(run_log, "No se pudo grabar BMP definitivo");
        // A file that could not be created has the system's reason; a write
        // that failed (a full disk) has only the converter's.
        if (last_system_error() != 0)
            log_system_error(run_log);
        else
            log_converter_reason();
        return result_bmp_failed;
    }
    return result_ok;
}

int convert_png_bytes_to_bmp(const std::vector<unsigned char>& png, std::vector<unsigned char>* bmp)
{
    // The caller has no file to name and may have no use for standard error.
    std::FILE* const status_stream = conv_diag.stream;
    conv_diag.stream = nullptr;
    ConvImage image;
    int result = result_ok;
    if (read_png_bytes(png.data(), png.size(), "", &image) == 0) {
        log_line(run_log, "No se pudo leer PNG temporal");
        log_converter_reason();
        result = result_bmp_failed;
    } else if (make_bmp_bytes("", &image, bmp) == 0) {
        log_line(run_log, "No se pudo grabar BMP definitivo");
        log_converter_reason();
        result = result_bmp_failed;
    }
    conv_diag.stream = status_stream;
    return result;
}
