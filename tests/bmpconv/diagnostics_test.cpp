// The converter's display: meter arithmetic, the status line's bytes, the
// meter as a terminal shows it after real reads, base_name.
#include "bmpconv/conv_image.h"
#include "bmpconv/diagnostics.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string blanked = "\r" + std::string(79, ' ') + "\r";

TEST(MeterArithmetic, WidthGrowsWithAreaUpTo56Columns)
{
    EXPECT_EQ(meter_width_for(1024, 768), 56u);
    EXPECT_EQ(meter_width_for(768, 1024), 56u);
    EXPECT_EQ(meter_width_for(5000, 5000), 56u);
    EXPECT_EQ(meter_width_for(1000000, 1), 56u);
    EXPECT_EQ(meter_width_for(1, 1000000), 56u);
    EXPECT_EQ(meter_width_for(1023, 768), 56u);  // 55.95 rounds up
    EXPECT_EQ(meter_width_for(126391, 1), 10u);  // 9.00001 rounds up too
    EXPECT_EQ(meter_width_for(2000, 100), 15u);
    EXPECT_EQ(meter_width_for(600000, 1), 43u);  // 786432 / 600000 is 1: the height, not the area
    EXPECT_EQ(meter_width_for(300, 300), 7u);
    EXPECT_EQ(meter_width_for(87, 87), 1u);
    EXPECT_EQ(meter_width_for(100, 100), 1u);
    EXPECT_EQ(meter_width_for(1, 1), 1u);
}

// Counts, pass by pass, the rows of the Adam7 layout that hold at least one
// pixel, each weighted by the eighths of a full row it carries.
uint32_t adam7_units_by_enumeration(uint32_t width, uint32_t height)
{
    struct pass { uint32_t x0, y0, dx, dy, weight; };
    const pass passes[] = {{0, 0, 8, 8, 1}, {4, 0, 8, 8, 1}, {0, 4, 4, 8, 2}, {2, 0, 4, 4, 2},
                           {0, 2, 2, 4, 4}, {1, 0, 2, 2, 4}, {0, 1, 1, 2, 8}};
    uint32_t units = 0;
    for (const pass& p : passes) {
        if (p.x0 >= width) {
            continue;
        }
        for (uint32_t y = p.y0; y < height; y += p.dy) {
            units += p.weight;
        }
    }
    return units;
}

TEST(MeterArithmetic, InterlaceUnitsMatchTheAdam7Layout)
{
    EXPECT_EQ(interlace_units(8, 8), 64u);
    EXPECT_EQ(interlace_units(1, 1), 1u);
    for (uint32_t w = 1; w <= 20; ++w) {
        for (uint32_t h = 1; h <= 20; ++h) {
            EXPECT_EQ(interlace_units(w, h), adam7_units_by_enumeration(w, h)) << w << " x " << h;
        }
    }
    // Full 8 x 8 blocks carry 64 units each, whatever their count.
    EXPECT_EQ(interlace_units(1000000, 1000000), 8000000u);
}

TEST(BaseName, LastComponentOfWindowsAndPosixPaths)
{
    EXPECT_STREQ(base_name("C:\\a\\b.png"), "b.png");
    EXPECT_STREQ(base_name("/a/b.png"), "b.png");
    EXPECT_STREQ(base_name("b.png"), "b.png");
    EXPECT_STREQ(base_name("C:\\a\\"), "");
    EXPECT_STREQ(base_name("C:b.png"), "b.png");
    EXPECT_STREQ(base_name("a/b\\c.png"), "c.png");
    EXPECT_STREQ(base_name(""), "");
    for (const char* p : {"@:b", "[:b", "`:b", "{:b", "1:b"})
        EXPECT_STREQ(base_name(p), p);  // no drive letter before the colon
    const char* path = "x/y.png";
    EXPECT_EQ(base_name(path), path + 2);  // a position inside the same text
}

using StatusLine = converter_test;

TEST_F(StatusLine, LabelsAreCutOrPaddedTo22Columns)
{
    set_status("Reading %.80s", base_name("/tmp/qr.png"));
    EXPECT_EQ(output(), "\rReading qr.png         ");
    EXPECT_EQ(conv_diag.meter_column, 0);

    set_status("Reading %.80s", "a-file-name-much-longer-than-the-label.png");
    EXPECT_EQ(output(), "\rReading qr.png         \rReading a-file-name-mu ");

    // Labels cut the name at 80 characters and never overrun status_text.
    set_status("Reading %.80s", std::string(300, 'n').c_str());
    EXPECT_EQ(std::string(conv_diag.status_text), "Reading " + std::string(80, 'n'));
}

TEST_F(StatusLine, ErrorBlanksTheLineFirstAndEndsTheDisplay)
{
    set_status("Writing %.80s", "out.bmp");
    meter_open(5);
    EXPECT_EQ(output(), "\rWriting out.bmp        .....\rWriting out.bmp        ");  // framed at once
    meter_advance(2);
    conv_error("SKIPPED: Cannot create - %s\n", "/no/such/out.bmp");
    EXPECT_EQ(output(),
              "\rWriting out.bmp        .....\rWriting out.bmp        oo" +
                  blanked + "SKIPPED: Cannot create - /no/such/out.bmp\n");
    EXPECT_EQ(conv_diag.meter_column, -1);
    EXPECT_EQ(conv_diag.meter_framed, 0);

    // The next row after a message brings back the label and the frame.
    meter_advance(4);
    EXPECT_EQ(replay(output()).last_line, "Writing out.bmp        oooo.");
}

TEST_F(StatusLine, MeterNeverPassesColumn56NorRedrawsFilledColumns)
{
    set_status("Reading %.80s", "x.png");
    meter_open(56);
    meter_advance(3);
    meter_advance(3);
    meter_advance(1);
    meter_advance(500);
    const terminal_view view = replay(output());
    EXPECT_EQ(view.last_line, "Reading x.png          " + std::string(56, 'o'));
    EXPECT_EQ(view.widest, 79u);
    end_status_line();
    EXPECT_EQ(output().back(), '\n');
    EXPECT_EQ(conv_diag.meter_column, -1);
}

// Reads a real file and checks what the terminal shows at the end of the
// read: the label, then exactly meter_width 'o's, within 79 columns.
void expect_full_meter(converter_test& test, const std::string& path, uint32_t meter_width)
{
    const std::size_t start = test.output().size();
    ConvImage image{};
    ASSERT_EQ(read_png_image(path.c_str(), &image), 1);
    conv_image_free(&image);
    EXPECT_EQ(conv_diag.meter_width, meter_width);
    EXPECT_EQ(conv_diag.units_done, conv_diag.units_total);
    const terminal_view view = replay(test.output().substr(start));
    const std::string label = ("Read OK " + std::string(base_name(path.c_str()))).substr(0, 22);
    EXPECT_EQ(view.last_line, label + std::string(22 - label.size(), ' ') + " " +
                                  std::string(meter_width, 'o'));
    EXPECT_LE(view.widest, 79u);
}

using ReadMeter = converter_test;

TEST_F(ReadMeter, FillsExactlyItsWidthForPlainAndInterlacedImages)
{
    struct sample { uint32_t width, height; bool interlaced; uint32_t meter; };
    const sample samples[] = {{1024, 768, true, 56}, {2000, 100, false, 15},
                              {300, 300, true, 7},   {87, 87, false, 1},
                              {1, 1, true, 1},       {3, 5000, true, 2}};
    for (const sample& s : samples) {
        SCOPED_TRACE(std::to_string(s.width) + " x " + std::to_string(s.height));
        png_layout layout;
        layout.width = s.width;
        layout.height = s.height;
        layout.bit_depth = 1;
        layout.interlaced = s.interlaced;
        const std::string path = dir.file("meter.png");
        ASSERT_NO_FATAL_FAILURE(write_png(path, layout));
        expect_full_meter(*this, path, s.meter);
    }
}

TEST_F(ReadMeter, WarningIsShownOnABlankedLineAndTheReadGoesOn)
{
    png_layout layout;
    layout.width = 2000;
    layout.height = 100;
    const std::string path = dir.file("warned.png");
    ASSERT_NO_FATAL_FAILURE(write_png(path, layout));
    // An ancillary chunk with a wrong CRC is a warning; libpng drops it.
    std::vector<uint8_t> bytes = read_file(path);
    const uint8_t text_chunk[] = {0, 0, 0, 3, 't', 'E', 'X', 't', 'a', 0, 'b', 0, 0, 0, 0};
    bytes.insert(bytes.begin() + 33, std::begin(text_chunk), std::end(text_chunk));
    write_file(path, bytes);

    expect_full_meter(*this, path, 15);
    EXPECT_NE(output().find(blanked + "WARNING(libpng): tEXt: CRC error - " + path + "\n"),
              std::string::npos)
        << output();
}

}  // namespace
