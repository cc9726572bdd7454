#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "platform/SingleInstance.h"

namespace zv {
namespace {

// Another copy of the program, holding the lock in the folder until told to
// end.
class Holder {
  public:
    explicit Holder(const QString& folder) {
        process_.start(QStringLiteral(ZV_LOCK_HOLDER), {folder});
        locked_ = process_.waitForReadyRead(10000) && process_.readAll() == "locked\n";
    }
    bool Locked() const { return locked_; }
    void End() {
        process_.closeWriteChannel();
        process_.waitForFinished(10000);
    }
    void Kill() {
        process_.kill();
        process_.waitForFinished(10000);
    }
    QProcess& Process() { return process_; }

  private:
    QProcess process_;
    bool locked_ = false;
};

TEST(SingleInstanceTest, SecondCopyIsRefusedWhileTheFirstRuns) {
    QTemporaryDir folder;
    Holder first(folder.path());
    ASSERT_TRUE(first.Locked());

    SingleInstance second(folder.path());
    EXPECT_FALSE(second.TryAcquire());

    first.End();
    EXPECT_EQ(first.Process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.Process().exitCode(), 0);
    EXPECT_TRUE(second.TryAcquire());
}

TEST(SingleInstanceTest, LockOfAKilledCopyIsTakenOver) {
    QTemporaryDir folder;
    Holder first(folder.path());
    ASSERT_TRUE(first.Locked());
    first.Kill();
    ASSERT_TRUE(QFile::exists(QDir(folder.path()).filePath(QStringLiteral("zarvopack.lock"))));

    SingleInstance second(folder.path());
    EXPECT_TRUE(second.TryAcquire());
}

TEST(SingleInstanceTest, LockIsReleasedWhenTheObjectGoes) {
    QTemporaryDir folder;
    {
        SingleInstance first(folder.path());
        ASSERT_TRUE(first.TryAcquire());
        EXPECT_TRUE(first.TryAcquire());
    }
    Holder second(folder.path());
    EXPECT_TRUE(second.Locked());
    second.End();
}

TEST(SingleInstanceTest, FolderThatCannotHoldALockDoesNotRefuseTheProgram) {
    QTemporaryDir folder;
    const QString plainFile = QDir(folder.path()).filePath(QStringLiteral("file"));
    QFile(plainFile).open(QIODevice::WriteOnly);
    SingleInstance instance(QDir(plainFile).filePath(QStringLiteral("sub")));
    EXPECT_TRUE(instance.TryAcquire());
}

}  // namespace
}  // namespace zv
