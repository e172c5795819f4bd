#pragma once

#include <QByteArray>
#include <QString>

#include <string>

namespace zebrune {

// The engine reads Latin-1 bytes; a character outside Latin-1 becomes "?".
inline std::string engineText(const QString &text)
{
    return text.toLatin1().toStdString();
}

inline QString fromEngineText(const std::string &text)
{
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

} // namespace zebrune
