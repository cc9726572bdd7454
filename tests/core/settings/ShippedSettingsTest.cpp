#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "core/settings/IniAccess.h"
#include "core/settings/SizeFromText.h"
#include "core/settings/SizePresets.h"
#include "core/settings/TextNumber.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

TEST(ShippedSettingsTest, HoldsThePresetsAndRunDefaults) {
    test::TempFolder folder;
    std::filesystem::copy_file(ZV_SHIPPED_SETTINGS, folder.Settings());
    EXPECT_EQ(test::ReadBytes(folder.Settings()).find('\r'), std::string::npos);

    const std::pair<const char*, double> expected[] = {
        {"CD-R 74分 (650MB)", 681984000.0}, {"CD-R 80分 (700MB)", 737280000.0},
        {"DVD-R (4.7GB)", 4707319808.0},    {"DVD+R (4.7GB)", 4700372992.0},
        {"DVD-R DL (8.5GB)", 8543666176.0}, {"DVD+R DL (8.5GB)", 8547991552.0},
        {"BD-R (25GB)", 25025314816.0},     {"BD-R DL (50GB)", 50050629632.0},
    };
    const auto presets = ReadSizePresets();
    ASSERT_EQ(presets.size(), std::size(expected));
    for (std::size_t i = 0; i < presets.size(); ++i) {
        EXPECT_EQ(presets[i].name, expected[i].first);
        EXPECT_EQ(presets[i].capacity, expected[i].second) << expected[i].first;
    }

    const auto read = [&](const char* key) {
        std::string value;
        EXPECT_TRUE(IniAccess(IniRead, "DEFAULT_SET_RUN", key, value, folder.Settings())) << key;
        return value;
    };
    ScriptedUi ui;
    const double capacity = SizeFromText(read("MediaSize"));
    EXPECT_EQ(capacity, 4707319808.0);
    EXPECT_EQ(TextToDouble(read("DiffSize")), std::floor(capacity / 1000));
    EXPECT_EQ(TextToInt16(read("MediaNum")), 32766);
    EXPECT_EQ(TextToInt16(read("MaxFile")), 32766);
    EXPECT_EQ(TextToInt16(read("MinFile")), 0);
    EXPECT_EQ(TextToInt16(read("MaxSpeed")), 0);
}

}  // namespace
}  // namespace zv
