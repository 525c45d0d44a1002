// The command line as the entry point reads it, on arbitrary bytes: the
// tokenizer, the switch pass with its value checks, the preparation of the
// data token and the series names made from the output name; then the byte-taking
// run (switches up to the first NUL, data after it), writing into a missing folder.
// With no run log open, every message goes nowhere.
#include "frontend/entry.h"
#include "frontend/input_data.h"
#include "frontend/switch_pass.h"
#include "frontend/symbol_output.h"
#include "frontend/tokenizer.h"
#include "fuzz/fuzz_support.h"
#include "runlog/run_log.h"
#include "settings/exit_codes.h"
#include "settings/print_size.h"
#include "settings/run_settings.h"

#include <array>
#include <cstring>
#include <string>

namespace {

bool points_into_a_token(const char* name, char** tokens, int count)
{
    for (int i = 0; i < count; ++i)
        if (name == tokens[i])
            return true;
    return false;
}

// What a pass that succeeded may leave in the settings: every value that a
// switch checks has passed its check.
void check_settings()
{
    const run_settings_t& s = run_settings;
    FUZZ_REQUIRE(s.dot_size >= 1);
    FUZZ_REQUIRE(s.margin >= 0);
    FUZZ_REQUIRE(s.version >= 0);
    FUZZ_REQUIRE(s.level >= QR_ECLEVEL_L && s.level <= QR_ECLEVEL_H);
    FUZZ_REQUIRE(s.image_type >= image_png && s.image_type <= image_emf);
    FUZZ_REQUIRE(s.dpi >= 0 && s.dpi <= max_dpi);
    FUZZ_REQUIRE(s.print_size_nm >= 0 && s.print_size_nm <= max_print_size_nm);
    FUZZ_REQUIRE(s.print_size_nm == 0 || s.dpi != 0 || s.image_type >= image_svg);
    FUZZ_REQUIRE(s.hint == QR_MODE_8 || s.hint == QR_MODE_KANJI);
    FUZZ_REQUIRE(s.case_sensitive == 0 || s.case_sensitive == 1);
    FUZZ_REQUIRE(s.eight_bit == 0 || s.eight_bit == 1);
    FUZZ_REQUIRE(s.structured == 0 || s.structured == 1);
    FUZZ_REQUIRE(s.eci == eci_auto || s.eci == eci_none || (s.eci >= 0 && s.eci <= max_eci));
    FUZZ_REQUIRE(s.utf8 == 0 || (s.utf8 == 1 && s.hint == QR_MODE_8));
}

// A series name is the output name with "-NN" put in: three characters more,
// whether or not the suffix was moved behind the number.
void check_series_names(const char* output_name)
{
    const std::size_t expected = std::strlen(output_name) + 3;
    std::array<char, token_size> name{};
    for (const char* suffix : {".png", ".bmp", ".svg"}) {
        for (const int counter : {1, 16}) {
            name.fill('#');
            const bool fits =
                format_series_name(name.data(), name.size(), output_name, suffix, counter);
            FUZZ_REQUIRE(fits == (expected < name.size()));
            FUZZ_REQUIRE(std::strlen(name.data()) == (fits ? expected : 0));
        }
    }
}

// A huge dot size or margin makes a right image that takes minutes to
// compress (a -z 9999 symbol is 10 GB of pixels); the byte-taking run below
// is for faults, not for that time, and skips such settings.
bool image_is_small(const run_settings_t& s)
{
    int64_t dot = s.dot_size;
    if (s.print_size_nm != 0 && s.dpi != 0)
        dot = dot_size_for(s.print_size_nm, s.dpi, 21);
    // Each factor is bounded first: -z and -m saturate at INT_MAX, whose
    // product with the rest passes 2^63.
    return dot <= 8192 && s.margin <= 8192 && dot * (177 + 2 * int64_t{s.margin}) <= 8192;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    // The command line is a C string: it ends at the first NUL byte.
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const char* command_line = bytes.c_str();

    run_log = nullptr;
    reset_run_settings();
    char** tokens = alloc_token_array(max_tokens, token_size);
    FUZZ_REQUIRE(tokens != nullptr);

    bool small_image = true;
    split_status status = split_status::no_memory;
    const int count = split_command_line(command_line, tokens, max_tokens, &status);
    FUZZ_REQUIRE(count >= 0 && count < max_tokens);
    // Stored whole, never cut: a token cannot be longer than the line.
    std::size_t stored = 0;
    for (int i = 0; i < count; ++i) {
        const std::size_t n = strnlen(tokens[i], max_token_length + 1);
        FUZZ_REQUIRE(n <= max_token_length);
        stored += n;
    }
    FUZZ_REQUIRE(stored <= std::strlen(command_line));
    FUZZ_REQUIRE(status != split_status::no_memory);

    // A token over the limit ends the run before the switches are read.
    if (status == split_status::ok) {
        switch_outcome outcome;
        const int result = run_switch_pass(tokens, count, &outcome);
        FUZZ_REQUIRE(result == result_ok || result == result_bad_command ||
                     result == result_no_memory);
        if (result == result_ok && !outcome.help_shown) {
            check_settings();
            small_image = image_is_small(run_settings);
            if (outcome.output_name != nullptr) {
                FUZZ_REQUIRE(points_into_a_token(outcome.output_name, tokens, count));
                check_series_names(outcome.output_name);
            }
        }
        if (const string_buffer* prepared = current_data(); prepared != nullptr) {
            // Escapes only ever shorten the token, and the record keeps its
            // length in step with its text.
            FUZZ_REQUIRE(prepared->length >= 0 && prepared->length < prepared->capacity);
            FUZZ_REQUIRE(std::strlen(prepared->text) == static_cast<std::size_t>(prepared->length));
            FUZZ_REQUIRE(static_cast<std::size_t>(prepared->length) <= max_token_length);
        }
    }

    free_token_array(tokens, max_tokens);
    release_data();

    const std::size_t switches_size = std::strlen(command_line);
    const std::size_t data_size = size > switches_size ? size - switches_size - 1 : 0;
    if (!small_image)
        return 0;
    const int result = run_with_data(command_line, "no-such-folder/fuzz.png",
                                     bytes.data() + switches_size + 1, data_size);
    FUZZ_REQUIRE(result == result_ok || (result >= result_cannot_create && result <= result_bmp_failed));
    FUZZ_REQUIRE(current_data() == nullptr);
    return 0;
}
