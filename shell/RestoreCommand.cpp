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
    const std::optional<TargetArguments> given = readTargetArguments(arguments, 1, 2, err);
    if (!given)
        return 2;
    const QStringList &files = given->names;
    const QString &newDatabase = given->newDatabase;
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
