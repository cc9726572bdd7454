#include <gtest/gtest.h>

#include <limits>

#include "core/db/FieldValue.h"
#include "core/db/RecordSet.h"
#include "core/db/SqlText.h"
#include "tests/support/ErrorNumber.h"

namespace zv {
namespace {

using test::ErrorNumber;

TEST(FieldValueTest, FractionsRoundToTheEvenNeighbour) {
    const std::pair<FieldValue, int> cases[] = {{FieldValue(0.5), 0},
                                                {FieldValue(1.5), 2},
                                                {FieldValue(2.51), 3},
                                                {FieldValue(-2.5), -2},
                                                {FieldValue(-3.5), -4},
                                                {FieldValue(-32768.5), -32768},
                                                {FieldValue(int64_t{32767}), 32767},
                                                {FieldValue(std::string(" 6.5 ")), 6}};
    for (const auto& [field, value] : cases) {
        EXPECT_EQ(field.ToInt16(), value) << value;
        EXPECT_EQ(field.ToInt32(), value) << value;
    }
}

TEST(FieldValueTest, RangeNullAndTextFailures) {
    const std::pair<FieldValue, int> int16Failures[] = {
        {FieldValue(int64_t{32768}), 6},      {FieldValue(32767.5), 6},
        {FieldValue(std::string("")), 13},    {FieldValue(std::string("12abc")), 13},
        {FieldValue(std::string("inf")), 13}, {FieldValue(std::string("nan")), 13},
    };
    for (const auto& [field, number] : int16Failures)
        EXPECT_EQ(ErrorNumber([&] { field.ToInt16(); }), number);
    EXPECT_EQ(ErrorNumber([] { FieldValue(int64_t{1} << 31).ToInt32(); }), 6);
    EXPECT_EQ(ErrorNumber([] { FieldValue(std::numeric_limits<double>::quiet_NaN()).ToInt32(); }),
              6);
    EXPECT_EQ(ErrorNumber([] { FieldValue().ToDouble(); }), 94);
    EXPECT_EQ(ErrorNumber([] { FieldValue().ToText(); }), 94);
    EXPECT_EQ(FieldValue(std::string("1e3")).ToDouble(), 1000);
    EXPECT_EQ(FieldValue(int64_t{7}).ToDouble(), 7);
}

TEST(FieldValueTest, NumbersGiveTheirShortestText) {
    EXPECT_EQ(FieldValue(int64_t{-42}).ToText(), "-42");
    EXPECT_EQ(FieldValue(4700000000.0).ToText(), "4700000000");
    EXPECT_EQ(FieldValue(0.1).ToText(), "0.1");
}

TEST(SqlTextTest, QuotesAndWritesNumbersWithoutExponent) {
    EXPECT_EQ(SqlQuote("it's ''x'"), "it''s ''''x''");
    EXPECT_EQ(SqlNumber(734003200), "734003200");
    EXPECT_EQ(SqlNumber(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(SqlNumber(1e20), "100000000000000000000");
    EXPECT_EQ(SqlNumber(-1e-7), "-0.0000001");
    EXPECT_EQ(SqlNumber(std::numeric_limits<double>::denorm_min()).size(), 326u);
}

TEST(RecordSetTest, WalksAndMovesByRowNumber) {
    RecordSet rows({"GID", "GSIZE"}, {FieldValue(int64_t{4}), FieldValue(10.0),
                                      FieldValue(int64_t{2}), FieldValue(5.0)});
    EXPECT_EQ(rows.RecordCount(), 2);
    EXPECT_EQ(rows.Field("gsize").ToDouble(), 10);
    rows.MoveNext();
    EXPECT_EQ(rows.Field(0).ToInt16(), 2);
    rows.MoveNext();
    rows.MoveNext();
    EXPECT_TRUE(rows.AtEnd());
    rows.MoveFirst();
    EXPECT_EQ(rows.Field("GID").ToInt16(), 4);
    rows.MoveTo(1);
    EXPECT_EQ(rows.Field("GID").ToInt16(), 2);

    // Reading outside the columns or the rows fails.
    EXPECT_EQ(ErrorNumber([&] { rows.Field("NOPE"); }), 9);
    EXPECT_EQ(ErrorNumber([&] { rows.Field(2); }), 9);
    EXPECT_EQ(ErrorNumber([&] { rows.FieldName(-1); }), 9);
    rows.MoveTo(-1);
    EXPECT_TRUE(rows.AtEnd());
    rows.MoveTo(2);
    EXPECT_EQ(ErrorNumber([&] { rows.Field("GID"); }), 3021);
    EXPECT_EQ(ErrorNumber([&] { RecordSet({"GID"}, {}).Field(0); }), 3021);

    rows.Close();
    EXPECT_FALSE(rows.IsOpen());
    EXPECT_TRUE(rows.AtEnd());
    EXPECT_FALSE(RecordSet().IsOpen());
}

}  // namespace
}  // namespace zv
