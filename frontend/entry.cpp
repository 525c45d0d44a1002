#include "frontend/entry.h"

#include "bmpconv/diagnostics.h"
#include "frontend/bmp_output.h"
#include "frontend/input_data.h"
#include "frontend/payload_input.h"
#include "frontend/switch_pass.h"
#include "frontend/symbol_output.h"
#include "frontend/tokenizer.h"
#include "platform/platform.h"
#include "runlog/log_message.h"
#include "runlog/run_log.h"
#include "settings/exit_codes.h"
#include "settings/run_settings.h"
#include "util/utf8_text.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr const char* out_of_memory = "Error de memoria al leer la l\xEDnea de comandos";
// Windows opens no path longer than this (MAX_PATH less its NUL).
constexpr std::size_t max_file_name_length = 259;

// What both kinds of run hold while they run; released by finish_run.
struct run_state {
    char** tokens;
    std::array<char, token_size> temp_name;  // filled once the name and data are known
};

// Switches given apart from the data may not carry data or an output name:
// they would be taken silently in place of the ones given as arguments. The
// tokens are read with the switch pass's own rule for values.
int refuse_data_in_switches(char** tokens, int count)
{
    for (int i = 0; i < count; ++i) {
        const char* token = tokens[i];
        if (token[0] != '-') {
            log_message("Dato no admitido entre los modificadores: %s", token);
            return result_bad_command;
        }
        if (token[1] == 'o' || token[1] == 'O') {
            log_line(run_log, "Archivo de salida no admitido entre los modificadores");
            return result_bad_command;
        }
        if (i + 1 < count && tokens[i + 1][0] != '-')
            ++i;
    }
    return result_ok;
}

bool asks_for_text(char** tokens, int count)
{
    return std::any_of(tokens, tokens + count, [](const char* token) {
        const char letter = token[0] == '-' ? token[1] : '\0';
        return letter == 'u' || letter == 'U' || letter == 'p' || letter == 'P';
    });
}

// Makes the UTF-8 tokens of a command line ANSI in place, all but the data
// when the run reads its data as text. Returns 0, or the failure code after
// logging it.
int make_tokens_ansi(char** tokens, int count)
{
    const bool text = asks_for_text(tokens, count);
    std::string ansi;
    bool value = false;  // the token is the value of the switch before it
    for (int i = 0; i < count; ++i) {
        char* token = tokens[i];
        const bool data = token[0] != '-' && !value;
        value = token[0] == '-';
        if (data && text)
            continue;
        const std::size_t size = std::strlen(token);
        const ansi_conversion made = file_name_from_utf8(token, &ansi);
        if (made == ansi_conversion::no_memory) {
            log_line(run_log, out_of_memory);
            return result_no_memory;
        }
        // No code page takes more bytes for a character than UTF-8 does.
        if (made != ansi_conversion::exact || ansi.size() > size)
            return tessel_refuse_command_line(command_line_refusal::not_representable);
        std::memcpy(token, ansi.data(), ansi.size());
        token[ansi.size()] = '\0';
    }
    return result_ok;
}

// Splits text into st->tokens and runs the switch pass over them; with
// switches_only, a data token or -o among them is refused first. image_file
// is false when the run makes no image (run_switch_pass). Returns 0, or the
// failure code after logging it.
int read_switches(const char* text, bool switches_only, run_state* st, switch_outcome* outcome,
                  bool image_file = true, line_text kind = line_text::bytes)
{
    split_status split = split_status::ok;
    const int count = split_command_line(text, st->tokens, max_tokens, &split);
    if (split == split_status::token_too_long) {
        log_line(run_log, "Par\xE1metro demasiado largo: m\xE1ximo 32767 caracteres");
        return result_bad_command;
    }
    if (split == split_status::no_memory) {
        log_line(run_log, out_of_memory);
        return result_no_memory;
    }
    if (switches_only) {
        const int refused = refuse_data_in_switches(st->tokens, count);
        if (refused != result_ok)
            return refused;
    }
    if (kind == line_text::utf8) {
        const int refused = make_tokens_ansi(st->tokens, count);
        if (refused != result_ok)
            return refused;
    }
    return run_switch_pass(st->tokens, count, outcome, image_file, kind == line_text::ansi);
}

// The data must be given, hold a NUL byte only with -8, and be well-formed
// UTF-8 with -u or designator 26. Returns 0, or 1105 after logging why not.
int check_data(const char* data, std::size_t size)
{
    if (data == nullptr) {
        log_line(run_log, "Dato a codificar no ha sido especificado");
        return result_bad_command;
    }
    // Only the 8-bit calls take a length; the others read the data as a C
    // string and would end it at the NUL, encoding less than was given.
    if (run_settings.eight_bit == 0 && std::memchr(data, '\0', size) != nullptr) {
        log_line(run_log, "Dato con un car\xE1" "cter nulo: se necesita -8 para codificarlo");
        return result_bad_command;
    }
    // Readers would show other characters than the ones meant. Data longer
    // than any symbol holds is left to the encoder, which refuses it unread.
    if (size <= max_encodable_bytes && (run_settings.utf8 != 0 || eci_designator(data, size) == 26)) {
        const std::size_t bad = first_bad_utf8(std::string_view(data, size));
        if (bad != std::string_view::npos) {
            log_message("Dato no es texto UTF-8 v\xE1lido: byte %d", static_cast<int>(bad) + 1);
            return result_bad_command;
        }
    }
    return result_ok;
}

// Everything after the switch pass, shared by both kinds of run: the checks
// of the output name and the data, the temporary file, the symbol or series
// and its files. data is nullptr when none was given; otherwise it
// has a NUL after its size bytes, or is longer than any encoder takes.
int make_symbols(const char* output_name, const char* data, std::size_t size, run_state* st)
{
    if (output_name == nullptr) {
        log_line(run_log, "Archivo de salida no ha sido especificado");
        return result_bad_command;
    }
    // A token may be far longer than any path that can be opened; such a name
    // is refused before the temporary file or a symbol is made.
    if (std::strlen(output_name) > max_file_name_length) {
        log_message("Nombre de archivo demasiado largo: %s", output_name);
        return result_cannot_create;
    }
    std::string payload;
    int refused = take_payload(&data, &size, &payload);
    if (refused == result_ok)
        refused = check_data(data, size);
    if (refused != result_ok)
        return refused;
    char* temp_name = st->temp_name.data();
    make_temp_name(temp_name, st->temp_name.size());
    if (run_settings.structured != 0 && run_settings.version == 0) {
        log_line(run_log,
                 "La versi\xF3n debe ser especificada para codificar simbolos estructurados.\n");
        return result_bad_command;
    }
    // libqrencode would put the designator into the first member only, and
    // a reader of the others would guess their character set.
    if (run_settings.structured != 0 && eci_designator(data, size) >= 0) {
        log_line(run_log, "Designador ECI no admitido en s\xEDmbolos estructurados: use -e none");
        return result_bad_command;
    }
    if (run_settings.structured != 0)
        return write_structured(data, size, output_name, temp_name);
    return write_single(data, size, output_name, temp_name);
}

int command_line_run(const char* command_line, name_text names, line_text kind, run_state* st)
{
    switch_outcome outcome;
    const int result = read_switches(command_line, false, st, &outcome, true, kind);
    if (result != result_ok || outcome.help_shown)
        return result;
    const char* output_name = outcome.output_name;
    std::string converted;
    if (names == name_text::utf8 && output_name != nullptr) {
        switch (file_name_from_utf8(output_name, &converted)) {
        case ansi_conversion::exact:
            output_name = converted.c_str();
            break;
        case ansi_conversion::not_representable:
            log_line(run_log, "Car\xE1" "cter no representable en el nombre de archivo");
            return result_bad_command;
        case ansi_conversion::no_memory:
            log_line(run_log, out_of_memory);
            return result_no_memory;
        }
    }
    const string_buffer* data = current_data();
    return make_symbols(output_name, data != nullptr ? data->text : nullptr,
                        data != nullptr ? static_cast<std::size_t>(data->length) : 0, st);
}

// Puts the size bytes at data where the encoders take them from: *held is
// nullptr when no data was given (data null with a size), data itself when
// no series can hold it (the encoder refuses it as it stands), else a copy
// that ends in a NUL, as the encoders need. Returns 0, or 1102 after logging.
int hold_data(const char* data, std::size_t size, const char** held)
{
    *held = data;
    if (data == nullptr && size > 0) {
        *held = nullptr;
        return result_ok;
    }
    if (size > max_encodable_bytes)
        return result_ok;
    if (take_data_bytes(data, size) == 0) {
        log_line(run_log, "Error de memoria al preparar dato de entrada");
        return result_no_memory;
    }
    *held = current_data()->text;
    return result_ok;
}

int data_run(const char* switches, const char* output_name, const char* data, std::size_t size,
             run_state* st)
{
    switch_outcome outcome;
    int result = read_switches(switches, true, st, &outcome);
    if (result != result_ok || outcome.help_shown)
        return result;
    const char* held = nullptr;
    result = hold_data(data, size, &held);
    return result != result_ok ? result : make_symbols(output_name, held, size, st);
}

int memory_run(const char* switches, const char* data, std::size_t size, memory_output what,
               std::vector<unsigned char>* out, int* side, run_state* st)
{
    switch_outcome outcome;
    int result = read_switches(switches, true, st, &outcome, what == memory_output::image);
    if (result != result_ok || outcome.help_shown)
        return result;
    if (run_settings.structured != 0) {
        log_line(run_log, "Serie de s\xEDmbolos no admitida: la llamada devuelve un solo s\xEDmbolo");
        return result_bad_command;
    }
    const char* held = nullptr;
    std::string payload;
    result = hold_data(data, size, &held);
    if (result == result_ok)
        result = take_payload(&held, &size, &payload);
    if (result == result_ok)
        result = check_data(held, size);
    if (result != result_ok)
        return result;
    if (what == memory_output::modules)
        return make_single_modules(held, size, out, side);
    return make_single_image(held, size, out);
}

// Puts back what an earlier run in this process may have left behind, so that
// every run starts as the first run of a new process would; the data was
// released at the end of that run. The run log stays as it is; the converter
// keeps the stream it writes to.
void reset_process_state()
{
    reset_run_settings();
    std::FILE* const status_stream = conv_diag.stream;
    reset_conv_diagnostics();
    conv_diag.stream = status_stream;
}

// Releases what a run held, whichever way it ended.
void finish_run(run_state* st)
{
    free_token_array(st->tokens, max_tokens);
    st->tokens = nullptr;
    release_data();
    if (st->temp_name[0] != '\0')
        std::remove(st->temp_name.data());
    // The usage text and continuation lines are not flushed as they are
    // written; a process that goes on to other runs must not hold them back.
    if (run_log != nullptr)
        std::fflush(run_log);
}

// Runs body(st) between the common start and end of a run. An exception
// (only running out of memory can raise one) ends the run with 1102 and the
// usual clean-up, so it never reaches a caller of the library.
template <typename Body>
int guarded_run(Body body)
{
    reset_process_state();
    run_state st{nullptr, {}};
    int result = result_no_memory;
    try {
        st.tokens = alloc_token_array(max_tokens, token_size);
        if (st.tokens == nullptr)
            log_line(run_log, out_of_memory);
        else
            result = body(&st);
    } catch (...) {
        // The code throws nothing itself; what the standard library may
        // throw (std::bad_alloc, std::length_error) is memory running out.
        log_line(run_log, "Error de memoria");
        result = result_no_memory;
    }
    finish_run(&st);
    return result;
}

}  // namespace

int run_command_line(const char* command_line, name_text names, line_text kind)
{
    const char* text = command_line != nullptr ? command_line : "";
    return guarded_run(
        [text, names, kind](run_state* st) { return command_line_run(text, names, kind, st); });
}

int run_with_data(const char* switches, const char* output_name, const char* data,
                  std::size_t size)
{
    const char* text = switches != nullptr ? switches : "";
    return guarded_run([=](run_state* st) { return data_run(text, output_name, data, size, st); });
}

int run_into_memory(const char* switches, const char* data, std::size_t size, memory_output what,
                    std::vector<unsigned char>* out, int* side)
{
    out->clear();
    if (side != nullptr)
        *side = 0;
    const char* text = switches != nullptr ? switches : "";
    return guarded_run(
        [=](run_state* st) { return memory_run(text, data, size, what, out, side, st); });
}

int tessel_main(const char* command_line, name_text names, line_text kind)
{
    if (run_log == nullptr)
        open_run_log();
    return run_command_line(command_line, names, kind);
}

bool command_line_asks_for_text(const char* command_line)
{
    char** tokens = alloc_token_array(max_tokens, token_size);
    if (tokens == nullptr)
        return false;
    const bool text = asks_for_text(tokens, split_command_line(command_line, tokens, max_tokens));
    free_token_array(tokens, max_tokens);
    return text;
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
