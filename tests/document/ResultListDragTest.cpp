#include <gtest/gtest.h>

#include "document/ResultListDrag.h"

namespace zv {
namespace {

TEST(ResultListDragTest, StartsOutsideTheWindowsBandOrPastTheFirstRow) {
    // The main window at left 1200, top 900, 10200 high; rows 6000 wide.
    const WindowPlace window{1200, 900, 10200};
    EXPECT_FALSE(StartsResultListDrag(1500, 900, window, 6000));
    EXPECT_FALSE(StartsResultListDrag(6000, 11100, window, 6000)) << "edges belong to the band";
    EXPECT_TRUE(StartsResultListDrag(1500, 899, window, 6000));
    EXPECT_TRUE(StartsResultListDrag(1500, 11101, window, 6000));
    EXPECT_TRUE(StartsResultListDrag(1199, 2000, window, 6000));
    EXPECT_TRUE(StartsResultListDrag(6001, 2000, window, 6000));
}

}  // namespace
}  // namespace zv
