// The conversion step's log: the converter's reason under the run log's line,
// where a program without standard error still finds it.
#include "frontend/bmp_output.h"

#include "bmpconv/diagnostics.h"
#include "runlog/run_log.h"

#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <regex>
#include <string>
#include <vector>

namespace {

TEST(ConversionLog, AReadFailureLogsTheConvertersReasonIndented)
{
    std::vector<unsigned char> bmp;
    const std::vector<unsigned char> not_png{'n', 'o', 't'};
    const std::pair<std::function<int()>, std::string> cases[] = {
        {[] { return convert_png_to_bmp("no-such-file.png", "never.bmp"); }, "SKIPPED: No such file or directory"},
        {[&] { return convert_png_bytes_to_bmp(not_png, &bmp); }, "ERROR\\(libpng\\): .+"},
    };
    std::FILE* const saved_log = run_log;
    for (const auto& [convert, reason] : cases) {
        run_log = std::tmpfile();
        ASSERT_NE(run_log, nullptr);
        reset_conv_diagnostics();
        conv_diag.stream = nullptr;
        EXPECT_EQ(convert(), 1106);
        std::rewind(run_log);
        std::string log(512, '\0');
        log.resize(std::fread(log.data(), 1, log.size(), run_log));
        std::fclose(run_log);
        EXPECT_TRUE(std::regex_match(log, std::regex("\\d{8}-\\d{9}:No se pudo leer PNG temporal\n {16}" +
                                                     reason + "\n")))
            << log;
    }
    run_log = saved_log;
    reset_conv_diagnostics();
}

}  // namespace
