#pragma once

#include <string>

#include <QSslCertificate>
#include <QSslKey>

namespace brimtor::test {

struct SelfSignedCertificate {
    QSslCertificate certificate;
    QSslKey key;

    // A fresh certificate for the address 127.0.0.1, made with the openssl command in `folder`.
    // Both are null when the command failed.
    static SelfSignedCertificate Make(const std::string& folder);
};

}  // namespace brimtor::test
