#include <gtest/gtest.h>

#include <limits>

#include "core/db/FieldValue.h"
#include "core/db/SqlText.h"
#include "core/platform/PlatformError.h"

namespace zv {
namespace {

int ErrorNumber(auto convert) {
    try {
        convert();
    } catch (const PlatformError& e) {
        return e.Number();
    }
    return 0;
}

TEST(FieldValueTest, FractionsRoundToTheEvenNeighbour) {
    EXPECT_EQ(FieldValue(0.5).ToInt16(), 0);
    EXPECT_EQ(FieldValue(1.5).ToInt16(), 2);
    EXPECT_EQ(FieldValue(2.51).ToInt16(), 3);
    EXPECT_EQ(FieldValue(-2.5).ToInt16(), -2);
    EXPECT_EQ(FieldValue(-3.5).ToInt32(), -4);
    EXPECT_EQ(FieldValue(std::string(" 6.5 ")).ToInt32(), 6);
}

TEST(FieldValueTest, RangeNullAndTextFailures) {
    EXPECT_EQ(FieldValue(int64_t{32767}).ToInt16(), 32767);
    EXPECT_EQ(ErrorNumber([] { FieldValue(int64_t{32768}).ToInt16(); }), 6);
    EXPECT_EQ(ErrorNumber([] { FieldValue(32767.5).ToInt16(); }), 6);
    EXPECT_EQ(FieldValue(-32768.5).ToInt16(), -32768);
    EXPECT_EQ(ErrorNumber([] { FieldValue(int64_t{1} << 31).ToInt32(); }), 6);
    EXPECT_EQ(ErrorNumber([] { FieldValue(std::numeric_limits<double>::quiet_NaN()).ToInt32(); }),
              6);

    EXPECT_EQ(ErrorNumber([] { FieldValue().ToDouble(); }), 94);
    EXPECT_EQ(ErrorNumber([] { FieldValue().ToText(); }), 94);
    for (const char* text : {"", "12abc", "inf", "nan"}) {
        EXPECT_EQ(ErrorNumber([&] { FieldValue(std::string(text)).ToInt16(); }), 13) << text;
    }
    EXPECT_EQ(FieldValue(std::string("1e3")).ToDouble(), 1000);
}

TEST(FieldValueTest, NumbersGiveTheirShortestText) {
    EXPECT_EQ(FieldValue(int64_t{-42}).ToText(), "-42");
    EXPECT_EQ(FieldValue(4700000000.0).ToText(), "4700000000");
    EXPECT_EQ(FieldValue(0.1).ToText(), "0.1");
    EXPECT_EQ(FieldValue(int64_t{7}).ToDouble(), 7);
}

TEST(SqlTextTest, QuotesAndWritesNumbersWithoutExponent) {
    EXPECT_EQ(SqlQuote("it's ''x'"), "it''s ''''x''");
    EXPECT_EQ(SqlNumber(734003200), "734003200");
    EXPECT_EQ(SqlNumber(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(SqlNumber(1e20), "100000000000000000000");
    EXPECT_EQ(SqlNumber(-1e-7), "-0.0000001");
    EXPECT_EQ(SqlNumber(std::numeric_limits<double>::denorm_min()).size(), 326u);
}

}  // namespace
}  // namespace zv
