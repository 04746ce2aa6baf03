#pragma once

#include <string>

#include <QString>

// The program keeps names, addresses and paths as the bytes they came in, in the system's 8-bit
// encoding; these are the one place where they become Qt's strings and back.
namespace brimtor {

inline QString ToQt(const std::string& bytes)
{
    return QString::fromLocal8Bit(bytes);
}

inline std::string FromQt(const QString& text)
{
    return text.toLocal8Bit().toStdString();
}

}  // namespace brimtor
