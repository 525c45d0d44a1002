#include "vectorwriter/svg_writer.h"

#include <gtest/gtest.h>
#include <string>

namespace {

TEST(SvgWriter, DrawsEachRunOfDarkModulesAsOneRelativeSubpath)
{
    // Bit 0 alone marks a dark module; libqrencode's other bits are ignored.
    unsigned char modules[] = {1, 1, 0, 0, 0x81, 1, 0x80, 0, 1};
    QRcode symbol{1, 3, modules};
    std::vector<unsigned char> out;
    ASSERT_TRUE(make_symbol_svg(&symbol, 2, svg_side{7000, true}, &out));
    EXPECT_EQ(std::string(out.begin(), out.end()),
              "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
              "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"7mm\" "
              "height=\"7mm\" viewBox=\"0 0 7 7\" shape-rendering=\"crispEdges\">\n"
              "<rect width=\"7\" height=\"7\" fill=\"#fff\"/>\n"
              "<path fill=\"#000\" d=\"M2 2h2v1h-2zm1 1h2v1h-2zm1 1h1v1h-1z\"/>\n</svg>\n");

    ASSERT_TRUE(make_symbol_svg(&symbol, 0, svg_side{21, false}, &out));
    EXPECT_NE(std::string(out.begin(), out.end()).find(" width=\"21\" height=\"21\" viewBox=\"0 0 3 3\""),
              std::string::npos);
    EXPECT_FALSE(make_symbol_svg(&symbol, -1, svg_side{21, false}, &out));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(make_symbol_svg(&symbol, 0, svg_side{0, true}, &out));

    // The Swiss cross over the modules, in a viewport of 1656 units a side.
    ASSERT_TRUE(make_symbol_svg(&symbol, 2, svg_side{7000, true}, &out, {}, true));
    const std::string text(out.begin(), out.end());
    EXPECT_EQ(text.substr(text.rfind("v1h-1z")),
              "v1h-1z\"/>\n<svg x=\"2\" y=\"2\" width=\"3\" height=\"3\" viewBox=\"0 0 1656 1656\">\n"
              "<rect x=\"702\" y=\"702\" width=\"252\" height=\"252\" fill=\"#fff\"/>\n"
              "<rect x=\"720\" y=\"720\" width=\"216\" height=\"216\" fill=\"#000\"/>\n"
              "<rect x=\"758\" y=\"807\" width=\"140\" height=\"42\" fill=\"#fff\"/>\n"
              "<rect x=\"807\" y=\"758\" width=\"42\" height=\"140\" fill=\"#fff\"/>\n</svg>\n</svg>\n");
}

}  // namespace
