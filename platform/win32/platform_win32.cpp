#include "platform/platform.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/timeb.h>

local_time_ms read_local_clock()
{
    // Seconds and milliseconds come from one reading, so a line stamped just
    // before a second boundary cannot show the next second with the old
    // millisecond count.
    // The 64-bit forms on both builds: the 32-bit build's plain time_t is
    // 32 bits wide and would run out in January 2038.
    __timeb64 now{};
    _ftime64(&now);
    const __time64_t seconds = now.time;
    // msvcrt keeps the result per thread.
    const tm* parts = _localtime64(&seconds);
    // Only a clock set before 1970 has no local time; the epoch stands in.
    if (parts == nullptr)
        return {1970, 1, 1, 0, 0, 0, now.millitm};
    return {parts->tm_year + 1900, parts->tm_mon + 1, parts->tm_mday, parts->tm_hour,
            parts->tm_min,         parts->tm_sec,     now.millitm};
}

long current_process_id()
{
    return static_cast<long>(_getpid());
}

bool create_temp_file(char* buffer, std::size_t size, const char* prefix)
{
    if (size == 0)
        return false;
    buffer[0] = '\0';
    std::array<char, MAX_PATH> dir{};
    const DWORD length = GetTempPathA(static_cast<DWORD>(dir.size()), dir.data());
    // A length that does not fit means the buffer was left unfilled.
    if (length == 0 || length >= dir.size())
        dir[0] = '\0';
    // GetTempFileNameA writes up to MAX_PATH bytes whatever the caller's size,
    // so it fills a buffer of that size and the name is copied when it fits.
    std::array<char, MAX_PATH> name{};
    if (GetTempFileNameA(dir.data(), prefix, 0, name.data()) == 0)
        return false;
    const std::size_t name_length = std::strlen(name.data());
    if (name_length >= size) {
        DeleteFileA(name.data());
        return false;
    }
    std::memcpy(buffer, name.data(), name_length + 1);
    return true;
}

const char* const text_line_end = "\r\n";

namespace {

// The run log's lock: one byte far past any real log, which no reader and no
// append ever touches, locked around each append.
constexpr DWORD log_lock_offset_high = 0x40000000;

}  // namespace

std::FILE* open_append_only(const char* name)
{
    // FILE_APPEND_DATA without FILE_WRITE_DATA: every write goes to the end
    // of the file, however far others have moved it. The C runtime's append
    // mode seeks to the end and then writes, and another process can append
    // between the two steps, so lines were lost or torn. FILE_READ_DATA is
    // there for LockFileEx, which needs read or write access.
    const HANDLE handle =
        CreateFileA(name, FILE_APPEND_DATA | FILE_READ_DATA,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_APPEND | _O_BINARY);
    if (fd == -1) {
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE* stream = _fdopen(fd, "ab");
    if (stream == nullptr)
        _close(fd);  // closes the handle too
    return stream;
}

bool append_whole(std::FILE* stream, const char* bytes, std::size_t size)
{
    // WriteFile, not fwrite: the runtime writes an unbuffered stream in more
    // than one piece, and a text-mode one in pieces of its translation buffer.
    const intptr_t os_handle = _get_osfhandle(_fileno(stream));
    if (os_handle == -1 || size > MAXDWORD)
        return false;
    const HANDLE handle = reinterpret_cast<HANDLE>(os_handle);
    // An append-only write is one operation on a Windows volume, but not on
    // every file system behind a share, nor under Wine, which finds the end
    // and then writes there: the lock makes the two steps one for every
    // Tessel process that writes the log. A log where it cannot be taken is
    // still written.
    OVERLAPPED at{};
    at.OffsetHigh = log_lock_offset_high;
    const bool locked = LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at) != 0;
    DWORD written = 0;
    const bool ok = WriteFile(handle, bytes, static_cast<DWORD>(size), &written, nullptr) != 0 &&
                    written == size;
    if (locked)
        UnlockFileEx(handle, 0, 1, 0, &at);
    return ok;
}

int last_system_error()
{
    return static_cast<int>(GetLastError());
}

void restore_system_error(int code)
{
    SetLastError(static_cast<DWORD>(code));
}

std::string system_error_text(int code)
{
    char* text = nullptr;
    // With FORMAT_MESSAGE_ALLOCATE_BUFFER the buffer argument receives the
    // address of a block that the system allocated, hence the cast.
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
            FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<char*>(&text), 0, nullptr);
    if (length == 0 || text == nullptr)
        return {};
    std::string result(text, length);
    LocalFree(text);
    return result;
}

bool stream_is_terminal(std::FILE* stream)
{
    // _isatty is true for every character device, NUL included; only a
    // console answers GetConsoleMode.
    const intptr_t os_handle = _get_osfhandle(_fileno(stream));
    if (os_handle == -1)
        return false;
    DWORD mode = 0;
    return GetConsoleMode(reinterpret_cast<HANDLE>(os_handle), &mode) != 0;
}

bool set_binary_stream(std::FILE* stream)
{
    return _setmode(_fileno(stream), _O_BINARY) != -1;
}

void keep_freed_memory()
{
    // The Windows heap decides on its own when to give memory back.
}

namespace {
// Static initialisation: no DllMain work, and nothing to tear down when the
// DLL is unloaded. (The win32 thread model of the mingw toolchain has no
// std::mutex.)
SRWLOCK library_lock = SRWLOCK_INIT;
}

void lock_library_calls()
{
    AcquireSRWLockExclusive(&library_lock);
}

void unlock_library_calls()
{
    ReleaseSRWLockExclusive(&library_lock);
}
