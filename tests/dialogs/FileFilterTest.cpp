#include <gtest/gtest.h>

#include <QStringList>

#include "dialogs/FileFilter.h"
#include "dialogs/FileRowText.h"
#include "dialogs/GatheredFiles.h"

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
}

TEST(FileFilterTest, AnEmptyTermOccursInEveryName) {
    EXPECT_EQ(Kept("+", kNames), kNames);
    EXPECT_EQ(Kept("-", kNames), QStringList{});
    // Two blanks in a row leave an empty term between them.
    EXPECT_EQ(Kept("abc  -tmp", kNames), QStringList{"ABC.txt"});
    EXPECT_EQ(Kept("abc -", kNames), QStringList{});
}

TEST(FileFilterTest, TheIdeographicSpaceSeparatesLikeABlank) {
    EXPECT_EQ(Kept(QStringLiteral("abc\u3000-tmp"), kNames), QStringList{"ABC.txt"});
    const FileFilter terms(QStringLiteral("写真\u3000-ｺﾋﾟｰ"));
    ASSERT_EQ(terms.Terms().size(), 2u);
    EXPECT_TRUE(terms.Keeps(QStringLiteral("写真1.jpg")));
    EXPECT_FALSE(terms.Keeps(QStringLiteral("写真1 - ｺﾋﾟｰ.jpg")));
}

TEST(FileRowTextTest, SizesArePaddedToTheWidestSoTheySortByValue) {
    GatheredFiles files;
    files.folders = {"/data"};
    files.files = {{0, "big.bin", 1234567, 0}, {0, "small.txt", 5, 0}};
    const int widest = files.WidestSizeText();
    EXPECT_EQ(widest, 9);
    EXPECT_EQ(PaddedSizeText(1234567, widest), QStringLiteral("1,234,567"));
    EXPECT_EQ(PaddedSizeText(5, widest), QStringLiteral("        5"));
    EXPECT_LT(PaddedSizeText(5, widest), PaddedSizeText(1234567, widest));
    EXPECT_EQ(PaddedSizeText(0, widest), QStringLiteral("        0"));
    EXPECT_EQ(files.Path(1), "/data/small.txt");
}

}  // namespace
}  // namespace zv
