#include <gtest/gtest.h>

#include <filesystem>

#include "core/settings/FileRef.h"
#include "core/settings/FileSystem.h"
#include "core/settings/TextNumber.h"
#include "tests/support/ErrorNumber.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

namespace fs = std::filesystem;
using test::ErrorNumber;

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

// Halves round to the even neighbour; a value that rounds past the range
// overflows (6), a text that is no number mismatches (13).
TEST(TextNumberTest, SettingsConversionsFailLikeTheReader) {
    EXPECT_EQ(TextToDouble("4,707,319"), 4707319);
    EXPECT_EQ(ErrorNumber([] { TextToDouble(""); }), 13);
    EXPECT_EQ(ErrorNumber([] { TextToDouble("1e999"); }), 6);

    const std::pair<const char*, int16_t> values[] = {
        {"32,767", 32767}, {"-32768", -32768}, {"2.5", 2}, {"3.5", 4}, {"-2.5", -2}};
    for (const auto& [text, value] : values)
        EXPECT_EQ(TextToInt16(text), value) << text;
    const std::pair<const char*, int> failures[] = {
        {"32768", 6}, {"32767.5", 6}, {"-32769", 6}, {"x", 13}};
    for (const auto& [text, number] : failures)
        EXPECT_EQ(ErrorNumber([&] { TextToInt16(text); }), number) << text;
}

// Grouped texts round halves away from zero.
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

TEST(FileRefTest, ReadsTheSizeAfreshAndRemembersTheLastOneWhenTheFileGoes) {
    test::TempFolder folder;
    const std::string path = folder.File("a.txt");
    test::WriteBytes(path, "12345");
    const fs::path before = fs::current_path();
    fs::current_path(folder.Path());
    const FileRef file = FileRef::Get("a.txt");
    fs::current_path(before);
    EXPECT_EQ(file.Path(), path);
    EXPECT_EQ(file.Name(), "a.txt");

    test::WriteBytes(path, "1234567");
    EXPECT_EQ(file.Size(), 7);
    fs::remove(path);
    EXPECT_EQ(ErrorNumber([&] { file.Size(); }), 53);
    EXPECT_EQ(file.LastKnownSize(), 7);
    EXPECT_EQ(ErrorNumber([&] { FileRef::Get(path); }), 53);
    EXPECT_EQ(ErrorNumber([&] { FileRef::Get(folder.Path()); }), 53) << "a folder is no file";
    EXPECT_EQ(ErrorNumber([] { FileRef().Size(); }), 53);
}

TEST(FileSystemTest, AFolderIsNoFile) {
    test::TempFolder folder;
    const std::string file = folder.File("f.bin");
    const std::string empty = folder.File("empty");
    test::WriteBytes(file, "x");
    fs::create_directory(empty);
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(empty));
    EXPECT_TRUE(FolderExists(empty));
    EXPECT_FALSE(FolderExists(file));

    EXPECT_EQ(ErrorNumber([&] { DeleteFile(empty); }), 53);
    EXPECT_TRUE(fs::exists(empty));
    DeleteFile(file);
    EXPECT_EQ(ErrorNumber([&] { DeleteFile(file); }), 53);
}

}  // namespace
}  // namespace zv
