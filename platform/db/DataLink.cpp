#include "platform/db/DataLink.h"

#include "platform/db/DbError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QRegularExpression>
#include <QStringDecoder>

namespace vx {

namespace {

QString decode(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE")) {
        QStringDecoder utf16(QStringDecoder::Utf16LE);
        return utf16(bytes.mid(2));
    }
    if (bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(QStringDecoder::Utf16BE);
        return utf16(bytes.mid(2));
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    return QString::fromUtf8(bytes);
}

}  // namespace

DataLink DataLink::read(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        throw DbError(QStringLiteral("No se encuentra el archivo de enlace de datos \"%1\".")
                          .arg(QDir::toNativeSeparators(path)));
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("No se puede leer el archivo de enlace de datos \"%1\": %2.")
                          .arg(QDir::toNativeSeparators(path), file.errorString()));
    const QStringList lines = decode(file.readAll()).split(QRegularExpression(QStringLiteral("[\r\n]+")));
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('[')))
            continue;
        if (line.contains(QLatin1Char('=')))
            return fromConnectionString(line, path);
    }
    throw DbError(QStringLiteral("El archivo de enlace de datos \"%1\" no contiene una cadena de conexión.")
                      .arg(QDir::toNativeSeparators(path)));
}

void DataLink::write(const QString &path, const QString &connectionString)
{
    const QString text = QStringLiteral("[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n")
                         + connectionString + QStringLiteral("\r\n");
    QByteArray bytes("\xFF\xFE", 2);
    for (const QChar c : text) {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw DbError(QStringLiteral("No se pudo escribir el archivo de enlace de datos \"%1\": %2.")
                          .arg(QDir::toNativeSeparators(path), file.errorString()));
}

DataLink DataLink::fromConnectionString(const QString &connectionString, const QString &filePath)
{
    DataLink link;
    link.m_filePath = filePath;
    link.m_connectionString = connectionString;
    for (const QString &pair : connectionString.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const int eq = pair.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        QString value = pair.mid(eq + 1).trimmed();
        if (value.size() >= 2 && (value.startsWith(QLatin1Char('"')) || value.startsWith(QLatin1Char('\'')))
            && value.endsWith(value.front()))
            value = value.mid(1, value.size() - 2);
        link.m_values.insert(pair.left(eq).trimmed().toUpper(), value);
    }
    return link;
}

QString DataLink::value(const QString &key) const
{
    return m_values.value(key.toUpper());
}

bool DataLink::contains(const QString &key) const
{
    return m_values.contains(key.toUpper());
}

QString DataLink::resolvedDataSource() const
{
    const QString source = value(QStringLiteral("Data Source"));
    if (source.isEmpty() || QFileInfo(source).isAbsolute() || m_filePath.isEmpty())
        return source;
    return QFileInfo(m_filePath).absoluteDir().absoluteFilePath(source);
}

}  // namespace vx
