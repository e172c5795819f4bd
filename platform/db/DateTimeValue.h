#pragma once

#include "platform/VxPlatformExport.h"

#include <QDateTime>
#include <QString>

// Stored date-times are "naive": a calendar date and a wall-clock time, with no time zone. They
// are carried as QDateTime in UTC so that no daylight-saving gap or shift ever changes them.
namespace vx {

VXPLATFORM_EXPORT QDateTime asNaiveDateTime(const QDateTime &value);
VXPLATFORM_EXPORT QDateTime naiveDateTime(const QDate &date, const QTime &time = QTime(0, 0));
// The workstation's current date and time, as a naive value (or the replayed moment, below).
VXPLATFORM_EXPORT QDateTime naiveNow();

// While it lives, naiveNow() answers the given moment: the demo shop replays its past days through
// the same recordings the counter uses, and each row then carries the day it belongs to.
class VXPLATFORM_EXPORT ReplayedClock {
public:
    explicit ReplayedClock(const QDateTime &moment);
    ~ReplayedClock();
    ReplayedClock(const ReplayedClock &) = delete;
    ReplayedClock &operator=(const ReplayedClock &) = delete;

private:
    QDateTime m_previous;
};
// "2026-12-08 14:05:09": sorts and compares as text in the order of time.
VXPLATFORM_EXPORT QString storedDateTimeText(const QDateTime &value);
VXPLATFORM_EXPORT QDateTime parseStoredDateTime(const QString &text);

}  // namespace vx
