#pragma once

#include "platform/db/SchemaTypes.h"

namespace data {

// Every table of the shop database, its columns in stored order with their presentation, and the
// indexes behind the sort orders, searches and filters the windows use. The DDL of each engine,
// the field objects and the size checks all come from this one definition.
const vx::Schema &vendrixSchema();

// The version of the tables this program works with, recorded in every shop it creates. It grows
// when a table, column or index changes, with a step in data/ShopSetup that brings an older shop to
// it. Version 2 adds the indexes of the sales queries by customer, by operator and by description;
// version 3 those of a supplier's receipts and payments.
inline constexpr int schemaVersion = 3;

}  // namespace data
