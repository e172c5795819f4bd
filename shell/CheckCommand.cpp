#include "shell/BackupCommands.h"

#include "backup/Restore.h"
#include "data/Schema.h"
#include "data/ShopCheck.h"
#include "platform/core/Paths.h"
#include "platform/db/Connection.h"
#include "platform/db/DataLink.h"
#include "platform/db/DbError.h"
#include "shell/ConsoleOptions.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

// A data-link file names a shop; anything else is taken for an SQLite copy.
bool isDataLink(const QString &path)
{
    QFile file(path);
    return !file.open(QIODevice::ReadOnly) || !file.read(16).startsWith(QByteArrayLiteral("SQLite format 3"));
}

}  // namespace

int runCheckCommand(const QStringList &arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (arguments.size() > 1 || (!arguments.isEmpty() && arguments.first().startsWith(QLatin1String("--")))) {
        err << consoleUsage() << Qt::flush;
        return 2;
    }
    const QString path = arguments.isEmpty() ? vx::paths::dataLinkFile() : arguments.first();
    try {
        const QTemporaryDir work;
        const bool shop = isDataLink(path);
        const std::unique_ptr<vx::Connection> db =
            shop ? vx::Connection::open(vx::DataLink::read(path), &data::vendrixSchema(), vx::Connection::Expect::Shop)
                             : backup::openCopy(path, work);
        const QString shown = shop ? db->description() : QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(path));
        out << data::ShopCheckReport::titleText(shown) << Qt::flush;
        const data::ShopCheckReport report = data::verifyShop(
            *db, [&out](const data::ShopCheckItem &item) { out << data::ShopCheckReport::itemText(item) << Qt::flush; });
        out << report.resultText() << Qt::flush;
        return report.sound() ? 0 : 1;
    } catch (const vx::DbError &e) {
        err << e.message() << Qt::endl;
        return 1;
    }
}
