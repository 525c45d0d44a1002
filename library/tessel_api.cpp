// The exported functions of include/tessel.h: each call takes the library's
// one lock, opens the run log in the current directory, runs, closes the log
// and lets go of the lock. No exception gets past these functions.
#include "tessel.h"

#include "frontend/entry.h"
#include "frontend/exit_codes.h"
#include "platform/platform.h"
#include "runlog/run_log.h"

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

TESSEL_API const char* TESSEL_CALL tessel_version(void)
{
    return TESSEL_VERSION_TEXT;
}

}  // extern "C"
