// Messages with a value: formatted into the process-wide 2048-byte message
// buffer, then logged as data through log_line.
#pragma once

#include <array>
#include <cstddef>

inline constexpr std::size_t message_buffer_size = 2048;
extern std::array<char, message_buffer_size> message_buffer;

// snprintf into message_buffer (cut at 2047 bytes), then log_line(run_log, ...).
// Like log_line, leaves the platform's last error code unchanged.
void log_message(const char* format, ...) __attribute__((format(printf, 1, 2)));
