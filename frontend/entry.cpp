#include "frontend/entry.h"

#include "bmpconv/diagnostics.h"
#include "frontend/bmp_output.h"
#include "frontend/exit_codes.h"
#include "frontend/input_data.h"
#include "frontend/run_settings.h"
#include "frontend/switch_pass.h"
#include "frontend/symbol_output.h"
#include "frontend/tokenizer.h"
#include "runlog/log_message.h"
#include "runlog/run_log.h"

#include <array>
#include <cstdio>
#include <cstring>

namespace {

constexpr const char* out_of_memory = "Error de memoria al leer la l\xEDnea de comandos";
// Windows opens no path longer than this (MAX_PATH less its NUL).
constexpr std::size_t max_file_name_length = 259;

// Everything between start-up and clean-up. temp_name is filled once the
// output name and data are known; the caller deletes that file.
int run(const char* command_line, char** tokens, char* temp_name)
{
    split_status split = split_status::ok;
    const int count = split_command_line(command_line, tokens, max_tokens, &split);
    if (split == split_status::token_too_long) {
        log_line(run_log, "Par\xE1metro demasiado largo: m\xE1ximo 32767 caracteres");
        return result_bad_command;
    }
    if (split == split_status::no_memory) {
        log_line(run_log, out_of_memory);
        return result_no_memory;
    }
    switch_outcome outcome;
    const int result = run_switch_pass(tokens, count, &outcome);
    if (result != result_ok || outcome.help_shown)
        return result;
    if (outcome.output_name == nullptr) {
        log_line(run_log, "Archivo de salida no ha sido especificado");
        return result_bad_command;
    }
    // A token may be far longer than any path that can be opened; such a name
    // is refused before the temporary file or a symbol is made.
    if (std::strlen(outcome.output_name) > max_file_name_length) {
        log_message("Nombre de archivo demasiado largo: %s", outcome.output_name);
        return result_cannot_create;
    }
    const string_buffer* data = current_data();
    if (data == nullptr) {
        log_line(run_log, "Dato a codificar no ha sido especificado");
        return result_bad_command;
    }
    make_temp_name(temp_name, token_size);
    if (run_settings.structured != 0 && run_settings.version == 0) {
        log_line(run_log,
                 "La versi\xF3n debe ser especificada para codificar simbolos estructurados.\n");
        return result_bad_command;
    }
    const bool bmp = run_settings.image_type == image_bmp;
    if (run_settings.structured != 0)
        return write_structured(data->text, outcome.output_name, bmp ? temp_name : nullptr);
    const int written = write_single(data->text, bmp ? temp_name : outcome.output_name);
    if (written != result_ok || !bmp)
        return written;
    return convert_png_to_bmp(temp_name, outcome.output_name);
}

// Puts back what an earlier run in this process may have left behind, so that
// every run starts as the first run of a new process would; the data was
// released at the end of that run. The run log stays open; the converter
// keeps the stream it writes to.
void reset_process_state()
{
    reset_run_settings();
    std::FILE* const status_stream = conv_diag.stream;
    reset_conv_diagnostics();
    conv_diag.stream = status_stream;
}

}  // namespace

int tessel_main(const char* command_line)
{
    reset_process_state();
    if (run_log == nullptr)
        open_run_log();
    std::array<char, token_size> temp_name{};
    char** tokens = alloc_token_array(max_tokens, token_size);
    int result = result_no_memory;
    if (tokens == nullptr)
        log_line(run_log, out_of_memory);
    else
        result = run(command_line != nullptr ? command_line : "", tokens, temp_name.data());
    free_token_array(tokens, max_tokens);
    release_data();
    if (temp_name[0] != '\0')
        std::remove(temp_name.data());
    // The usage text and continuation lines are not flushed as they are
    // written; a process that goes on to other runs must not hold them back.
    if (run_log != nullptr)
        std::fflush(run_log);
    return result;
}

int tessel_refuse_command_line(command_line_refusal reason)
{
    if (run_log == nullptr)
        open_run_log();
    if (reason == command_line_refusal::no_memory) {
        log_line(run_log, out_of_memory);
        return result_no_memory;
    }
    log_line(run_log, "Car\xE1" "cter no representable en la l\xEDnea de comandos");
    return result_bad_command;
}
