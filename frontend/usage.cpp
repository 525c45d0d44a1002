#include "frontend/usage.h"

#include "runlog/run_log.h"
#include "tessel_version.h"

#include <cstdio>

namespace {

// Word for word, including where it differs from what the switches do: the
// dot size is really -z, and the default level is really Q.
constexpr const char* usage_text =
    "Usage: qrencode [OPTIONS]... <DataEncode>\n"
    "  -h,          display the help message.\n"
    "  -o FILENAME, write image to FILENAME. If -s is given, structured\n"
    "               symbols are written to FILENAME-01.png, FILENAME-02.png, ...;\n"
    "               if specified, remove a trailing '.png' from FILENAME.\n"
    "\n"
    "  -s NUMBER,   specify the size of dot (pixel). (default=3)\n"
    "\n"
    "  -l {LMQH},   specify error collectin level from L (lowest) to H (highest).\n"
    "               (default=L)\n"
    "\n"
    "  -v NUMBER,   specify the version of the symbol. (default=auto)\n"
    "\n"
    "  -m NUMBER,   specify the width of margin. (default=4)\n"
    "\n"
    "  -S,          make structured symbols. Version must be specified.\n"
    "\n"
    "  -k,          assume that the input text contains kanji (shift-jis).\n"
    "\n"
    "  -c,          encode lower-case alphabet characters in 8-bit mode. (default)\n"
    "\n"
    "  -i,          ignore case distinctions and use only upper-case characters.\n"
    "\n"
    "  -8,          encode entire data in 8-bit mode. -k, -c and -i will be ignored.\n"
    "\n"
    "  -t TYPE,     Image Type. PNG (default) or BMP.\n"
    "\n"
    "  <DataEncode> input data.\n";

}  // namespace

void print_usage()
{
    if (run_log == nullptr)
        return;
    std::fprintf(run_log, "Tessel v%s\n%s\n", TESSEL_VERSION_TEXT,
                 "QR Code symbols as PNG and BMP images, from the command line.");
    std::fprintf(run_log, "%s", usage_text);
}
