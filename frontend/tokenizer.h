// The command-line tokenizer: splits one command-line text into tokens in a
// fixed array of fixed-size slots, with its own simple quoting rules.
#pragma once

#include <cstddef>

inline constexpr int max_tokens = 20;
inline constexpr std::size_t token_size = 260;

// An array of count slots of size bytes each, or nullptr (nothing held) when
// any allocation fails. Slot contents are not initialised.
char** alloc_token_array(int count, std::size_t size);

// Frees every non-null slot and the array; does nothing for nullptr.
void free_token_array(char** array, int count);

// Splits text into tokens[0..] (each slot token_size bytes) and returns the
// count, at most max - 1; the rest of the text is ignored. Only the space
// separates tokens; one quote flag, toggled by both ' and ", keeps spaces
// inside a token; quotes are removed only when they stand first and last in a
// token and are of one kind. A token longer than token_size - 1 characters is
// never cut: splitting stops before it, and *too_long (when given) is set.
int split_command_line(const char* text, char** tokens, int max, bool* too_long = nullptr);
