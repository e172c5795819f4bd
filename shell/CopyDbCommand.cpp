#include "shell/InitCommand.h"

#include "data/DatabaseCopy.h"
#include "platform/db/DbError.h"
#include "shell/ConsoleOptions.h"

#include <QTextStream>

int runCopyDbCommand(const QStringList &arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    const std::optional<TargetArguments> given = readTargetArguments(arguments, 2, 2, err);
    if (!given)
        return 2;
    const QStringList &links = given->names;
    const QString &newDatabase = given->newDatabase;
    try {
        data::copyShop(links[0], links[1], newDatabase,
                       [&out](const QString &line) { out << QStringLiteral("  ") << line << Qt::endl; });
        out << QStringLiteral("Copia terminada.") << Qt::endl;
        if (!newDatabase.isEmpty())
            out << QStringLiteral("Archivo de enlace de datos: %1").arg(links[1]) << Qt::endl;
        return 0;
    } catch (const vx::DbError &e) {
        err << e.message() << Qt::endl;
        return 1;
    }
}
