#pragma once

#include "platform/db/SchemaTypes.h"

// Columns for the small schemas the tests define.
namespace testschema {

// Name, type, size of a text, display format.
inline vx::ColumnDef column(const char *name, vx::FieldType type, int size = 0, const char *format = "")
{
    vx::ColumnDef c;
    c.name = QString::fromLatin1(name);
    c.type = type;
    c.size = size;
    c.displayFormat = QString::fromLatin1(format);
    return c;
}

}  // namespace testschema
