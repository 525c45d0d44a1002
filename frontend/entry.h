// The whole life of one run: from the command-line text to the exit code.
#pragma once

// command_line: the text that follows the program name (as WinMain receives
// it). Returns 0 on success or -h, else the code of the first failure
// (1101-1106). Every message goes to "Tessel.log"; no temporary file outlives
// the call. May be called any number of times in one process: each call
// starts from the default settings and converter state, and leaves the log
// flushed and nothing else held but the open log.
int tessel_main(const char* command_line);

// Why the platform could not hand over a command line at all.
enum class command_line_refusal {
    not_representable,  // a character the Windows code page cannot hold
    no_memory,
};

// Ends a run whose command line could not be read, before any token is: one
// log line in "Tessel.log" as tessel_main writes its own failures (opening
// the log when no call has yet), and its code: 1105 for not_representable,
// 1102 for no_memory. Makes no other file.
int tessel_refuse_command_line(command_line_refusal reason);
