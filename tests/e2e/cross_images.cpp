// Draws one level M symbol with the Swiss cross into STEM.png, .bmp, .svg and
// .emf, for the tests that read them back: no switch asks for the cross yet.
// Usage: tessel_cross_images VERSION DOT_SIZE MARGIN DATA STEM
#include "frontend/symbol_files.h"
#include "frontend/symbol_output.h"
#include "settings/run_settings.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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
    const std::string stem = argv[5];
    int failed = symbol == nullptr ? 1 : 0;
    for (run_settings.image_type = image_png; run_settings.image_type <= image_emf && failed == 0; ++run_settings.image_type)
        failed = write_symbol_file(symbol, (stem + image_suffix()).c_str(), (stem + ".tmp").c_str());
    std::remove((stem + ".tmp").c_str());
    QRcode_free(symbol);
    return failed != 0 ? 1 : 0;
}
