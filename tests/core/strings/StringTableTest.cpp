#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "core/platform/PlatformError.h"
#include "core/strings/StringTable.h"
#include "core/strings/StringTableParser.h"
#include "core/strings/StringTableRows.h"

namespace zv {
namespace {

namespace fs = std::filesystem;

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
            EXPECT_EQ(std::to_string(error.Number()) + " " + error.Description(),
                      "326 識別子 " + std::to_string(id) + " のリソースが見つかりません。");
        }
    }
    EXPECT_TRUE(HasResString(entries[1].id));
}

// A faulty table must stop the build with the file and line, and leave no
// source behind that a later build could take as up to date.
TEST(MakeStringTableTest, FaultyTableFailsTheBuildAndWritesNothing) {
    const fs::path folder =
        fs::temp_directory_path() / ("make_string_table_" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path source = folder / "strings.tsv";
    const fs::path output = folder / "StringTableData.cpp";
    const fs::path header = folder / "StringIds.h";
    const fs::path errors = folder / "errors.txt";
    for (const auto& [table, message] :
         {std::pair{"5\ta\n5\tb\n", "strings.tsv:2: error: duplicate id 5 (first on line 1)"},
          std::pair{"", "strings.tsv: error: the table has no entries"}}) {
        std::ofstream(source, std::ios::binary) << table;
        const std::string command = "\"" MAKE_STRING_TABLE_PATH "\" \"" + source.string() +
                                    "\" \"" + output.string() + "\" \"" + header.string() +
                                    "\" 2>\"" + errors.string() + "\"";
        EXPECT_NE(std::system(command.c_str()), 0) << table;
        std::ostringstream text;
        text << std::ifstream(errors).rdbuf();
        EXPECT_NE(text.str().find(message), std::string::npos) << text.str();
        EXPECT_FALSE(fs::exists(output)) << table;
        EXPECT_FALSE(fs::exists(header)) << table;
    }
    fs::remove_all(folder);
}

}  // namespace
}  // namespace zv
