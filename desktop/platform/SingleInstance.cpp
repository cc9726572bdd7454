#include "desktop/platform/SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

namespace zv {

SingleInstance::SingleInstance(const QString& folder)
    : folder_(folder), lock_(QDir(folder).filePath(QStringLiteral("zarvopack.lock"))) {
    // The program holds the lock for as long as it runs, so its age says
    // nothing; only a dead owner makes it stale.
    lock_.setStaleLockTime(0);
}

bool SingleInstance::TryAcquire() {
    if (lock_.isLocked())
        return true;
    QDir().mkpath(folder_);
    return lock_.tryLock(0) || lock_.error() != QLockFile::LockFailedError;
}

QString SingleInstance::DefaultFolder() {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

}  // namespace zv
