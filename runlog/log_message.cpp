#include "runlog/log_message.h"

#include "platform/platform.h"
#include "runlog/run_log.h"

#include <cstdarg>
#include <cstdio>

std::array<char, message_buffer_size> message_buffer{};

void log_message(const char* format, ...)
{
    // Formatting must not lose the system error that a caller logs next.
    const int saved_error = last_system_error();
    va_list args;
    va_start(args, format);
    std::vsnprintf(message_buffer.data(), message_buffer.size(), format, args);
    va_end(args);
    restore_system_error(saved_error);
    log_line(run_log, message_buffer.data());
}
