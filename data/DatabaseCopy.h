#pragma once

#include "platform/db/Connection.h"

#include <functional>

namespace data {

// Copies every table of one shop database into another, row for row with the same row numbers,
// in one transaction on the target, so that a shop moves from its SQLite file to a server (or
// back) without losing a row. The target must hold no rows; its tables are created when it has
// none. Throws vx::DbError (nothing is written then). `progress` hears one line per table.
void copyDatabase(vx::Connection &from, vx::Connection &to, const std::function<void(const QString &)> &progress);

}  // namespace data
