#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;

namespace zv {

// The lock that keeps a second copy of the program from starting: a lock file
// named "zarvopack.lock" that lives as long as this object. A lock left behind
// by a copy that died is taken over. The copy that holds it listens on a
// local socket beside it ("zarvopack.socket", for this user only), through
// which a copy started later hands over the files it was asked to open.
class SingleInstance : public QObject {
    Q_OBJECT

  public:
    // The folder holds the lock file; the tests give their own.
    explicit SingleInstance(const QString& folder = DefaultFolder());
    ~SingleInstance() override;

    // False only when another running copy holds the lock. A lock that cannot
    // be made at all (a folder we may not write to) does not keep the user
    // from working, so that counts as acquired.
    bool TryAcquire();

    // Hands the files to the copy that holds the lock; false when none takes
    // them (it does not listen, or went away). Waits at most a few seconds.
    bool HandOver(const QStringList& paths) const;

    // The user's runtime folder as Qt finds it, or their cache folder where
    // Qt finds none that is theirs alone.
    static QString DefaultFolder();

  signals:
    // A copy started later handed these files over.
    void FilesHandedOver(const QStringList& paths);

  private:
    QString SocketPath() const;
    void Listen();
    void Receive();

    QString folder_;
    QLockFile lock_;
    QLocalServer* server_ = nullptr;
};

}  // namespace zv
