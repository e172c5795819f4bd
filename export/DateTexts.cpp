#include "export/DateTexts.h"

#include "export/VariantConversion.h"

#include <QDateTime>

QString DateTexts::text(const QVariant &value)
{
    // Only naive values, which the data layer keeps in UTC: the same instant in another time
    // zone shows another day or hour.
    if (value.typeId() != QMetaType::QDateTime)
        return VariantConversion::toText(value);
    const QDateTime moment = value.toDateTime();
    if (!moment.isValid() || moment.timeSpec() != Qt::UTC)
        return VariantConversion::toText(value);
    const qint64 key = moment.toMSecsSinceEpoch();
    const auto found = m_dates.constFind(key);
    if (found != m_dates.constEnd())
        return *found;
    // A sheet of ever new moments would only fill memory: start again.
    if (m_dates.size() >= mostRemembered)
        m_dates.clear();
    QString converted = VariantConversion::toText(value);
    m_dates.insert(key, converted);
    return converted;
}
