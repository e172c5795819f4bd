#pragma once

#include "TestDatabase.h"

#include "data/RowInserter.h"
#include "data/Schema.h"
#include "platform/db/Connection.h"

#include <QTemporaryDir>

#include <memory>

// A fresh shop database with every table and no rows, for one test, on the engine under test.
class ShopDatabase {
public:
    ShopDatabase()
    {
        TestDatabase created = TestDatabase::withSchema(&data::vendrixSchema(), m_dir.path());
        connection = std::move(created.connection);
        connectionString = created.connectionString;
    }
    vx::Connection &db() { return *connection; }
    // Inserts one row by column name.
    void insert(const QString &table, const QStringList &columns, const QVariantList &values)
    {
        data::RowInserter(*connection, table, columns).insert(values);
    }
    int count(const QString &table, const QString &where = {})
    {
        return connection
            ->scalar(QStringLiteral("SELECT COUNT(*) FROM %1%2")
                         .arg(table, where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where))
            .toInt();
    }

    std::unique_ptr<vx::Connection> connection;
    QString connectionString;

private:
    QTemporaryDir m_dir;
};
