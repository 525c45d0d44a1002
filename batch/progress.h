// tessel-batch's progress line on standard error: lines done, failures so
// far and the rate, redrawn in place at most ten times a second while
// standard error is a terminal, and nothing at all when it is not.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>

struct progress_line {
    std::FILE* stream;      // where the line is drawn (standard error)
    bool enabled;           // the stream is a terminal
    bool shown;             // the line is on the screen now
    int width;              // columns of the line last drawn
    long done;              // command lines run or refused
    long failed;            // of which ended with a non-zero code
    std::chrono::steady_clock::time_point started;
    std::chrono::steady_clock::time_point drawn;  // last time the line was drawn
};

// A progress line on stream, drawn only when enabled. Draws nothing yet.
void start_progress(progress_line* progress, std::FILE* stream, bool enabled);

// Counts one command line with its exit code and redraws the line when the
// last drawing is at least a tenth of a second old.
void count_progress(progress_line* progress, int code);

// Blanks the line if it is on the screen, so that other output to the same
// terminal starts on a clean line; it comes back at the next redraw.
void hide_progress(progress_line* progress);
