#include "settings/swiss_cross.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {

TEST(SwissCross, EachPartIsItsShareOfTheSideRoundedToAWholeUnit)
{
    // Side; insets of the white square, the black square, the bars' long
    // edges and their ends. 1656 units are exact (7, 6, 7/6 and 35/9 mm of
    // 46 mm); at 46 the white square's exact edge lies on a half unit, which
    // goes inwards; 207 is version 13 at 3 pixels a module.
    for (const auto& [side, white, black, bar_side, bar_end] :
         {std::tuple<int64_t, int64_t, int64_t, int64_t, int64_t>{1656, 702, 720, 807, 758},
          {46, 20, 20, 22, 21},
          {92, 39, 40, 45, 42},
          {207, 88, 90, 101, 95},
          {0, 0, 0, 0, 0},
          {int64_t{1} << 40, 466097320470, 478048533816, 535812731652, 503278873100}}) {
        const swiss_cross_insets in = swiss_cross_layout(side);
        EXPECT_EQ(std::tuple(in.white, in.black, in.bar_side, in.bar_end),
                  std::tuple(white, black, bar_side, bar_end))
            << side;
    }
}

}  // namespace
