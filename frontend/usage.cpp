#include "frontend/usage.h"

#include "runlog/run_log.h"
#include "tessel_version.h"

namespace {

// The banner, then the usage word for word, including where it differs from
// what the switches do: the dot size is really -z, and the default level is
// really Q. One text, so that it reaches the log with one write.
constexpr const char* usage_text =
    "Tessel v" TESSEL_VERSION_TEXT "\n"
    "QR Code symbols as PNG and BMP images, from the command line.\n"
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
    // log_text writes nothing when there is no log.
    log_text(run_log, usage_text);
}
