// Writes an image built in memory (SVG, EMF) to its file, with the codes and
// run-log lines of the PNG writer.
#pragma once

#include <vector>

// Creates or truncates file_name and writes bytes to it. Returns 0 when every
// byte reached the file and it closed cleanly, else, after logging:
//   1101 the file cannot be created: "Error al crear archivo [NAME]" and the
//        system's error text as a continuation line;
//   1103 a write, the flush or the close fails (a full disk):
//        "Error al escribir archivo [NAME]".
// A file created before a failure stays with whatever was written.
int write_byte_file(const char* file_name, const std::vector<unsigned char>& bytes);
