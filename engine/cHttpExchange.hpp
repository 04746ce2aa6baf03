#pragma once

#include <cstdint>
#include <string>

#include <QAbstractSocket>
#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QSslError>

#include "bookmarks/cBookmarks.hpp"
#include "engine/RequestDestination.hpp"

class QSslSocket;
class QTimer;

namespace brimtor {

// Checks one link at a time over its own socket: connects to the web server or the proxy, sends
// the fixed request, reads the answer's header block and writes the outcome into the bookmark.
// A look (BeginLook) reads a success's body too, up to a budget, and writes into no bookmark.
// An https link through a proxy first has the proxy open a tunnel (CONNECT), then speaks TLS to
// the server through it; a proxy that will not open one gives the link its answer instead.
// Every link ends in exactly one of three ways (digested, socket error, cut off) and emits
// LinkFinished once. A link is cut off on the cut-off tick that takes lTimeoutTicks beyond
// kTimeoutTicksLimit, whatever the socket is doing.
class cHttpExchange : public QObject {
    Q_OBJECT

public:
    enum class LinkEnd { Digested, SocketError, TimedOut };
    Q_ENUM(LinkEnd)

    // Header text kept per link. Reading stops once the header block is complete, so a body is
    // never downloaded (but for a look's first bytes); a header block that never ends is digested
    // when this much has come.
    static constexpr std::size_t kMaxHeaderBytes = 64 * 1024;
    // A link is cut off on the time-out tick that takes lTimeoutTicks beyond this.
    static constexpr std::int32_t kTimeoutTicksLimit = 40;

    // One cut-off tick lasts `cutOffTickMs`: tests shorten it.
    explicit cHttpExchange(int cutOffTickMs = 1000, QObject* parent = nullptr);
    ~cHttpExchange() override;
    cHttpExchange(const cHttpExchange&) = delete;
    cHttpExchange& operator=(const cHttpExchange&) = delete;

    // Starts the link for `address` with `sMethod` ("HEAD " or "GET "); its outcome goes into
    // `bookmark`. Returns false, with the bookmark untouched and no link under way, when the
    // address or the proxy port gives no destination. An address with an
    // invalid host (HasInvalidHost) is not requested: its link ends at once as a socket error
    // numbered kInvalidUrlError. A link under way is abandoned without an outcome. The link may
    // end before this returns.
    bool BeginRequest(const std::string& address, const std::string& sMethod, BookmarkPtr bookmark,
                      const ProxySettings& proxy);

    // Starts a GET of `address` for the look inside pages, which records nothing in any bookmark:
    // the answer's header block goes into sResponse and, for a success (2xx), the first
    // `bodyBytes` of its body into sBody, after which the socket is closed. The link ends in one
    // of the same three ways, Digested once the answer is in; false as for BeginRequest.
    bool BeginLook(const std::string& address, const ProxySettings& proxy, std::size_t bodyBytes);

    // Abandons the link under way, if any, without an outcome: closes the socket and stops the
    // cut-off ticks. For a new scan and for closing the window.
    void CloseSocket();

    // The socket's state: 0 closed, 1 open, 2 listening, 4 resolving host, 6 connecting,
    // 7 connected, 8 closing.
    int State() const;

    // Certificates trusted for https links besides the system's. Tests use it for their own
    // certificate authority.
    void AddCaCertificates(const QList<QSslCertificate>& certificates);

    bool UnderWay() const { return m_underWay; }
    // The header text received for the current or last link: the server's, or the proxy's when it
    // would not open a tunnel. Empty after a cut-off when nothing came back at all.
    const std::string& sResponse() const { return m_sResponse; }
    // The body bytes a look read, as they came (still chunked if the server chunked them).
    const std::string& sBody() const { return m_sBody; }
    std::int32_t lTimeoutTicks() const { return m_lTimeoutTicks; }

signals:
    void LinkFinished(brimtor::cHttpExchange::LinkEnd end);

private:
    bool Begin(const std::string& address, const std::string& sMethod, BookmarkPtr bookmark,
               const ProxySettings& proxy, std::size_t bodyBytes);
    void ReplaceSocket();
    void wscHttp_Connect();
    void SendRequest();
    void Send(const std::string& bytes);
    void TunnelAnswered(int code);
    void wscHttp_DataArrival();
    void HeaderArrived(std::size_t end);
    void ReadBody();
    void wscHttp_Close();
    void wscHttp_Error(QAbstractSocket::SocketError error);
    void wscHttp_SslErrors(const QList<QSslError>& errors);
    void CutOffTick();
    void ProcessResponse();
    void EndLink(LinkEnd end);

    QTimer* m_cutOffTick;
    QSslSocket* m_wscHttp = nullptr;
    QList<QSslCertificate> m_caCertificates;

    BookmarkPtr m_bookmark;  // none for a look
    std::string m_address;  // as requested: a relative redirect target is resolved against it
    std::string m_sMethod;
    RequestDestination m_destination;
    bool m_underWay = false;
    bool m_tunnelling = false;  // waiting for the proxy's answer to CONNECT
    int m_certificateError = 0;

    std::string m_sResponse;
    std::size_t m_bodyBytes = 0;  // a look's body budget; 0 reads no body
    bool m_inBody = false;        // the header block is in: what comes is the body
    std::string m_sBody;
    std::int32_t m_lTimeoutTicks = 0;
};

}  // namespace brimtor
