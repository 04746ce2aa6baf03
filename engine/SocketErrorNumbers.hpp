#pragma once

#include <QAbstractSocket>
#include <QList>
#include <QSslError>

// The numbers a link's socket or TLS failure is recorded with, in the numbering the results view
// and the error texts know.
namespace brimtor {

// Refused 10061, host not found 11001, timed out 10060, network 10051, access 10013,
// resources 10055, a failed TLS handshake 12157, anything else 10050.
int SocketErrorNumber(QAbstractSocket::SocketError error);

// The first certificate complaint that has a number: expired or not yet valid 12037, host name
// mismatch 12038, untrusted or self-signed issuer 12045; 0 when none of them has one.
int CertificateErrorNumber(const QList<QSslError>& errors);

}  // namespace brimtor
