#include "shell/InitCommand.h"

#include "data/DatabaseCopy.h"
#include "data/Schema.h"
#include "platform/db/Connection.h"
#include "platform/db/DataLink.h"
#include "platform/db/DbError.h"

#include <QTextStream>

int runCopyDbCommand(const QStringList &arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (arguments.size() != 2) {
        err << QStringLiteral("Uso: vendrix copy-db ORIGEN.udl DESTINO.udl") << Qt::endl;
        return 2;
    }
    try {
        auto from = vx::Connection::open(vx::DataLink::read(arguments[0]), &data::vendrixSchema());
        auto to = vx::Connection::open(vx::DataLink::read(arguments[1]), &data::vendrixSchema());
        out << QStringLiteral("Copiando %1 a %2").arg(from->description(), to->description()) << Qt::endl;
        data::copyDatabase(*from, *to, [&out](const QString &line) { out << QStringLiteral("  ") << line << Qt::endl; });
        out << QStringLiteral("Copia terminada.") << Qt::endl;
        return 0;
    } catch (const vx::DbError &e) {
        err << e.message() << Qt::endl;
        return 1;
    }
}
