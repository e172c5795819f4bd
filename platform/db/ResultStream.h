#pragma once

#include "platform/VxPlatformExport.h"

#include <QVariantList>

namespace vx {

// The rows of a select statement, read forward while other statements run on the same
// connection. Each engine keeps the statement open in its own way.
class VXPLATFORM_EXPORT ResultStream {
public:
    virtual ~ResultStream() = default;
    // The next row's values, in column order; false at the end.
    virtual bool next(QVariantList &values) = 0;
};

}  // namespace vx
