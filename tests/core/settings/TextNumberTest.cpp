#include <gtest/gtest.h>

#include "core/platform/PlatformError.h"
#include "core/settings/TextNumber.h"

namespace zv {
namespace {

TEST(TextNumberTest, AcceptsNumbersAsPeopleWriteThem) {
    const std::pair<const char*, double> cases[] = {
        {" 1,024 ", 1024}, {"+7", 7},
        {"1.5e3", 1500},   {"\t.5", 0.5},
        {"3.", 3},         {"-1,234.25E-2", -12.3425},
        {"007", 7},        {"4,707,319,808", 4707319808.0},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_TRUE(IsNumeric(text)) << text;
        EXPECT_EQ(ParseNumber(text), value) << text;
    }
}

TEST(TextNumberTest, RejectsWhatIsNoNumber) {
    for (const char* text : {"", "   ", "-", ".", "-.", "1e", "e5", "12a", "DVD-R", "1 2", "1,2",
                             ",123", "1,,234", "1234,567", "1,234,56", "1e999", "0x10"}) {
        EXPECT_FALSE(IsNumeric(text)) << text;
        EXPECT_EQ(ParseNumber(text), std::nullopt) << text;
    }
}

int ErrorNumberOf(void (*convert)()) {
    try {
        convert();
    } catch (const PlatformError& error) {
        return error.Number();
    }
    return 0;
}

TEST(TextNumberTest, SettingsConversionsFailLikeTheReader) {
    EXPECT_EQ(TextToDouble("4,707,319"), 4707319);
    EXPECT_EQ(ErrorNumberOf([] { TextToDouble(""); }), 13);
    EXPECT_EQ(ErrorNumberOf([] { TextToDouble("1e999"); }), 6);

    EXPECT_EQ(TextToInt16("32,767"), 32767);
    EXPECT_EQ(TextToInt16("-32768"), -32768);
    EXPECT_EQ(TextToInt16("2.5"), 2);
    EXPECT_EQ(TextToInt16("3.5"), 4);
    EXPECT_EQ(TextToInt16("-2.5"), -2);
    EXPECT_EQ(ErrorNumberOf([] { TextToInt16("32768"); }), 6);
    EXPECT_EQ(ErrorNumberOf([] { TextToInt16("32767.5"); }), 6) << "rounds up past the range";
    EXPECT_EQ(ErrorNumberOf([] { TextToInt16("-32769"); }), 6);
    EXPECT_EQ(ErrorNumberOf([] { TextToInt16("x"); }), 13);
}

// Rounding halves to the even neighbour, but grouped texts round them away
// from zero.
TEST(TextNumberTest, RoundsAndFormats) {
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(2.6), 3);

    const std::pair<double, const char*> cases[] = {
        {-0.4, "0"},
        {999, "999"},
        {1000, "1,000"},
        {2.5, "3"},
        {-2.5, "-3"},
        {-1234567, "-1,234,567"},
        {1e21, "1,000,000,000,000,000,000,000"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FormatGrouped(value), text) << value;
}

}  // namespace
}  // namespace zv
