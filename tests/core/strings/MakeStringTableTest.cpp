#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

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
