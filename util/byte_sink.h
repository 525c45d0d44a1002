// byte_sink: where a writer's bytes go, an open file or a growing buffer in
// memory, so that one writer per format serves files and memory alike.
#pragma once

#include <cstddef>
#include <cstdio>
#include <vector>

struct byte_sink {
    std::FILE* file;                     // when not null, the bytes go to this open file;
    std::vector<unsigned char>* memory;  // else they are appended here
    bool out_of_memory;                  // set when memory could not grow
};

// A sink to an open file (the caller opens, flushes and closes it).
byte_sink file_sink(std::FILE* file);

// A sink that appends to out (kept as it is: the caller clears it first).
byte_sink memory_sink(std::vector<unsigned char>* out);

// Writes size bytes (bytes may be null when size is 0). Returns false when
// not all of them went out: a short fwrite, or memory running out, which
// also sets out_of_memory. Throws nothing, so libpng's callbacks may call it.
bool sink_write(byte_sink* sink, const void* bytes, std::size_t size) noexcept;
