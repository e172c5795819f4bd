#include "shell/InitCommand.h"

#include "data/ShopSetup.h"
#include "platform/core/Paths.h"
#include "platform/db/DbError.h"

#include <QDir>
#include <QMap>
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

QString usage()
{
    return QStringLiteral("Uso: vendrix init [--demo] [--admin-password CLAVE]\n"
                          "       [--provider postgresql --host SERVIDOR --port PUERTO --database BASE --user USUARIO "
                          "[--password CLAVE]]");
}

}  // namespace

int runInitCommand(const QStringList &arguments)
{
    data::ShopSetupOptions options{QString()};
    bool passwordGiven = false;
    QString provider;
    QMap<QString, QString> server;  // --host, --port, --database, --user, --password
    const QStringList serverOptions{QStringLiteral("host"), QStringLiteral("port"), QStringLiteral("database"),
                                    QStringLiteral("user"), QStringLiteral("password")};
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        const QString name = arg.mid(2);
        const bool hasValue = i + 1 < arguments.size();
        if (arg == QLatin1String("--demo")) {
            options.demo = true;
        } else if (arg == QLatin1String("--admin-password") && hasValue) {
            options.adminPassword = arguments[++i];
            passwordGiven = true;
        } else if (arg == QLatin1String("--provider") && hasValue) {
            provider = arguments[++i].toLower();
        } else if (arg.startsWith(QLatin1String("--")) && serverOptions.contains(name) && hasValue) {
            server.insert(name, arguments[++i]);
        } else {
            err() << usage() << Qt::endl;
            return 2;
        }
    }
    if (provider == QLatin1String("postgresql")) {
        options.connectionString =
            QStringLiteral("Provider=PostgreSQL;Data Source=%1;Port=%2;Initial Catalog=%3;User ID=%4;")
                .arg(server.value(QStringLiteral("host"), QStringLiteral("localhost")),
                     server.value(QStringLiteral("port"), QStringLiteral("5432")),
                     server.value(QStringLiteral("database"), QStringLiteral("vendrix")),
                     server.value(QStringLiteral("user"), QStringLiteral("vendrix")));
        if (server.contains(QStringLiteral("password")))
            options.connectionString += QStringLiteral("Password=%1;").arg(server.value(QStringLiteral("password")));
    } else if (!provider.isEmpty() && provider != QLatin1String("sqlite")) {
        err() << QStringLiteral("Proveedor desconocido \"%1\": use sqlite o postgresql.").arg(provider) << Qt::endl;
        return 2;
    } else if (!server.isEmpty()) {
        err() << usage() << Qt::endl;
        return 2;
    }
    if (!passwordGiven) {
        out() << QStringLiteral("Clave del administrador (hasta 10 caracteres): ") << Qt::flush;
        QTextStream in(stdin);
        options.adminPassword = in.readLine();
    }
    try {
        const QString database = data::createShop(options);
        out() << QStringLiteral("Base de datos creada: %1").arg(database) << Qt::endl;
        out() << QStringLiteral("Archivo de enlace de datos: %1").arg(QDir::toNativeSeparators(vx::paths::dataLinkFile()))
              << Qt::endl;
        return 0;
    } catch (const vx::DbError &e) {
        err() << e.message() << Qt::endl;
        return 1;
    }
}
