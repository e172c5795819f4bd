#include "shell/InitCommand.h"

#include "data/ShopSetup.h"
#include "demo/DemoHistory.h"
#include "platform/core/Paths.h"
#include "platform/db/DateTimeValue.h"
#include "platform/db/DbError.h"
#include "shell/ConsoleOptions.h"

#include <QDir>
#include <QTextStream>

#include <optional>

int runInitCommand(const QStringList &arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    data::ShopSetupOptions options{QString()};
    bool passwordGiven = false;
    DatabaseOptions database;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        if (arg == QLatin1String("--demo")) {
            options.demo = true;
            options.demoHistory = [](vx::Connection &connection) {
                demo::recordHistory(connection, QDate::currentDate());
            };
        } else if (arg == QLatin1String("--admin-password") && i + 1 < arguments.size()) {
            options.adminPassword = arguments[++i];
            passwordGiven = true;
        } else if (!database.take(arguments, i)) {
            err << consoleUsage() << Qt::flush;
            return 2;
        }
    }
    if (database.given()) {
        QString error;
        options.connectionString = database.connectionString(error);
        if (options.connectionString.isEmpty()) {
            err << error << Qt::endl;
            return 2;
        }
    }
    if (!passwordGiven)
        options.adminPassword = readSecretLine(QStringLiteral("Clave del administrador (hasta 10 caracteres): "));
    try {
        // A demo shop opened when its history starts: the catalogue's first stock is dated then.
        std::optional<vx::ReplayedClock> opening;
        if (options.demo)
            opening.emplace(vx::naiveDateTime(QDate::currentDate().addDays(-demo::historyDays), QTime(9, 0)));
        const QString created = data::createShop(options);
        out << QStringLiteral("Base de datos creada: %1").arg(created) << Qt::endl;
        out << QStringLiteral("Archivo de enlace de datos: %1").arg(QDir::toNativeSeparators(vx::paths::dataLinkFile()))
            << Qt::endl;
        return 0;
    } catch (const vx::DbError &e) {
        err << e.message() << Qt::endl;
        return 1;
    }
}
