#pragma once

#include "platform/db/Connection.h"
#include "platform/db/DataLink.h"

#include <QAtomicInt>
#include <QCoreApplication>

#include <memory>

// The database a test works on. SQLite files by default; when VX_TEST_PG names a PostgreSQL
// server ("host:port", user "vx", no password), a fresh database on that server instead, so the
// same tests run on both engines.
struct TestDatabase {
    std::unique_ptr<vx::Connection> connection;
    QString connectionString;  // for a data-link file that reaches the same database

    static bool onPostgres() { return !qEnvironmentVariableIsEmpty("VX_TEST_PG"); }

    static QString serverConnectionString(const QString &database)
    {
        const QString server = qEnvironmentVariable("VX_TEST_PG");
        return QStringLiteral("Provider=PostgreSQL;Data Source=%1;Port=%2;Initial Catalog=%3;User ID=vx;")
            .arg(server.section(QLatin1Char(':'), 0, 0), server.section(QLatin1Char(':'), 1, 1), database);
    }

    // A new empty database (no tables) for this test; `folder` holds the SQLite file.
    static TestDatabase fresh(const vx::Schema *schema, const QString &folder)
    {
        static QAtomicInt counter;
        const int n = counter.fetchAndAddRelaxed(1);
        TestDatabase out;
        if (onPostgres()) {
            const QString name = QStringLiteral("vxt_%1_%2").arg(QCoreApplication::applicationPid()).arg(n);
            {
                auto server = vx::Connection::open(
                    vx::DataLink::fromConnectionString(serverConnectionString(QStringLiteral("postgres"))), nullptr);
                server->execute(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(name));
                server->execute(QStringLiteral("CREATE DATABASE %1").arg(name));
            }
            out.connectionString = serverConnectionString(name);
            out.connection = vx::Connection::open(vx::DataLink::fromConnectionString(out.connectionString), schema);
        } else {
            const QString path = QStringLiteral("%1/test%2.db").arg(folder).arg(n);
            out.connectionString = QStringLiteral("Provider=SQLite;Data Source=%1;").arg(path);
            out.connection = vx::Connection::openSqlite(path, schema, true);
        }
        return out;
    }

    // A fresh database with every table of the schema created.
    static TestDatabase withSchema(const vx::Schema *schema, const QString &folder)
    {
        TestDatabase out = fresh(schema, folder);
        out.connection->createSchema();
        return out;
    }
};
