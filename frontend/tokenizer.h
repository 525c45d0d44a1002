// The command-line tokenizer: splits one command-line text into tokens in a
// fixed array of fixed-size slots, with its own simple quoting rules.
#pragma once

#include <cstddef>

inline constexpr int max_tokens = 20;
inline constexpr std::size_t token_size = 260;
// The longest token kept: the longest command line Windows hands a program.
inline constexpr std::size_t max_token_length = 32767;

enum class split_status {
    ok,
    token_too_long,  // a token over max_token_length characters
    no_memory,       // a long token's own allocation failed
};

// An array of count slots of size bytes each, or nullptr (nothing held) when
// any allocation fails. Slot contents are not initialised.
char** alloc_token_array(int count, std::size_t size);

// Frees every non-null slot and the array; does nothing for nullptr.
void free_token_array(char** array, int count);

// Splits text into tokens[0..] (slots from alloc_token_array with token_size
// bytes) and returns the count, at most max - 1; the rest of the text is
// ignored. Only the space separates tokens; a quote (' or ") keeps spaces
// inside a token until the next quote of its own kind, and the other kind is
// ordinary in between; an unbalanced quote runs to the end of the text.
// Quotes are removed only when they stand first and last in a token and are
// of one kind.
// A token that does not fit its slot is kept whole: the slot is freed and
// replaced by a malloc'd area of the token's length + 1, which
// free_token_array releases like any slot. A token is never cut: one over
// max_token_length characters, or one whose area cannot be had, stops the
// splitting before it, with *status (when given) saying why; the tokens
// before it stay stored and counted.
int split_command_line(const char* text, char** tokens, int max, split_status* status = nullptr);
