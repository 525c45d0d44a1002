// The BMP output path: the temporary PNG file that every symbol is drawn into
// before it is converted, and the conversion itself.
#pragma once

#include <cstddef>
#include <vector>

// Fills buffer (size bytes) with the name of a new, empty temporary file in
// the platform's temporary folder. When the platform cannot make one, the
// name is a unique name plus ".tmp" in the working directory, not created.
// Always leaves a name in buffer when size >= 36.
void make_temp_name(char* buffer, std::size_t size);

// Refuses, before any of it is drawn, a BMP image of side pixels a side
// (1 bit per pixel; side >= 1) that the converter cannot hold: returns 1106
// after logging why, else 0.
int refuse_bmp_past_converter(int side);

// Reads the PNG file png_name and writes it as a BMP file to bmp_name.
// Returns 0, or 1106 after logging "No se pudo leer PNG temporal" or
// "No se pudo grabar BMP definitivo" and, on a continuation line, the
// reason: the system's when the file could not be created (as for a PNG),
// else the converter's failure line less its file name. The converter's own
// messages also go to standard error.
int convert_png_to_bmp(const char* png_name, const char* bmp_name);

// The same conversion in memory: the BMP bytes that convert_png_to_bmp would
// write for a file holding png, into bmp (replaced). Same results and log
// lines (the continuation line the converter's reason); nothing is shown on
// standard error.
int convert_png_bytes_to_bmp(const std::vector<unsigned char>& png, std::vector<unsigned char>* bmp);
