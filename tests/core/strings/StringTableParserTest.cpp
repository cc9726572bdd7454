#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/strings/StringTableParser.h"

namespace zv {
namespace {

TEST(StringTableParserTest, DecodesEscapesAndKeepsBlanksAndUtf8) {
    // The first and the last sequence of each length and range of lead bytes.
    const std::string edges =
        "\xc2\x80\xdf\xbf\xe0\xa0\x80\xed\x9f\xbf\xef\xbf\xbf\xf0\x90\x80\x80\xf4\x8f\xbf\xbf";
    const std::vector<StringTableEntry> entries = ParseStringTable(
        "1\tone\\r\\ntwo\n"
        "2\ta\\tb\tTabbed2\n"
        "3\tC:\\\\temp\\\\new\n"
        "4\t  ﾌｨﾙﾀ：  \n"
        "5\t\n"
        "6\t" +
        edges +
        "\n"
        "70000\tlast line without a line feed");
    std::vector<std::string> texts;
    for (const StringTableEntry& entry : entries)
        texts.push_back(std::to_string(entry.id) + ":" + entry.text + ":" + entry.name);
    // An escaped backslash is not the start of a further escape.
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "1:one\r\ntwo:", "2:a\tb:Tabbed2", "3:C:\\temp\\new:", "4:  ﾌｨﾙﾀ：  :",
                         "5::", "6:" + edges + ":", "70000:last line without a line feed:"}));
}

TEST(StringTableParserTest, RefusesFaultyFilesNamingTheLine) {
    const std::string onlyEscapes = " (only \\r\\n, \\t and \\\\ are allowed)";
    struct Fault {
        std::string source;
        int line;
        std::string message;
    };
    std::vector<Fault> faults = {
        {"1\ta\n\n2\tb\n", 2, "blank line"},
        {"1\ta\n2 b\n", 2, "no tab between the id and the text"},
        {"12a\tx\n", 1, "the id \"12a\" is not a decimal number"},
        {"\tx\n", 1, "the id \"\" is not a decimal number"},
        {"99999999999\tx\n", 1, "the id \"99999999999\" is not a decimal number"},
        {"5\ta\n7\tb\n5\tc\n", 3, "duplicate id 5 (first on line 1)"},
        {"5\ta\n3\tb\n", 2, "id 3 is out of order (it follows id 5)"},
        {"1\tline\\nbreak\n", 1, "unknown escape \"\\n\"" + onlyEscapes},
        {"1\tcarriage\\r return\n", 1, "unknown escape \"\\r\"" + onlyEscapes},
        {"1\tends in \\\n", 1, "unknown escape \"\\\"" + onlyEscapes},
        {"1\ta\r\n", 1, "the line ends in a carriage return (save the file with LF line endings)"},
        {"1\ta\x01\n", 1,
         "control character 1 in the text (write a line break as \\r\\n and a tab as \\t)"},
        {"1\ta\tb\tc\n", 1, "the name \"b\tc\" is not a letter followed by letters and digits"},
        {"1\ta\tN\n2\tb\tN\n", 2, "duplicate name N (first on line 1)"},
    };
    // Stray and truncated sequences, overlong forms, surrogates and code points
    // beyond U+10FFFF, each just past the edge of what is allowed.
    for (const char* bytes : {"\x96\xb3", "\xe7\x84", "\xe3\x81\x7f", "\xc1\xbf", "\xe0\x9f\xbf",
                              "\xed\xa0\x80", "\xf0\x8f\xbf\xbf", "\xf4\x90\x80\x80", "\xf5\x80"})
        faults.push_back({std::string("1\t") + bytes + "\n", 1, "the text is not valid UTF-8"});
    for (const Fault& fault : faults) {
        try {
            ParseStringTable(fault.source);
            ADD_FAILURE() << "accepted: " << fault.source;
        } catch (const StringTableSyntaxError& error) {
            EXPECT_EQ(error.Line(), fault.line) << fault.source;
            EXPECT_EQ(std::string(error.what()), fault.message) << fault.source;
        }
    }
}

}  // namespace
}  // namespace zv
