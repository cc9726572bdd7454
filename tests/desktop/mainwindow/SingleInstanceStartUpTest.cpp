#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <filesystem>

#include "tests/support/TempFolder.h"

namespace zv {
namespace {

// Both copies keep their lock in a runtime folder of the test's own, so a
// copy of the program that a person runs on this machine plays no part.
TEST(SingleInstanceStartUpTest, SecondCopyIsRefusedAndOnlyTheFirstRuns) {
    const test::TempFolder runtime;
    std::filesystem::permissions(runtime.Path(), std::filesystem::perms::owner_all);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(runtime.Path()));

    QProcess first;
    first.setProcessEnvironment(environment);
    first.start(QStringLiteral(ZV_PROGRAM), {});
    ASSERT_TRUE(first.waitForStarted());
    const QString lock = QDir(QString::fromStdString(runtime.Path())).filePath("zarvopack.lock");
    for (int i = 0; i < 600 && !QFileInfo::exists(lock); ++i)
        QTest::qWait(100);
    ASSERT_TRUE(QFileInfo::exists(lock));

    QProcess second;
    second.setProcessEnvironment(environment);
    second.start(QStringLiteral(ZV_STARTUP_PROBE), {});
    ASSERT_TRUE(second.waitForFinished(60'000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.readAllStandardOutput().toStdString(),
              "box\tzarvopackは既に起動中です\tZarvopack\t0\t0\nno window\n");
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished();
}

}  // namespace
}  // namespace zv
