#include <gtest/gtest.h>

#include <QStringList>

#include "desktop/dialogs/FileFilter.h"

namespace zv {
namespace {

// The names among `names` the filter keeps.
QStringList Kept(const QString& filter, const QStringList& names) {
    const FileFilter terms(filter);
    QStringList kept;
    for (const QString& name : names) {
        if (terms.Keeps(name))
            kept.append(name);
    }
    return kept;
}

const QStringList kNames = {"ABC.txt", "abc.tmp", "notes.txt", "xabcx.TMP.bak"};

TEST(FileFilterTest, TermsMustOccurOrMustNotInAnyLetterCase) {
    EXPECT_EQ(Kept("abc -tmp", kNames), QStringList{"ABC.txt"});
    EXPECT_EQ(Kept("+TXT", kNames), (QStringList{"ABC.txt", "notes.txt"}));
    EXPECT_EQ(Kept("-abc", kNames), QStringList{"notes.txt"});
    // The ideographic space separates terms like a blank.
    EXPECT_EQ(Kept(QStringLiteral("写真\u3000-ｺﾋﾟｰ"),
                   {QStringLiteral("写真1.jpg"), QStringLiteral("写真1 - ｺﾋﾟｰ.jpg")}),
              QStringList{QStringLiteral("写真1.jpg")});
}

TEST(FileFilterTest, AnEmptyTermOccursInEveryName) {
    EXPECT_EQ(Kept("+", kNames), kNames);
    EXPECT_EQ(Kept("-", kNames), QStringList{});
    // Two blanks in a row leave an empty term between them.
    EXPECT_EQ(Kept("abc  -tmp", kNames), QStringList{"ABC.txt"});
}

}  // namespace
}  // namespace zv
