#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "core/settings/ProgramPaths.h"
#include "tests/support/TempFolder.h"

namespace zv {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable (or unsets it, with nothing) for one scope.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        Set(value);
    }
    ~ScopedVariable() { Set(old_); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    void Set(const std::optional<std::string>& value) {
        if (value)
            setenv(name_, value->c_str(), 1);
        else
            unsetenv(name_);
    }
    const char* name_;
    std::optional<std::string> old_;
};

fs::perms Permissions(const std::string& path) {
    return fs::status(path).permissions() & fs::perms::mask;
}

TEST(ProgramPathsTest, TheSettingsFileIsBesideTheProgramOrTheUsersOwn) {
    const test::TempFolder folder;
    fs::create_directories(folder.File("bin"));
    struct Case {
        std::optional<std::string> configHome;
        bool beside;
        std::string expected;
    };
    const std::string home = folder.File("home");
    for (const Case& c : {
             Case{folder.File("config"), false, folder.File("config/zarvopack/zarvopack.dat")},
             Case{std::nullopt, false, home + "/.config/zarvopack/zarvopack.dat"},
             // The convention ignores a relative path.
             Case{"relative", false, home + "/.config/zarvopack/zarvopack.dat"},
             Case{folder.File("config"), true, folder.File("bin/zarvopack.dat")},
         }) {
        const ScopedVariable homeVariable("HOME", home);
        const ScopedVariable config("XDG_CONFIG_HOME", c.configHome);
        fs::remove(folder.File("bin/zarvopack.dat"));
        if (c.beside)
            test::WriteBytes(folder.File("bin/zarvopack.dat"), "");
        const SettingsLocation found = FindSettingsFile(folder.File("bin"));
        EXPECT_EQ(found.path, c.expected);
        EXPECT_EQ(found.besideProgram, c.beside);
    }
    EXPECT_EQ(ShippedDataFolder("/opt/zv/bin"), "/opt/zv/share/zarvopack");
}

TEST(ProgramPathsTest, AFirstStartCopiesTheShippedDefaultsForTheUserAlone) {
    const test::TempFolder folder;
    fs::create_directories(folder.File("share"));
    test::WriteBytes(folder.File("share/zarvopack.dat"), "[DEFAULT_SET_RUN]\nMethod=0\n");
    const SettingsLocation user{folder.File("config/zarvopack/zarvopack.dat"), false};
    ASSERT_TRUE(PrepareSettingsFile(user, folder.File("share")).ok());
    EXPECT_EQ(test::ReadBytes(user.path), "[DEFAULT_SET_RUN]\nMethod=0\n");
    EXPECT_EQ(Permissions(user.path), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(Permissions(folder.File("config/zarvopack")), fs::perms::owner_all);

    // The user's own file and a portable one stay as they are.
    test::WriteBytes(user.path, "mine");
    ASSERT_TRUE(PrepareSettingsFile(user, folder.File("share")).ok());
    EXPECT_EQ(test::ReadBytes(user.path), "mine");
    const SettingsLocation beside{folder.File("bin/zarvopack.dat"), true};
    ASSERT_TRUE(PrepareSettingsFile(beside, folder.File("share")).ok());
    EXPECT_FALSE(fs::exists(folder.File("bin")));

    // Without shipped defaults only the folder is made; where it cannot be,
    // the failure names it.
    const SettingsLocation other{folder.File("other/zarvopack/zarvopack.dat"), false};
    ASSERT_TRUE(PrepareSettingsFile(other, folder.File("missing")).ok());
    EXPECT_TRUE(fs::is_directory(folder.File("other/zarvopack")));
    EXPECT_FALSE(fs::exists(other.path));
    test::WriteBytes(folder.File("file"), "");
    const Status failed =
        PrepareSettingsFile({folder.File("file/zarvopack/zarvopack.dat"), false}, "");
    EXPECT_FALSE(failed.ok());
    EXPECT_NE(failed.message().find(folder.File("file/zarvopack")), std::string::npos)
        << failed.message();
}

}  // namespace
}  // namespace zv
