#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "core/platform/PlatformError.h"
#include "core/strings/StringTable.h"
#include "core/strings/StringTableParser.h"
#include "core/strings/StringTableRows.h"

namespace zv {
namespace {

std::vector<StringTableEntry> SourceTable() {
    std::ifstream in(ZV_STRING_TABLE, std::ios::binary);
    return ParseStringTable(std::string(std::istreambuf_iterator<char>(in), {}));
}

// The build turns every text into a literal of the program; line breaks,
// blanks at either end and ASCII after a multibyte character are easily lost
// on the way.
TEST(StringTableTest, EveryTextComesOutByteForByte) {
    const std::vector<StringTableEntry> entries = SourceTable();
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(kStringTableRowCount, entries.size());
    const std::string& first = ResString(entries.front().id);
    for (const StringTableEntry& entry : entries)
        EXPECT_EQ(ResString(entry.id), entry.text) << "id " << entry.id;
    EXPECT_EQ(&first, &ResString(entries.front().id)) << "references stay valid across calls";
}

TEST(StringTableTest, MissingIdThrowsPlatformError326) {
    const std::vector<StringTableEntry> entries = SourceTable();
    ASSERT_GE(entries.size(), 2u);
    // Before the first entry, in a gap between two and after the last.
    std::vector<int> missing{entries.front().id - 1, entries.back().id + 1};
    for (std::size_t i = 1; i < entries.size() && missing.size() < 3; ++i) {
        if (entries[i].id > entries[i - 1].id + 1)
            missing.push_back(entries[i].id - 1);
    }
    ASSERT_EQ(missing.size(), 3u);
    for (const int id : missing) {
        EXPECT_FALSE(HasResString(id)) << id;
        try {
            ResString(id);
            ADD_FAILURE() << "no error for id " << id;
        } catch (const PlatformError& error) {
            EXPECT_EQ(error.Number(), 326);
            EXPECT_EQ(error.Description(),
                      "識別子 " + std::to_string(id) + " のリソースが見つかりません。");
        }
    }
    EXPECT_TRUE(HasResString(entries[1].id));
}

}  // namespace
}  // namespace zv
