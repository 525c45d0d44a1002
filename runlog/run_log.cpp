#include "runlog/run_log.h"

#include "platform/platform.h"
#include "runlog/log_message.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

std::FILE* run_log = nullptr;
int name_sequence = 0;

namespace {

// One line on its way to the log: gathered in buffer and appended with one
// write, so that other processes appending to the same file can neither
// split it nor come between its parts. A line longer than the buffer goes
// out in several writes, whole but no longer atomic.
struct line_out {
    std::FILE* log;
    char* buffer;
    std::size_t capacity;
    std::size_t used;
};

void send(line_out* out)
{
    if (out->used > 0)
        append_whole(out->log, out->buffer, out->used);
    out->used = 0;
}

void put(line_out* out, std::string_view bytes)
{
    while (!bytes.empty()) {
        if (out->used == out->capacity)
            send(out);
        const std::size_t n = std::min(bytes.size(), out->capacity - out->used);
        std::memcpy(out->buffer + out->used, bytes.data(), n);
        out->used += n;
        bytes.remove_prefix(n);
    }
}

// Appends head, then text with each '\n' as the platform's line end, then
// one more line end when ends_line (the bytes a text-mode stream wrote).
void append_text(std::FILE* log, std::string_view head, std::string_view text, bool ends_line)
{
    // Every line the programs write fits: messages are cut at 2047 bytes,
    // each '\n' may become two bytes, and the usage text and the system's
    // texts are shorter. Longer text goes out whole, in several writes.
    std::array<char, 2 * message_buffer_size + 512> buffer;
    line_out out{log, buffer.data(), buffer.size(), 0};
    const std::string_view end(text_line_end);
    put(&out, head);
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t stop = std::min(text.find('\n', at), text.size());
        put(&out, text.substr(at, stop - at));
        if (stop < text.size())
            put(&out, end);
        at = stop + 1;
    }
    if (ends_line)
        put(&out, end);
    send(&out);
}

}  // namespace

void open_run_log()
{
    run_log = open_append_only("Tessel.log");
}

void close_run_log()
{
    if (run_log == nullptr)
        return;
    std::fclose(run_log);
    run_log = nullptr;
}

void log_line(std::FILE* log, const char* message)
{
    if (log == nullptr)
        return;
    const int saved_error = last_system_error();
    const local_time_ms t = read_local_clock();
    std::array<char, 64> stamp{};
    std::snprintf(stamp.data(), stamp.size(), "%04d%02d%02d-%02d%02d%02d%03d:", t.year, t.month,
                  t.day, t.hour, t.minute, t.second, t.millisecond);
    append_text(log, stamp.data(), message, true);
    restore_system_error(saved_error);
}

void log_continuation(std::FILE* log, const char* text)
{
    if (log == nullptr)
        return;
    append_text(log, "                ", text, true);
}

void log_text(std::FILE* log, const char* text)
{
    if (log == nullptr)
        return;
    append_text(log, {}, text, false);
}

void log_system_error(std::FILE* log)
{
    if (log == nullptr)
        return;
    const int code = last_system_error();
    if (code == 0)
        return;
    std::string text = system_error_text(code);
    if (text.empty())
        return;
    const auto is_break = [](char c) { return c == '\r' || c == '\n'; };
    const std::size_t n = text.size();
    if (n >= 2 && is_break(text[n - 1]) && is_break(text[n - 2]))
        text.resize(n - 2);
    log_continuation(log, text.c_str());
}

void make_unique_name(char* dest)
{
    const local_time_ms t = read_local_clock();
    std::array<char, 32> pid{};
    std::snprintf(pid.data(), pid.size(), "%08ld", current_process_id());
    ++name_sequence;
    // 17 + 6 + 8 characters. The fields are formatted where they always fit
    // and then cut to the 31 characters of the name, so a longer process id or
    // sequence number cannot pass the 32-byte area.
    std::array<char, 128> name{};
    std::snprintf(name.data(), name.size(), "%04d%02d%02d%02d%02d%02d%03d%06ld%s", t.year,
                  t.month, t.day, t.hour, t.minute, t.second, t.millisecond,
                  static_cast<long>(name_sequence), pid.data());
    std::snprintf(dest, 32, "%.31s", name.data());
}
