#pragma once

#include "platform/VxPlatformExport.h"

#include <QMap>
#include <QString>

namespace vx {

// A data-link file: "[oledb]", an optional comment line, and one connection string of
// "Key=Value;" pairs. Files written by other tools are usually UTF-16LE with a byte-order mark;
// UTF-8 is read too.
class VXPLATFORM_EXPORT DataLink {
public:
    // Reads the file; throws DbError naming the file and the cause when it is missing or holds
    // no connection string.
    static DataLink read(const QString &path);
    // Writes a data-link file (UTF-16LE with byte-order mark) for the connection string.
    static void write(const QString &path, const QString &connectionString);

    static DataLink fromConnectionString(const QString &connectionString, const QString &filePath = {});

    QString filePath() const { return m_filePath; }
    QString connectionString() const { return m_connectionString; }
    // Value of a key, compared without regard to case; empty when absent.
    QString value(const QString &key) const;
    bool contains(const QString &key) const;
    QString provider() const { return value(QStringLiteral("Provider")); }
    // "Data Source" resolved against the data-link file's folder when it is relative.
    QString resolvedDataSource() const;

private:
    QString m_filePath;
    QString m_connectionString;
    QMap<QString, QString> m_values;  // keys in upper case
};

}  // namespace vx
