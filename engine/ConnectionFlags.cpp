#include "engine/ConnectionFlags.hpp"

#include <utility>

#include <QNetworkInterface>
#include <QNetworkProxyFactory>
#include <QUrl>

namespace brimtor {

namespace {

// Asking for a proxy needs an address; any web address outside the machine will do, and the
// question never contacts it.
const char* const kProxyQueryAddress = "http://www.example.com/";

ConnectionFlagsSource& InstalledSource()
{
    static ConnectionFlagsSource source;
    return source;
}

bool IsProxy(const QNetworkProxy& proxy)
{
    return proxy.type() != QNetworkProxy::NoProxy && proxy.type() != QNetworkProxy::DefaultProxy;
}

// Command-line tools honour both spellings; Qt's own reading depends on how it was built.
QNetworkProxy EnvironmentProxy()
{
    for (const char* name : {"http_proxy", "HTTP_PROXY"}) {
        const QString value = qEnvironmentVariable(name).trimmed();
        if (value.isEmpty())
            continue;
        const QUrl url = QUrl::fromUserInput(value);
        if (url.isValid() && !url.host().isEmpty()) {
            return QNetworkProxy(QNetworkProxy::HttpProxy, url.host(),
                                 static_cast<quint16>(url.port(80)), url.userName(),
                                 url.password());
        }
    }
    return QNetworkProxy(QNetworkProxy::NoProxy);
}

bool HasOutsideInterface()
{
    const auto needed = QNetworkInterface::IsUp | QNetworkInterface::IsRunning;
    for (const QNetworkInterface& networkInterface : QNetworkInterface::allInterfaces()) {
        const auto flags = networkInterface.flags();
        if ((flags & needed) == needed && !flags.testFlag(QNetworkInterface::IsLoopBack))
            return true;
    }
    return false;
}

}  // namespace

QNetworkProxy ConfiguredProxy(const QUrl& target)
{
    const QNetworkProxy fromEnvironment = EnvironmentProxy();
    if (IsProxy(fromEnvironment))
        return fromEnvironment;
    const QList<QNetworkProxy> system
        = QNetworkProxyFactory::systemProxyForQuery(QNetworkProxyQuery(target));
    if (!system.isEmpty() && IsProxy(system.first()))
        return system.first();
    return QNetworkProxy(QNetworkProxy::NoProxy);
}

std::uint32_t MachineConnectionFlags()
{
    if (IsProxy(ConfiguredProxy(QUrl(QString::fromLatin1(kProxyQueryAddress)))))
        return ConnectionFlag::Proxy;
    return HasOutsideInterface() ? ConnectionFlag::Lan : 0;
}

std::uint32_t ConnectionFlags()
{
    const ConnectionFlagsSource& source = InstalledSource();
    return source ? source() : MachineConnectionFlags();
}

ConnectionFlagsSource SetConnectionFlagsSource(ConnectionFlagsSource source)
{
    return std::exchange(InstalledSource(), std::move(source));
}

}  // namespace brimtor
