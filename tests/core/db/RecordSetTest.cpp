#include <gtest/gtest.h>

#include "core/db/RecordSet.h"
#include "tests/support/ErrorNumber.h"

namespace zv {
namespace {

using test::ErrorNumber;

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
