// The EMF symbol writer: one QR Code symbol as a Windows enhanced metafile,
// built in memory, for programs that place a picture at its stated size.
#pragma once

#include "settings/colours.h"

#include <qrencode.h>
#include <vector>

// Builds the metafile of symbol (only read) with a quiet zone margin modules
// wide into out, which is replaced, in the two colours: a light colour of
// alpha 0 is not drawn at all, any other alpha is drawn opaque (plain GDI
// records have no alpha). image_side_mm is the printed side of the whole
// image, quiet zone included, in millimetres (0.005 to 20,000); the header's
// frame states it rounded to hundredths of a millimetre (right - left, as GDI
// and GDI+ measure a frame), and the dark modules are filled polygons without
// an outline. With swiss_cross, the Swiss cross in black and white covers the
// centre, every edge of it exact (a module is then swiss_cross_grain units).
// The same arguments give the same bytes. Returns false, leaving out empty
// (unless out is null), when an argument is out of range, a size does not fit
// the format's 32-bit fields, or memory runs out.
bool make_symbol_emf(const QRcode* symbol, int margin, double image_side_mm, std::vector<unsigned char>* out,
                     const symbol_colours& colours = {}, bool swiss_cross = false);
