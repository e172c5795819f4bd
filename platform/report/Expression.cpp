#include "platform/report/Expression.h"

#include "platform/core/ShopFormat.h"
#include "platform/db/Dataset.h"
#include "platform/db/Field.h"
#include "platform/report/ReportError.h"

#include <utility>

namespace vx::report {

Expression::Expression(QStringList fields) : m_fields(std::move(fields)) {}

Expression Expression::field(const QString &name)
{
    return Expression({name});
}

Expression Expression::product(const QString &left, const QString &right)
{
    return Expression({left, right});
}

BoundExpression::BoundExpression(const Expression &expression, const Dataset *dataset)
{
    for (const QString &name : expression.fieldNames()) {
        const Field *field = dataset ? dataset->findField(name) : nullptr;
        if (!field) {
            const QString owner = dataset ? dataset->displayName() : QStringLiteral("El informe");
            throw ReportError(QStringLiteral("%1 no tiene el campo %2 que el informe muestra.").arg(owner, name));
        }
        m_fields.push_back(field);
    }
}

QVariant BoundExpression::value() const
{
    if (m_fields.size() == 1)
        return m_fields.front()->value();
    return number();
}

double BoundExpression::number() const
{
    if (m_fields.empty())
        return 0;
    double out = 1;
    for (const Field *field : m_fields)
        out *= field->isNull() ? 0.0 : field->asFloat();
    return out;
}

QString BoundExpression::displayText() const
{
    if (m_fields.size() == 1)
        return m_fields.front()->displayText();
    return shopformat::formatGeneral(number());
}

} // namespace vx::report
