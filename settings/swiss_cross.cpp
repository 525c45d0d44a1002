#include "settings/swiss_cross.h"

namespace {

// The inset of a part part_18ths eighteenths of a millimetre wide, centred on
// a 46 mm (828 eighteenths) square of side units: side * (828 - part) / 1656,
// rounded to the nearest unit, halves up.
int64_t inset(int64_t side, int64_t part_18ths)
{
    return (side * (828 - part_18ths) + 828) / swiss_cross_grain;
}

}  // namespace

swiss_cross_insets swiss_cross_layout(int64_t side)
{
    // 7 mm, 6 mm, 7/6 mm and 35/9 mm.
    return swiss_cross_insets{inset(side, 126), inset(side, 108), inset(side, 21), inset(side, 70)};
}
