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

// Opens name for appending only, creating it when it is missing, so that
// every append_whole lands at the end of the file as one piece even while
// other processes append to it (Windows: append-only access, and a lock
// around each append for where the end is found and written in two steps;
// POSIX: O_APPEND). Others may read, write, rename and delete the file
// meanwhile. nullptr when it cannot be opened; the caller closes the stream
// with fclose.
std::FILE* open_append_only(const char* name);

// Writes the size bytes with one system write on the stream's file, past the
// stream's own buffer (nothing may wait in that buffer). Returns true when
// every byte was written.
bool append_whole(std::FILE* stream, const char* bytes, std::size_t size);

// How a text file of the platform ends a line: CR LF on Windows, LF on POSIX.
extern const char* const text_line_end;

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

// How text was turned into the programs' own narrow text (the ANSI code
// page on Windows, bytes as they are on POSIX).
enum class ansi_conversion {
    exact,              // every character has its own byte(s) in the code page
    not_representable,  // one has none (Windows would put a look-alike there)
    no_memory,
};

// A file name that the user wrote in UTF-8 (a line of a UTF-8 text file), as
// the name the narrow file functions open. Windows: converted to the ANSI
// code page with the command line's rule, so "a\xC3\xB1o.png" opens
// "a\xF1o.png" or nothing; not_representable when the text is not UTF-8 or a
// character has no byte(s) of its own in the code page. POSIX: names are
// bytes, copied as they are. On any result but exact, *name is empty.
ansi_conversion file_name_from_utf8(const char* utf8, std::string* name);

// Text in the programs' own narrow text as UTF-8: Windows converts from the
// ANSI code page (every byte has a character there); POSIX text is bytes,
// copied as they are. false only when memory runs out (*utf8 is then empty).
bool utf8_from_native(const char* text, std::string* utf8);

// Lines typed at a console. A Windows console hands its input over as UTF-16
// text, which read_console_line converts to UTF-8; a
// POSIX terminal gives bytes, read as bytes (console_gives_wide_text is
// always false there).
bool console_gives_wide_text(std::FILE* stream);

enum class console_line {
    line,               // *line holds the line, with its line end when it had one
    not_representable,  // a lone surrogate, no character at all; *line is empty
    no_memory,          // *line is empty
    end,                // no more input (a read error ends it too)
};

// Reads the next line typed at the console of stream (for which
// console_gives_wide_text is true), up to and including its line end, in
// UTF-8. Of a line longer than max_chars characters, the first
// max_chars + 1 are kept and the rest are read and dropped.
console_line read_console_line(std::FILE* stream, std::size_t max_chars, std::string* line);

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
