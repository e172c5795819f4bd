#pragma once

#include "platform/VxPlatformExport.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

namespace vx::report {

// The text of a value through a display mask, in the shop's notation. Numbers take number
// pictures ("0.00", "#,##0.00"); dates and times take date pictures ("dd/mm/yyyy", "hh:nn");
// text is shown as it is. An empty mask gives the shop's plain notation. A null value is empty.
VXPLATFORM_EXPORT QString formatValue(const QVariant &value, const QString &mask);

// A date and time through a date picture: d dd (day), m mm (month), yy yyyy (year), h hh
// (hour), n nn (minute), s ss (second); m or mm right after an hour means minutes; text in
// quotes is copied as it is; any other character is copied.
VXPLATFORM_EXPORT QString formatDateTime(const QDateTime &value, const QString &picture);

} // namespace vx::report
