#include "platform/db/Field.h"

#include "platform/core/ShopFormat.h"
#include "platform/db/Dataset.h"
#include "platform/db/DateTimeValue.h"
#include "platform/db/DbError.h"

#include <cmath>
#include <limits>

namespace vx {

namespace {

bool isMaskCharacter(QChar c)
{
    return QStringLiteral("09#LlAaCc").contains(c);
}

// A mask made only of literal characters hides the value (a password column shows "**********").
bool maskHidesValue(const QString &mask)
{
    const QString body = mask.section(QLatin1Char(';'), 0, 0);
    if (body.isEmpty())
        return false;
    for (const QChar c : body) {
        if (isMaskCharacter(c) || c == QLatin1Char('!') || c == QLatin1Char('>') || c == QLatin1Char('<'))
            return false;
    }
    return true;
}

// A number rounded half to even, kept whole: never cut to 32 bits here, so that a value its column
// cannot hold is refused when the row is posted instead of being stored as another number.
QVariant wholeNumber(double value)
{
    const double rounded = std::nearbyint(value);
    if (rounded >= std::numeric_limits<int>::min() && rounded <= std::numeric_limits<int>::max())
        return int(rounded);
    if (std::fabs(rounded) < 9.2e18)
        return qint64(rounded);
    return rounded;
}

}  // namespace

Field::Field(Dataset *dataset, const ColumnDef &definition, int index)
    : m_dataset(dataset), m_def(definition), m_index(index)
{
}

bool Field::isNumeric() const
{
    switch (m_def.type) {
    case FieldType::AutoInc:
    case FieldType::Integer:
    case FieldType::SmallInt:
    case FieldType::Float: return true;
    default: return false;
    }
}

int Field::displayWidth() const
{
    if (m_def.displayWidth > 0)
        return m_def.displayWidth;
    switch (m_def.type) {
    case FieldType::String: return m_def.size;
    case FieldType::DateTime: return 10;
    case FieldType::Boolean: return 5;
    case FieldType::Memo: return 10;
    default: return 10;
    }
}

QVariant Field::value() const
{
    return m_dataset->recordValue(m_index);
}

bool Field::isNull() const
{
    return value().isNull();
}

QString Field::asString() const
{
    return asString(value());
}

QString Field::asString(const QVariant &v) const
{
    if (v.isNull())
        return {};
    switch (m_def.type) {
    case FieldType::Float: return shopformat::formatGeneral(v.toDouble());
    case FieldType::DateTime: return shopformat::formatDateTime(v.toDateTime());
    case FieldType::Boolean: return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default: return v.toString();
    }
}

double Field::asFloat() const
{
    const QVariant v = value();
    if (v.isNull())
        return 0.0;
    if (m_def.type == FieldType::String || m_def.type == FieldType::Memo) {
        const auto number = shopformat::parseNumber(v.toString());
        if (!number)
            throw DbError(shopformat::notANumberMessage(v.toString()));
        return *number;
    }
    return v.toDouble();
}

int Field::asInteger() const
{
    // Rounds half to even, as the shop's conversions do everywhere.
    return int(std::nearbyint(asFloat()));
}

QDateTime Field::asDateTime() const
{
    const QVariant v = value();
    if (v.isNull())
        return {};
    if (m_def.type == FieldType::String || m_def.type == FieldType::Memo) {
        const auto parsed = shopformat::parseDateTime(v.toString());
        if (!parsed)
            throw DbError(shopformat::notADateMessage(v.toString()));
        return *parsed;
    }
    return asNaiveDateTime(v.toDateTime());
}

bool Field::asBoolean() const
{
    return value().toBool();
}

QVariant Field::converted(const QVariant &v) const
{
    if (v.isNull())
        return QVariant();
    const bool isText = v.typeId() == QMetaType::QString;
    switch (m_def.type) {
    case FieldType::AutoInc:
    case FieldType::Integer:
    case FieldType::SmallInt:
        if (isText) {
            const auto number = shopformat::parseNumber(v.toString());
            if (!number)
                throw DbError(shopformat::notANumberMessage(v.toString()));
            return wholeNumber(*number);
        }
        if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::ULongLong)
            return wholeNumber(double(v.toLongLong()));
        return wholeNumber(v.toDouble());
    case FieldType::Float:
        if (isText) {
            const auto number = shopformat::parseNumber(v.toString());
            if (!number)
                throw DbError(shopformat::notANumberMessage(v.toString()));
            return *number;
        }
        return v.toDouble();
    case FieldType::DateTime:
        if (isText) {
            const auto parsed = shopformat::parseDateTime(v.toString());
            if (!parsed)
                throw DbError(shopformat::notADateMessage(v.toString()));
            return *parsed;
        }
        if (v.typeId() == QMetaType::QDate)
            return naiveDateTime(v.toDate());
        return asNaiveDateTime(v.toDateTime());
    case FieldType::Boolean: return v.toBool();
    case FieldType::String:
    case FieldType::Memo:
        if (v.typeId() == QMetaType::Double)
            return shopformat::formatGeneral(v.toDouble());
        return v.toString();
    }
    return v;
}

void Field::setValue(const QVariant &v)
{
    if (m_def.type == FieldType::AutoInc)
        throw DbError(QStringLiteral("El campo %1 lo numera la base de datos y no se puede modificar.").arg(fieldName()));
    m_dataset->setRecordValue(m_index, converted(v));
}

void Field::setAsString(const QString &text)
{
    if (text.isEmpty() && m_def.type != FieldType::String && m_def.type != FieldType::Memo) {
        clear();
        return;
    }
    setValue(text);
}

QString Field::displayText(const QVariant &v) const
{
    if (v.isNull())
        return {};
    switch (m_def.type) {
    case FieldType::AutoInc:
    case FieldType::Integer:
    case FieldType::SmallInt:
    case FieldType::Float:
        if (!m_def.displayFormat.isEmpty())
            return shopformat::formatFloat(m_def.displayFormat, v.toDouble());
        return asString(v);
    case FieldType::String:
        if (maskHidesValue(m_def.editMask))
            return m_def.editMask.section(QLatin1Char(';'), 0, 0);
        return v.toString();
    case FieldType::Boolean:
        // A format "yes-text;no-text" names the two values ("Si;No").
        if (m_def.displayFormat.contains(QLatin1Char(';')))
            return m_def.displayFormat.section(QLatin1Char(';'), v.toBool() ? 0 : 1, v.toBool() ? 0 : 1);
        return asString(v);
    default: return asString(v);
    }
}

}  // namespace vx
