#include "platform/report/ValueFormat.h"

#include "platform/core/ShopFormat.h"

namespace vx::report {

namespace {

bool isNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

QString padded(int number, qsizetype width)
{
    return QStringLiteral("%1").arg(number, int(width), 10, QLatin1Char('0'));
}

// The run of one letter starting at `at`, case-insensitively.
qsizetype runLength(const QString &picture, qsizetype at)
{
    const QChar letter = picture[at].toLower();
    qsizetype end = at;
    while (end < picture.size() && picture[end].toLower() == letter)
        ++end;
    return end - at;
}

} // namespace

QString formatDateTime(const QDateTime &value, const QString &picture)
{
    const QDate date = value.date();
    const QTime time = value.time();
    QString out;
    bool afterHour = false;
    for (qsizetype i = 0; i < picture.size();) {
        const QChar c = picture[i];
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const qsizetype close = picture.indexOf(c, i + 1);
            const qsizetype end = close < 0 ? picture.size() : close;
            out += picture.mid(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        const QChar lower = c.toLower();
        const qsizetype run = runLength(picture, i);
        const qsizetype width = qMin<qsizetype>(run, 2);
        if (lower == QLatin1Char('d')) {
            out += padded(date.day(), width == 2 ? 2 : 1);
        } else if (lower == QLatin1Char('m')) {
            out += padded(afterHour ? time.minute() : date.month(), width == 2 ? 2 : 1);
            afterHour = false;
        } else if (lower == QLatin1Char('y')) {
            out += run >= 3 ? padded(date.year(), 4) : padded(date.year() % 100, 2);
        } else if (lower == QLatin1Char('h')) {
            out += padded(time.hour(), width == 2 ? 2 : 1);
            afterHour = true;
        } else if (lower == QLatin1Char('n')) {
            out += padded(time.minute(), width == 2 ? 2 : 1);
            afterHour = false;
        } else if (lower == QLatin1Char('s')) {
            out += padded(time.second(), width == 2 ? 2 : 1);
        } else {
            out += c;
            i += 1;
            continue;
        }
        i += run;
    }
    return out;
}

QString formatValue(const QVariant &value, const QString &mask)
{
    if (value.isNull())
        return {};
    if (isNumber(value))
        return mask.isEmpty() ? shopformat::formatGeneral(value.toDouble())
                              : shopformat::formatFloat(mask, value.toDouble());
    if (value.typeId() == QMetaType::QDateTime || value.typeId() == QMetaType::QDate) {
        const QDateTime when = value.toDateTime();
        return mask.isEmpty() ? shopformat::formatDate(when.date()) : formatDateTime(when, mask);
    }
    return value.toString();
}

} // namespace vx::report
