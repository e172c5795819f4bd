#include "platform/ui/Picture.h"

#include "platform/core/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>

namespace vx::ui {

namespace {

// The entry of a folder whose name equals `name` without regard to case, or `name` itself.
QString matchingEntry(const QString &folder, const QString &name)
{
    if (QFileInfo::exists(folder + QLatin1Char('/') + name))
        return name;
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return name;
}

}  // namespace

QString localPicturePath(const QString &storedPath)
{
    QString path = storedPath.trimmed();
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:/"));
    QString resolved;
    QString rest;
    if (drive.match(path).hasMatch()) {
        resolved = paths::root();
        rest = path.mid(3);
    } else {
        // Other paths were stored upper-cased by the article windows: found without regard to
        // case too, from the file system's root or the working folder.
        if (path.isEmpty() || QFileInfo::exists(path))
            return path;
        resolved = path.startsWith(QLatin1Char('/')) ? QString() : QDir::currentPath();
        rest = path;
    }
    const QStringList parts = rest.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &part : parts)
        resolved += QLatin1Char('/') + matchingEntry(resolved.isEmpty() ? QStringLiteral("/") : resolved, part);
    return resolved;
}

QImage loadPicture(const QString &storedPath)
{
    if (storedPath.trimmed().isEmpty())
        return {};
    QImageReader reader(localPicturePath(storedPath));
    reader.setDecideFormatFromContent(true);
    return reader.read();
}

}  // namespace vx::ui
