#include "shell/BackupCommands.h"

#include "backup/Restore.h"
#include "platform/core/Paths.h"
#include "platform/db/DbError.h"
#include "shell/ConsoleOptions.h"

#include <QTextStream>

int runRestoreCommand(const QStringList &arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList files;
    DatabaseOptions target;
    for (int i = 0; i < arguments.size(); ++i) {
        if (target.take(arguments, i))
            continue;
        if (arguments[i].startsWith(QLatin1String("--")) || files.size() == 2) {
            err << consoleUsage() << Qt::flush;
            return 2;
        }
        files << arguments[i];
    }
    if (files.isEmpty()) {
        err << consoleUsage() << Qt::flush;
        return 2;
    }
    QString newDatabase;
    if (target.given()) {
        QString error;
        newDatabase = target.connectionString(error);
        if (newDatabase.isEmpty()) {
            err << error << Qt::endl;
            return 2;
        }
    }
    const QString link = files.size() == 2 ? files[1] : vx::paths::dataLinkFile();
    try {
        const QString restored = backup::restoreCopy(files[0], link, newDatabase, [&out](const QString &line) {
            out << QStringLiteral("  ") << line << Qt::endl;
        });
        out << QStringLiteral("Copia restaurada en %1.").arg(restored) << Qt::endl;
        out << QStringLiteral("Archivo de enlace de datos: %1").arg(link) << Qt::endl;
        return 0;
    } catch (const vx::DbError &e) {
        err << e.message() << Qt::endl;
        return 1;
    }
}
