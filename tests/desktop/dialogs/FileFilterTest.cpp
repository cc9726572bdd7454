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

TEST(FileFilterTest, TermsMustOccurOrMustNotInAnyLetterCase) {
    const QStringList names = {"ABC.txt", "abc.tmp", "notes.txt", "xabcx.TMP.bak"};
    const std::pair<QString, QStringList> cases[] = {
        {"abc -tmp", {"ABC.txt"}},
        {"+TXT", {"ABC.txt", "notes.txt"}},
        {"-abc", {"notes.txt"}},
        // An empty term occurs in every name; two blanks in a row leave one.
        {"+", names},
        {"-", {}},
        {"abc  -tmp", {"ABC.txt"}},
    };
    for (const auto& [filter, kept] : cases)
        EXPECT_EQ(Kept(filter, names), kept) << filter.toStdString();
    // The ideographic space separates terms like a blank.
    EXPECT_EQ(Kept(QStringLiteral("写真\u3000-ｺﾋﾟｰ"),
                   {QStringLiteral("写真1.jpg"), QStringLiteral("写真1 - ｺﾋﾟｰ.jpg")}),
              QStringList{QStringLiteral("写真1.jpg")});
}

}  // namespace
}  // namespace zv
