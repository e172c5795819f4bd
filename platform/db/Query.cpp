#include "platform/db/Query.h"

#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlConditionBuilder.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>

namespace vx {

namespace {

constexpr int pageRows = 256;
constexpr size_t cachedPagesLimit = 64;

FieldType typeOfMeta(QMetaType::Type type)
{
    switch (type) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: return FieldType::Integer;
    case QMetaType::Short:
    case QMetaType::UShort: return FieldType::SmallInt;
    case QMetaType::Double:
    case QMetaType::Float: return FieldType::Float;
    case QMetaType::QDate:
    case QMetaType::QDateTime: return FieldType::DateTime;
    case QMetaType::Bool: return FieldType::Boolean;
    default: return FieldType::Memo;
    }
}

}  // namespace

Query::Query(Connection *connection, QObject *parent) : Dataset(connection, parent) {}

Query::~Query() = default;

void Query::setSql(const QString &sql)
{
    if (active())
        close();
    m_sql = sql;
    m_parts = {};
    m_sumExpressions.clear();
}

void Query::setStatement(const QueryStatement &statement)
{
    if (active())
        close();
    m_parts = statement;
    m_sql = QStringLiteral("SELECT %1 FROM %2").arg(statement.columns.join(QStringLiteral(", ")), statement.from);
    if (!statement.where.isEmpty())
        m_sql += QStringLiteral(" WHERE ") + statement.where;
}

QString Query::countStatement() const
{
    QStringList list{QStringLiteral("COUNT(*)")};
    for (const QString &expression : m_sumExpressions)
        list << QStringLiteral("COALESCE(SUM(%1), 0)").arg(expression);
    return selectOver(list.join(QStringLiteral(", ")), m_parts.from, listedCondition().sql);
}

void Query::setCountedSums(const QStringList &expressions)
{
    if (m_parts.isEmpty())
        throw DbError(QStringLiteral("%1 no puede sumar al contar: su sentencia no está dada en partes.").arg(displayName()));
    m_sumExpressions = expressions;
    m_sums.reset();
}

void Query::readCount()
{
    const SqlCondition where = listedCondition();
    QSqlQuery &query = connection()->executeCached(countStatement(), where.params);
    const bool row = query.next();
    m_count = row ? query.value(0).toInt() : 0;
    QList<double> sums;
    for (int i = 0; i < m_sumExpressions.size(); ++i)
        sums << (row ? query.value(i + 1).toDouble() : 0.0);
    query.finish();
    m_sums = sums;
}

QList<double> Query::countedSums()
{
    if (!active())
        throw DbError(QStringLiteral("%1 no está abierta.").arg(displayName()));
    if (!m_sums)
        readCount();
    return *m_sums;
}

SqlCondition Query::listedCondition() const
{
    if (m_parts.isEmpty())
        return Dataset::listedCondition();
    return bothConditions(SqlCondition{m_parts.where, {}}, currentWhere());
}

bool Query::holds(const SqlCondition &condition)
{
    if (m_parts.isEmpty())
        throw DbError(QStringLiteral("%1 no admite esta búsqueda: su sentencia no está dada en partes.").arg(displayName()));
    const SqlCondition where = bothConditions(listedCondition(), condition);
    const QString sql = selectOver(QStringLiteral("1"), m_parts.from, where.sql);
    return connection()->scalar(QStringLiteral("SELECT CASE WHEN EXISTS (%1) THEN 1 ELSE 0 END").arg(sql), where.params)
               .toInt() == 1;
}

QString Query::composedStatement(const SqlCondition &condition) const
{
    // Each column by name, date-times as the dialect reads them safely.
    const SqlDialect &dialect = connection()->dialect();
    QStringList list;
    for (int i = 0; i < m_parts.columns.size(); ++i) {
        const QString &name = m_parts.columns[i];
        // An expression with its own name ("(SELECT ...) AS CLIAPE") goes as written.
        const bool plain = !name.contains(QLatin1Char(' '));
        const QString expression = plain && i < m_types.size() ? dialect.selectColumn(name, m_types[i]) : name;
        list << (expression == name ? name : expression + QStringLiteral(" AS ") + name);
    }
    const SqlCondition where = bothConditions(SqlCondition{m_parts.where, {}}, condition);
    QString sql = selectOver(list.join(QStringLiteral(", ")), m_parts.from, where.sql);
    // Without statistics SQLite would rather walk the index of the order than search the one of
    // the condition; a unary plus keeps the order's index out of its choice while a condition on
    // other columns narrows the list (on "all rows" the order's index is the cheapest walk, and a
    // range on the order's own column gives its rows in order).
    const bool narrowed = !condition.sql.isEmpty() && dialect.engine() == SqlDialect::Engine::SQLite;
    QStringList terms;
    bool plus = false;
    const auto addTerm = [&](const QString &column, bool descending) {
        if (narrowed && terms.isEmpty())
            plus = !condition.sql.contains(QRegularExpression(QStringLiteral("\\b%1\\b").arg(column)));
        terms << dialect.orderTerm(plus ? QLatin1Char('+') + column : column, descending);
    };
    if (!sortTerms().isEmpty()) {
        for (const SortTerm &term : sortTerms())
            addTerm(term.column, term.descending);
    } else {
        for (const QString &column : m_parts.order)
            addTerm(column, false);
    }
    if (!m_parts.rowKey.isEmpty())
        addTerm(m_parts.rowKey, false);
    if (!terms.isEmpty())
        sql += QStringLiteral(" ORDER BY ") + terms.join(QStringLiteral(", "));
    return sql;
}

QString Query::displayName() const
{
    const QString shown = m_sql.simplified();
    return QStringLiteral("La consulta \"%1\"").arg(shown.size() > 60 ? shown.left(57) + QStringLiteral("...") : shown);
}

QString Query::trimmedSql() const
{
    QString sql = m_sql.trimmed();
    while (sql.endsWith(QLatin1Char(';')))
        sql.chop(1);
    return sql;
}

QList<ColumnDef> Query::describeColumns()
{
    if (trimmedSql().isEmpty())
        throw DbError(QStringLiteral("La consulta no tiene texto SQL."));
    QSqlQuery probe = connection()->execute(
        m_parts.isEmpty() ? QStringLiteral("SELECT * FROM (%1) vxq WHERE 1 = 0").arg(trimmedSql())
                          : QStringLiteral("SELECT %1 FROM %2 WHERE 1 = 0")
                                .arg(m_parts.columns.join(QStringLiteral(", ")), m_parts.from));
    const QSqlRecord record = probe.record();
    QList<ColumnDef> columns;
    m_types.clear();
    m_resultNames.clear();
    const Schema *schema = connection()->schema();
    for (int i = 0; i < record.count(); ++i) {
        const QString name = record.fieldName(i);
        m_resultNames << name;
        ColumnDef column;
        // Columns of the shop's tables keep their definition (type, label, format); an engine that
        // folds names to lower case still gives the names as the schema writes them.
        if (const ColumnDef *known = schema ? schema->anyColumn(name) : nullptr) {
            column = *known;
            column.hidden = false;
        } else {
            column.name = name;
            column.type = typeOfMeta(QMetaType::Type(record.field(i).metaType().id()));
        }
        columns << column;
        m_types << column.type;
    }
    return columns;
}

QString Query::selectList() const
{
    // Every column by the name the engine gave it, date-times as the dialect reads them safely.
    // Names that repeat (a join of two tables with an "Id") cannot be named one by one.
    const SqlDialect &dialect = connection()->dialect();
    bool converted = false;
    QStringList list;
    for (int i = 0; i < m_resultNames.size(); ++i) {
        QString quoted = m_resultNames[i];
        quoted = QLatin1Char('"') + quoted.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
        const QString expression = dialect.selectColumn(quoted, m_types[i]);
        if (m_resultNames.count(m_resultNames[i]) > 1)
            return {};
        converted = converted || expression != quoted;
        list << (expression == quoted ? quoted : expression + QStringLiteral(" AS ") + quoted);
    }
    return converted ? list.join(QStringLiteral(", ")) : QString();
}

void Query::openRows()
{
    const SqlCondition condition = whereCondition();
    const QString order = orderByTerms();
    const QString columns = m_parts.isEmpty() ? selectList() : QString();
    if (!m_parts.isEmpty()) {
        m_statement = composedStatement(condition);
    } else if (condition.sql.isEmpty() && order.isEmpty() && columns.isEmpty()) {
        m_statement = trimmedSql();
    } else {
        m_statement = QStringLiteral("SELECT %1 FROM (%2) vxq")
                          .arg(columns.isEmpty() ? QStringLiteral("*") : columns, trimmedSql());
        if (!condition.sql.isEmpty())
            m_statement += QStringLiteral(" WHERE ") + condition.sql;
        if (!order.isEmpty())
            m_statement += QStringLiteral(" ORDER BY ") + order;
    }
    m_params = condition.params;
    m_pages.clear();
    m_count = -1;
    m_sums.reset();
    startStream(0);
}

void Query::closeRows()
{
    m_stream.reset();
    m_pages.clear();
    m_count = -1;
    m_sums.reset();
}

void Query::startStream(int fromRow)
{
    m_stream.reset();
    m_stream = connection()->openStream(m_statement, m_params, fromRow);
    m_streamRow = fromRow;
}

void Query::readPage(int page)
{
    const int first = page * pageRows;
    if (!m_stream || m_streamRow > first || first - m_streamRow > 4 * pageRows)
        startStream(first);
    if (m_pages.size() > cachedPagesLimit)
        m_pages.clear();
    const SqlDialect &dialect = connection()->dialect();
    const int columns = int(m_types.size());
    // Read on until the wanted page is complete, keeping the pages passed on the way.
    QVariantList values;
    while (m_stream && m_streamRow < first + pageRows) {
        if (!m_stream->next(values)) {
            m_count = m_streamRow;
            m_stream.reset();
            break;
        }
        for (int c = 0; c < columns; ++c)
            values[c] = dialect.fromDatabase(values[c], m_types[c]);
        m_pages[m_streamRow / pageRows].push_back(std::move(values));
        ++m_streamRow;
    }
}

int Query::rowCount()
{
    if (m_count < 0) {
        if (m_pages.empty() && m_stream)
            readPage(0);
        if (m_count < 0 && !m_parts.isEmpty()) {
            readCount();
        } else if (m_count < 0) {
            m_count = connection()
                          ->scalar(QStringLiteral("SELECT COUNT(*) FROM (%1) vxc").arg(m_statement), m_params)
                          .toInt();
        }
    }
    return m_count;
}

bool Query::fetchRow(int position, QVariantList &values, bool)
{
    const int page = position / pageRows;
    auto it = m_pages.find(page);
    if (it == m_pages.end() || int(it->second.size()) <= position % pageRows) {
        m_pages.erase(page);
        readPage(page);
        it = m_pages.find(page);
    }
    if (it == m_pages.end() || int(it->second.size()) <= position % pageRows) {
        m_count = std::min(rowCount(), position);
        return false;
    }
    values = it->second[size_t(position % pageRows)];
    return true;
}

int Query::positionOf(qint64 bookmark) const
{
    return bookmark >= 0 && bookmark < const_cast<Query *>(this)->rowCount() ? int(bookmark) : -1;
}

bool Query::rowMatches(const QVariantList &row, const QList<int> &indexes, const QVariantList &values,
                       LocateOptions options) const
{
    const bool caseInsensitive = options.testFlag(LocateOption::CaseInsensitive);
    for (int i = 0; i < indexes.size(); ++i) {
        const QVariant &have = row[indexes[i]];
        const QVariant &want = values[i];
        if (want.isNull() || have.isNull()) {
            if (want.isNull() != have.isNull())
                return false;
            continue;
        }
        const FieldType type = m_types[indexes[i]];
        if (type == FieldType::String || type == FieldType::Memo) {
            const Qt::CaseSensitivity cs = caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
            const bool ok = options.testFlag(LocateOption::PartialKey)
                                ? have.toString().startsWith(want.toString(), cs)
                                : have.toString().compare(want.toString(), cs) == 0;
            if (!ok)
                return false;
        } else if (type == FieldType::DateTime) {
            if (have.toDateTime() != want.toDateTime())
                return false;
        } else if (type == FieldType::Boolean) {
            if (have.toBool() != want.toBool())
                return false;
        } else if (have.toDouble() != want.toDouble()) {
            return false;
        }
    }
    return true;
}

int Query::locateRow(const QStringList &fields, const QVariantList &values, LocateOptions options)
{
    QList<int> indexes;
    for (const QString &name : fields)
        indexes << fieldByName(name)->index();
    QVariantList row;
    for (int position = 0; position < rowCount(); ++position) {
        if (!fetchRow(position, row, true))
            break;
        if (rowMatches(row, indexes, values, options))
            return position;
    }
    return -1;
}

}  // namespace vx
