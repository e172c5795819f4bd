#pragma once

#include "platform/db/Connection.h"

#include <QString>

#include <functional>

namespace data {

struct ShopSetupOptions {
    ShopSetupOptions(QString password, bool demoShop = false, QString connection = {})
        : adminPassword(std::move(password)), demo(demoShop), connectionString(std::move(connection))
    {
    }

    QString adminPassword;  // the administrator's password (level 9)
    bool demo = false;      // also fill a sample clothing shop
    // Where the shop goes: a data-link connection string ("Provider=PostgreSQL;Data Source=...").
    // Empty: an SQLite file "Vendrix.db" beside the data-link file.
    QString connectionString;
    // With `demo`: records the shop's past (weeks of sales, receipts, cash) through the program's
    // own recordings, once the sample shop's rows are committed. A failure is reported as any
    // other; a new SQLite file is removed, a server database keeps what was committed.
    std::function<void(vx::Connection &)> demoHistory;
};

// Creates the shop's database and its data-link file under the root folder: the schema, the
// administrator and the walk-in customer, and with `demo` a sample shop. When a data-link file
// already exists, the database it names is created. Never overwrites an existing database (a file,
// or a server database that already holds the tables): throws vx::DbError saying so. When anything
// fails, nothing is left behind. Returns the database created (a file path or a server name).
QString createShop(const ShopSetupOptions &options);

// Brings the shop the data-link file names to the tables of this program's version, in one
// transaction, and records that version. Refuses a database that is not a shop and a shop of a
// newer version. Returns what was done, for the operator.
QString upgradeShop(const QString &dataLinkPath);
// The same on an open connection (a restored copy, before anyone uses it).
QString upgradeShop(vx::Connection &connection);

// The rows every shop starts with: the administrator (code 1, level 9) and customer 1
// "CONSUMIDOR FINAL", which sales with an unknown customer name are recorded against.
void writeStartingRows(vx::Connection &connection, const QString &adminPassword);

// Refuses a password the login could not tell apart or the column cannot hold.
void checkPassword(const QString &password);

}  // namespace data
