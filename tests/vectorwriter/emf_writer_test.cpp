#include "vectorwriter/emf_writer.h"

#include <climits>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

extern int allocations_left;  // tests/util: the allocation after this many fails

namespace {

uint32_t u32(const std::vector<unsigned char>& b, std::size_t at)
{
    return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 | uint32_t{b[at + 3]} << 24;
}

// Walks the records as a player does and paints the dark polygons (four
// corners each, in units of 16 per module) into a grid of modules.
struct played {
    std::vector<uint32_t> types;
    std::vector<int> dark;
};

played play(const std::vector<unsigned char>& emf, uint32_t modules)
{
    played p;
    p.dark.assign(modules * modules, 0);
    bool black = false;
    for (std::size_t at = 0; at < emf.size();) {
        const uint32_t type = u32(emf, at), size = u32(emf, at + 4);
        EXPECT_TRUE(size % 4 == 0 && size >= 8 && at + size <= emf.size()) << at;
        if (size % 4 != 0 || size < 8 || at + size > emf.size())
            break;
        p.types.push_back(type);
        if (type == 37)
            black = u32(emf, at + 8) == 0x80000004u;
        if ((type == 91 || type == 8) && black) {
            const uint32_t polygons = u32(emf, at + 24), point = type == 8 ? 8 : 4;
            const std::size_t points = at + 32 + 4 * std::size_t{polygons};
            for (std::size_t i = 0; i < polygons; ++i) {
                const std::size_t first = points + 4 * i * point;
                const auto coord = [&](std::size_t c) {
                    return (point == 8 ? u32(emf, c) : u32(emf, c) & 0xFFFF) / 16;
                };
                // Corners 0 and 2 hold (x0, y0) and (x1, y1).
                for (uint32_t y = coord(first + point / 2); y < coord(first + 2 * point + point / 2); ++y)
                    for (uint32_t x = coord(first); x < coord(first + 2 * point); ++x)
                        ++p.dark[y * modules + x];
            }
        }
        at += size;
    }
    return p;
}

TEST(EmfWriter, HeaderStatesTheFrameAndTheRecordsDrawTheModules)
{
    std::vector<unsigned char> modules(21 * 21);
    for (int j = 0; j < 21; ++j)
        for (int k = 0; k < 21; ++k)
            modules[static_cast<std::size_t>(j * 21 + k)] = ((j * k) % 5 == 1 || k == 20) ? 0x81 : 0x80;
    QRcode symbol{1, 21, modules.data()};
    QRcode blank = symbol;
    std::vector<unsigned char> none(21 * 21, 0x80);
    blank.data = none.data();

    struct row {
        const QRcode* symbol;
        int margin;
        double side_mm;
        uint32_t frame, record_type, records;
    };
    // A margin of 1100 modules puts coordinates past 16 bits.
    for (const row& r : {row{&symbol, 4, 35.5, 3550, 91, 7}, row{&symbol, 0, 46.004, 4600, 91, 7},
                         row{&symbol, 1100, 1000, 100000, 8, 7}, row{&blank, 2, 0.2, 20, 91, 6}}) {
        std::vector<unsigned char> emf;
        ASSERT_TRUE(make_symbol_emf(r.symbol, r.margin, r.side_mm, &emf)) << r.margin;
        const uint32_t n = 21 + 2 * static_cast<uint32_t>(r.margin), side = 16 * n;
        EXPECT_EQ(u32(emf, 0), 1u);
        EXPECT_EQ(u32(emf, 40), 0x464D4520u);
        EXPECT_EQ(u32(emf, 48), emf.size()) << "nBytes";
        EXPECT_EQ(emf.capacity(), emf.size()) << "reserved exactly";
        EXPECT_EQ(u32(emf, 20), side - 1) << "bounds: pixels inclusive";
        EXPECT_EQ(u32(emf, 24), 0u);
        EXPECT_EQ(u32(emf, 32), r.frame) << "frame";
        EXPECT_EQ(u32(emf, 36), r.frame);
        // The frame converted through the reference device is the drawn side.
        EXPECT_EQ(uint64_t{r.frame} * u32(emf, 72), uint64_t{side} * 100 * u32(emf, 80));
        EXPECT_EQ(uint64_t{u32(emf, 80)} * 1000, u32(emf, 100)) << "micrometres";

        const played p = play(emf, n);
        EXPECT_EQ(u32(emf, 52), p.types.size()) << "nRecords";
        EXPECT_EQ(p.types.back(), 14u) << "EOF last";
        EXPECT_EQ(p.types[3], r.record_type);
        for (uint32_t y = 0; y < n; ++y)
            for (uint32_t x = 0; x < n; ++x) {
                const bool in = x >= uint32_t(r.margin) && y >= uint32_t(r.margin) && x < n - r.margin && y < n - r.margin;
                const bool dark = in && (r.symbol->data[(y - r.margin) * 21 + (x - r.margin)] & 1) != 0;
                ASSERT_EQ(p.dark[y * n + x], dark ? 1 : 0) << x << "," << y;
            }
    }
}

TEST(EmfWriter, RefusesBadArgumentsAndLeavesNothing)
{
    std::vector<unsigned char> modules(21 * 21, 0x81);
    QRcode symbol{1, 21, modules.data()}, empty{1, 0, modules.data()};
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    struct row {
        const QRcode* symbol;
        int margin;
        double side_mm;
    };
    for (const row& r : {row{nullptr, 4, 30}, row{&empty, 4, 30}, row{&symbol, -1, 30}, row{&symbol, 4, 0},
                         row{&symbol, 4, -3}, row{&symbol, 4, nan}, row{&symbol, 4, inf}, row{&symbol, 4, 0.004},
                         row{&symbol, 4, 20000.01}, row{&symbol, 2000000, 30}, row{&symbol, INT_MAX, 30}}) {
        std::vector<unsigned char> out(3, 7);
        EXPECT_FALSE(make_symbol_emf(r.symbol, r.margin, r.side_mm, &out)) << r.margin << " " << r.side_mm;
        EXPECT_TRUE(out.empty());
    }
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
    std::vector<unsigned char> out;
    allocations_left = 0;
    EXPECT_FALSE(make_symbol_emf(&symbol, 4, 30, &out)) << "no memory";
    allocations_left = -1;
    EXPECT_TRUE(out.empty());
#endif
}

}  // namespace
