#include "platform/db/SchemaTypes.h"

#include "platform/db/DbError.h"

#include <cmath>
#include <limits>

namespace vx {

QString TableDef::rowKey() const
{
    for (const ColumnDef &column : columns) {
        if (column.type == FieldType::AutoInc)
            return column.name;
    }
    return Schema::hiddenKeyName();
}

const ColumnDef *TableDef::column(const QString &columnName) const
{
    for (const ColumnDef &c : columns) {
        if (c.name.compare(columnName, Qt::CaseInsensitive) == 0)
            return &c;
    }
    return nullptr;
}

namespace {

QString shownName(const ColumnDef &column)
{
    return column.displayLabel.isEmpty() ? column.name : column.displayLabel;
}

void checkIntegerFits(const ColumnDef &column, const QVariant &value)
{
    const bool small = column.type == FieldType::SmallInt;
    const double lowest = small ? std::numeric_limits<qint16>::min() : std::numeric_limits<qint32>::min();
    const double highest = small ? std::numeric_limits<qint16>::max() : std::numeric_limits<qint32>::max();
    const double number = value.toDouble();
    if (number >= lowest && number <= highest)
        return;
    const QString shown = std::fabs(number) < 9.2e18 ? QString::number(qint64(number)) : QString::number(number, 'g', 17);
    const QString name = shownName(column);
    throw DbError(QStringLiteral("El valor %1 no cabe en %2%3")
                      .arg(shown, name, name.endsWith(QLatin1Char('.')) ? QString() : QStringLiteral(".")));
}

}  // namespace

void checkValueFits(const ColumnDef &column, const QVariant &value, const QString &owner)
{
    if (value.isNull())
        return;
    if (column.type == FieldType::Integer || column.type == FieldType::SmallInt) {
        checkIntegerFits(column, value);
        return;
    }
    if (column.type != FieldType::String || column.size <= 0)
        return;
    const qsizetype length = value.toString().size();
    if (length <= column.size)
        return;
    const QString name = column.displayLabel.isEmpty() || column.displayLabel == column.name
                             ? column.name
                             : QStringLiteral("%1 (%2)").arg(column.name, column.displayLabel);
    throw DbError(QStringLiteral("El valor del campo %1 de %2 tiene %3 caracteres y admite como máximo %4.")
                      .arg(name, owner)
                      .arg(length)
                      .arg(column.size));
}

Schema::Schema(QList<TableDef> tables, QString application, int version)
    : m_tables(std::move(tables)), m_application(std::move(application)), m_version(version)
{
    // A table without an autonumber gets a hidden key, so every row can be found again.
    for (TableDef &table : m_tables) {
        if (table.rowKey() == hiddenKeyName() && !table.column(hiddenKeyName())) {
            ColumnDef key;
            key.name = hiddenKeyName();
            key.type = FieldType::AutoInc;
            key.hidden = true;
            table.columns.append(key);
        }
    }
}

const TableDef *Schema::table(const QString &name) const
{
    for (const TableDef &t : m_tables) {
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    }
    return nullptr;
}

const ColumnDef *Schema::anyColumn(const QString &columnName) const
{
    for (const TableDef &t : m_tables) {
        if (const ColumnDef *c = t.column(columnName))
            return c;
    }
    return nullptr;
}

}  // namespace vx
