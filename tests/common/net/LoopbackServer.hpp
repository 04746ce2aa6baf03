#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QSslCertificate>
#include <QHostAddress>
#include <QSslKey>
#include <QTcpServer>

class QSslSocket;

namespace brimtor::test {

// What the server does once a request's head has arrived.
struct ScriptedReply {
    std::string bytes;               // sent first
    bool oneByteChunks = false;      // one byte per write, a millisecond apart
    std::uint64_t streamedBody = 0;  // filler bytes after `bytes`, written only as the client drains them
    bool close = true;               // hang up once everything is sent; false holds the line open
    bool thenTls = false;            // then speak TLS and answer the next request head: a proxy's tunnel
};

// An HTTP server on 127.0.0.1 for tests, plain or over TLS, answering each request target with
// the reply scripted for it (404, or the Otherwise reply, for any other) and keeping every request
// head it received.
// It runs on the test's own event loop.
class LoopbackServer : public QTcpServer {
    Q_OBJECT

public:
    explicit LoopbackServer(QObject* parent = nullptr);
    ~LoopbackServer() override;

    // Serve TLS with this certificate and key from now on; not from the start, only in tunnels.
    void UseTls(const QSslCertificate& certificate, const QSslKey& key, bool fromTheStart = true);
    // Listens on 127.0.0.1 (or another loopback address) at a free port; returns the port.
    quint16 Start(const char* address = "127.0.0.1");
    // "http://" address ":" port path, once started.
    std::string Url(const std::string& path) const
    {
        return "http://" + serverAddress().toString().toStdString() + ":" + std::to_string(serverPort()) + path;
    }

    // The reply for a request line's target: a path, or an absolute address for proxy requests.
    // A target written after a method ("HEAD /x") answers that method only, before the plain one.
    void Script(const std::string& target, ScriptedReply reply) { m_replies[target] = std::move(reply); }
    // The reply for every target nothing is scripted for, instead of 404.
    void Otherwise(ScriptedReply reply) { m_otherwise = std::move(reply); }

    // The request heads received, up to and including their empty line, in arrival order, and when.
    const std::vector<std::string>& Requests() const { return m_requests; }
    const std::vector<std::chrono::steady_clock::time_point>& RequestTimes() const { return m_requestTimes; }
    int Accepted() const { return m_accepted; }
    // Filler bytes of streamed bodies handed to the kernel so far.
    std::uint64_t BodyBytesSent() const { return m_bodyBytesSent; }
    // The most connections that were ever open at the same time.
    int MostOpenAtOnce() const { return m_mostOpen; }
    int OpenNow() const { return m_open; }

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    struct Connection;
    void StartTls(QSslSocket* socket);
    void Answer(const std::shared_ptr<Connection>& connection);
    void SendNextChunk(const std::shared_ptr<Connection>& connection);
    void StreamBody(const std::shared_ptr<Connection>& connection);

    bool m_tls = false;
    QSslCertificate m_certificate;
    QSslKey m_key;
    std::map<std::string, ScriptedReply> m_replies;
    ScriptedReply m_otherwise {"HTTP/1.1 404 Not Found\r\n\r\n"};
    std::vector<std::string> m_requests;
    std::vector<std::chrono::steady_clock::time_point> m_requestTimes;
    int m_accepted = 0;
    std::uint64_t m_bodyBytesSent = 0;
    int m_open = 0;
    int m_mostOpen = 0;
};

// A port on 127.0.0.1 that nobody listens on: connections to it are refused. The port stays
// bound (never listening) until the process ends, so a test server in another process running
// alongside cannot be given it and answer in its place.
quint16 RefusedPort();
// "http://127.0.0.1:" RefusedPort() "/".
std::string RefusedUrl();

}  // namespace brimtor::test
