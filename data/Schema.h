#pragma once

#include "platform/db/SchemaTypes.h"

namespace data {

// Every table of the shop database, its columns in stored order with their presentation, and the
// indexes behind the sort orders, searches and filters the windows use. The DDL of each engine,
// the field objects and the size checks all come from this one definition.
const vx::Schema &vendrixSchema();

}  // namespace data
