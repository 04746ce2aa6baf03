#include "engine/SocketErrorNumbers.hpp"

namespace brimtor {

int SocketErrorNumber(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError: return 10061;
    case QAbstractSocket::HostNotFoundError: return 11001;
    case QAbstractSocket::SocketTimeoutError: return 10060;
    case QAbstractSocket::NetworkError: return 10051;
    case QAbstractSocket::SocketAccessError: return 10013;
    case QAbstractSocket::SocketResourceError: return 10055;
    case QAbstractSocket::SslHandshakeFailedError: return 12157;
    default: return 10050;
    }
}

namespace {

int CertificateErrorNumber(QSslError::SslError error)
{
    switch (error) {
    case QSslError::CertificateExpired:
    case QSslError::CertificateNotYetValid:
        return 12037;
    case QSslError::HostNameMismatch:
        return 12038;
    case QSslError::SelfSignedCertificate:
    case QSslError::SelfSignedCertificateInChain:
    case QSslError::UnableToGetIssuerCertificate:
    case QSslError::UnableToGetLocalIssuerCertificate:
    case QSslError::UnableToVerifyFirstCertificate:
    case QSslError::CertificateUntrusted:
        return 12045;
    default:
        return 0;
    }
}

}  // namespace

int CertificateErrorNumber(const QList<QSslError>& errors)
{
    for (const QSslError& error : errors)
        if (const int number = CertificateErrorNumber(error.error()))
            return number;
    return 0;
}

}  // namespace brimtor
