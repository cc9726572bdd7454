#include <gtest/gtest.h>

#include "platform/QtFileFilter.h"

namespace zv {
namespace {

TEST(QtFileFilterTest, DescriptionsThatShowTheirPatternKeepItOnce) {
    EXPECT_EQ(QtFileFilter("Zarvoﾃﾞｰﾀﾌｧｲﾙ(*.mtb)|*.mtb|全てのﾌｧｲﾙ(*.*)|*.*"),
              QStringLiteral("Zarvoﾃﾞｰﾀﾌｧｲﾙ(*.mtb);;全てのﾌｧｲﾙ(*)"));
}

TEST(QtFileFilterTest, PatternIsAddedToADescriptionThatLacksIt) {
    EXPECT_EQ(QtFileFilter("Pictures|*.png;*.jpg|Text (plain)|*.txt"),
              QStringLiteral("Pictures (*.png *.jpg);;Text (plain) (*.txt)"));
}

TEST(QtFileFilterTest, DescriptionLeftWithoutAPatternIsDropped) {
    EXPECT_EQ(QtFileFilter("Data|*.mtb|"), QStringLiteral("Data (*.mtb)"));
    EXPECT_EQ(QtFileFilter("Data|*.mtb|Stray"), QStringLiteral("Data (*.mtb)"));
    EXPECT_EQ(QtFileFilter(""), QString());
}

}  // namespace
}  // namespace zv
