// One encoded symbol to its file, in the run's image type (PNG, BMP through
// the temporary PNG, SVG or EMF) and at the size the run asks for: a dot
// size (-z), or a printed size (-w) at a resolution (-d).
#pragma once

#include <qrencode.h>
#include <vector>

// The file-name suffix of a series of the run's image type: ".png", ".bmp",
// ".svg" or ".emf".
const char* image_suffix();

// Writes symbol (only read) to file_name; a BMP is drawn into the temporary
// PNG file temp_name first and converted. With -w and -d, a raster gets the
// largest whole number of pixels per module whose square of modules takes no
// more than the printed size. Returns 0, or after logging its failure: 1105
// when even one pixel per module is too big for the printed size; 1101,
// 1102, 1103 from writing the file; 1106 from the conversion.
int write_symbol_file(const QRcode* symbol, const char* file_name, const char* temp_name);

// The same file's bytes, byte for byte, into out (replaced) instead: no file
// and no temporary file; a BMP is converted from the PNG in memory. The same
// codes and log lines.
int make_symbol_image(const QRcode* symbol, std::vector<unsigned char>* out);

// Creates or truncates file_name and writes bytes to it, with the codes and
// run-log lines of the PNG writer: 1101 when the file cannot be created (the
// system's error text as a continuation line), 1103 when a write, the flush or
// the close fails (a full disk). A file created before a failure stays with
// whatever was written.
int write_image_file(const char* file_name, const std::vector<unsigned char>& bytes);
