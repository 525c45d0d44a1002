#include "platform/platform.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <new>
#include <pthread.h>
#include <string_view>
#include <sys/time.h>
#include <unistd.h>

local_time_ms read_local_clock()
{
    timeval now{};
    gettimeofday(&now, nullptr);
    const time_t seconds = now.tv_sec;
    tm parts{};
    localtime_r(&seconds, &parts);
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour,
            parts.tm_min, parts.tm_sec, static_cast<int>(now.tv_usec / 1000)};
}

long current_process_id()
{
    return static_cast<long>(getpid());
}

bool create_temp_file(char* buffer, std::size_t size, const char* prefix)
{
    if (size == 0)
        return false;
    buffer[0] = '\0';
    const char* dir = std::getenv("TMPDIR");
    if (dir == nullptr || dir[0] == '\0')
        dir = "/tmp";
    const std::string_view stem(prefix, strnlen(prefix, 3));
    const std::string_view folder(dir);
    const char* slash = folder.back() == '/' ? "" : "/";
    const int needed = std::snprintf(buffer, size, "%s%s%.*sXXXXXX.tmp", dir, slash,
                                     static_cast<int>(stem.size()), stem.data());
    if (needed < 0 || static_cast<std::size_t>(needed) >= size) {
        buffer[0] = '\0';
        return false;
    }
    // mkstemps creates the file with O_EXCL and mode 0600.
    const int fd = mkstemps(buffer, 4);
    if (fd < 0) {
        buffer[0] = '\0';
        return false;
    }
    close(fd);
    return true;
}

const char* const text_line_end = "\n";

std::FILE* open_append_only(const char* name)
{
    // "a" is O_WRONLY | O_CREAT | O_APPEND: each write goes to the end of the
    // file as one piece.
    return std::fopen(name, "a");
}

bool append_whole(std::FILE* stream, const char* bytes, std::size_t size)
{
    const int fd = fileno(stream);
    // A regular file takes the whole write at once; the loop is for a signal
    // or a device that takes less.
    while (size > 0) {
        const ssize_t written = write(fd, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

int last_system_error()
{
    return errno;
}

void restore_system_error(int code)
{
    errno = code;
}

std::string system_error_text(int code)
{
    std::array<char, 256> text{};
    // The GNU strerror_r may return a static string instead of filling text.
    const char* message = strerror_r(code, text.data(), text.size());
    return message != nullptr ? std::string(message) : std::string();
}

bool stream_is_terminal(std::FILE* stream)
{
    return isatty(fileno(stream)) == 1;
}

bool set_binary_stream(std::FILE* /*stream*/)
{
    return true;
}

void keep_freed_memory()
{
#if defined(__GLIBC__)
    // Setting these also stops glibc from raising its thresholds on its own,
    // which would let ever larger blocks stay with the process.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024);
#endif
}

ansi_conversion file_name_from_utf8(const char* utf8, std::string* name)
{
    try {
        *name = utf8;
    } catch (const std::bad_alloc&) {
        return ansi_conversion::no_memory;
    }
    return ansi_conversion::exact;
}

bool utf8_from_native(const char* text, std::string* utf8)
{
    try {
        *utf8 = text;
    } catch (const std::bad_alloc&) {
        utf8->clear();
        return false;
    }
    return true;
}

bool console_gives_wide_text(std::FILE* /*stream*/)
{
    return false;
}

// Never called: no POSIX stream gives wide text.
console_line read_console_line(std::FILE* /*stream*/, std::size_t /*max_chars*/,
                               std::string* /*line*/)
{
    return console_line::end;
}

bool check_arguments_exact(const char* /*program*/)
{
    return true;
}

namespace {
pthread_mutex_t library_lock = PTHREAD_MUTEX_INITIALIZER;
}

void lock_library_calls()
{
    pthread_mutex_lock(&library_lock);
}

void unlock_library_calls()
{
    pthread_mutex_unlock(&library_lock);
}
