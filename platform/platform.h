// The few operating-system services that differ between Windows and POSIX.
// Exactly one implementation (platform/posix or platform/win32) is linked in.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// Local calendar time with milliseconds, all fields taken from one clock reading.
struct local_time_ms {
    int year;         // e.g. 2026
    int month;        // 1-12
    int day;          // 1-31
    int hour;         // 0-23
    int minute;       // 0-59
    int second;       // 0-60
    int millisecond;  // 0-999
};

local_time_ms read_local_clock();

long current_process_id();

// Creates a new, empty file with a unique name in the platform's temporary
// folder and writes its full path into buffer (size bytes, NUL included).
// The name starts with the first three characters of prefix and ends in ".tmp".
// Returns false when no such file could be made; buffer then holds "".
bool create_temp_file(char* buffer, std::size_t size, const char* prefix);

// The calling thread's last system error code (errno, or GetLastError), and a
// way to put it back after work that may have changed it.
int last_system_error();
void restore_system_error(int code);

// The platform's own wording of an error code, exactly as the platform gives
// it (it may end in a line break); empty when the platform has no text for it.
std::string system_error_text(int code);

// True when stream writes to or reads from a terminal (a console on Windows),
// false for files, pipes and devices such as NUL.
bool stream_is_terminal(std::FILE* stream);

// Makes stream pass bytes as they are: on Windows no CR LF translation and no
// end of input at Ctrl-Z; POSIX streams are like that already. Call before
// the first read or write. Returns false when the mode could not be set.
bool set_binary_stream(std::FILE* stream);

// Lets the heap keep up to 1 MiB of freed memory for the next allocations
// instead of handing it back to the system at once, for a process that does
// the same work again and again. Blocks of 128 KiB and more still go back
// when freed, so the peak stays that of the largest run. Does nothing where
// the heap has no such setting.
void keep_freed_memory();

// For a console program that takes file names from argv. On Windows the C
// runtime makes argv from the command line through the ANSI code page,
// putting a look-alike in place of a character the code page cannot hold
// ("Ω" becomes "O", a full-width quotation mark a '"'): when an argument
// after the program name held one, this writes one line beginning with
// program on standard error and returns false. Always true on POSIX, where
// argv holds the bytes as they were given.
bool check_arguments_exact(const char* program);

// The one process-wide lock of the library form: every call of the library's
// functions runs between lock_library_calls and unlock_library_calls, so that
// calls from several threads run one after another. The lock needs no set-up
// (it is initialised statically) and is not recursive: a thread that holds it
// must not take it again. Never fails.
void lock_library_calls();
void unlock_library_calls();
