#include "app/SingleInstance.hpp"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace brimtor {

namespace {

constexpr int kKnockWaitMs = 2000;

// The per-user runtime folder ($XDG_RUNTIME_DIR), or the temporary folder.
QString RuntimePath(const QString& name)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QLatin1Char('/') + name;
}

}  // namespace

SingleInstance::SingleInstance(QObject* parent)
    : QObject(parent)
    , m_lock(RuntimePath(QStringLiteral("brimtor.lock")))
{
    // A lock left by a process that died is taken over; a live one means we are not the first.
    m_lock.setStaleLockTime(0);
}

bool SingleInstance::Claim()
{
    const QString socketPath = RuntimePath(QStringLiteral("brimtor.socket"));
    if (!m_lock.tryLock(0)) {
        QLocalSocket knock;
        knock.connectToServer(socketPath);
        knock.waitForConnected(kKnockWaitMs);
        return false;
    }
    // Holding the lock, any socket file left there is a dead program's.
    QLocalServer::removeServer(socketPath);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* knock = m_server->nextPendingConnection())
            knock->deleteLater();
        emit showRequested();
    });
    m_server->listen(socketPath);
    return true;
}

}  // namespace brimtor
