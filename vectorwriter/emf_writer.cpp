// The EMF symbol writer. The records are laid out by hand: a header, the
// stock null pen and white brush selected, one polygon set for the whole
// image, the stock black brush, one polygon set holding a four-cornered
// polygon per horizontal run of dark modules, with the Swiss cross the white
// brush, a polygon set of its white square, the black brush, one of its
// black square, the white brush and one of its bars, and the end record. Other
// colours than black and white are solid brushes created in the metafile's
// handle table, and deleted before its end so that playing it leaves no
// object behind; a fully transparent background is not drawn. Polygons,
// not rectangles: with a null pen GDI leaves out a rectangle's right and
// bottom line, while a polygon covers exactly its area, and adjacent runs meet
// without a gap or an overlap. Stock objects need no handle to create or free.
//
// Units: every module is module_units device units of a reference device
// made up for the image: 100 * side pixels across S millimetres, where side
// is the image's units and S its side in hundredths of a millimetre (the
// frame). The frame's S hundredths are then exactly side pixels, so a program
// mapping the frame onto its page (GDI's PlayEnhMetaFile, GDI+, office
// suites) puts every module edge, a whole unit, at the same fraction of the
// page as in the symbol. No map mode record is needed.
#include "vectorwriter/emf_writer.h"

#include "settings/swiss_cross.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>

namespace {

constexpr uint32_t emr_header = 1;
constexpr uint32_t emr_polypolygon = 8;
constexpr uint32_t emr_eof = 14;
constexpr uint32_t emr_selectobject = 37;
constexpr uint32_t emr_createbrushindirect = 39;
constexpr uint32_t emr_deleteobject = 40;
constexpr uint32_t emr_polypolygon16 = 91;

// Stock objects are named by their number with the high bit set.
constexpr uint32_t stock_white_brush = 0x80000000u;
constexpr uint32_t stock_black_brush = 0x80000004u;
constexpr uint32_t stock_null_brush = 0x80000005u;
constexpr uint32_t stock_null_pen = 0x80000008u;

constexpr uint32_t header_size = 108;  // with both header extensions
constexpr uint32_t select_size = 12;
constexpr uint32_t create_brush_size = 24;
constexpr uint32_t delete_size = 12;
constexpr uint32_t eof_size = 20;

// Fine enough that a program rasterising at the reference device's own
// resolution gets several pixels per module.
constexpr uint64_t plain_module_units = 16;
// Beyond this the image is refused: nonsense as a print size, and the
// reference device's micrometre size must fit 32 bits.
constexpr double max_side_mm = 20000.0;

// [x0, x1) x [y0, y1) in device units.
struct box {
    uint32_t x0, y0, x1, y1;
};

void put_u16(std::vector<unsigned char>& out, uint32_t value)
{
    out.push_back(static_cast<unsigned char>(value));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

void put_u32(std::vector<unsigned char>& out, uint32_t value)
{
    put_u16(out, value & 0xFFFFu);
    put_u16(out, value >> 16);
}

// A RECTL of the pixels a box covers, inclusive-inclusive as EMF bounds are.
void put_bounds(std::vector<unsigned char>& out, const box& b)
{
    put_u32(out, b.x0);
    put_u32(out, b.y0);
    put_u32(out, b.x1 - 1);
    put_u32(out, b.y1 - 1);
}

uint64_t polypolygon_size(uint64_t polygons, bool wide)
{
    return 32 + polygons * (4 + 4 * (wide ? 8 : 4));
}

// Calls visit(row, first, end) for each horizontal run of dark modules, in
// module coordinates of the symbol (no quiet zone).
template <class Visit>
void for_each_run(const QRcode* symbol, Visit visit)
{
    const int width = symbol->width;
    for (int j = 0; j < width; ++j) {
        const unsigned char* row = symbol->data + static_cast<std::size_t>(j) * static_cast<std::size_t>(width);
        int k = 0;
        while (k < width) {
            if ((row[k] & 1) == 0) {
                ++k;
                continue;
            }
            const int first = k;
            while (k < width && (row[k] & 1) != 0)
                ++k;
            visit(j, first, k);
        }
    }
}

// EMR_POLYPOLYGON16, or EMR_POLYPOLYGON when a coordinate may pass 16 bits:
// one four-cornered polygon per box that each_box(put_box) hands over.
template <class EachBox>
void put_polypolygon(std::vector<unsigned char>& out, bool wide, const box& bounds, uint32_t polygons,
                     EachBox each_box)
{
    put_u32(out, wide ? emr_polypolygon : emr_polypolygon16);            //  0 type
    put_u32(out, static_cast<uint32_t>(polypolygon_size(polygons, wide))); //  4 size
    put_bounds(out, bounds);                                             //  8 bounds
    put_u32(out, polygons);                                              // 24 number of polygons
    put_u32(out, 4 * polygons);                                          // 28 number of points
    for (uint32_t i = 0; i < polygons; ++i)
        put_u32(out, 4);                                                 // 32 points per polygon
    const auto put_point = [&](uint32_t x, uint32_t y) {                 // then the points
        if (wide) {
            put_u32(out, x);
            put_u32(out, y);
        } else {
            put_u16(out, x);
            put_u16(out, y);
        }
    };
    each_box([&](const box& b) {
        put_point(b.x0, b.y0);
        put_point(b.x1, b.y0);
        put_point(b.x1, b.y1);
        put_point(b.x0, b.y1);
    });
}

void put_select(std::vector<unsigned char>& out, uint32_t object)
{
    put_u32(out, emr_selectobject);  // 0 type
    put_u32(out, select_size);       // 4 size
    put_u32(out, object);            // 8 object
}

// How the colours are painted: with a stock brush where one has the colour,
// else with a brush created in the next handle (1 and up), released once the
// symbol is drawn.
struct paint_plan {
    bool background;   // the light colour is drawn at all (not fully transparent)
    uint32_t light;    // the light brush: a stock object or a handle
    uint32_t dark;     // the dark brush, the same
    uint32_t created;  // brushes created: 0 to 2
    uint32_t records;  // the brush records: creations, selections, deletions
    uint32_t bytes;    // and their size
};

paint_plan plan_paint(const symbol_colours& colours)
{
    paint_plan plan{colour_alpha(colours.light) != 0, stock_white_brush, stock_black_brush, 0, 0, 0};
    if (plan.background && colours.light != colour_white)
        plan.light = ++plan.created;
    if (colours.dark != colour_black)
        plan.dark = ++plan.created;
    // A selection for each colour drawn, and one of the null brush before
    // the created ones are deleted.
    const uint32_t selections = (plan.background ? 2 : 1) + (plan.created > 0 ? 1 : 0);
    plan.records = selections + 2 * plan.created;
    plan.bytes = selections * select_size + plan.created * (create_brush_size + delete_size);
    return plan;
}

// Selects brush, creating it first, solid and of colour, when it is a handle.
void put_brush(std::vector<unsigned char>& out, uint32_t brush, uint32_t colour)
{
    if (brush != stock_white_brush && brush != stock_black_brush) {
        put_u32(out, emr_createbrushindirect);  //  0 type
        put_u32(out, create_brush_size);        //  4 size
        put_u32(out, brush);                    //  8 handle
        put_u32(out, 0);                        // 12 style: BS_SOLID
        put_u32(out, colour_red(colour) | uint32_t{colour_green(colour)} << 8 |
                         uint32_t{colour_blue(colour)} << 16);  // 16 COLORREF 0x00BBGGRR
        put_u32(out, 0);                        // 20 hatch, unused when solid
    }
    put_select(out, brush);
}

// The whole image in the light colour, unless that is fully transparent.
template <class PutImage>
void put_background(std::vector<unsigned char>& out, const paint_plan& plan, uint32_t colour, PutImage put_image)
{
    if (!plan.background)
        return;
    put_brush(out, plan.light, colour);
    put_image();
}

// Deletes the created brushes; one still selected would not be freed.
void put_release(std::vector<unsigned char>& out, const paint_plan& plan)
{
    if (plan.created == 0)
        return;
    put_select(out, stock_null_brush);
    for (uint32_t handle = 1; handle <= plan.created; ++handle) {
        put_u32(out, emr_deleteobject);  // 0 type
        put_u32(out, delete_size);       // 4 size
        put_u32(out, handle);            // 8 object
    }
}

// The Swiss cross's parts and what its records take: none when it is not
// drawn. The bars are three boxes that do not overlap, since a polygon set
// filled by the alternate rule (GDI's default) leaves out the overlap of two
// of its polygons.
struct emf_cross {
    uint64_t bytes = 0;
    uint32_t records = 0;
    box white{}, black{};
    box bars[3]{};  // the horizontal bar, and the vertical one above and below it
};

// The cross over the square of modules that starts offset units from the
// image's top and left edges and is square units across.
emf_cross plan_cross(bool drawn, uint64_t offset, uint64_t square, bool wide)
{
    emf_cross c;
    if (!drawn)
        return c;
    const swiss_cross_insets in = swiss_cross_layout(static_cast<int64_t>(square));
    const auto from_start = [&](int64_t inset) { return static_cast<uint32_t>(offset + static_cast<uint64_t>(inset)); };
    const auto from_end = [&](int64_t inset) { return static_cast<uint32_t>(offset + square - static_cast<uint64_t>(inset)); };
    c.bytes = uint64_t{3} * select_size + 2 * polypolygon_size(1, wide) + polypolygon_size(3, wide);
    c.records = 6;
    c.white = box{from_start(in.white), from_start(in.white), from_end(in.white), from_end(in.white)};
    c.black = box{from_start(in.black), from_start(in.black), from_end(in.black), from_end(in.black)};
    c.bars[0] = box{from_start(in.bar_end), from_start(in.bar_side), from_end(in.bar_end), from_end(in.bar_side)};
    c.bars[1] = box{from_start(in.bar_side), from_start(in.bar_end), from_end(in.bar_side), from_start(in.bar_side)};
    c.bars[2] = box{from_start(in.bar_side), from_end(in.bar_side), from_end(in.bar_side), from_end(in.bar_end)};
    return c;
}

void put_cross(std::vector<unsigned char>& out, bool wide, const emf_cross& c)
{
    if (c.records == 0)
        return;
    put_select(out, stock_white_brush);
    put_polypolygon(out, wide, c.white, 1, [&](auto put_box) { put_box(c.white); });
    put_select(out, stock_black_brush);
    put_polypolygon(out, wide, c.black, 1, [&](auto put_box) { put_box(c.black); });
    put_select(out, stock_white_brush);
    const box bounds{c.bars[0].x0, c.bars[1].y0, c.bars[0].x1, c.bars[2].y1};
    put_polypolygon(out, wide, bounds, 3, [&](auto put_box) {
        for (const box& b : c.bars)
            put_box(b);
    });
}

void put_header(std::vector<unsigned char>& out, uint32_t side, uint32_t frame, uint32_t bytes,
                uint32_t records, uint32_t handles)
{
    put_u32(out, emr_header);                  //   0 type
    put_u32(out, header_size);                 //   4 size
    put_bounds(out, box{0, 0, side, side});    //   8 bounds, device units
    put_u32(out, 0);                           //  24 frame, 0.01 mm: right - left and
    put_u32(out, 0);                           //     bottom - top are the image side,
    put_u32(out, frame);                       //     as GDI and GDI+ measure a frame
    put_u32(out, frame);
    put_u32(out, 0x464D4520u);                 //  40 signature " EMF"
    put_u32(out, 0x00010000u);                 //  44 version
    put_u32(out, bytes);                       //  48 size of the metafile
    put_u32(out, records);                     //  52 number of records
    put_u16(out, handles);                     //  56 handles, the reserved index 0 included
    put_u16(out, 0);                           //  58 reserved
    put_u32(out, 0);                           //  60 description length
    put_u32(out, 0);                           //  64 description offset
    put_u32(out, 0);                           //  68 palette entries
    put_u32(out, 100 * side);                  //  72 reference device, pixels (x, y)
    put_u32(out, 100 * side);
    put_u32(out, frame);                       //  80 reference device, millimetres
    put_u32(out, frame);
    put_u32(out, 0);                           //  88 pixel format size
    put_u32(out, 0);                           //  92 pixel format offset
    put_u32(out, 0);                           //  96 no OpenGL records
    put_u32(out, 1000 * frame);                // 100 reference device, micrometres
    put_u32(out, 1000 * frame);
}

}  // namespace

bool make_symbol_emf(const QRcode* symbol, int margin, double image_side_mm, std::vector<unsigned char>* out,
                     const symbol_colours& colours, bool swiss_cross)
{
    if (out == nullptr)
        return false;
    out->clear();
    if (symbol == nullptr || symbol->data == nullptr || symbol->width < 1 || margin < 0 ||
        !std::isfinite(image_side_mm) || image_side_mm <= 0 || image_side_mm > max_side_mm)
        return false;
    const uint64_t frame = static_cast<uint64_t>(std::llround(image_side_mm * 100));
    // The cross's edges fall on whole units too.
    const uint64_t module_units = swiss_cross ? static_cast<uint64_t>(swiss_cross_grain) : plain_module_units;
    const uint64_t modules = static_cast<uint64_t>(symbol->width) + 2 * static_cast<uint64_t>(margin);
    const uint64_t side = modules * module_units;
    // The reference device's pixel count, 100 * side, is a signed 32-bit field.
    if (frame < 1 || side > INT32_MAX / 100)
        return false;
    const bool wide = side > INT16_MAX;

    // Module k of the symbol starts at at(k), past the quiet zone; side
    // bounds every value.
    const uint64_t offset = static_cast<uint64_t>(margin) * module_units;
    const auto at = [&](int k) { return static_cast<uint32_t>(offset + static_cast<uint64_t>(k) * module_units); };
    const auto run_box = [&](int j, int first, int end) { return box{at(first), at(j), at(end), at(j + 1)}; };
    uint64_t runs = 0;
    box ink{UINT32_MAX, UINT32_MAX, 0, 0};
    for_each_run(symbol, [&](int j, int first, int end) {
        ++runs;
        const box b = run_box(j, first, end);
        ink = box{std::min(ink.x0, b.x0), std::min(ink.y0, b.y0), std::max(ink.x1, b.x1), std::max(ink.y1, b.y1)};
    });
    const paint_plan paint = plan_paint(colours);
    const emf_cross cross = plan_cross(swiss_cross, offset, static_cast<uint64_t>(symbol->width) * module_units, wide);
    const uint64_t bytes = header_size + select_size + paint.bytes +
                           (paint.background ? polypolygon_size(1, wide) : 0) +
                           (runs > 0 ? polypolygon_size(runs, wide) : 0) + cross.bytes + eof_size;
    if (bytes > UINT32_MAX)
        return false;
    // The header, the pen, the brushes, the polygon sets, the cross, the end.
    const uint32_t records = 3 + paint.records + (paint.background ? 1 : 0) + (runs > 0 ? 1 : 0) + cross.records;

    try {
        out->reserve(static_cast<std::size_t>(bytes));
        put_header(*out, static_cast<uint32_t>(side), static_cast<uint32_t>(frame), static_cast<uint32_t>(bytes),
                   records, 1 + paint.created);
        put_select(*out, stock_null_pen);
        const box image{0, 0, static_cast<uint32_t>(side), static_cast<uint32_t>(side)};
        put_background(*out, paint, colours.light,
                       [&] { put_polypolygon(*out, wide, image, 1, [&](auto put_box) { put_box(image); }); });
        put_brush(*out, paint.dark, colours.dark);
        if (runs > 0) {
            put_polypolygon(*out, wide, ink, static_cast<uint32_t>(runs), [&](auto put_box) {
                for_each_run(symbol, [&](int j, int first, int end) { put_box(run_box(j, first, end)); });
            });
        }
        put_cross(*out, wide, cross);
        put_release(*out, paint);
        put_u32(*out, emr_eof);   //  0 type
        put_u32(*out, eof_size);  //  4 size
        put_u32(*out, 0);         //  8 palette entries
        put_u32(*out, 16);        // 12 palette offset, where it would start
        put_u32(*out, eof_size);  // 16 size again, for reading backwards
    } catch (const std::bad_alloc&) {
        out->clear();
        out->shrink_to_fit();
        return false;
    }
    return true;
}
