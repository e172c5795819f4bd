#include "shell/InitCommand.h"

#include "data/DatabaseCopy.h"
#include "platform/db/DbError.h"
#include "shell/ConsoleOptions.h"

#include <QTextStream>

int runCopyDbCommand(const QStringList &arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList links;
    DatabaseOptions target;
    for (int i = 0; i < arguments.size(); ++i) {
        if (target.take(arguments, i))
            continue;
        if (arguments[i].startsWith(QLatin1String("--")) || links.size() == 2) {
            err << consoleUsage() << Qt::flush;
            return 2;
        }
        links << arguments[i];
    }
    if (links.size() != 2) {
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
