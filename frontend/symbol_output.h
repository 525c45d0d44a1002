// Symbol generation: encodes the prepared data with libqrencode as one symbol
// or a structured-append series and writes each symbol to its file.
#pragma once

#include <cstddef>
#include <qrencode.h>
#include <vector>

// More bytes than this fill no symbol and no series (16 symbols of 7,089
// digits at most); the encoders refuse them without handing them on.
inline constexpr std::size_t max_encodable_bytes = std::size_t{16} * 7089;

// The ECI designator that the run puts at the start of the symbol for the
// size bytes at data, or -1 for none: an explicit -e value; with -u and no
// -e, 26 (UTF-8) when a byte is above 0x7F, none for ASCII, whose symbol so
// stays the one made without -u.
int eci_designator(const char* data, std::size_t size);

// The encoder chosen by the run settings, for the size bytes at data. With -8
// or a designator every byte is encoded as it is in 8-bit mode, NUL included. Without -8, data must hold
// no NUL and have one after its size bytes (libqrencode reads it as a C
// string). Each returns a new symbol (or list) owned by the caller, or
// nullptr when libqrencode refuses the data.
QRcode* encode_single(const char* data, std::size_t size);
QRcode_List* encode_structured(const char* data, std::size_t size);

// Encodes data (as for encode_single) as one symbol and writes it to
// file_name in the run's image type (write_symbol_file; temp_name is the
// temporary PNG of a BMP). Returns 0, or 1104 (encoding refused) or the
// writer's code, after logging the failure.
int write_single(const char* data, std::size_t size, const char* file_name, const char* temp_name);

// Encodes data as write_single does and puts into out (replaced) the bytes
// of the file that write_single would write (make_symbol_image), with the
// same codes and log lines. No file is made, not even a temporary one.
int make_single_image(const char* data, std::size_t size, std::vector<unsigned char>* out);

// Encodes data as write_single does and puts the symbol's modules into out
// (replaced): side x side bytes, 1 dark and 0 light, row by row from the top,
// no quiet zone; *side gets the side (0 on failure). Returns 0 or 1104.
int make_single_modules(const char* data, std::size_t size, std::vector<unsigned char>* out,
                        int* side);

// Encodes data (as for encode_single) as a series and writes symbol n to
// "<stem>-NN<suffix>" in the run's image type, where a trailing suffix of the
// type (image_suffix: ".png", ".bmp", ".svg", ".emf") of a name longer than 4
// characters is cut off and put back after the number, its case kept. A BMP
// member is drawn into the temporary PNG file temp_name and converted. Every
// symbol is attempted: a file that cannot be written does not stop the rest,
// and the result is the code of the first failure (0 when all were written).
// A name over 259 characters, a list node without a symbol, or a printed size
// that a member does not fit (1105) ends the series at once.
int write_structured(const char* data, std::size_t size, const char* file_name,
                     const char* temp_name);

// Builds the file name of symbol number counter (1-99) of a series named after
// file_name, as described above. Returns false, leaving "" in out, when the
// name does not fit out_size bytes.
bool format_series_name(char* out, std::size_t out_size, const char* file_name,
                        const char* suffix, int counter);
