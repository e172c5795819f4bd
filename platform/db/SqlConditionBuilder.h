#pragma once

#include "platform/VxPlatformExport.h"
#include "platform/db/FilterExpression.h"
#include "platform/db/SchemaTypes.h"

#include <QDate>
#include <QStringList>
#include <QVariant>

namespace vx {

class SqlDialect;
struct DayRange;

// Builds a WHERE condition from values the operator chose: each comparison is a column written by
// the program and a bound value, so a quote, "%", "*" or "_" in a typed code is only a character.
// Parts are joined with AND; a part whose value is empty is no bound at all.
class VXPLATFORM_EXPORT SqlConditionBuilder {
public:
    explicit SqlConditionBuilder(const SqlDialect &dialect) : m_dialect(dialect) {}

    SqlConditionBuilder &equal(const QString &column, FieldType type, const QVariant &value);
    // column >= value, left out when the value is null or empty text (an open end).
    SqlConditionBuilder &from(const QString &column, FieldType type, const QVariant &value);
    // column <= value, left out when the value is null or empty text.
    SqlConditionBuilder &to(const QString &column, FieldType type, const QVariant &value);
    // The text anywhere in the column, case aside; empty text is no condition.
    SqlConditionBuilder &contains(const QString &column, const QString &text);
    // column >= the first day at 00:00 and column < the day after the last, so the last day counts
    // whole whatever time a stored date-time has.
    SqlConditionBuilder &days(const QString &column, const DayRange &range);
    // A condition that holds for no row (a choice that names nothing).
    SqlConditionBuilder &nothing();
    // Another condition, already bound.
    SqlConditionBuilder &add(const SqlCondition &condition);

    bool isEmpty() const { return m_parts.isEmpty(); }
    SqlCondition build() const;

private:
    SqlConditionBuilder &compare(const QString &column, const char *op, FieldType type, const QVariant &value);

    const SqlDialect &m_dialect;
    QStringList m_parts;
    QVariantList m_params;
};

// Two conditions joined with AND (either may be empty).
VXPLATFORM_EXPORT SqlCondition bothConditions(const SqlCondition &a, const SqlCondition &b);

}  // namespace vx
