#include "shell/BackupCommands.h"

#include "backup/Backup.h"
#include "backup/CopyFiles.h"
#include "data/Schema.h"
#include "platform/core/Paths.h"
#include "platform/db/Connection.h"
#include "platform/db/DataLink.h"
#include "platform/db/DbError.h"
#include "shell/ConsoleOptions.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

int runBackupCommand(const QStringList &arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (arguments.size() > 1 || (!arguments.isEmpty() && arguments.first().startsWith(QLatin1String("--")))) {
        err << consoleUsage() << Qt::flush;
        return 2;
    }
    const bool ownFolder = !arguments.isEmpty();
    const QString folder = ownFolder ? QFileInfo(arguments.first()).absoluteFilePath() : backup::defaultFolder();
    try {
        auto shop = vx::Connection::open(vx::DataLink::read(vx::paths::dataLinkFile()), &data::vendrixSchema(),
                                         vx::Connection::Expect::Shop);
        const backup::CopyMade made =
            backup::makeCopy(*shop, folder, [&out](const QString &line) { out << QStringLiteral("  ") << line << Qt::endl; });
        out << QStringLiteral("Copia de seguridad: %1 (%2)").arg(QDir::toNativeSeparators(made.path), backup::sizeText(made.bytes))
            << Qt::endl;
        // The program's own folder keeps its copies by the rule; a folder the operator named is theirs.
        if (!ownFolder) {
            const QStringList removed = backup::pruneCopies(folder);
            if (!removed.isEmpty())
                out << QStringLiteral("Copias anteriores quitadas por la regla de conservación: %1").arg(removed.join(QStringLiteral(", ")))
                    << Qt::endl;
        }
        return 0;
    } catch (const vx::DbError &e) {
        err << e.message() << Qt::endl;
        return 1;
    }
}
