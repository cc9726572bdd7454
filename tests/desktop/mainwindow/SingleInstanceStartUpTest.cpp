#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <filesystem>

#include "tests/support/TempFolder.h"

namespace zv {
namespace {

// A second copy started without files is refused with a box; one started with
// project files hands them to the copy that runs and ends without a word. The
// running copy opens them, as the recent files its own settings file (made
// from the shipped defaults at its start) lists show. Both copies keep their
// lock in a runtime folder of the test's own, so a copy of the program that a
// person runs on this machine plays no part.
TEST(SingleInstanceStartUpTest, ASecondCopyIsRefusedOrHandsItsFilesToTheFirst) {
    const test::TempFolder root;
    const auto at = [&](const std::string& name) {
        return QString::fromStdString(root.File(name));
    };
    std::filesystem::create_directories(root.File("run"));
    std::filesystem::permissions(root.File("run"), std::filesystem::perms::owner_all);
    std::filesystem::create_directories(root.File("prefix/bin"));
    std::filesystem::create_directories(root.File("prefix/share/zarvopack"));
    std::filesystem::copy_file(ZV_PROGRAM, root.File("prefix/bin/zarvopack"));
    std::filesystem::copy_file(ZV_SHIPPED_SETTINGS,
                               root.File("prefix/share/zarvopack/zarvopack.dat"));
    std::filesystem::create_directories(root.File("files"));
    test::WriteBytes(root.File("files/a"), std::string(600, 'a'));
    test::WriteBytes(root.File("files/b"), std::string(500, 'b'));
    ASSERT_EQ(QProcess::execute(QStringLiteral(ZARVOPACK_CLI),
                                {"plan", "--media-size", "1000", "--fs-allowance", "none", "--save",
                                 at("p.mtb"), at("files")}),
              0);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), at("run"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), at("config"));
    QProcess first;
    first.setProcessEnvironment(environment);
    first.start(at("prefix/bin/zarvopack"), {});
    ASSERT_TRUE(first.waitForStarted());
    for (const char* held : {"run/zarvopack.lock", "run/zarvopack.socket"}) {
        for (int i = 0; i < 600 && !QFileInfo::exists(at(held)); ++i)
            QTest::qWait(100);
        ASSERT_TRUE(QFileInfo::exists(at(held))) << held;
    }

    // The output of the second copy: each box it showed, and whether it opened a window.
    const auto second = [&](const QStringList& arguments) {
        QProcess probe;
        probe.setProcessEnvironment(environment);
        probe.setWorkingDirectory(QString::fromStdString(root.Path()));
        probe.start(QStringLiteral(ZV_STARTUP_PROBE), arguments);
        EXPECT_TRUE(probe.waitForFinished(60'000));
        EXPECT_EQ(probe.exitStatus(), QProcess::NormalExit);
        return probe.readAllStandardOutput().toStdString();
    };
    EXPECT_EQ(second({}), "box\tzarvopackは既に起動中です\tZarvopack\t0\t0\nno window\n");
    EXPECT_EQ(second({QStringLiteral("p.mtb")}), "no window\n");

    const std::string settings = root.File("config/zarvopack/zarvopack.dat");
    const std::string recent = "0=" + root.File("p.mtb");
    for (int i = 0; i < 600 && test::ReadBytes(settings).find(recent) == std::string::npos; ++i)
        QTest::qWait(100);
    EXPECT_NE(test::ReadBytes(settings).find(recent), std::string::npos)
        << test::ReadBytes(settings);
    EXPECT_NE(test::ReadBytes(settings).find("[MSizeSet]"), std::string::npos);
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished();
}

}  // namespace
}  // namespace zv
