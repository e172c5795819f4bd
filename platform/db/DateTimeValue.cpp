#include "platform/db/DateTimeValue.h"

#include <QTimeZone>

namespace vx {

QDateTime naiveDateTime(const QDate &date, const QTime &time)
{
    return QDateTime(date, time, QTimeZone::utc());
}

QDateTime asNaiveDateTime(const QDateTime &value)
{
    if (!value.isValid())
        return value;
    if (value.timeSpec() == Qt::UTC)
        return value;
    return naiveDateTime(value.date(), value.time());
}

QDateTime naiveNow()
{
    const QDateTime now = QDateTime::currentDateTime();
    return naiveDateTime(now.date(), QTime(now.time().hour(), now.time().minute(), now.time().second()));
}

QString storedDateTimeText(const QDateTime &value)
{
    return asNaiveDateTime(value).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

QDateTime parseStoredDateTime(const QString &text)
{
    QDateTime parsed = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    if (!parsed.isValid())
        parsed = QDateTime::fromString(text, Qt::ISODate);
    if (!parsed.isValid()) {
        const QDate date = QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
        if (date.isValid())
            return naiveDateTime(date);
        return {};
    }
    return naiveDateTime(parsed.date(), parsed.time());
}

}  // namespace vx
