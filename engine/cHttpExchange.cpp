#include "engine/cHttpExchange.hpp"

#include <algorithm>
#include <optional>
#include <utility>

#include <QSslConfiguration>
#include <QSslSocket>
#include <QTimer>

#include "engine/SocketErrorNumbers.hpp"
#include "engine/modHttp.hpp"

namespace brimtor {

cHttpExchange::cHttpExchange(int cutOffTickMs, QObject* parent)
    : QObject(parent), m_cutOffTick(new QTimer(this))
{
    m_cutOffTick->setInterval(std::max(1, cutOffTickMs));
    connect(m_cutOffTick, &QTimer::timeout, this, &cHttpExchange::CutOffTick);
}

cHttpExchange::~cHttpExchange()
{
    // The socket must not report its closing to a half-destroyed exchange.
    if (m_wscHttp) {
        m_wscHttp->disconnect(this);
        m_wscHttp->abort();
    }
}

bool cHttpExchange::BeginRequest(const std::string& address, const std::string& sMethod, BookmarkPtr bookmark,
                                 const ProxySettings& proxy)
{
    return Begin(address, sMethod, std::move(bookmark), proxy, 0);
}

bool cHttpExchange::BeginLook(const std::string& address, const ProxySettings& proxy, std::size_t bodyBytes)
{
    return Begin(address, "GET ", nullptr, proxy, bodyBytes);
}

bool cHttpExchange::Begin(const std::string& address, const std::string& sMethod, BookmarkPtr bookmark,
                          const ProxySettings& proxy, std::size_t bodyBytes)
{
    const bool invalid = HasInvalidHost(address);
    const std::optional<RequestDestination> destination =
        invalid ? std::nullopt : ChooseDestination(address, proxy);
    if (!destination && !invalid)
        return false;
    CloseSocket();
    m_destination = destination.value_or(RequestDestination {});
    m_address = address;
    m_sMethod = sMethod;
    m_bookmark = std::move(bookmark);
    m_sResponse.clear();
    m_bodyBytes = bodyBytes;
    m_inBody = false;
    m_sBody.clear();
    m_certificateError = 0;
    m_tunnelling = !m_destination.tunnel.empty();
    if (invalid) {
        // Nothing of it may go on the wire, not even a name to look up: the link ends here.
        if (m_bookmark)
            RecordSocketError(*m_bookmark, kInvalidUrlError);
        EndLink(LinkEnd::SocketError);
        return true;
    }
    m_lTimeoutTicks = 0;
    m_cutOffTick->start();

    ReplaceSocket();
    m_underWay = true;
    const QString host = QString::fromLocal8Bit(m_destination.sHost);
    if (m_destination.tls && !m_tunnelling)
        m_wscHttp->connectToHostEncrypted(host, m_destination.port);
    else
        m_wscHttp->connectToHost(host, m_destination.port);
    return true;
}

// A fresh socket per link: nothing of the last link's connection or TLS session can leak into
// the next, and a late signal of the old socket cannot reach the new link.
void cHttpExchange::ReplaceSocket()
{
    if (m_wscHttp) {
        m_wscHttp->disconnect(this);
        m_wscHttp->abort();
        m_wscHttp->deleteLater();
    }
    m_wscHttp = new QSslSocket(this);
    m_wscHttp->setReadBufferSize(static_cast<qint64>(kMaxHeaderBytes));
    if (m_destination.tls && !m_caCertificates.isEmpty()) {
        QSslConfiguration configuration = m_wscHttp->sslConfiguration();
        configuration.addCaCertificates(m_caCertificates);
        m_wscHttp->setSslConfiguration(configuration);
    }
    connect(m_wscHttp, &QSslSocket::connected, this, &cHttpExchange::wscHttp_Connect);
    connect(m_wscHttp, &QSslSocket::encrypted, this, &cHttpExchange::SendRequest);
    connect(m_wscHttp, &QSslSocket::readyRead, this, &cHttpExchange::wscHttp_DataArrival);
    connect(m_wscHttp, &QSslSocket::disconnected, this, &cHttpExchange::wscHttp_Close);
    connect(m_wscHttp, &QSslSocket::errorOccurred, this, &cHttpExchange::wscHttp_Error);
    connect(m_wscHttp, &QSslSocket::sslErrors, this, &cHttpExchange::wscHttp_SslErrors);
}

void cHttpExchange::CloseSocket()
{
    m_underWay = false;
    if (m_wscHttp)
        m_wscHttp->abort();
    m_cutOffTick->stop();
}

int cHttpExchange::State() const
{
    if (!m_wscHttp)
        return 0;
    switch (m_wscHttp->state()) {
    case QAbstractSocket::UnconnectedState: return 0;
    case QAbstractSocket::BoundState: return 1;
    case QAbstractSocket::ListeningState: return 2;
    case QAbstractSocket::HostLookupState: return 4;
    case QAbstractSocket::ConnectingState: return 6;
    case QAbstractSocket::ConnectedState: return 7;
    case QAbstractSocket::ClosingState: return 8;
    }
    return 0;
}

void cHttpExchange::AddCaCertificates(const QList<QSslCertificate>& certificates)
{
    m_caCertificates += certificates;
}

// Connected to the server or the proxy. Over TLS the request waits for the handshake.
void cHttpExchange::wscHttp_Connect()
{
    if (!m_underWay)
        return;
    if (m_tunnelling)
        Send(TunnelRequestText(m_destination));
    else if (!m_destination.tls)
        SendRequest();
}

void cHttpExchange::SendRequest()
{
    if (m_underWay)
        Send(RequestText(m_sMethod, m_destination));
}

void cHttpExchange::Send(const std::string& bytes)
{
    m_wscHttp->write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// Any answer but a 2xx is the proxy's refusal, and the link's result. After a 2xx the connection
// is the server's: the certificate must name the server, not the proxy.
void cHttpExchange::TunnelAnswered(int code)
{
    if (code < 200 || code > 299) {
        ProcessResponse();
        return;
    }
    m_tunnelling = false;
    m_sResponse.clear();
    m_wscHttp->setPeerVerifyName(QString::fromStdString(m_destination.serverName));
    m_wscHttp->startClientEncryption();
}

void cHttpExchange::wscHttp_DataArrival()
{
    if (!m_underWay)
        return;
    if (m_inBody) {
        ReadBody();
        return;
    }
    const std::size_t searchFrom = m_sResponse.size() >= 3 ? m_sResponse.size() - 3 : 0;
    const QByteArray data = m_wscHttp->read(static_cast<qint64>(kMaxHeaderBytes - m_sResponse.size()));
    m_sResponse.append(data.constData(), static_cast<std::size_t>(data.size()));
    const std::size_t end = m_sResponse.find("\r\n\r\n", searchFrom);
    if (end != std::string::npos)
        HeaderArrived(end + 4);
    else if (m_sResponse.size() >= kMaxHeaderBytes)
        ProcessResponse();
}

// Once the header block is complete the rest is body, which only a look at a page that answered
// reads, and only up to its budget: otherwise digest now and hang up instead of downloading it.
void cHttpExchange::HeaderArrived(std::size_t end)
{
    std::string rest = m_sResponse.substr(end);
    m_sResponse.resize(end);
    const int code = GetStatusCode(HeaderBlock(m_sResponse));
    if (m_tunnelling) {
        TunnelAnswered(code);
    } else if (m_bodyBytes > 0 && code >= 200 && code <= 299) {
        m_inBody = true;
        rest.resize(std::min(rest.size(), m_bodyBytes));
        m_sBody = std::move(rest);
        ReadBody();
    } else {
        ProcessResponse();
    }
}

// A body shorter than the budget ends with the server's hang-up.
void cHttpExchange::ReadBody()
{
    const QByteArray data = m_wscHttp->read(static_cast<qint64>(m_bodyBytes - m_sBody.size()));
    m_sBody.append(data.constData(), static_cast<std::size_t>(data.size()));
    if (m_sBody.size() >= m_bodyBytes)
        ProcessResponse();
}

void cHttpExchange::wscHttp_Close()
{
    if (!m_underWay)
        return;
    wscHttp_DataArrival();
    if (m_underWay)
        ProcessResponse();
}

void cHttpExchange::wscHttp_Error(QAbstractSocket::SocketError error)
{
    // The server hanging up is the normal end of an answer: the disconnect that follows digests.
    if (!m_underWay || error == QAbstractSocket::RemoteHostClosedError)
        return;
    int number = SocketErrorNumber(error);
    if (error == QAbstractSocket::SslHandshakeFailedError && m_certificateError != 0)
        number = m_certificateError;
    if (m_bookmark)
        RecordSocketError(*m_bookmark, number);
    EndLink(LinkEnd::SocketError);
}

// The certificate complaints are not ignored, so the handshake fails right after this; remember
// the most telling number for that error.
void cHttpExchange::wscHttp_SslErrors(const QList<QSslError>& errors)
{
    m_certificateError = CertificateErrorNumber(errors);
}

void cHttpExchange::CutOffTick()
{
    if (!m_underWay)
        return;
    ++m_lTimeoutTicks;
    if (m_lTimeoutTicks > kTimeoutTicksLimit) {
        if (m_bookmark)
            RecordTimeOut(*m_bookmark);
        EndLink(LinkEnd::TimedOut);
    }
}

void cHttpExchange::ProcessResponse()
{
    if (m_bookmark)
        DigestResponse(m_sResponse, *m_bookmark, m_address);
    EndLink(LinkEnd::Digested);
}

void cHttpExchange::EndLink(LinkEnd end)
{
    CloseSocket();
    emit LinkFinished(end);
}

}  // namespace brimtor
