#pragma once

#include <QLockFile>
#include <QString>

namespace zv {

// The lock that keeps a second copy of the program from starting: a lock file
// named "zarvopack.lock" that lives as long as this object. A lock left behind
// by a copy that died is taken over.
class SingleInstance {
  public:
    // The folder holds the lock file; the tests give their own.
    explicit SingleInstance(const QString& folder = DefaultFolder());

    // False only when another running copy holds the lock. A lock that cannot
    // be made at all (a folder we may not write to) does not keep the user
    // from working, so that counts as acquired.
    bool TryAcquire();

    // The user's runtime folder, or the temporary folder where there is none.
    static QString DefaultFolder();

  private:
    QString folder_;
    QLockFile lock_;
};

}  // namespace zv
