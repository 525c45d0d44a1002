// A failed conversion logs the converter's reason under its line, where a
// program without standard error still finds it.
#include "frontend/bmp_output.h"

#include "bmpconv/diagnostics.h"
#include "pngwriter/png_symbol_writer.h"
#include "runlog/run_log.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <regex>
#include <string>
#include <utility>
#include <vector>

TEST(ConversionLog, AReadFailureLogsTheConvertersReasonIndented)
{
    std::FILE* const saved_log = run_log;
    run_log = std::tmpfile();
    conv_diag.stream = nullptr;
    EXPECT_EQ(convert_png_to_bmp("no-such-file.png", "never.bmp"), 1106);
    std::string log(256, '\0');
    std::rewind(run_log);
    log.resize(std::fread(log.data(), 1, log.size(), run_log));
    std::fclose(run_log);
    run_log = saved_log;
    reset_conv_diagnostics();
    EXPECT_TRUE(std::regex_match(
        log, std::regex(".{19}No se pudo leer PNG temporal\n {16}SKIPPED: No such file or directory\n")))
        << log;
}

extern int allocations_left;  // tests/util: the allocation after this many fails

TEST(ConversionLog, AConversionInMemoryThatRunsOutLogsWhy)
{
    QRcode* symbol = QRcode_encodeString("BMP", 1, QR_ECLEVEL_L, QR_MODE_8, 1);
    std::vector<unsigned char> png, bmp;
    ASSERT_EQ(make_symbol_png(symbol, raster_scale{1, 4, 0}, &png), 0);
    QRcode_free(symbol);
    std::FILE* const saved_log = run_log;
    int failures = 0;
    for (int k = 0, left = -1; left < 0; ++k) {
        run_log = std::tmpfile();
        conv_diag.stream = nullptr;
        allocations_left = k;
        const int result = convert_png_bytes_to_bmp(png, &bmp);
        left = std::exchange(allocations_left, -1);
        std::string log(1024, '\0');
        std::rewind(run_log);
        log.resize(std::fread(log.data(), 1, log.size(), run_log));
        std::fclose(run_log);
        reset_conv_diagnostics();
        failures += result != 0;
        if (result != 0) {
            EXPECT_TRUE(std::regex_search(log, std::regex("\n {16}\\S"))) << k << " " << log;
        }
    }
    run_log = saved_log;
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
    EXPECT_GT(failures, 0);
#endif
}
