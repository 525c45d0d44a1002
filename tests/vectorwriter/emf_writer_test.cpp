#include "vectorwriter/emf_writer.h"

#include <climits>
#include <gtest/gtest.h>
#include <limits>

extern int allocations_left;  // tests/util: the allocation after this many fails

namespace {

uint32_t u32(const std::vector<unsigned char>& b, std::size_t at)
{
    return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 | uint32_t{b[at + 3]} << 24;
}

TEST(EmfWriter, HeaderStatesTheFrameAndTheRecordsDrawTheModules)
{
    std::vector<unsigned char> modules(21 * 21, 0x80), none = modules;
    for (std::size_t i = 0; i < modules.size(); ++i)
        modules[i] |= (i / 21 * i) % 5 == 1 || i % 21 == 20;
    const QRcode symbol{1, 21, modules.data()}, blank{1, 21, none.data()};
    // The symbol, margin, side; frame, polygon record. A margin of 1100
    // modules takes coordinates past 16 bits.
    for (const auto& [code, margin, side_mm, frame, polygons] :
         {std::tuple{&symbol, 4, 35.5, 3550u, 91u}, {&symbol, 0, 46.004, 4600u, 91u}, {&symbol, 4, 23.02, 2302u, 91u},
          {&symbol, 1100, 1000.0, 100000u, 8u}, {&blank, 2, 0.2, 20u, 91u}}) {
        std::vector<unsigned char> emf;
        ASSERT_TRUE(make_symbol_emf(code, margin, side_mm, &emf)) << margin;
        const uint32_t n = 21 + 2 * static_cast<uint32_t>(margin), units = 16 * n;
        EXPECT_EQ(u32(emf, 48), emf.size()) << "nBytes";
        EXPECT_EQ((std::pair{u32(emf, 16), u32(emf, 20)}), (std::pair{units - 1, units - 1})) << "bounds";
        EXPECT_EQ(u32(emf, 32), frame);
        EXPECT_EQ(u32(emf, 36), frame);
        // The frame through the reference device is the side drawn.
        EXPECT_EQ(uint64_t{frame} * u32(emf, 72), uint64_t{units} * 100 * u32(emf, 80));
        EXPECT_EQ((std::pair{u32(emf, 100), u32(emf, 104)}), (std::pair{1000 * frame, 1000 * frame})) << "micrometres";

        // Walked as a player does; the black polygons painted on modules.
        std::vector<uint32_t> types;
        std::vector<int> dark(std::size_t{n} * n);
        for (std::size_t at = 0, size = 8; at < emf.size(); at += size) {
            size = u32(emf, at + 4);
            ASSERT_TRUE(size % 4 == 0 && size >= 8 && at + size <= emf.size()) << at;
            types.push_back(u32(emf, at));
            if (types.back() == polygons && types.size() == 6) {
                const std::size_t point = polygons == 8 ? 8 : 4, first = at + 32 + 4 * std::size_t{u32(emf, at + 24)};
                const auto at_unit = [&](std::size_t c) { return (point == 8 ? u32(emf, c) : u32(emf, c) & 0xFFFF) / 16; };
                for (std::size_t p = first; p < at + size; p += 4 * point)  // corners 0 and 2
                    for (uint32_t y = at_unit(p + point / 2); y < at_unit(p + 2 * point + point / 2); ++y)
                        for (uint32_t x = at_unit(p); x < at_unit(p + 2 * point); ++x)
                            ++dark[std::size_t{y} * n + x];
            }
        }
        EXPECT_EQ(u32(emf, 52), types.size()) << "nRecords";
        // Header, pen, white brush, image, black brush, dark runs if any, end.
        std::vector<uint32_t> expected{1, 37, 37, polygons, 37, polygons, 14};
        if (code == &blank)
            expected.erase(expected.begin() + 5);
        EXPECT_EQ(types, expected);
        for (uint32_t y = 0; y < n; ++y)
            for (uint32_t x = 0; x < n; ++x) {
                const uint32_t j = y - margin, k = x - margin;
                const bool is_dark = j < 21 && k < 21 && (code->data[j * 21 + k] & 1) != 0;
                ASSERT_EQ(dark[std::size_t{y} * n + x], is_dark ? 1 : 0) << x << "," << y;
            }
    }
}

TEST(EmfWriter, ColoursAreBrushesOfTheMetafileDeletedBeforeItsEnd)
{
    std::vector<unsigned char> modules(21 * 21, 0x81);
    const QRcode symbol{1, 21, modules.data()};
    // Header 1, select 37, create brush 39 (handle, solid, COLORREF, hatch), delete
    // 40 (handle), polygons 91, end 14; the handle table's size last.
    for (const auto& [colours, records] :
         {std::pair{symbol_colours{0x003366FFu, 0xFFFFFF00u},
                    std::vector<uint32_t>{1, 37, 39, 1, 0, 0x663300, 0, 37, 1, 91, 37, 0x80000005, 40, 1, 14, 2}},
          {symbol_colours{0x7A0000FFu, 0xFFF5CCFFu},
           {1, 37, 39, 1, 0, 0xCCF5FF, 0, 37, 1, 91, 39, 2, 0, 0x00007A, 0, 37, 2, 91, 37, 0x80000005, 40, 1, 40, 2, 14, 3}},
          {symbol_colours{0x000000FFu, 0xFFFFFF00u}, {1, 37, 37, 0x80000004, 91, 14, 1}}}) {
        std::vector<unsigned char> emf;
        ASSERT_TRUE(make_symbol_emf(&symbol, 4, 30, &emf, colours));
        std::vector<uint32_t> seen;
        uint32_t n = 0;
        for (std::size_t at = 0; at < emf.size(); at += u32(emf, at + 4), ++n) {
            const uint32_t type = u32(emf, at), fields = type == 39 ? 4 : type == 37 && at > 108 ? 1 : type == 40;
            for (uint32_t f = 0; f <= fields; ++f)
                seen.push_back(u32(emf, at + (f == 0 ? 0 : 4 + 4 * f)));
        }
        seen.push_back(emf[56]);
        EXPECT_EQ(seen, records);
        EXPECT_EQ((std::pair{u32(emf, 48), u32(emf, 52)}), (std::pair{static_cast<uint32_t>(emf.size()), n}));
    }
}

TEST(EmfWriter, TheSwissCrossLiesOnWholeUnitsOverTheModules)
{
    std::vector<unsigned char> modules(21 * 21, 0x81), emf;
    const QRcode symbol{1, 21, modules.data()};
    ASSERT_TRUE(make_symbol_emf(&symbol, 1, 46.0, &emf, {}, true));
    std::vector<uint32_t> types, corners;  // corners 0 and 2 of each polygon after the modules'
    for (std::size_t at = 0, size = 8; size >= 8 && at + 8 <= emf.size(); at += size) {
        size = u32(emf, at + 4);
        types.push_back(u32(emf, at));
        if (types.size() > 6 && types.back() == 8)
            for (std::size_t p = at + 32 + 4 * std::size_t{u32(emf, at + 24)}; p < at + size; p += 32)
                corners.insert(corners.end(), {u32(emf, p), u32(emf, p + 4), u32(emf, p + 16), u32(emf, p + 20)});
    }
    EXPECT_EQ((std::pair{u32(emf, 48), u32(emf, 52)}), (std::pair{static_cast<uint32_t>(emf.size()), 13u}));
    EXPECT_EQ(types, (std::vector<uint32_t>{1, 37, 37, 8, 37, 8, 37, 8, 37, 8, 37, 8, 14}));
    // 1656 units a module; white square, black square, the bars as three boxes
    // that do not overlap (GDI's alternate fill would leave an overlap out).
    const auto at = [](uint32_t inset) { return 1656 + 21 * inset; };
    EXPECT_EQ(corners, (std::vector<uint32_t>{at(702), at(702), at(954), at(954), at(720), at(720), at(936), at(936),
                                              at(758), at(807), at(898), at(849), at(807), at(758), at(849), at(807),
                                              at(807), at(849), at(849), at(898)}));
    const std::size_t bars = emf.size() - 20 - 140;  // the bars' set, inclusive bounds around both bars
    EXPECT_EQ((std::vector<uint32_t>{u32(emf, bars + 8), u32(emf, bars + 12), u32(emf, bars + 16), u32(emf, bars + 20)}),
              (std::vector<uint32_t>{at(758), at(758), at(898) - 1, at(898) - 1}));
}

TEST(EmfWriter, RefusesBadArgumentsAndLeavesNothing)
{
    std::vector<unsigned char> modules(21 * 21, 0x81);
    const QRcode symbol{1, 21, modules.data()}, empty{1, 0, modules.data()};
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    for (const auto& [code, margin, side_mm] :
         {std::tuple{static_cast<const QRcode*>(nullptr), 4, 30.0}, {&empty, 4, 30.0}, {&symbol, -1, 30.0},
          {&symbol, 4, 0.0}, {&symbol, 4, -3.0}, {&symbol, 4, nan}, {&symbol, 4, inf}, {&symbol, 4, 0.004},
          {&symbol, 4, 20000.01}, {&symbol, 2000000, 30.0}, {&symbol, INT_MAX, 30.0}}) {
        std::vector<unsigned char> out(3, 7);
        EXPECT_FALSE(make_symbol_emf(code, margin, side_mm, &out)) << margin << " " << side_mm;
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
