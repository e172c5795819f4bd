#include "sales/TicketHeader.h"

#include "platform/core/Paths.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace sales::ticketheader {

namespace {

const QString headerName = QStringLiteral("MemTik.txt");
const QString logoName = QStringLiteral("Logo.bmp");

// Files written on the shop's older machines are in their 8-bit code page; ours are UTF-8.
QString decode(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes);
}

} // namespace

QStringList builtInLines()
{
    return {QStringLiteral("Mi Negocio..."), QStringLiteral("Dir.:"), QStringLiteral("( ) localidad"),
            QStringLiteral("TEL: "),         QStringLiteral("CUIT"),  QStringLiteral("IVA: Monotributista")};
}

QString fileIn(const QString &folder)
{
    return vx::paths::findCaseInsensitive(folder, headerName);
}

std::optional<QStringList> readFrom(const QString &folder)
{
    QFile file(fileIn(folder));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QString text = decode(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(QLatin1Char('\n'));
    // The line break that ends the last line opens no line of its own.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

std::optional<QStringList> read()
{
    if (auto lines = readFrom(vx::paths::userFolder()))
        return lines;
    return readFrom(QDir::currentPath());
}

bool writeTo(const QString &folder, const QStringList &lines)
{
    QDir().mkpath(folder);
    QSaveFile file(fileIn(folder));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toUtf8() + "\r\n";
    file.write(bytes);
    return file.commit();
}

std::optional<QImage> logo()
{
    for (const QString &folder : {vx::paths::userFolder(), QDir::currentPath()}) {
        QImage image(vx::paths::findCaseInsensitive(folder, logoName));
        if (!image.isNull())
            return image;
    }
    return std::nullopt;
}

} // namespace sales::ticketheader
