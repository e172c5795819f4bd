#pragma once

#include "platform/VxPlatformExport.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace vx {
class Dataset;
class Field;
} // namespace vx

namespace vx::report {

// A value computed from the fields of the current row: one field, or the product of fields
// (quantity × price). Defined by field names; bound to a dataset when the report is prepared.
class VXPLATFORM_EXPORT Expression {
public:
    Expression() = default; // no fields: the value of a count
    static Expression field(const QString &name);
    static Expression product(const QString &left, const QString &right);

    const QStringList &fieldNames() const { return m_fields; }
    bool isSingleField() const { return m_fields.size() == 1; }

private:
    explicit Expression(QStringList fields);

    QStringList m_fields;
};

// An expression whose fields were found in a dataset; reads the dataset's current row.
class VXPLATFORM_EXPORT BoundExpression {
public:
    BoundExpression() = default;
    // Throws ReportError naming the dataset when a field does not exist in it.
    BoundExpression(const Expression &expression, const Dataset *dataset);

    // A single field's own value (text, date or number); a product as a number.
    QVariant value() const;
    // The value as a number; an empty field counts as 0.
    double number() const;
    // The text shown without a mask: a single field as the field displays itself.
    QString displayText() const;

private:
    std::vector<const Field *> m_fields;
};

} // namespace vx::report
