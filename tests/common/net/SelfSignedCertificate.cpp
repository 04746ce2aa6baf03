#include "tests/common/net/SelfSignedCertificate.hpp"

#include <QFile>
#include <QProcess>

namespace brimtor::test {

namespace {

QByteArray ReadPem(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

SelfSignedCertificate SelfSignedCertificate::Make(const std::string& folder)
{
    const QString base = QString::fromStdString(folder);
    const QString certificatePath = base + "/certificate.pem";
    const QString keyPath = base + "/key.pem";
    QProcess openssl;
    openssl.start("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=127.0.0.1",
                              "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", keyPath, "-out", certificatePath});
    if (!openssl.waitForFinished(60000) || openssl.exitCode() != 0)
        return SelfSignedCertificate();
    SelfSignedCertificate made;
    made.certificate = QSslCertificate(ReadPem(certificatePath));
    made.key = QSslKey(ReadPem(keyPath), QSsl::Rsa);
    return made;
}

}  // namespace brimtor::test
