#include "vectorwriter/svg_writer.h"

#include "settings/print_size.h"
#include "settings/swiss_cross.h"

#include <array>
#include <charconv>
#include <new>
#include <string_view>

namespace {

void append(std::vector<unsigned char>* out, std::string_view text)
{
    out->insert(out->end(), text.begin(), text.end());
}

// Integers through to_chars: no locale, no grouping.
void append(std::vector<unsigned char>* out, int64_t value)
{
    std::array<char, 24> digits{};
    char* end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
    append(out, std::string_view(digits.data(), static_cast<std::size_t>(end - digits.data())));
}

// The stated side: "87", or "40.714mm" from micrometres.
void append_length(std::vector<unsigned char>* out, svg_side side)
{
    std::array<char, 32> text{};
    format_decimal(text.data(), text.size(), side.amount, side.millimetres ? 3 : 0);
    append(out, text.data());
    if (side.millimetres)
        append(out, "mm");
}

// One subpath per run of dark modules in a row, each a square strip drawn
// with relative commands from the start of the previous one (a closed
// subpath leaves the current point at its start).
void append_modules(std::vector<unsigned char>* out, const QRcode* symbol, int margin)
{
    const int width = symbol->width;
    int64_t at_x = 0;
    int64_t at_y = 0;
    bool first = true;
    for (int y = 0; y < width; ++y) {
        const unsigned char* row = symbol->data + static_cast<std::size_t>(y) * width;
        for (int x = 0; x < width;) {
            if ((row[x] & 1) == 0) {
                ++x;
                continue;
            }
            int run = 1;
            while (x + run < width && (row[x + run] & 1) != 0)
                ++run;
            const int64_t left = int64_t{margin} + x;
            const int64_t top = int64_t{margin} + y;
            append(out, first ? "M" : "m");
            append(out, first ? left : left - at_x);
            append(out, " ");
            append(out, first ? top : top - at_y);
            append(out, "h");
            append(out, run);
            append(out, "v1h-");
            append(out, run);
            append(out, "z");
            at_x = left;
            at_y = top;
            first = false;
            x += run;
        }
    }
}

// "#RRGGBB" in lower case, and the short forms the black on white file has
// always had.
void append_colour(std::vector<unsigned char>* out, uint32_t colour)
{
    const uint32_t rgb = colour >> 8;
    if (rgb == 0xFFFFFFu || rgb == 0) {
        append(out, rgb == 0 ? "#000" : "#fff");
        return;
    }
    std::array<char, 8> text{};
    text[0] = '#';
    for (int i = 1; i <= 6; ++i)
        text[i] = "0123456789abcdef"[(rgb >> (24 - 4 * i)) & 0xFu];
    append(out, std::string_view(text.data(), 7));
}

// The light rectangle under the image (none when it is fully transparent) and
// the start of the dark path, up to its data.
void append_layers(std::vector<unsigned char>* out, int64_t modules, const symbol_colours& colours)
{
    const unsigned alpha = colour_alpha(colours.light);
    if (alpha != 0) {
        append(out, "<rect width=\"");
        append(out, modules);
        append(out, "\" height=\"");
        append(out, modules);
        append(out, "\" fill=\"");
        append_colour(out, colours.light);
        if (alpha != 0xFF) {
            // Three decimals tell all 256 levels apart.
            std::array<char, 32> opacity{};
            format_decimal(opacity.data(), opacity.size(), (alpha * 1000 + 127) / 255, 3);
            append(out, "\" fill-opacity=\"");
            append(out, opacity.data());
        }
        append(out, "\"/>\n");
    }
    append(out, "<path fill=\"");
    append_colour(out, colours.dark);
    append(out, "\" d=\"");
}

// The Swiss cross in a nested viewport over the square of modules, whose own
// user units make every edge a whole number: the white square, the black
// square, then the horizontal and the vertical bar.
void append_cross(std::vector<unsigned char>* out, int width, int margin)
{
    const swiss_cross_insets in = swiss_cross_layout(swiss_cross_grain);
    append(out, "<svg x=\"");
    append(out, margin);
    append(out, "\" y=\"");
    append(out, margin);
    append(out, "\" width=\"");
    append(out, width);
    append(out, "\" height=\"");
    append(out, width);
    append(out, "\" viewBox=\"0 0 ");
    append(out, swiss_cross_grain);
    append(out, " ");
    append(out, swiss_cross_grain);
    append(out, "\">\n");
    const auto rect = [&](int64_t x, int64_t y, const char* fill) {
        append(out, "<rect x=\"");
        append(out, x);
        append(out, "\" y=\"");
        append(out, y);
        append(out, "\" width=\"");
        append(out, swiss_cross_grain - 2 * x);
        append(out, "\" height=\"");
        append(out, swiss_cross_grain - 2 * y);
        append(out, "\" fill=\"");
        append(out, fill);
        append(out, "\"/>\n");
    };
    rect(in.white, in.white, "#fff");
    rect(in.black, in.black, "#000");
    rect(in.bar_end, in.bar_side, "#fff");
    rect(in.bar_side, in.bar_end, "#fff");
    append(out, "</svg>\n");
}

}  // namespace

bool make_symbol_svg(const QRcode* symbol, int margin, svg_side side, std::vector<unsigned char>* out,
                     const symbol_colours& colours, bool swiss_cross)
{
    out->clear();
    if (symbol == nullptr || symbol->width < 1 || margin < 0 || side.amount < 1)
        return false;
    const int64_t modules = symbol->width + 2 * int64_t{margin};
    try {
        append(out, "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                    "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"");
        append_length(out, side);
        append(out, "\" height=\"");
        append_length(out, side);
        append(out, "\" viewBox=\"0 0 ");
        append(out, modules);
        append(out, " ");
        append(out, modules);
        append(out, "\" shape-rendering=\"crispEdges\">\n");
        append_layers(out, modules, colours);
        append_modules(out, symbol, margin);
        append(out, "\"/>\n");
        if (swiss_cross)
            append_cross(out, symbol->width, margin);
        append(out, "</svg>\n");
    } catch (const std::bad_alloc&) {
        out->clear();
        out->shrink_to_fit();
        return false;
    }
    return true;
}
