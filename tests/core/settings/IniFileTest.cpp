#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/settings/IniFile.h"
#include "core/settings/IniSnapshot.h"
#include "core/settings/SettingsValueError.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

namespace fs = std::filesystem;

class IniFileTest : public ::testing::Test {
  protected:
    test::TempFolder folder;
    std::string path = folder.File("test.dat");
    IniFile ini{path};
};

TEST_F(IniFileTest, ReadsValuesByTheFormatRules) {
    const std::string longAscii(300, 'x');
    std::string longKana;
    for (int i = 0; i < 100; ++i)
        longKana += "ﾃ";  // 3 bytes each
    const std::string notUtf8(300, '\x8E');
    test::WriteBytes(
        path, "\xEF\xBB\xBF[Run]\r\n  Size =  a = b \t\r\nEmpty=\r\nBlank=   \r\nLong=" +
                  longAscii + "\r\nKana=x" + longKana + "\r\nJunk=" + notUtf8 +
                  "\r\nCutAtBlank=" + std::string(250, 'y') + "     z\r\n[Other]\r\nOnly=1\r\n");

    EXPECT_EQ(ini.Read("RUN", "size"), "a = b");
    EXPECT_EQ(ini.Read("Run", "Long"), longAscii.substr(0, 255));
    // 1 + 84 * 3 = 253 bytes: the 85th character would pass 255.
    EXPECT_EQ(ini.Read("Run", "Kana"), "x" + longKana.substr(0, 84 * 3));
    EXPECT_EQ(ini.Read("Run", "Junk"), notUtf8.substr(0, 255)) << "no character to keep whole";
    EXPECT_EQ(ini.Read("Run", "CutAtBlank"), std::string(250, 'y')) << "no blank left at the cut";
    for (const char* key : {"Empty", "Blank", "Missing", "Only"})
        EXPECT_EQ(ini.Read("Run", key), std::nullopt) << key;
    EXPECT_EQ(ini.Read("Missing", "Only"), std::nullopt);
    EXPECT_EQ(IniFile(folder.File("none.dat")).Read("Run", "Size"), std::nullopt);
}

std::string Utf16(const std::string& ascii, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char c : ascii)
        bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    return bytes;
}

// Files made by other editors: line ends of any kind, UTF-16 with a byte
// order mark. A rewrite keeps both.
TEST_F(IniFileTest, ReadsAndRewritesEveryLineEndAndEncoding) {
    const std::string lines = "[Run]\rSize=700\r[Other]\rSize=1\r";
    const struct {
        std::string bytes;
        std::string rewritten;
    } cases[] = {
        {lines, "[Run]\rSize=700\rKey=v\r[Other]\rSize=1\r"},
        {"[Run]\nSize=700\r\n[Other]\r\nSize=1\n", "[Run]\nSize=700\nKey=v\n[Other]\nSize=1\n"},
        {Utf16("[Run]\r\nSize=700\r\n[Other]\r\nSize=1", false),
         Utf16("[Run]\r\nSize=700\r\nKey=v\r\n[Other]\r\nSize=1\r\n", false)},
        {Utf16("[Run]\nSize=700\n[Other]\nSize=1\n", true),
         Utf16("[Run]\nSize=700\nKey=v\n[Other]\nSize=1\n", true)},
    };
    for (const auto& c : cases) {
        test::WriteBytes(path, c.bytes);
        EXPECT_EQ(ini.Read("Run", "Size"), "700") << c.bytes;
        EXPECT_EQ(ini.Read("Other", "Size"), "1") << c.bytes;
        ASSERT_TRUE(ini.Write("Run", "Key", "v"));
        EXPECT_EQ(test::ReadBytes(path), c.rewritten);
    }

    // Characters beyond the basic plane, and a lone surrogate that stands for
    // no character.
    test::WriteBytes(path, std::string("\xFF\xFE[\0A\0]\0\n\0k\0=\0\x3D\xD8\x00\xDE\x00\xD8", 20));
    EXPECT_EQ(ini.Read("A", "k"), "\xF0\x9F\x98\x80\xEF\xBF\xBD");
}

// Only the first header of a section counts, and in it the first line of a
// key, however the file repeats them.
TEST_F(IniFileTest, RepeatedSectionsAndKeysReadTheFirst) {
    test::WriteBytes(path, "k=none\n[A]\nk=1\nk=2\n[B]\nj=3\n[a]\nk=4\nx=5\n");
    EXPECT_EQ(ini.Read("A", "K"), "1");
    EXPECT_EQ(ini.Read("b", "j"), "3");
    EXPECT_EQ(ini.Read("A", "x"), std::nullopt);
}

// A file that is there but cannot be read is not a missing one: a caller that
// must not go on without it hears which file and which key.
TEST_F(IniFileTest, AnUnreadableFileNamesItselfAndTheKey) {
    fs::create_directory(path);
    const IniSnapshot snapshot(path);
    EXPECT_NE(snapshot.ReadError(), "");
    EXPECT_EQ(snapshot.Read("A", "k"), std::nullopt);
    try {
        static_cast<void>(snapshot.Value("A", "k"));
        ADD_FAILURE() << "no error for an unreadable file";
    } catch (const SettingsValueError& error) {
        EXPECT_EQ(error.BoxText(), "設定ﾌｧｲﾙを読み込めませんでした\r\n" + path + "\r\n[A] k\r\n" +
                                       snapshot.ReadError());
    }
    EXPECT_EQ(IniSnapshot(folder.File("none.dat")).Value("A", "k"), std::nullopt);
}

TEST_F(IniFileTest, WritesInPlaceAtSectionEndAndAsNewSection) {
    test::WriteBytes(path, "[A]\nx=1\ny=2\n\n[B]\nz=3");
    ASSERT_TRUE(ini.Write("a", "X", "10"));
    ASSERT_TRUE(ini.Write("A", "w", "4"));
    ASSERT_TRUE(ini.Write("C", "k", "v"));
    ASSERT_TRUE(ini.Write("B", "u", "5"));
    EXPECT_EQ(test::ReadBytes(path), "[A]\nx=10\ny=2\nw=4\n\n[B]\nz=3\nu=5\n\n[C]\nk=v\n");

    // Line ends and a byte order mark stay as the file had them.
    test::WriteBytes(path, "\xEF\xBB\xBF[A]\r\nx=1\r\n");
    ASSERT_TRUE(ini.Write("A", "y", "2"));
    EXPECT_EQ(test::ReadBytes(path), "\xEF\xBB\xBF[A]\r\nx=1\r\ny=2\r\n");
}

// A file not there yet is made with the modes the umask leaves. (How a
// rewrite keeps the mode, a link and the old file whatever fails is
// WriteFileAtomically's, checked in AtomicReplaceTest.)
TEST_F(IniFileTest, ANewFileTakesTheUmask) {
    const mode_t umask = ::umask(002);
    const bool written = ini.Write("S", "k", "v");
    ::umask(umask);
    ASSERT_TRUE(written);
    EXPECT_EQ(test::ReadBytes(path), "[S]\nk=v\n");
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0664));
}

TEST_F(IniFileTest, RefusedWriteLeavesTheFileAsItWas) {
    const std::string before = "[A]\nx=1\n";
    test::WriteBytes(path, before);

    EXPECT_FALSE(ini.Write("A", "x", "1\n[B]")) << "a line break would add a section";
    EXPECT_FALSE(ini.Write("A", " [x", "y]")) << "the line would read as a section";
    ::chmod(path.c_str(), 0444);
    EXPECT_FALSE(ini.Write("A", "x", "2"));
    EXPECT_FALSE(IniFile(folder.File("no/such/folder.dat")).Write("A", "x", "2"));

    EXPECT_EQ(test::ReadBytes(path), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.File("")), {}), 1)
        << "no temporary file is left behind";
}

}  // namespace
}  // namespace zv
