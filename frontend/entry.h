// The whole life of one run: from the command-line text to the exit code.
#pragma once

// command_line: the text that follows the program name (as WinMain receives
// it). Returns 0 on success or -h, else the code of the first failure
// (1101-1106). Every message goes to "Tessel.log"; no temporary file outlives
// the call. May be called any number of times in one process: each call
// starts from the default settings and converter state, and leaves the log
// flushed and nothing else held but the open log.
int tessel_main(const char* command_line);
