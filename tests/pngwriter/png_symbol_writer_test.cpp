#include "pngwriter/png_symbol_writer.h"

#include "settings/run_settings.h"
#include "settings/swiss_cross.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <png.h>
#include <tuple>
#include <utility>
#include <vector>

extern int allocations_left;  // tests/util: the allocation after this many fails

namespace {

// A symbol of our own making: module (j, k) is dark when dark(j, k).
struct fake_symbol {
    std::vector<unsigned char> modules;
    QRcode code{};
    template <class F>
    fake_symbol(int width, F dark) : modules(static_cast<std::size_t>(width * width))
    {
        for (int j = 0; j < width; ++j)
            for (int k = 0; k < width; ++k)
                modules[static_cast<std::size_t>(j * width + k)] = dark(j, k) ? 0x81 : 0x80;
        code.version = 1;
        code.width = width;
        code.data = modules.data();
    }
};

TEST(SymbolGeometry, SidesRowsAndBands)
{
    symbol_geometry g{};
    ASSERT_TRUE(compute_geometry(21, 3, 4, &g));
    EXPECT_EQ(g.side, 87);
    EXPECT_EQ(g.row_bytes, 11);
    EXPECT_EQ(g.band, 12);
    ASSERT_TRUE(compute_geometry(177, 3, 4, &g));
    EXPECT_EQ(g.side, 555);
    EXPECT_EQ(g.row_bytes, 70);
    ASSERT_TRUE(compute_geometry(21, 1, 0, &g));
    EXPECT_EQ(g.side, 21);
    EXPECT_EQ(g.row_bytes, 3);
    ASSERT_TRUE(compute_geometry(21, 8, 0, &g));
    EXPECT_EQ(g.row_bytes, 21) << "a side of whole bytes";

    ASSERT_TRUE(compute_geometry(1, INT_MAX, 0, &g));
    EXPECT_EQ(g.row_bytes, 268435456) << "(W + 7) / 8 without overflow";
    EXPECT_FALSE(compute_geometry(21, INT_MAX, 0, &g));
    EXPECT_FALSE(compute_geometry(21, 1, INT_MAX, &g));
    EXPECT_FALSE(compute_geometry(21, 102261127, 0, &g)) << "21 * 102261127 > INT32_MAX";
    EXPECT_TRUE(compute_geometry(21, 102261126, 0, &g));
}

TEST(SymbolRows, ModulesBecomeDotSizeBlackBitsMsbFirst)
{
    // Only module 0 and the last module of row 0 are dark; the high bits of a
    // module byte do not count.
    fake_symbol s(21, [](int j, int k) { return j == 0 && (k == 0 || k == 20); });
    symbol_geometry g{};
    // Wide enough for the largest geometry below: 232 pixels, 29 bytes.
    std::vector<uint8_t> row(32, 0x55);

    ASSERT_TRUE(compute_geometry(21, 3, 4, &g));
    draw_module_row(&s.code, 0, 3, g, row.data());
    // Pixels 12-14 black: bits 3,2,1 of byte 1; last module: pixels 72-74.
    EXPECT_EQ(row[0], 0xFF);
    EXPECT_EQ(row[1], 0xF1);
    EXPECT_EQ(row[9], 0x1F);
    EXPECT_EQ(row[10], 0xFF) << "bits behind pixel 86 stay 1";
    draw_module_row(&s.code, 1, 3, g, row.data());
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(row[static_cast<std::size_t>(i)], 0xFF);

    ASSERT_TRUE(compute_geometry(21, 1, 0, &g));
    draw_module_row(&s.code, 0, 1, g, row.data());
    EXPECT_EQ(row[0], 0x7F);
    EXPECT_EQ(row[1], 0xFF);
    EXPECT_EQ(row[2], 0xF7) << "pixel 20 is bit 3 of byte 2; bits behind it are 1";

    fake_symbol all(21, [](int, int k) { return k % 2 == 0; });
    ASSERT_TRUE(compute_geometry(21, 8, 4, &g));
    draw_module_row(&all.code, 5, 8, g, row.data());
    EXPECT_EQ(row[3], 0xFF);
    EXPECT_EQ(row[4], 0x00) << "dot size 8: one byte per module";
    EXPECT_EQ(row[5], 0xFF);
    EXPECT_EQ(row[24], 0x00);
    EXPECT_EQ(row[25], 0xFF);
}

TEST(SymbolRows, TheSwissCrossRoundsEachInsetToAWholePixelHalvesInwards)
{
    const swiss_cross_insets in = swiss_cross_layout(46);  // exact: 19.5, 20, 22.42, 21.06
    EXPECT_EQ(std::tuple(in.white, in.black, in.bar_side, in.bar_end), std::tuple(20, 20, 22, 21));
}

struct decoded {
    uint32_t width = 0, height = 0;
    int bit_depth = 0, color_type = 0, interlace = 0;
    std::vector<uint8_t> grey;  // one byte per pixel, 0 or 255
    bool ok = false;
};

uint32_t big_endian(const unsigned char* p)
{
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

// The IHDR fields straight from the file's bytes, the pixels through libpng's
// simplified reader.
decoded read_back(const char* path)
{
    decoded d;
    std::FILE* f = std::fopen(path, "rb");
    if (f == nullptr)
        return d;
    unsigned char head[33] = {};
    const bool whole = std::fread(head, 1, sizeof head, f) == sizeof head;
    std::fclose(f);
    if (!whole || std::memcmp(head + 12, "IHDR", 4) != 0)
        return d;
    d.width = big_endian(head + 16);
    d.height = big_endian(head + 20);
    d.bit_depth = head[24];
    d.color_type = head[25];
    d.interlace = head[28];

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path) == 0)
        return d;
    image.format = PNG_FORMAT_GRAY;
    d.grey.resize(PNG_IMAGE_SIZE(image));
    d.ok = png_image_finish_read(&image, nullptr, d.grey.data(), 0, nullptr) != 0;
    return d;
}

class SymbolFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        reset_run_settings();
        dir = std::filesystem::temp_directory_path() /
              ("tessel-png-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::filesystem::path dir;
};

TEST_F(SymbolFile, IsAOneBitGreyImageWithAWhiteQuietZone)
{
    fake_symbol s(21, [](int j, int k) { return (j + k) % 3 == 0; });
    const std::string path = (dir / "out.png").string();
    {
        std::FILE* old = std::fopen(path.c_str(), "wb");
        std::fputs(std::string(5000, 'x').c_str(), old);
        std::fclose(old);
    }
    ASSERT_EQ(write_symbol_png(&s.code, path.c_str()), 0);
    const decoded d = read_back(path.c_str());
    ASSERT_TRUE(d.ok) << "an existing file is truncated, not appended to";
    EXPECT_EQ(d.width, 87u);
    EXPECT_EQ(d.height, 87u);
    EXPECT_EQ(d.bit_depth, 1);
    EXPECT_EQ(d.color_type, PNG_COLOR_TYPE_GRAY);
    EXPECT_EQ(d.interlace, PNG_INTERLACE_NONE);
    for (int y = 0; y < 87; ++y) {
        for (int x = 0; x < 87; ++x) {
            const bool white = d.grey[static_cast<std::size_t>(y * 87 + x)] == 255;
            const bool inside = x >= 12 && x < 75 && y >= 12 && y < 75;
            const bool dark = inside && ((y - 12) / 3 + (x - 12) / 3) % 3 == 0;
            ASSERT_EQ(white, !dark) << x << "," << y;
        }
    }
}

TEST_F(SymbolFile, FailuresAreReportedWithTheirCodes)
{
    fake_symbol s(21, [](int, int) { return true; });
    EXPECT_EQ(write_symbol_png(&s.code, (dir / "missing" / "x.png").c_str()), 1101);
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_EQ(write_symbol_png(&s.code, "/dev/full"), 1103);
    }

    run_settings.dot_size = INT_MAX / 20;
    const std::string big = (dir / "big.png").string();
    EXPECT_EQ(write_symbol_png(&s.code, big.c_str()), 1103);
    EXPECT_FALSE(std::filesystem::exists(big)) << "refused before anything is made";

    run_settings.dot_size = 1;
    run_settings.margin = 600000;  // fits 32 bits, but beyond libpng's limits
    EXPECT_EQ(write_symbol_png(&s.code, big.c_str()), 1103);

    // Each allocation in turn fails (where malloc can): a whole file, or a failure.
    run_settings.margin = 4;
    run_settings.swiss_cross = 1;  // one more row buffer
    ASSERT_EQ(write_symbol_png(&s.code, big.c_str()), 0);
    const std::vector<uint8_t> pixels = read_back(big.c_str()).grey;
    for (int k = 0, left = -1; left < 0; ++k) {
        std::filesystem::remove(big);
        allocations_left = k;
        const int result = write_symbol_png(&s.code, big.c_str());
        left = std::exchange(allocations_left, -1);
        const bool whole = read_back(big.c_str()).grey == pixels;
        EXPECT_TRUE(result == 0 ? whole : result >= 1101 && result <= 1103) << k << " " << result;
    }
    // In memory: the row and each growth of the image that fails are 1102, libpng's own 1103.
    int no_memory = 0;
    for (int k = 0, left = -1; left < 0; ++k) {
        std::vector<unsigned char> png;
        allocations_left = k;
        const int result = make_symbol_png(&s.code, raster_scale{1, 4, 0}, &png);
        left = std::exchange(allocations_left, -1);
        no_memory += result == 1102;
        EXPECT_TRUE(result == 0 || result == 1102 || result == 1103) << k << " " << result;
    }
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
    EXPECT_GE(no_memory, 2) << "the row, and the image in memory";
#endif
}

}  // namespace
