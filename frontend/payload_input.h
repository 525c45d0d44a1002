// -p: the kind of payload named on the command line, the symbol settings its
// standard fixes, and the data's fields turned into the bytes to encode.
#pragma once

#include <cstddef>
#include <qrencode.h>
#include <string>

// -p KIND: sets run_settings.payload_kind. value is nullptr when none was
// given. Returns 0, or 1105 after logging.
int set_payload_kind(const char* value);

// Run once every switch is read, when a kind is set: refuses a series (-s),
// a level (-l, level_given) other than the one the standard fixes and a
// printed size (-w) outside the standard's range; then puts the standard's
// level, its printed size where one applies (-d, SVG, EMF) and no -w is
// given, 8-bit mode where it limits the version, and its ECI rule where no
// ECI is asked for, into the run settings.
// Returns 0, or 1105 after logging.
int apply_payload_settings(bool level_given);

// With a kind set and *data given (not nullptr), builds the payload from the
// *size bytes at *data into *payload and points *data and *size at it (it
// has a NUL after its bytes); otherwise changes nothing. Returns 0, or 1105
// after logging (nothing changed then), or 1104 for fields far longer than
// any symbol holds, which are not read at all.
int take_payload(const char** data, std::size_t* size, std::string* payload);

// symbol, or nullptr after logging and freeing it when the kind's standard
// allows no symbol of its version. nullptr stays nullptr.
QRcode* within_payload_version(QRcode* symbol);
