#include "export/VariantConversion.h"

#include "export/ExportError.h"
#include "platform/core/ShopFormat.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <cmath>
#include <limits>
#include <optional>

namespace {

const QDate serialEpoch(1899, 12, 30);

[[noreturn]] void refuse(const QVariant &value, const char *kind)
{
    throw ValueConversionError(
        QStringLiteral("No se puede convertir el valor «%1» (%2) a %3.")
            .arg(value.toString(), QString::fromLatin1(value.typeName()), QString::fromUtf8(kind)));
}

bool isIntegral(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Long:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Char:
        return true;
    default:
        return false;
    }
}

bool isUnsignedWide(const QVariant &value)
{
    return value.typeId() == QMetaType::ULongLong || value.typeId() == QMetaType::ULong;
}

bool isFloating(const QVariant &value)
{
    return value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float;
}

double serialOf(const QDateTime &moment)
{
    const double days = static_cast<double>(serialEpoch.daysTo(moment.date()));
    return days + moment.time().msecsSinceStartOfDay() / 86400000.0;
}

bool tryDouble(const QVariant &value, double *result)
{
    if (isFloating(value) || isIntegral(value) || isUnsignedWide(value)) {
        *result = value.toDouble();
        return true;
    }
    switch (value.typeId()) {
    case QMetaType::Bool:
        *result = value.toBool() ? 1.0 : 0.0;
        return true;
    case QMetaType::QDate:
        *result = static_cast<double>(serialEpoch.daysTo(value.toDate()));
        return value.toDate().isValid();
    case QMetaType::QDateTime:
        *result = serialOf(value.toDateTime());
        return value.toDateTime().isValid();
    case QMetaType::QTime:
        *result = value.toTime().msecsSinceStartOfDay() / 86400000.0;
        return value.toTime().isValid();
    case QMetaType::QString: {
        const std::optional<double> number = vx::shopformat::parseNumber(value.toString());
        *result = number.value_or(0.0);
        return number.has_value();
    }
    default:
        return false;
    }
}

} // namespace

qint64 VariantConversion::toInteger(const QVariant &value)
{
    if (isIntegral(value))
        return value.toLongLong();
    if (isUnsignedWide(value)) {
        const qulonglong wide = value.toULongLong();
        if (wide > static_cast<qulonglong>(std::numeric_limits<qint64>::max()))
            refuse(value, "entero");
        return static_cast<qint64>(wide);
    }
    double number = 0;
    if (!tryDouble(value, &number))
        refuse(value, "entero");
    // Default rounding mode: to nearest, ties to even.
    const double rounded = std::nearbyint(number);
    constexpr double limit = 9223372036854775808.0; // 2^63
    if (!std::isfinite(rounded) || rounded >= limit || rounded < -limit)
        refuse(value, "entero");
    return static_cast<qint64>(rounded);
}

double VariantConversion::toDouble(const QVariant &value)
{
    double number = 0;
    if (!tryDouble(value, &number))
        refuse(value, "número");
    return number;
}

bool VariantConversion::toBoolean(const QVariant &value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
    }
    const bool temporal = value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime ||
                          value.typeId() == QMetaType::QTime;
    double number = 0;
    if (temporal || !tryDouble(value, &number))
        refuse(value, "lógico");
    return number != 0.0;
}

QString VariantConversion::toText(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Double:
    case QMetaType::Float:
        return vx::shopformat::formatGeneral(value.toDouble());
    case QMetaType::QDate:
        return vx::shopformat::formatDate(value.toDate());
    case QMetaType::QTime:
        return vx::shopformat::formatTime(value.toTime());
    case QMetaType::QDateTime:
        return vx::shopformat::formatDateTime(value.toDateTime());
    default:
        break;
    }
    if (isIntegral(value) || isUnsignedWide(value) || value.canConvert<QString>())
        return value.toString();
    refuse(value, "texto");
}
