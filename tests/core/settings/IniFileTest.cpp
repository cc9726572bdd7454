#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/settings/IniFile.h"
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
    test::WriteBytes(path,
                     "\xEF\xBB\xBF[Run]\r\n  Size =  a = b \t\r\nEmpty=\r\nBlank=   \r\nLong=" +
                         longAscii + "\r\nKana=x" + longKana + "\r\n[Other]\r\nOnly=1\r\n");

    EXPECT_EQ(ini.Read("RUN", "size"), "a = b");
    EXPECT_EQ(ini.Read("Run", "Long"), longAscii.substr(0, 255));
    // 1 + 84 * 3 = 253 bytes: the 85th character would pass 255.
    EXPECT_EQ(ini.Read("Run", "Kana"), "x" + longKana.substr(0, 84 * 3));
    for (const char* key : {"Empty", "Blank", "Missing", "Only"})
        EXPECT_EQ(ini.Read("Run", key), std::nullopt) << key;
    EXPECT_EQ(ini.Read("Missing", "Only"), std::nullopt);
    EXPECT_EQ(IniFile(folder.File("none.dat")).Read("Run", "Size"), std::nullopt);
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

// The rewrite goes through a new file, which must not take away the access
// others had to the settings, nor replace a link with a file of its own.
TEST_F(IniFileTest, ARewriteKeepsTheModeAndTheLinkANewFileTakesTheUmask) {
    const auto mode = [](const std::string& file) {
        struct stat status {};
        EXPECT_EQ(::stat(file.c_str(), &status), 0) << file;
        return status.st_mode & 07777;
    };
    test::WriteBytes(path, "[A]\nx=1\n");
    ::chmod(path.c_str(), 0640);
    const std::string link = folder.File("link.dat");
    fs::create_symlink(path, link);
    ASSERT_TRUE(IniFile(link).Write("A", "x", "2"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::ReadBytes(path), "[A]\nx=2\n");
    EXPECT_EQ(mode(path), 0640u);

    const std::string fresh = folder.File("fresh.dat");
    const mode_t umask = ::umask(002);
    const bool written = IniFile(fresh).Write("S", "k", "v");
    ::umask(umask);
    ASSERT_TRUE(written);
    EXPECT_EQ(test::ReadBytes(fresh), "[S]\nk=v\n");
    EXPECT_EQ(mode(fresh), 0664u);
}

TEST_F(IniFileTest, RefusedWriteLeavesTheFileAsItWas) {
    const std::string before = "[A]\nx=1\n";
    test::WriteBytes(path, before);

    EXPECT_FALSE(ini.Write("A", "x", "1\n[B]")) << "a line break would add a section";
    ::chmod(path.c_str(), 0444);
    EXPECT_FALSE(ini.Write("A", "x", "2"));
    EXPECT_FALSE(IniFile(folder.File("no/such/folder.dat")).Write("A", "x", "2"));

    EXPECT_EQ(test::ReadBytes(path), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.File("")), {}), 1)
        << "no temporary file is left behind";
}

}  // namespace
}  // namespace zv
