#include <gtest/gtest.h>

#include "desktop/platform/QtFileFilter.h"

namespace zv {
namespace {

TEST(QtFileFilterTest, EachEntryShowsItsPatternOnceAndAStrayDescriptionIsDropped) {
    const std::pair<const char*, QString> cases[] = {
        {"Zarvoﾃﾞｰﾀﾌｧｲﾙ(*.mtb)|*.mtb|全てのﾌｧｲﾙ(*.*)|*.*",
         QStringLiteral("Zarvoﾃﾞｰﾀﾌｧｲﾙ(*.mtb);;全てのﾌｧｲﾙ(*)")},
        {"Pictures|*.png;*.jpg|Text (plain)|*.txt",
         QStringLiteral("Pictures (*.png *.jpg);;Text (plain) (*.txt)")},
        {"Data|*.mtb|Stray", QStringLiteral("Data (*.mtb)")},
        {"", QString()},
    };
    for (const auto& [filter, expected] : cases)
        EXPECT_EQ(QtFileFilter(filter), expected) << filter;
}

}  // namespace
}  // namespace zv
