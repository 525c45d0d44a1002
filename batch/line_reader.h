// The input of tessel-batch: command lines, one a line, read through a fixed
// buffer so that no line, however long, is ever held whole past the limit.
// The input is ANSI or UTF-8 text as editors save it: a UTF-8 byte-order mark
// before the first line is dropped, and UTF-16 text is recognised by its
// first line and refused as a whole. Lines typed at a Windows console arrive
// as the console's UTF-16 text, converted to UTF-8 line by line.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// The longest command line Windows passes to a program, in characters.
inline constexpr std::size_t max_line_length = 32767;

// The text encoding of the input, decided once for all of it: a UTF-8
// byte-order mark, or else the first line holding a byte above 0x7F, which
// is UTF-8 when it is valid UTF-8 and ANSI otherwise. Lines before that one
// are ASCII and mean the same either way. Console lines are wide: UTF-8
// made from the console's UTF-16 text, every character exactly.
enum class text_encoding { undecided, ansi, utf8, wide };

struct line_reader {
    std::FILE* file;   // read with getc, or the console's own read; owned by the caller
    bool typed;        // file is a terminal: a line holding only Ctrl-Z ends the input
    bool console;      // file is a console that gives UTF-16 text (Windows)
    text_encoding encoding;
    std::string console_text;  // the console line being read, in UTF-8, and
    std::size_t console_at;    // the next byte of it
    long number;       // number of the line last read, 1-based; 0 before the first
    std::size_t length;  // characters in text, the line end not counted
    // The line without its LF or CR LF, NUL-terminated. One place more than
    // the limit, for a CR that turns out to be part of the line end.
    char text[max_line_length + 2];
};

enum class line_status {
    line,        // text holds the line (it may be empty)
    too_long,    // more than max_line_length characters: the rest was skipped; text is ""
    nul_byte,    // a line after the first holds a NUL byte; text is ""
    not_representable,  // a typed line holds a lone surrogate; text is ""
    no_memory,   // a typed line could not be converted; text is ""
    utf16,       // first line only: it begins with a UTF-16 byte-order mark or
                 // holds a NUL byte, so the input is UTF-16 text; text is ""
    end,         // no more lines
    read_error,  // the stream reported an error; text is ""
};

// A reader at the start of file. typed: file is a terminal (a console), where
// a line holding only Ctrl-Z (0x1A) is how a person ends the input; from files
// and pipes such a line is data.
void start_line_reader(line_reader* reader, std::FILE* file, bool typed);

// Reads the next line. A line ends at LF, or at the end of the input when
// the last line has no line end; one CR before that end is cut off. Every
// status but end and read_error counts a line in number. After utf16 the
// rest of the input is not meant to be read.
line_status read_line(line_reader* reader);

// True when the line holds nothing but blanks and tabs (or nothing).
bool is_blank_line(const line_reader& reader);
