#include "platform/single_instance.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace zorvik {

namespace {

const QByteArray showCommand = QByteArrayLiteral("show\n");
constexpr int timeoutMs = 1000;

} // namespace

SingleInstance::SingleInstance(QString name, QObject *parent)
    : QObject(parent), m_name(name.isEmpty() ? defaultName() : std::move(name))
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultName()
{
    return QStringLiteral("zorvik-%1").arg(::getuid());
}

bool SingleInstance::notifyRunning()
{
    QLocalSocket socket;
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(showCommand);
    const bool sent = socket.waitForBytesWritten(timeoutMs);
    // Wait for the running instance to hang up, so the message is read before this one exits.
    if (sent && socket.state() == QLocalSocket::ConnectedState)
        socket.waitForDisconnected(timeoutMs);
    return sent;
}

bool SingleInstance::claim()
{
    if (notifyRunning())
        return false;
    for (int attempt = 0; attempt < 2; ++attempt) {
        auto *server = new QLocalServer(this);
        server->setSocketOptions(QLocalServer::AbstractNamespaceOption);
        if (server->listen(m_name)) {
            m_server = server;
            connect(server, &QLocalServer::newConnection, this, &SingleInstance::accept);
            return true;
        }
        delete server;
        // Someone may have started listening between our first look and now.
        if (notifyRunning())
            return false;
    }
    // Neither listening nor anyone to talk to: run on without the guard.
    return true;
}

bool SingleInstance::listening() const
{
    return m_server && m_server->isListening();
}

void SingleInstance::accept()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            const QByteArray data = socket->readAll();
            if (data.contains("show"))
                emit showRequested();
            socket->disconnectFromServer();
        });
    }
}

} // namespace zorvik
