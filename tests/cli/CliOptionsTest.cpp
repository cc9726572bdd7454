#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "cli/CliOptions.h"
#include "cli/ItemCollector.h"
#include "cli/JsonText.h"
#include "cli/WorkProgress.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

TEST(CliOptionsTest, OptionsTakeTheirValuesEitherWay) {
    const CliOptions o = ParseCommandLine(
        {"plan", "--media-size", "DVD-R (4.7GB)", "--tolerance=1,024", "--media-count", "3",
         "--min-items=1", "--no-fast", "--json", "--", "--odd-name", "b"});
    EXPECT_EQ(o.command, CliOptions::Command::Plan);
    EXPECT_EQ(o.paths, (std::vector<std::string>{"--odd-name", "b"}));

    RunSettings base;
    base.MaxFile = 100;
    base.MaxSpeed = true;
    EXPECT_EQ(o.Apply(base), (RunSettings{"DVD-R (4.7GB)", 1024, 3, 100, 1, false, 0, ""}));
    EXPECT_TRUE(o.json);
    // Without a tolerance, a media size brings its own: a thousandth of it.
    EXPECT_EQ(ParseCommandLine({"plan", "--media-size=700", "x"}).Apply(base).DiffSize, 0);
    EXPECT_EQ(ParseCommandLine({"plan", "--media-size=700001", "x"}).Apply(base).DiffSize, 700);
    // Counts go up to the dialogs' limit and no further.
    EXPECT_EQ(ParseCommandLine({"plan", "--max-items", "999999", "x"}).Apply(base).MaxFile, 999999);
    EXPECT_THROW(ParseCommandLine({"plan", "--max-items", "1000000", "x"}), UsageError);
}

TEST(ItemCollectorTest, SizeListsAndDuplicates) {
    ItemCollector collector(false);
    // A byte-order mark does not belong to the first line; a name that repeats is
    // an item of its own all the same.
    std::istringstream lines(
        "\xEF\xBB\xBF"
        "400 a\r\n\n  300\tname with blanks\n200 a\n");
    collector.AddSizeList(lines, "list");
    std::vector<std::string> items;
    for (const ProjectItem& item : collector.Items())
        items.push_back(item.name + ":" + std::to_string(item.members.at(0).size));
    EXPECT_EQ(items, (std::vector<std::string>{"a:400.000000", "name with blanks:300.000000",
                                               "a:200.000000"}));

    for (const std::string bad :
         {"12\n", "1.5 a\n", "-3 a\n", "x a\n", "1e300 a\n", "10000000000000000 a\n"}) {
        std::istringstream line("7 ok\n" + bad);
        try {
            ItemCollector(false).AddSizeList(line, "list");
            ADD_FAILURE() << bad;
        } catch (const UsageError& error) {
            EXPECT_EQ(std::string(error.what()).rfind("list:2: ", 0), 0u) << error.what();
        }
    }
}

TEST(ItemCollectorTest, FoldersGiveOneItemPerFileOrOneGroup) {
    test::TempFolder folder;
    std::filesystem::create_directories(folder.File("photos/2024"));
    test::WriteBytes(folder.File("photos/b.jpg"), "12345");
    test::WriteBytes(folder.File("photos/2024/a.jpg"), "123");

    ItemCollector singles(false);
    singles.AddPath(folder.File("photos"));
    singles.AddPath(folder.File("photos/b.jpg"));
    ASSERT_EQ(singles.Items().size(), 2u);
    EXPECT_EQ(singles.Items()[0].name, folder.File("photos/2024/a.jpg"));
    EXPECT_EQ(singles.Items()[0].members[0].size, 3);

    ItemCollector groups(true);
    groups.AddPath(folder.File("photos") + "/");
    ASSERT_EQ(groups.Items().size(), 1u);
    EXPECT_EQ(groups.Items()[0].name, "photos");
    EXPECT_EQ(groups.Items()[0].members.size(), 2u);
    // A second folder of the same name, in any letter case, cannot be told apart.
    std::filesystem::create_directories(folder.File("other/PHOTOS"));
    test::WriteBytes(folder.File("other/PHOTOS/c"), "1");
    EXPECT_THROW(groups.AddPath(folder.File("other/PHOTOS")), UsageError);
}

TEST(JsonTextTest, EscapesAndNumbers) {
    EXPECT_EQ(JsonString("a\"b\\c\r\n\t\x01ﾒ"), "\"a\\\"b\\\\c\\r\\n\\t\\u0001ﾒ\"");
    // Bytes that are no UTF-8 (and a surrogate or overlong form) cannot
    // break the JSON.
    EXPECT_EQ(JsonString("a\xff\xc3(\xed\xa0\x80\xc0\xafé"),
              "\"a\\udcff\\udcc3(\\udced\\udca0\\udc80\\udcc0\\udcafé\"");
    EXPECT_EQ(JsonBytes(4707319808.0), "4707319808");
    EXPECT_EQ(JsonBytes(5e6), "5000000");
    EXPECT_EQ(JsonBytes(9007199254740993.0), "9007199254740992");
    EXPECT_EQ(JsonNumber(0.25), "0.25");
}

TEST(WorkProgressTest, BytesAndTimeLeftReadAsAPersonSaysThem) {
    const std::pair<double, const char*> bytes[] = {
        {0, "0 bytes"}, {999, "999 bytes"}, {1000, "1.0 kB"}, {4.7e9, "4.7 GB"}, {25e6, "25.0 MB"}};
    for (const auto& [count, text] : bytes)
        EXPECT_EQ(WorkProgress::Bytes(count), text) << count;
    // Too little done or too soon to tell, and done, say nothing.
    const std::tuple<double, double, const char*> times[] = {{0.005, 100, ""},
                                                             {0.5, 1, ""},
                                                             {1, 100, ""},
                                                             {0.5, 30, "about 30 s left"},
                                                             {0.25, 60, "about 3 min left"},
                                                             {0.1, 3600, "about 9.0 h left"}};
    for (const auto& [done, elapsed, text] : times)
        EXPECT_EQ(WorkProgress::TimeLeft(done, elapsed), text) << done << " " << elapsed;
}

}  // namespace
}  // namespace zv
