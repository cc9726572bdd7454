#include <gtest/gtest.h>

#include "desktop/platform/Twips.h"

namespace zv {
namespace {

// The offscreen screen reports 96 DPI both ways: 15 twips to the pixel.
TEST(TwipsTest, FifteenTwipsToThePixelRoundedToTheNearest) {
    EXPECT_EQ(PixelsToTwipsX(640), 9600);
    EXPECT_EQ(PixelsToTwipsY(480), 7200);
    EXPECT_EQ(TwipsToPixelsY(-1500), -100);
    EXPECT_EQ(TwipsToPixelsX(1507), 100);
    EXPECT_EQ(TwipsToPixelsX(1508), 101);
    EXPECT_EQ(TwipsToPixelsY(8), 1);
}

}  // namespace
}  // namespace zv
