#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "desktop/platform/SingleInstance.h"

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
    // Ends the copy as a user would; false when it did not end cleanly.
    bool End() {
        process_.closeWriteChannel();
        return process_.waitForFinished(10000) && process_.exitStatus() == QProcess::NormalExit &&
               process_.exitCode() == 0;
    }
    void Kill() {
        process_.kill();
        process_.waitForFinished(10000);
    }

  private:
    QProcess process_;
    bool locked_ = false;
};

TEST(SingleInstanceTest, SecondCopyIsRefusedWhileTheFirstRunsAndReleasesTheLockWhenItGoes) {
    QTemporaryDir folder;
    Holder first(folder.path());
    ASSERT_TRUE(first.Locked());
    {
        SingleInstance second(folder.path());
        EXPECT_FALSE(second.TryAcquire());
        EXPECT_TRUE(first.End());
        EXPECT_TRUE(second.TryAcquire());
        EXPECT_TRUE(second.TryAcquire()) << "a lock held is held";
    }
    Holder third(folder.path());
    EXPECT_TRUE(third.Locked());
    EXPECT_TRUE(third.End());
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

TEST(SingleInstanceTest, FolderThatCannotHoldALockDoesNotRefuseTheProgram) {
    QTemporaryDir folder;
    const QString plainFile = QDir(folder.path()).filePath(QStringLiteral("file"));
    QFile(plainFile).open(QIODevice::WriteOnly);
    SingleInstance instance(QDir(plainFile).filePath(QStringLiteral("sub")));
    EXPECT_TRUE(instance.TryAcquire());
}

}  // namespace
}  // namespace zv
