#include "platform/db/SqlConditionBuilder.h"

#include "platform/db/DayRange.h"
#include "platform/db/SqlDialect.h"

namespace vx {

namespace {

bool isOpenEnd(const QVariant &value)
{
    return value.isNull() || (value.typeId() == QMetaType::QString && value.toString().isEmpty());
}

// LIKE's wildcards and the escape character itself, taken literally.
QString escapedForLike(const QString &text)
{
    QString out;
    out.reserve(text.size() + 4);
    for (const QChar c : text) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('!'))
            out += QLatin1Char('!');
        out += c;
    }
    return out;
}

}  // namespace

SqlConditionBuilder &SqlConditionBuilder::compare(const QString &column, const char *op, FieldType type,
                                                  const QVariant &value)
{
    m_parts << QStringLiteral("%1 %2 ?").arg(column, QLatin1String(op));
    m_params << m_dialect.toDatabase(value, type);
    return *this;
}

SqlConditionBuilder &SqlConditionBuilder::equal(const QString &column, FieldType type, const QVariant &value)
{
    return compare(column, "=", type, value);
}

SqlConditionBuilder &SqlConditionBuilder::from(const QString &column, FieldType type, const QVariant &value)
{
    return isOpenEnd(value) ? *this : compare(column, ">=", type, value);
}

SqlConditionBuilder &SqlConditionBuilder::to(const QString &column, FieldType type, const QVariant &value)
{
    return isOpenEnd(value) ? *this : compare(column, "<=", type, value);
}

SqlConditionBuilder &SqlConditionBuilder::contains(const QString &column, const QString &text)
{
    if (text.isEmpty())
        return *this;
    m_parts << QStringLiteral("%1 LIKE ? ESCAPE '!'").arg(m_dialect.upper(column));
    m_params << QStringLiteral("%") + escapedForLike(text.toUpper()) + QStringLiteral("%");
    return *this;
}

SqlConditionBuilder &SqlConditionBuilder::days(const QString &column, const DayRange &range)
{
    compare(column, ">=", FieldType::DateTime, QDateTime(range.first, QTime(0, 0)));
    return compare(column, "<", FieldType::DateTime, QDateTime(range.last.addDays(1), QTime(0, 0)));
}

SqlConditionBuilder &SqlConditionBuilder::nothing()
{
    m_parts << QStringLiteral("1 = 0");
    return *this;
}

SqlConditionBuilder &SqlConditionBuilder::add(const SqlCondition &condition)
{
    if (!condition.sql.isEmpty()) {
        m_parts << QStringLiteral("(%1)").arg(condition.sql);
        m_params << condition.params;
    }
    return *this;
}

SqlCondition SqlConditionBuilder::build() const
{
    return SqlCondition{m_parts.join(QStringLiteral(" AND ")), m_params};
}

SqlCondition bothConditions(const SqlCondition &a, const SqlCondition &b)
{
    if (a.sql.isEmpty())
        return b;
    if (b.sql.isEmpty())
        return a;
    return SqlCondition{QStringLiteral("(%1) AND (%2)").arg(a.sql, b.sql), a.params + b.params};
}

}  // namespace vx
