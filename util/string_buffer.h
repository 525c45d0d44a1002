// string_buffer: a growable, NUL-terminated text that owns its text area and
// grows in fixed steps of 128 bytes. Records and areas come from malloc.
//
// Operations that report success return 1 on success and 0 on failure; a
// failure leaves what the caller had unchanged.
#pragma once

#include <cstdint>

struct string_buffer {
    int32_t capacity;  // bytes of the text area; 0 while there is none
    int32_t length;    // characters of the text, the NUL not counted
    char* text;        // NUL-terminated at length; nullptr while not allocated
};

inline constexpr int32_t buffer_step = 128;

// An empty record (capacity 0, no text area), or nullptr. Free with free_buffer.
string_buffer* new_buffer();

// A record with an n-byte text area whose bytes are not set, or nullptr.
// Precondition: n >= 1.
string_buffer* new_buffer_sized(int32_t n);

// A new buffer holding a copy of s, or nullptr.
string_buffer* buffer_from_text(const char* s);

// Appends s. When *holder is nullptr a new buffer is made and stored there.
// Fails (0) when memory runs out or the text would pass INT32_MAX bytes; the
// buffer then keeps its old text and capacity.
int append_text(string_buffer** holder, const char* s);

// Replaces the text with s without growing. Returns 0, changing nothing, for a
// null buffer or when s does not fit (capacity <= strlen(s)).
int set_text(string_buffer* buffer, const char* s);

// Frees the text area (if any) and the record. Does nothing for nullptr.
void free_buffer(string_buffer* buffer);
