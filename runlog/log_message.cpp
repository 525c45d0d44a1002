#include "runlog/log_message.h"

#include "runlog/run_log.h"

#include <cstdarg>
#include <cstdio>

std::array<char, message_buffer_size> message_buffer{};

void log_message(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vsnprintf(message_buffer.data(), message_buffer.size(), format, args);
    va_end(args);
    log_line(run_log, message_buffer.data());
}
