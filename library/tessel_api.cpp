// The exported functions of include/tessel.h.
#include "tessel.h"

#include "frontend/entry.h"
#include "frontend/exit_codes.h"

#include "tessel_version.h"

extern "C" {

TESSEL_API int TESSEL_CALL tessel_run(const char* command_line)
{
    return tessel_main(command_line);
}

TESSEL_API int TESSEL_CALL tessel_encode(const char*, const char*, const void*, size_t)
{
    return result_bad_command;
}

TESSEL_API const char* TESSEL_CALL tessel_version(void)
{
    return TESSEL_VERSION_TEXT;
}

}  // extern "C"
