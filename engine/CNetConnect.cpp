#include "engine/CNetConnect.hpp"

#include <memory>

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include "engine/ConnectionFlags.hpp"
#include "engine/MWinInetErrors.hpp"
#include "support/MainSettings.hpp"
#include "support/Version.hpp"

namespace brimtor {

namespace {

// Large portals that answer plain http on their home page from nearly anywhere.
const char* const kDefaultTestSites[] = {"http://www.yahoo.com", "http://www.msn.com"};

QNetworkRequest ProbeRequest(const QUrl& url)
{
    QNetworkRequest request(url);
    // The test sites see the program by its own name.
    request.setHeader(QNetworkRequest::UserAgentHeader, QString::fromLatin1(kProgramTitle));
    // The answer must come from the network now, and is of no use afterwards.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    // A redirect is an answer too: the site is reachable.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    return request;
}

bool Answered(const QNetworkReply& reply)
{
    return reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
}

// "200 OK" for an answer, else what went wrong, in words.
std::string ResponseInfo(const QNetworkReply& reply)
{
    if (!Answered(reply))
        return reply.errorString().toStdString();
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const QString reason = reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    return (QString::number(status.toInt()) + QLatin1Char(' ') + reason).trimmed().toStdString();
}

}  // namespace

CNetConnect::CNetConnect(std::chrono::milliseconds siteLimit)
    : m_siteLimit(siteLimit)
    , m_knownTestSites(std::begin(kDefaultTestSites), std::end(kDefaultTestSites))
{
}

void CNetConnect::Refresh()
{
    m_mode = ConnectionFlags();
    m_connected = m_mode != 0;
    if (m_mode & ConnectionFlag::Modem) {
        m_description = "Modem";
        if (!(m_mode & ConnectionFlag::ModemBusy))
            return;
        m_description = "Modem (Busy)";
    } else if (m_mode & ConnectionFlag::Lan) {
        m_description = "LAN";
    } else if (m_mode & ConnectionFlag::Proxy) {
        m_description = "Proxy Server";
    } else {
        return;
    }
    // A network is there, but only an answer from outside proves it reaches the Internet.
    m_connected = ProbeTestSites();
}

bool CNetConnect::Connected()
{
    Refresh();
    return m_connected;
}

std::uint32_t CNetConnect::ConnectMode()
{
    Refresh();
    return m_mode;
}

std::string CNetConnect::ConnectModeDesc()
{
    Refresh();
    return m_description;
}

bool CNetConnect::Dial(std::uint32_t)
{
    return false;
}

bool CNetConnect::HangUp()
{
    return false;
}

bool CNetConnect::ProbeTestSites()
{
    QNetworkAccessManager manager;
    for (const std::string& address : m_knownTestSites) {
        if (OpensSite(manager, address))
            return true;
    }
    return false;
}

bool CNetConnect::OpensSite(QNetworkAccessManager& manager, const std::string& address) const
{
    const QUrl url(QString::fromStdString(address));
    manager.setProxy(ConfiguredProxy(url));
    const std::unique_ptr<QNetworkReply> reply(manager.get(ProbeRequest(url)));

    // Wait for the status line, a failure or the limit, whichever comes first; the body is
    // never needed. User input waits too, so no click can start anything meanwhile.
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(reply.get(), &QNetworkReply::metaDataChanged, &loop, &QEventLoop::quit);
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    limit.start(m_siteLimit);
    while (!Answered(*reply) && !reply->isFinished() && limit.isActive())
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    const bool answered = Answered(*reply);
    SetLastResponseInfo(ResponseInfo(*reply));
    reply->abort();
    return answered;
}

CNetConnect UserConnection(std::chrono::milliseconds siteLimit)
{
    CNetConnect connection(siteLimit);
    std::vector<std::string> sites = ReadTestSites();
    if (!sites.empty())
        connection.SetKnownTestSites(std::move(sites));
    return connection;
}

}  // namespace brimtor
