#pragma once

#include "data/RowInserter.h"
#include "data/Schema.h"
#include "platform/db/Connection.h"

#include <QTemporaryDir>

#include <memory>

// A fresh shop database file with every table and no rows, for one test.
class ShopDatabase {
public:
    ShopDatabase()
    {
        connection = vx::Connection::openSqlite(m_dir.filePath(QStringLiteral("shop.db")), &data::vendrixSchema(), true);
        connection->createSchema();
    }
    QString path() const { return m_dir.filePath(QStringLiteral("shop.db")); }
    vx::Connection &db() { return *connection; }
    // Inserts one row by column name.
    void insert(const QString &table, const QStringList &columns, const QVariantList &values)
    {
        data::RowInserter(*connection, table, columns).insert(values);
    }

    std::unique_ptr<vx::Connection> connection;

private:
    QTemporaryDir m_dir;
};
