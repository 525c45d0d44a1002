// The converter's one-line display on standard error: a status label naming
// the step and the file, a progress meter that fills while libpng decodes
// rows, and the failure lines that blank it first. Also the libpng error,
// warning and row callbacks that feed it, and base_name for the labels.
//
// Line geometry: "\r", the label in exactly 22 columns, one blank, then at
// most 56 meter columns: never more than 79 columns.
//
// All state is process-wide and unguarded: one conversion at a time, on one
// thread. Writes to the stream are not checked; the display is best effort.
#pragma once

#include <png.h>

#include <cstdint>
#include <cstdio>

inline constexpr int status_label_width = 22;
inline constexpr int meter_max_width = 56;
inline constexpr int status_line_width = 79;  // what clear_status_line blanks

struct conv_diag_state {
    std::FILE* stream;        // standard error; tests may point it elsewhere; null shows nothing
    char status_text[128];    // current label; labels cut file names at 80
    int32_t meter_column;     // meter columns written after the label; -1: no label on the line
    int32_t meter_framed;     // the dotted frame is drawn on the current line
    int32_t frame_length;     // dots in the frame
    uint32_t meter_width;     // meter length of the current image, 1..56
    uint32_t units_done;      // row units decoded so far
    uint32_t units_total;     // row units of the whole image
    char failure[256];        // the last failure line less " - <file>" and its newline; "" before any
};

extern conv_diag_state conv_diag;

// Puts every member back to its start value (stream = stderr, empty label,
// meter_column -1, the rest 0).
void reset_conv_diagnostics();

// Formats the label into status_text (bounded), then show_status.
void set_status(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Writes "\r", the label left-aligned and cut to 22 columns, a blank; flushes.
// meter_column becomes 0.
void show_status();

// Blanks the line (CR, 79 blanks, CR). meter_column -1, meter_framed 0.
void clear_status_line();

// Ends the line with a newline. meter_column -1, meter_framed 0.
void end_status_line();

// Blanks the line, then writes the formatted message (which carries its own
// newline) and flushes.
void conv_error(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A failure line: the formatted reason ("SKIPPED: Out of memory"), " - ",
// path and a newline, through conv_error. The reason is also kept in
// conv_diag.failure (cut at 255 bytes), stream or not, for a caller that
// reports the failure elsewhere.
void conv_failure(const char* path, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Writes ch into the meter columns from meter_column up to target - 1, with
// target capped at 56; shows the label first when it is not on the line.
void meter_fill(char ch, int32_t target);

// Draws frame_length dots after the label and puts the cursor back after it.
void meter_draw_frame();

// Sets frame_length and draws the frame.
void meter_open(int32_t length);

// Fills 'o' up to column, redrawing the frame first when a message blanked it.
void meter_advance(int32_t column);

// Meter length for a width x height image: 56 for 1024 x 768 pixels and more,
// else proportional to the area, rounded up, at least 1. 0 when a side is 0.
uint32_t meter_width_for(uint32_t width, uint32_t height);

// Row units of an Adam7-interlaced image: each pass's rows weighted by the
// eighths of a full row that they carry; passes without columns count 0.
uint32_t interlace_units(uint32_t width, uint32_t height);

// Called by the reader just before the rows are decoded. Turns on libpng's
// interlace handling (harmless when it is already on), sets the unit count
// and meter width of the image and draws the meter's frame.
void progress_start(png_structp png, uint32_t width, uint32_t height);

// libpng read-status callback: counts the row just completed and advances
// the meter. libpng reports the row number and pass of the next row, so a
// row number of 0 means the row finished the previous pass.
void on_row_read(png_structp png, png_uint_32 row, int pass);

// libpng error callback: prints "ERROR(libpng): <message> - <path>" with the
// path libpng holds as its error pointer, then longjmps to the reader's
// recovery point. Never returns.
[[noreturn]] void on_png_error(png_structp png, png_const_charp message);

// libpng warning callback: prints "WARNING(libpng): <message> - <path>";
// decoding goes on and the meter is redrawn at the next row.
void on_png_warning(png_structp png, png_const_charp message);

// The last component of path: a position inside the same text, after an
// optional drive ("C:") and the last '\\' or '/'. Empty when path ends with a
// separator. Precondition: path is not nullptr.
const char* base_name(const char* path);
