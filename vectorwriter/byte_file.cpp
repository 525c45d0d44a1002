#include "vectorwriter/byte_file.h"

#include "frontend/exit_codes.h"
#include "runlog/log_message.h"
#include "runlog/run_log.h"

#include <cstdio>

int write_byte_file(const char* file_name, const std::vector<unsigned char>& bytes)
{
    std::FILE* file = std::fopen(file_name, "wb");
    if (file == nullptr) {
        log_message("Error al crear archivo [%s]", file_name);
        log_system_error(run_log);
        return result_cannot_create;
    }
    bool written = bytes.empty() || std::fwrite(bytes.data(), bytes.size(), 1, file) == 1;
    // Most of a small file is still in the stream's buffer: only the flush and
    // the close tell whether it reached the disk.
    written = std::fflush(file) == 0 && written;
    written = std::fclose(file) == 0 && written;
    if (!written) {
        log_message("Error al escribir archivo [%s]", file_name);
        return result_png_failed;
    }
    return result_ok;
}
