#pragma once

#include "platform/VxPlatformExport.h"

#include <QString>

namespace vx::ui {

// The sort a click on a grid's column title asks for: the column's field ascending ("ARTDES ASC"),
// or descending ("ARTDES DESC") when the current sort already begins with that field ascending, so
// that repeated clicks on one title alternate. The current sort may be a sort string
// ("ARTDES DESC, ARTCMCT") or index field names ("COMDIA;COMNRO"); its first field is compared as
// a whole name, so a sort on TM1NUM10 does not count as one on TM1NUM1.
VXPLATFORM_EXPORT QString titleSortText(const QString &currentSort, const QString &fieldName);

}  // namespace vx::ui
