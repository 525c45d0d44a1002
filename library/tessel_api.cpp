// The exported functions of include/tessel.h: each call takes the library's
// one lock, opens the run log in the current directory, runs, closes the log
// and lets go of the lock. No exception gets past these functions.
#include "tessel.h"

#include "frontend/entry.h"
#include "platform/platform.h"
#include "runlog/run_log.h"
#include "settings/exit_codes.h"

#include <cstring>
#include <vector>

#include "tessel_version.h"

namespace {

bool heap_settings_made = false;  // guarded by the library lock

// The host may change its directory, or rename or delete the log, between
// calls: the log is opened afresh each time and never held between calls.
template <typename Body>
int locked_call(Body body)
{
    lock_library_calls();
    // Each call frees what it took (some 300 KiB of compressor state for a
    // small symbol); without this the heap hands it back to the system and
    // takes it again, call after call, as it would in tessel-batch.
    if (!heap_settings_made) {
        keep_freed_memory();
        heap_settings_made = true;
    }
    int result = result_no_memory;
    try {
        open_run_log();
        result = body();
    } catch (...) {
        // The runs catch their own; nothing else here allocates.
        result = result_no_memory;
    }
    close_run_log();
    unlock_library_calls();
    return result;
}

// The library's own result: the caller's buffer is too small.
constexpr int result_buffer_too_small = 1107;

// A buffer the caller may not have: null is refused unless it is given no room.
// The size is reported as 0 before anything can fail, so that a refusal does
// not leave the caller reading a size from an earlier call.
template <typename Size>
int check_buffer(const void* buffer, std::size_t capacity, Size* size_out)
{
    if (size_out != nullptr)
        *size_out = 0;
    if (buffer == nullptr && capacity != 0) {
        log_line(run_log, "B\xFA" "fer nulo con capacidad distinta de cero");
        return result_bad_command;
    }
    if (size_out == nullptr) {
        log_line(run_log, "Puntero nulo donde devolver el tama\xF1o");
        return result_bad_command;
    }
    return result_ok;
}

// Copies all of bytes into buffer when they fit in capacity; otherwise
// touches nothing and answers 1107. A failed run's code is passed on.
int hand_over(int result, const std::vector<unsigned char>& bytes, void* buffer,
              std::size_t capacity)
{
    if (result != result_ok)
        return result;
    if (bytes.size() > capacity)
        return result_buffer_too_small;
    if (!bytes.empty())
        std::memcpy(buffer, bytes.data(), bytes.size());
    return result_ok;
}

}  // namespace

extern "C" {

TESSEL_API int TESSEL_CALL tessel_run(const char* command_line)
{
    return locked_call([command_line] { return run_command_line(command_line); });
}

TESSEL_API int TESSEL_CALL tessel_encode(const char* switches, const char* output_name,
                                         const void* data, size_t size)
{
    const auto* bytes = static_cast<const char*>(data);
    return locked_call(
        [=] { return run_with_data(switches, output_name, bytes, size); });
}

TESSEL_API int TESSEL_CALL tessel_image(const char* switches, const void* data, size_t size,
                                        void* buffer, size_t capacity, size_t* image_size)
{
    const auto* bytes = static_cast<const char*>(data);
    return locked_call([=] {
        const int refused = check_buffer(buffer, capacity, image_size);
        if (refused != result_ok)
            return refused;
        std::vector<unsigned char> image;
        const int result = run_into_memory(switches, bytes, size, memory_output::image, &image, nullptr);
        if (result == result_ok)
            *image_size = image.size();
        return hand_over(result, image, buffer, capacity);
    });
}

TESSEL_API int TESSEL_CALL tessel_modules(const char* switches, const void* data, size_t size,
                                          unsigned char* modules, size_t capacity, int* side)
{
    const auto* bytes = static_cast<const char*>(data);
    return locked_call([=] {
        const int refused = check_buffer(modules, capacity, side);
        if (refused != result_ok)
            return refused;
        std::vector<unsigned char> matrix;
        const int result = run_into_memory(switches, bytes, size, memory_output::modules, &matrix, side);
        return hand_over(result, matrix, modules, capacity);
    });
}

TESSEL_API const char* TESSEL_CALL tessel_version(void)
{
    return TESSEL_VERSION_TEXT;
}

}  // extern "C"
