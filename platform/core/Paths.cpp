#include "platform/core/Paths.h"

#include <QDir>

namespace vx::paths {

QString root()
{
    QString value = qEnvironmentVariable("VENDRIX_ROOT");
    if (value.isEmpty())
        value = QDir::homePath() + QStringLiteral("/Vendrix");
    value.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (value.size() > 1 && value.endsWith(QLatin1Char('/')))
        value.chop(1);
    return value;
}

QString dataLinkFile()
{
    return root() + QStringLiteral("/Vendrix Demo.udl");
}

QString userFolder()
{
    return root() + QStringLiteral("/Orvanesys/Vendrix V2/Usuario/");
}

QString findCaseInsensitive(const QString &folder, const QString &name)
{
    const QDir dir(folder);
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return dir.filePath(name);
}

}  // namespace vx::paths
