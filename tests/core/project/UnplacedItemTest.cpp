#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/project/UnplacedItem.h"

namespace zv {
namespace {

ProjectItem Item(const std::string& name, double size, int16_t medium) {
    return {name, medium, {{"/data/" + name, size}}};
}

RunSettings Limits(int16_t mediaCount, int16_t minItems, int16_t maxItems,
                   FileSystemAllowance allowance = FileSystemAllowance::None) {
    RunSettings settings;
    settings.MediaNum = mediaCount;
    settings.MinFile = minItems;
    settings.MaxFile = maxItems;
    settings.FsAllowance = allowance;
    return settings;
}

// The first reason that holds names it: an item too large for any medium is
// that, whatever limit the run also reached.
TEST(UnplacedItemTest, EachItemOnNoMediumGetsTheFirstReasonThatHolds) {
    constexpr auto iso = FileSystemAllowance::Iso9660;
    const struct {
        const char* what;
        double capacity;
        RunSettings settings;
        std::vector<ProjectItem> items;
        std::vector<UnplacedReason> reasons;
    } cases[] = {
        {"too large, and the count reached",
         300,
         Limits(1, 0, 100),
         {Item("a", 500, 0), Item("b", 100, 1), Item("c", 100, 0)},
         {UnplacedReason::LargerThanMedium, UnplacedReason::MediaCountReached}},
        {"fits only without the file system",
         1e6,
         Limits(0, 0, 100, iso),
         {Item("a", 999'000, 0), Item("b", 1000, 1)},
         {UnplacedReason::LargerWithFileSystem}},
        {"a medium smaller than its file system",
         700,
         Limits(0, 0, 100, iso),
         {Item("a", 400, 0)},
         {UnplacedReason::LargerWithFileSystem}},
        {"too few for the minimum",
         1000,
         Limits(0, 2, 100),
         {Item("a", 400, 1), Item("b", 400, 1), Item("c", 400, 1), Item("d", 400, 0)},
         {UnplacedReason::ItemLimits}},
        {"no items allowed on a medium",
         1000,
         Limits(0, -1, 0),
         {Item("a", 400, 0)},
         {UnplacedReason::ItemLimits}},
        {"no limit explains it",
         1000,
         Limits(5, 0, 100),
         {Item("a", 400, 0), Item("b", 400, 1)},
         {UnplacedReason::NotChosen}},
        {"a capacity not known",
         0,
         Limits(0, 0, 100),
         {Item("a", 400, 0)},
         {UnplacedReason::NotChosen}},
        {"everything placed", 1000, Limits(1, 0, 100), {Item("a", 400, 1)}, {}},
    };
    for (const auto& c : cases) {
        const std::vector<UnplacedItem> unplaced = FindUnplaced(c.items, c.settings, c.capacity);
        ASSERT_EQ(unplaced.size(), c.reasons.size()) << c.what;
        for (size_t i = 0; i < unplaced.size(); ++i) {
            EXPECT_EQ(unplaced[i].reason, c.reasons[i]) << c.what;
            EXPECT_EQ(c.items[unplaced[i].index].medium, 0) << c.what;
        }
    }
}

// The figures of the message: what the item takes with its file system, and
// what a medium holds beside it.
TEST(UnplacedItemTest, TheFileSystemsRoomCountsInTheFigures) {
    const std::vector<ProjectItem> items = {Item("a", 999'000, 0)};
    const UnplacedItem plain = FindUnplaced(items, Limits(0, 0, 100), 1e6).at(0);
    EXPECT_EQ(plain.reason, UnplacedReason::NotChosen);
    EXPECT_EQ(plain.takes, 999'000);
    EXPECT_EQ(plain.room, 1e6);

    const UnplacedItem iso =
        FindUnplaced(items, Limits(0, 0, 100, FileSystemAllowance::Iso9660), 1e6).at(0);
    EXPECT_EQ(iso.bytes, 999'000);
    EXPECT_GE(iso.takes, 999'424) << "whole sectors";
    EXPECT_LT(iso.room, 1e6 - 150 * 2048) << "the volume's own sectors";
}

}  // namespace
}  // namespace zv
