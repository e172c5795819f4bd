#pragma once

#include "platform/db/Connection.h"

#include <functional>

namespace data {

using CopyProgress = std::function<void(const QString &)>;

// Copies every table of one shop database into another, row for row with the same row numbers,
// so that a shop moves from its SQLite file to a server (or back) without losing a row. The source
// is read inside one read-only snapshot, so a sale recorded meanwhile arrives whole or not at all;
// the target is written in one transaction. Autonumbers go on from the source's counters, so a
// deleted row's number is not handed out again. The target must hold no rows; its tables are
// created when it has none. Throws vx::DbError ending in "No se copió nada." (nothing is written
// then). `progress` hears one line per table.
void copyDatabase(vx::Connection &from, vx::Connection &to, const CopyProgress &progress);

// The same between data-link files. With `newConnectionString`, the target is a new database:
// `toLink` must not exist and is written, naming it, once the copy succeeded. Without it, `toLink`
// names the target. An SQLite target file that does not exist is created, and removed again
// when the copy fails. Returns the target's description.
QString copyShop(const QString &fromLink, const QString &toLink, const QString &newConnectionString,
                 const CopyProgress &progress);

}  // namespace data
