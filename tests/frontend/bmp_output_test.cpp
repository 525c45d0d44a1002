// A failed conversion logs the converter's reason under its line, where a
// program without standard error still finds it.
#include "frontend/bmp_output.h"

#include "bmpconv/diagnostics.h"
#include "runlog/run_log.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <regex>
#include <string>

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
