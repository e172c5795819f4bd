#include "platform/db/DayRange.h"

#include "platform/core/ShopFormat.h"

namespace vx {

namespace {

QDate dayOf(const QString &text, const QDate &whenEmpty)
{
    if (text.trimmed().isEmpty())
        return whenEmpty;
    const std::optional<QDate> date = shopformat::parseDate(text.trimmed());
    if (!date)
        throw DayRangeError(shopformat::notADateMessage(text));
    return *date;
}

}  // namespace

DayRange DayRange::fromTexts(const QString &firstText, const QString &lastText, const QDate &firstDefault,
                             const QDate &lastDefault)
{
    return DayRange{dayOf(firstText, firstDefault), dayOf(lastText, lastDefault)};
}

QString DayRange::firstText() const
{
    return shopformat::formatDate(first);
}

QString DayRange::lastText() const
{
    return shopformat::formatDate(last);
}

QString normalisedDateText(const QString &text, const QDate &whenEmpty)
{
    return shopformat::formatDate(dayOf(text, whenEmpty));
}

}  // namespace vx
