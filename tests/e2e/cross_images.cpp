// Draws one level M symbol with the Swiss cross into STEM.png, STEM.bmp,
// STEM.svg and STEM.emf, for the tests that read the four back with other
// programs. No switch asks for the cross here: the settings are set directly.
// Usage: tessel_cross_images VERSION DOT_SIZE MARGIN DATA STEM
#include "settings/run_settings.h"
#include "frontend/symbol_files.h"
#include "frontend/symbol_output.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

int main(int argc, char** argv)
{
    if (argc != 6)
        return 2;
    run_settings.level = QR_ECLEVEL_M;
    run_settings.version = std::atoi(argv[1]);
    run_settings.dot_size = std::atoi(argv[2]);
    run_settings.margin = std::atoi(argv[3]);
    run_settings.swiss_cross = 1;
    QRcode* symbol = encode_single(argv[4], std::strlen(argv[4]));
    if (symbol == nullptr)
        return 1;
    const std::string stem = argv[5];
    int failed = 0;
    for (const auto& [type, suffix] :
         {std::pair{image_png, ".png"}, {image_bmp, ".bmp"}, {image_svg, ".svg"}, {image_emf, ".emf"}}) {
        run_settings.image_type = type;
        failed |= write_symbol_file(symbol, (stem + suffix).c_str(), (stem + ".tmp").c_str());
    }
    std::remove((stem + ".tmp").c_str());
    QRcode_free(symbol);
    return failed != 0 ? 1 : 0;
}
