#include "shell/UpgradeCommand.h"

#include "data/ShopSetup.h"
#include "platform/core/Paths.h"
#include "platform/db/DbError.h"

#include <QTextStream>

int runUpgradeCommand(const QStringList &arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (arguments.size() > 1) {
        err << QStringLiteral("Uso: vendrix upgrade [ENLACE.udl]") << Qt::endl;
        return 2;
    }
    try {
        out << data::upgradeShop(arguments.isEmpty() ? vx::paths::dataLinkFile() : arguments.first()) << Qt::endl;
        return 0;
    } catch (const vx::DbError &e) {
        err << e.message() << Qt::endl;
        return 1;
    }
}
