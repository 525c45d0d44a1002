// The whole life of one run: from the command-line text, or from switches,
// an output name and the data bytes, to the exit code.
#pragma once

#include <cstddef>
#include <vector>

// How a command line writes its output file name: in the programs' own
// narrow text (ANSI on Windows), or in UTF-8 (a line of a UTF-8 batch file),
// which file_name_from_utf8 turns into the name to open. A UTF-8 name with
// no exact form fails the run with 1105 and "Car\xE1cter no representable en
// el nombre de archivo"; it never opens a different name.
enum class name_text { native, utf8 };

// What the data token's text is, for a run that reads its data as text (-u).
enum class line_text {
    bytes,  // taken as it is (POSIX, the library, a line of a UTF-8 file)
    ansi,   // in the ANSI code page: -u converts it to UTF-8
    // The whole command line in UTF-8, made from UTF-16 text (Windows' own
    // command line with -u): every token but the data is made ANSI with the
    // command line's rule before the switch pass (a character the code page
    // lacks fails the run with 1105 as tessel_refuse_command_line does), and
    // the data stays UTF-8.
    utf8,
};

// True when the command line holds a switch that makes the data text: -u,
// or -p (a payload). Tokens are read as the switch pass reads them.
bool command_line_asks_for_text(const char* command_line);

// command_line: the text that follows the program name, less the blanks
// after the name (on Windows, read from the command line as Windows stored
// it and converted exactly to the ANSI code page). Returns 0 on success or
// -h, else the code of the first failure (1101-1106). Opens "Tessel.log" when it is not open and leaves it open for
// later runs; otherwise as run_command_line. For the programs.
int tessel_main(const char* command_line, name_text names = name_text::native,
                line_text kind = line_text::bytes);

// One run of command_line (nullptr: an empty one) with the run log as it
// stands, open or not. Every message goes to the run log; no temporary file
// outlives the call, and no exception leaves it (running out of memory
// anywhere is 1102). May be called any number of times in one process: each
// call starts from the default settings and converter state, and leaves the
// log flushed and nothing else held. Not reentrant: the state is
// process-wide, so calls must not overlap.
int run_command_line(const char* command_line, name_text names = name_text::native,
                     line_text kind = line_text::bytes);

// The same run with the data given as bytes. switches (nullptr or "": none)
// goes through the tokenizer and the switch pass, and may hold no data token
// and no -o (1105). output_name is used as it is (nullptr: none given). The
// size bytes at data are the data exactly; data may be nullptr only when size
// is 0. Data holding a NUL byte needs -8 (else 1105). Same guarantees as
// run_command_line.
int run_with_data(const char* switches, const char* output_name, const char* data,
                  std::size_t size);

// What a run into memory makes.
enum class memory_output {
    image,    // the file that run_with_data would write, byte for byte
    modules,  // the symbol's modules: side x side bytes, 1 dark, 0 light
};

// A run of run_with_data's switches and data that makes no file at all: the
// image or the modules go into out (replaced; empty after a failure or -h),
// and for modules the side into *side (0 after a failure). A series (-s) is
// refused with 1105; the modules ignore the image's settings (-t, -z, -m).
// Same codes, log lines and guarantees as run_with_data otherwise; nothing
// is written to standard error.
int run_into_memory(const char* switches, const char* data, std::size_t size, memory_output what,
                    std::vector<unsigned char>* out, int* side);

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
