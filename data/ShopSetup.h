#pragma once

#include "platform/db/Connection.h"

#include <QString>

namespace data {

struct ShopSetupOptions {
    QString adminPassword;  // the administrator's password (level 9)
    bool demo = false;      // also fill a sample clothing shop
};

// Creates the shop's database and its data-link file under the root folder: the schema, the
// administrator and the walk-in customer, and with `demo` a sample shop. Never overwrites an
// existing database: throws vx::DbError saying so. When anything fails, nothing is left behind.
// Returns the path of the database file created.
QString createShop(const ShopSetupOptions &options);

// The rows every shop starts with: the administrator (code 1, level 9) and customer 1
// "CONSUMIDOR FINAL", which sales with an unknown customer name are recorded against.
void writeStartingRows(vx::Connection &connection, const QString &adminPassword);

// Refuses a password the login could not tell apart or the column cannot hold.
void checkPassword(const QString &password);

}  // namespace data
