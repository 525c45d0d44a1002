// The run log "Tessel.log": the append-only file in the working directory that
// receives every message of a run, one time-stamped line each.
//
// None of these operations reports a failure: with no open log they write
// nothing, and write errors on the log are not checked (the run goes on).
#pragma once

#include <cstdio>

// The open run log of this process, or nullptr when it is not open. The
// programs open it once and leave it to the process end to close; the
// library opens and closes it around each call.
extern std::FILE* run_log;

// Opens "Tessel.log" in the working directory for appending only (created
// when missing, so even a run that logs nothing leaves one); run_log stays
// nullptr when it cannot be opened. The writes below take the file as text:
// each '\n' becomes the platform's line end (CR LF on Windows).
void open_run_log();

// Closes the run log, if open, and sets run_log to nullptr.
void close_run_log();

// Writes "YYYYMMDD-HHMMSSmmm:" + message + line end with one write past the
// stream's buffer, so the line is in the file when the call returns and
// processes that share the log cannot split it. The message is data, never a
// format. Leaves the platform's last error code unchanged, so
// a caller can still log the system error text of an earlier failure.
void log_line(std::FILE* log, const char* message);

// Writes 16 spaces, the text and a line end, with one write as log_line does.
void log_continuation(std::FILE* log, const char* text);

// Writes text as it is (no time stamp, no line end added) with one write.
void log_text(std::FILE* log, const char* text);

// Writes the platform's text for the last system error as a continuation line,
// less one closing CR/LF pair. Writes nothing when the code is 0 or the
// platform has no text for it.
void log_system_error(std::FILE* log);

// Writes a 31-character name (date, time to the millisecond, a per-process
// sequence number, the process id) and its NUL into dest, which must hold at
// least 32 bytes. Longer process ids or sequence numbers are cut to fit.
void make_unique_name(char* dest);

// Calls of make_unique_name so far in this process; the first name carries 1.
extern int name_sequence;
