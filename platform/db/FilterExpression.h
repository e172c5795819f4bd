#pragma once

#include "platform/VxPlatformExport.h"
#include "platform/db/SchemaTypes.h"

#include <QString>
#include <QVariantList>

#include <functional>
#include <memory>
#include <optional>

namespace vx {

class SqlDialect;

// A condition ready to append to a WHERE clause: SQL text with "?" placeholders and the values
// to bind to them, in order. Nothing the user typed is ever part of the text.
struct SqlCondition {
    QString sql;
    QVariantList params;
};

// A filter text as the windows write it:
//   CAJFEC >= '01/12/2026' and CAJFEC <= '08/12/2026'
//   COMTIP = '1A' or COMTIP = '1B'
//   [COMANU] = 'False' and CLIAPE Like '*PEREZ*'
// with =, <>, <, >, <=, >=, LIKE (wildcards * and %), IS [NOT] NULL, AND, OR, NOT, parentheses,
// bracketed names, quoted values. A quoted value takes the type of the column it is compared
// with: a date in dd/mm/yyyy compares as a date, 'False' as a boolean, '12' as a number.
class VXPLATFORM_EXPORT FilterExpression {
public:
    // A column as the dataset names it, whatever case or spelling the filter used.
    struct Column {
        QString name;
        FieldType type = FieldType::String;
    };
    // The dataset's column for a name in the filter, or nullopt when it has no such column.
    using ColumnResolver = std::function<std::optional<Column>(const QString &name)>;

    // How deep parentheses and NOT may nest, and how many comparisons one filter may hold: far
    // beyond any filter a window writes, well within what the engines parse.
    static constexpr int maxDepth = 32;
    static constexpr int maxComparisons = 200;

    // Parses the text; throws DbError with a Spanish message naming the filter when it is not a
    // valid filter (too deep or too long included).
    static FilterExpression parse(const QString &text);

    FilterExpression(FilterExpression &&) noexcept;
    FilterExpression &operator=(FilterExpression &&) noexcept;
    ~FilterExpression();

    // Compiles to SQL for the given columns and engine; throws DbError for an unknown column or a
    // value that does not fit its column's type.
    SqlCondition toSql(const ColumnResolver &columns, const SqlDialect &dialect) const;

    struct Node;

private:
    FilterExpression(QString text, std::unique_ptr<Node> root);
    QString m_text;
    std::unique_ptr<Node> m_root;
};

}  // namespace vx
