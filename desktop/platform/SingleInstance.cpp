#include "desktop/platform/SingleInstance.h"

#include <QDataStream>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include "core/settings/ProgramPaths.h"

namespace zv {

namespace {

// How long either side waits for the other; a copy that does not answer in
// this time is as good as gone.
constexpr int kWaitMs = 5000;

}  // namespace

SingleInstance::SingleInstance(const QString& folder)
    : folder_(folder), lock_(QDir(folder).filePath(QStringLiteral("zarvopack.lock"))) {
    // The program holds the lock for as long as it runs, so its age says
    // nothing; only a dead owner makes it stale.
    lock_.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::TryAcquire() {
    if (lock_.isLocked())
        return true;
    QDir().mkpath(folder_);
    if (lock_.tryLock(0)) {
        Listen();
        return true;
    }
    return lock_.error() != QLockFile::LockFailedError;
}

QString SingleInstance::SocketPath() const {
    return QDir(folder_).filePath(QStringLiteral("zarvopack.socket"));
}

void SingleInstance::Listen() {
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // Whoever held the lock before is gone, and with it any use of its socket.
    QLocalServer::removeServer(SocketPath());
    // Without the socket the program still runs; later copies then only hear
    // that it does.
    if (server_->listen(SocketPath()))
        connect(server_, &QLocalServer::newConnection, this, &SingleInstance::Receive);
}

void SingleInstance::Receive() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            // The list comes as one QDataStream transaction; a part of it
            // waits for the rest.
            QDataStream in(socket);
            in.startTransaction();
            QStringList paths;
            in >> paths;
            if (!in.commitTransaction())
                return;
            socket->write("1");
            socket->flush();
            emit FilesHandedOver(paths);
        });
    }
}

bool SingleInstance::HandOver(const QStringList& paths) const {
    QLocalSocket socket;
    socket.connectToServer(SocketPath());
    if (!socket.waitForConnected(kWaitMs))
        return false;
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << paths;
    socket.write(message);
    if (!socket.waitForBytesWritten(kWaitMs))
        return false;
    // Handed over once the running copy says it has the whole list.
    return socket.waitForReadyRead(kWaitMs) && socket.read(1) == "1";
}

QString SingleInstance::DefaultFolder() {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty())
        return runtime;
    return QString::fromStdString(UserBaseFolder("XDG_CACHE_HOME", ".cache") + "/" + ExeBaseName());
}

}  // namespace zv
