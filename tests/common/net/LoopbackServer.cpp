#include "tests/common/net/LoopbackServer.hpp"

#include <algorithm>
#include <stdexcept>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <QHostAddress>
#include <QSslSocket>
#include <QTimer>

namespace brimtor::test {

namespace {
constexpr qint64 kFillerChunk = 16 * 1024;
constexpr qint64 kMostQueued = 64 * 1024;
}  // namespace

struct LoopbackServer::Connection {
    QSslSocket* socket = nullptr;
    std::string received;
    bool answered = false;
    ScriptedReply reply;
    std::size_t nextByte = 0;
    std::uint64_t bodyLeft = 0;
};

LoopbackServer::LoopbackServer(QObject* parent) : QTcpServer(parent) {}

LoopbackServer::~LoopbackServer() = default;

void LoopbackServer::UseTls(const QSslCertificate& certificate, const QSslKey& key, bool fromTheStart)
{
    m_tls = fromTheStart;
    m_certificate = certificate;
    m_key = key;
}

quint16 LoopbackServer::Start(const char* address)
{
    listen(QHostAddress(QString::fromLatin1(address)), 0);
    return serverPort();
}

void LoopbackServer::incomingConnection(qintptr descriptor)
{
    auto connection = std::make_shared<Connection>();
    connection->socket = new QSslSocket(this);
    connection->socket->setSocketDescriptor(descriptor);
    connect(connection->socket, &QSslSocket::disconnected, connection->socket, &QObject::deleteLater);
    connect(connection->socket, &QSslSocket::disconnected, this, [this] { --m_open; });
    m_mostOpen = std::max(m_mostOpen, ++m_open);
    ++m_accepted;
    connect(connection->socket, &QSslSocket::readyRead, this, [this, connection] {
        connection->received += connection->socket->readAll().toStdString();
        const std::size_t end = connection->received.find("\r\n\r\n");
        if (connection->answered || end == std::string::npos)
            return;
        connection->answered = true;
        m_requests.push_back(connection->received.substr(0, end + 4));
        m_requestTimes.push_back(std::chrono::steady_clock::now());
        Answer(connection);
    });
    if (m_tls)
        StartTls(connection->socket);
}

void LoopbackServer::StartTls(QSslSocket* socket)
{
    socket->setLocalCertificate(m_certificate);
    socket->setPrivateKey(m_key);
    socket->startServerEncryption();
}

void LoopbackServer::Answer(const std::shared_ptr<Connection>& connection)
{
    const std::string& head = connection->received;
    const std::size_t targetStart = head.find(' ') + 1;
    const std::string target = head.substr(targetStart, head.find(' ', targetStart) - targetStart);
    const std::string method = head.substr(0, targetStart - 1);
    auto scripted = m_replies.find(method + " " + target);
    if (scripted == m_replies.end())
        scripted = m_replies.find(target);
    connection->reply = scripted != m_replies.end() ? scripted->second : m_otherwise;
    connection->bodyLeft = connection->reply.streamedBody;
    if (!connection->reply.oneByteChunks) {
        connection->socket->write(QByteArray::fromStdString(connection->reply.bytes));
        connection->nextByte = connection->reply.bytes.size();
    }
    SendNextChunk(connection);
}

// Writes the next single byte a millisecond after the last, then the streamed body.
void LoopbackServer::SendNextChunk(const std::shared_ptr<Connection>& connection)
{
    QSslSocket* socket = connection->socket;
    if (connection->nextByte < connection->reply.bytes.size()) {
        socket->write(&connection->reply.bytes[connection->nextByte++], 1);
        socket->flush();
        QTimer::singleShot(1, socket, [this, connection] { SendNextChunk(connection); });
        return;
    }
    if (connection->bodyLeft > 0) {
        connect(socket, &QSslSocket::bytesWritten, this, [this, connection] { StreamBody(connection); });
        StreamBody(connection);
        return;
    }
    if (connection->reply.thenTls) {  // a tunnel: a new request comes, over TLS
        connection->received.clear();
        connection->answered = false;
        StartTls(socket);
    } else if (connection->reply.close) {
        socket->disconnectFromHost();
    }
}

// Tops the socket's queue up to a bound, so a body of any size costs the test no memory.
void LoopbackServer::StreamBody(const std::shared_ptr<Connection>& connection)
{
    QSslSocket* socket = connection->socket;
    static const QByteArray filler(kFillerChunk, 'x');
    while (connection->bodyLeft > 0 && socket->bytesToWrite() < kMostQueued &&
           socket->state() == QAbstractSocket::ConnectedState) {
        const qint64 size = std::min<qint64>(kFillerChunk, static_cast<qint64>(connection->bodyLeft));
        socket->write(filler.constData(), size);
        connection->bodyLeft -= static_cast<std::uint64_t>(size);
        m_bodyBytesSent += static_cast<std::uint64_t>(size);
    }
    if (connection->bodyLeft == 0 && connection->reply.close)
        socket->disconnectFromHost();
}

quint16 RefusedPort()
{
    // Bound without SO_REUSEADDR, so no other socket can bind the port while this one holds it;
    // the descriptor is left open on purpose until the process exits.
    const int descriptor = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (descriptor < 0 || ::bind(descriptor, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::getsockname(descriptor, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("no loopback port to refuse connections on");
    return ntohs(address.sin_port);
}

std::string RefusedUrl()
{
    return "http://127.0.0.1:" + std::to_string(RefusedPort()) + "/";
}

}  // namespace brimtor::test
