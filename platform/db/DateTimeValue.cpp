#include "platform/db/DateTimeValue.h"

namespace vx {

QDateTime naiveDateTime(const QDate &date, const QTime &time)
{
    // Plain UTC: no time-zone lookup, which would cost far more than the value itself.
    return QDateTime(date, time, Qt::UTC);
}

QDateTime asNaiveDateTime(const QDateTime &value)
{
    if (value.timeSpec() == Qt::UTC)
        return value;
    // A local value that falls in a daylight-saving gap is "invalid" as a moment, yet its date and
    // wall-clock time are what the shop meant: keep them.
    if (!value.date().isValid() || !value.time().isValid())
        return {};
    return naiveDateTime(value.date(), value.time());
}

namespace {

QDateTime &replayedMoment()
{
    static QDateTime moment;
    return moment;
}

}  // namespace

ReplayedClock::ReplayedClock(const QDateTime &moment) : m_previous(replayedMoment())
{
    replayedMoment() = asNaiveDateTime(moment);
}

ReplayedClock::~ReplayedClock()
{
    replayedMoment() = m_previous;
}

QDateTime naiveNow()
{
    if (replayedMoment().isValid())
        return replayedMoment();
    const QDateTime now = QDateTime::currentDateTime();
    return naiveDateTime(now.date(), QTime(now.time().hour(), now.time().minute(), now.time().second()));
}

QString storedDateTimeText(const QDateTime &value)
{
    return asNaiveDateTime(value).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

namespace {

// The number in text[from, from + length) when every character there is a digit, else -1.
int digitsAt(const QString &text, int from, int length)
{
    int value = 0;
    for (int i = from; i < from + length; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

}  // namespace

QDateTime parseStoredDateTime(const QString &text)
{
    // Stored values are always "yyyy-MM-dd hh:mm:ss" (or the date alone): read the digits where
    // they stand. Rows are read by the hundred thousand, so this path must stay cheap.
    if (text.size() >= 10 && text[4] == u'-' && text[7] == u'-') {
        const QDate date(digitsAt(text, 0, 4), digitsAt(text, 5, 2), digitsAt(text, 8, 2));
        if (date.isValid()) {
            if (text.size() == 10)
                return naiveDateTime(date);
            if (text.size() >= 19 && (text[10] == u' ' || text[10] == u'T') && text[13] == u':' && text[16] == u':') {
                const QTime time(digitsAt(text, 11, 2), digitsAt(text, 14, 2), digitsAt(text, 17, 2));
                if (time.isValid())
                    return naiveDateTime(date, time);
            }
        }
    }
    // Other ISO forms ("2026-12-08T14:05:09.250"): date and time read apart, never through a zone.
    const QString trimmed = text.trimmed();
    const QDate date = QDate::fromString(trimmed.left(10), Qt::ISODate);
    if (!date.isValid())
        return {};
    if (trimmed.size() == 10)
        return naiveDateTime(date);
    const QTime time = QTime::fromString(trimmed.mid(11), Qt::ISODateWithMs);
    return time.isValid() ? naiveDateTime(date, time) : QDateTime();
}

}  // namespace vx
