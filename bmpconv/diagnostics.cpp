// The converter's status line, progress meter and libpng callbacks.
#include "bmpconv/diagnostics.h"

#include <cstdarg>

conv_diag_state conv_diag = {stderr, {}, -1, 0, 0, 0, 0, 0, {}};

void reset_conv_diagnostics()
{
    conv_diag = conv_diag_state{stderr, {}, -1, 0, 0, 0, 0, 0, {}};
}

void set_status(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vsnprintf(conv_diag.status_text, sizeof conv_diag.status_text, format, args);
    va_end(args);
    show_status();
}

void show_status()
{
    if (conv_diag.stream != nullptr) {
        std::fprintf(conv_diag.stream, "\r%-*.*s ", status_label_width, status_label_width,
                     conv_diag.status_text);
        std::fflush(conv_diag.stream);
    }
    conv_diag.meter_column = 0;
}

void clear_status_line()
{
    if (conv_diag.stream != nullptr) {
        std::fprintf(conv_diag.stream, "\r%*c\r", status_line_width, ' ');
    }
    conv_diag.meter_framed = 0;
    conv_diag.meter_column = -1;
}

void end_status_line()
{
    if (conv_diag.stream != nullptr) {
        std::fputc('\n', conv_diag.stream);
        std::fflush(conv_diag.stream);
    }
    conv_diag.meter_framed = 0;
    conv_diag.meter_column = -1;
}

void conv_error(const char* format, ...)
{
    clear_status_line();
    if (conv_diag.stream == nullptr) {
        return;
    }
    va_list args;
    va_start(args, format);
    std::vfprintf(conv_diag.stream, format, args);
    va_end(args);
    std::fflush(conv_diag.stream);
}

void conv_failure(const char* path, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vsnprintf(conv_diag.failure, sizeof conv_diag.failure, format, args);
    va_end(args);
    conv_error("%s - %s\n", conv_diag.failure, path);
}

void meter_fill(char ch, int32_t target)
{
    if (target > meter_max_width) {
        target = meter_max_width;
    }
    if (conv_diag.meter_column == -1) {
        show_status();
    }
    if (conv_diag.meter_column >= target) {
        return;
    }
    if (conv_diag.stream != nullptr) {
        for (int32_t column = conv_diag.meter_column; column < target; ++column) {
            std::fputc(ch, conv_diag.stream);
        }
        std::fflush(conv_diag.stream);
    }
    conv_diag.meter_column = target;
}

void meter_draw_frame()
{
    if (conv_diag.meter_column != 0) {
        show_status();
    }
    meter_fill('.', conv_diag.frame_length);
    show_status();
    conv_diag.meter_framed = 1;
}

void meter_open(int32_t length)
{
    conv_diag.frame_length = length;
    meter_draw_frame();
}

void meter_advance(int32_t column)
{
    if (!conv_diag.meter_framed) {
        meter_draw_frame();
    }
    meter_fill('o', column);
}

uint32_t meter_width_for(uint32_t width, uint32_t height)
{
    // 786432 = 1024 x 768: that area and more fills the whole meter.
    constexpr uint64_t full_area = 786432;
    if (width == 0 || height == 0) {
        return 0;
    }
    if (full_area / width < height) {
        return meter_max_width;
    }
    // Here width x height <= full_area, so the product cannot overflow.
    return static_cast<uint32_t>((uint64_t{width} * meter_max_width * height + full_area - 1) /
                                 full_area);
}

uint32_t interlace_units(uint32_t width, uint32_t height)
{
    // 64-bit so that no height libpng accepts can wrap the sums.
    const uint64_t h = height;
    uint64_t units = (h + 7) / 8;                 // pass 1: every 8th row, 1/8 of the row
    if (width > 4) units += (h + 7) / 8;          // pass 2: starts at column 4
    units += (h + 3) / 8 * 2;                     // pass 3
    if (width > 2) units += (h + 3) / 4 * 2;      // pass 4: starts at column 2
    units += (h + 1) / 4 * 4;                     // pass 5
    if (width > 1) units += (h + 1) / 2 * 4;      // pass 6: starts at column 1
    units += h / 2 * 8;                           // pass 7: whole rows
    return static_cast<uint32_t>(units);
}

void progress_start(png_structp png, uint32_t width, uint32_t height)
{
    const int passes = png_set_interlace_handling(png);
    conv_diag.units_total = passes == 7 ? interlace_units(width, height) : height;
    conv_diag.meter_width = meter_width_for(width, height);
    conv_diag.units_done = 0;
    meter_open(static_cast<int32_t>(conv_diag.meter_width));
}

void on_row_read(png_structp /*png*/, png_uint_32 row, int pass)
{
    int finished_pass = (row == 0 && pass > 0) ? pass - 1 : pass;
    if (finished_pass < 0 || finished_pass > 6) {
        finished_pass = 0;
    }
    conv_diag.units_done += 1u << (finished_pass / 2);
    if (conv_diag.units_total == 0) {
        return;
    }
    const uint64_t column =
        uint64_t{conv_diag.meter_width} * conv_diag.units_done / conv_diag.units_total;
    meter_advance(column > meter_max_width ? meter_max_width : static_cast<int32_t>(column));
}

namespace {

const char* error_path(png_structp png)
{
    const auto* path = static_cast<const char*>(png_get_error_ptr(png));
    return path != nullptr ? path : "";
}

}  // namespace

void on_png_error(png_structp png, png_const_charp message)
{
    conv_failure(error_path(png), "ERROR(libpng): %s", message != nullptr ? message : "");
    png_longjmp(png, 1);
}

void on_png_warning(png_structp png, png_const_charp message)
{
    conv_error("WARNING(libpng): %s - %s\n", message != nullptr ? message : "", error_path(png));
}

const char* base_name(const char* path)
{
    const auto is_separator = [](char c) { return c == '\\' || c == '/'; };
    const auto is_letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };

    const char* p = path;
    if (is_letter(p[0]) && p[1] == ':') {
        p += 2;
    }
    if (is_separator(*p)) {
        ++p;
    }
    const char* last = p;
    for (; *p != '\0'; ++p) {
        if (is_separator(*p)) {
            last = p + 1;
        }
    }
    return last;
}
