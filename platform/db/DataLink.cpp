#include "platform/db/DataLink.h"

#include "platform/db/DbError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace vx {

namespace {

// Which byte of each pair is zero, in the first bytes of a file without a byte-order mark: a
// UTF-16 text of Latin letters has a NUL in every other byte.
std::optional<QStringDecoder::Encoding> utf16WithoutMark(const QByteArray &bytes)
{
    const qsizetype sample = std::min<qsizetype>(bytes.size(), 512) & ~qsizetype(1);
    if (sample < 2)
        return std::nullopt;
    qsizetype evenZeros = 0;
    qsizetype oddZeros = 0;
    for (qsizetype i = 0; i < sample; i += 2) {
        evenZeros += bytes[i] == '\0';
        oddZeros += bytes[i + 1] == '\0';
    }
    const qsizetype pairs = sample / 2;
    if (oddZeros * 4 >= pairs * 3 && evenZeros * 4 < pairs)
        return QStringDecoder::Utf16LE;
    if (evenZeros * 4 >= pairs * 3 && oddZeros * 4 < pairs)
        return QStringDecoder::Utf16BE;
    return std::nullopt;
}

// The file's text, or nothing when it is not text (control bytes, broken UTF-16).
std::optional<QString> decode(const QByteArray &bytes)
{
    QStringDecoder::Encoding encoding = QStringDecoder::Utf8;
    qsizetype skip = 0;
    if (bytes.startsWith("\xFF\xFE")) {
        encoding = QStringDecoder::Utf16LE;
        skip = 2;
    } else if (bytes.startsWith("\xFE\xFF")) {
        encoding = QStringDecoder::Utf16BE;
        skip = 2;
    } else if (bytes.startsWith("\xEF\xBB\xBF")) {
        skip = 3;
    } else if (const auto utf16 = utf16WithoutMark(bytes)) {
        encoding = *utf16;
    }
    QStringDecoder decoder(encoding);
    QString text = decoder(bytes.mid(skip));
    // A file saved by an editor in the Windows code page is not UTF-8, but text all the same.
    if (decoder.hasError() && encoding == QStringDecoder::Utf8)
        text = QString::fromLatin1(bytes.mid(skip));
    else if (decoder.hasError())
        return std::nullopt;
    const bool binary = std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\r') && c != QLatin1Char('\n');
    });
    if (binary)
        return std::nullopt;
    return text;
}

// Splits "Key=Value;Key="Value;with;semicolons";..." into pairs. A value in double or single
// quotes keeps its ";" and "="; a doubled quote inside stands for the quote itself.
QList<QPair<QString, QString>> connectionPairs(const QString &text)
{
    QList<QPair<QString, QString>> pairs;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype eq = text.indexOf(QLatin1Char('='), pos);
        const qsizetype semicolon = text.indexOf(QLatin1Char(';'), pos);
        if (eq < 0 || (semicolon >= 0 && semicolon < eq)) {
            // A piece without "=": nothing to keep.
            pos = semicolon < 0 ? text.size() : semicolon + 1;
            continue;
        }
        const QString key = text.mid(pos, eq - pos).trimmed();
        qsizetype v = eq + 1;
        while (v < text.size() && text[v].isSpace())
            ++v;
        QString value;
        if (v < text.size() && (text[v] == QLatin1Char('"') || text[v] == QLatin1Char('\''))) {
            const QChar quote = text[v++];
            while (v < text.size()) {
                if (text[v] == quote) {
                    if (v + 1 < text.size() && text[v + 1] == quote) {
                        value += quote;
                        v += 2;
                        continue;
                    }
                    ++v;
                    break;
                }
                value += text[v++];
            }
            const qsizetype end = text.indexOf(QLatin1Char(';'), v);
            pos = end < 0 ? text.size() : end + 1;
        } else {
            const qsizetype end = text.indexOf(QLatin1Char(';'), v);
            value = text.mid(v, (end < 0 ? text.size() : end) - v).trimmed();
            pos = end < 0 ? text.size() : end + 1;
        }
        if (!key.isEmpty())
            pairs.append({key, value});
    }
    return pairs;
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
    const std::optional<QString> text = decode(file.readAll());
    if (!text)
        throw DbError(QStringLiteral("El archivo \"%1\" no es un archivo de enlace de datos válido.")
                          .arg(QDir::toNativeSeparators(path)));
    const QStringList lines = text->split(QRegularExpression(QStringLiteral("[\r\n]+")));
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
    for (const auto &[key, value] : connectionPairs(connectionString))
        link.m_values.insert(key.toUpper(), value);
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
