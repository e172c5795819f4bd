#include "shell/InitCommand.h"

#include "data/ShopSetup.h"
#include "platform/core/Paths.h"
#include "platform/db/DbError.h"

#include <QDir>
#include <QTextStream>

#include <cstdio>

namespace {

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

}  // namespace

int runInitCommand(const QStringList &arguments)
{
    data::ShopSetupOptions options;
    bool passwordGiven = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        if (arg == QLatin1String("--demo")) {
            options.demo = true;
        } else if (arg == QLatin1String("--admin-password") && i + 1 < arguments.size()) {
            options.adminPassword = arguments[++i];
            passwordGiven = true;
        } else if (arg.startsWith(QLatin1String("--admin-password="))) {
            options.adminPassword = arg.section(QLatin1Char('='), 1);
            passwordGiven = true;
        } else {
            err() << QStringLiteral("Uso: vendrix init [--demo] [--admin-password CLAVE]") << Qt::endl;
            return 2;
        }
    }
    if (!passwordGiven) {
        out() << QStringLiteral("Clave del administrador (hasta 10 caracteres): ") << Qt::flush;
        QTextStream in(stdin);
        options.adminPassword = in.readLine();
    }
    try {
        const QString database = data::createShop(options);
        out() << QStringLiteral("Base de datos creada: %1").arg(QDir::toNativeSeparators(database)) << Qt::endl;
        out() << QStringLiteral("Archivo de enlace de datos: %1").arg(QDir::toNativeSeparators(vx::paths::dataLinkFile()))
              << Qt::endl;
        return 0;
    } catch (const vx::DbError &e) {
        err() << e.message() << Qt::endl;
        return 1;
    }
}
