#include "runlog/run_log.h"

#include "platform/platform.h"

#include <array>
#include <cstdio>
#include <string>

std::FILE* run_log = nullptr;
int name_sequence = 0;

void open_run_log()
{
    run_log = std::fopen("Tessel.log", "a");
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
    std::fprintf(log, "%04d%02d%02d-%02d%02d%02d%03d:%s\n", t.year, t.month, t.day, t.hour,
                 t.minute, t.second, t.millisecond, message);
    std::fflush(log);
    restore_system_error(saved_error);
}

void log_continuation(std::FILE* log, const char* text)
{
    if (log == nullptr)
        return;
    std::fprintf(log, "                %s\n", text);
}

void log_system_error(std::FILE* log)
{
    if (log == nullptr)
        return;
    std::string text = system_error_text(last_system_error());
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
