#include "platform/db/Table.h"

#include "platform/db/Connection.h"
#include "platform/db/DbError.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>

namespace vx {

namespace {

// Rows read at once: few after a jump (a locate reads one row), more while walking on.
constexpr int firstPageSize = 16;
constexpr int largestPageSize = 512;
constexpr size_t cachedRowsLimit = 8192;

// Escapes LIKE's own wildcards so that the text matches itself.
QString likeLiteral(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        out += c;
    }
    return out;
}

}  // namespace

Table::Table(Connection *connection, const QString &tableName, QObject *parent)
    : Dataset(connection, parent), m_tableName(tableName)
{
}

void Table::setTableName(const QString &name)
{
    if (active())
        throw DbError(QStringLiteral("No se puede cambiar la tabla de un cursor abierto (%1).").arg(m_tableName));
    m_tableName = name;
}

QList<ColumnDef> Table::describeColumns()
{
    const Schema *schema = connection()->schema();
    const TableDef *def = schema ? schema->table(m_tableName) : nullptr;
    if (!def)
        throw DbError(QStringLiteral("La tabla %1 no existe en la base de datos.").arg(m_tableName));
    m_def = *def;
    m_tableName = def->name;
    m_keyColumn = def->rowKey();
    m_selected.clear();
    QList<ColumnDef> fields;
    for (const ColumnDef &column : def->columns) {
        if (column.hidden)
            continue;
        fields << column;
        m_selected.push_back(column);
    }
    m_keyIndex = -1;
    for (size_t i = 0; i < m_selected.size(); ++i) {
        if (m_selected[i].name == m_keyColumn)
            m_keyIndex = int(i);
    }
    if (m_keyIndex < 0) {
        m_selected.push_back(*def->column(m_keyColumn));
        m_keyIndex = int(m_selected.size()) - 1;
    }
    return fields;
}

QString Table::selectList() const
{
    QStringList names;
    for (const ColumnDef &c : m_selected)
        names << c.name;
    return names.join(QStringLiteral(", "));
}

QString Table::whereClause(const SqlCondition &condition) const
{
    return condition.sql.isEmpty() ? QString() : QStringLiteral(" WHERE ") + condition.sql;
}

void Table::openRows()
{
    const SqlCondition condition = whereCondition();
    QString order = orderByTerms();
    order += (order.isEmpty() ? QString() : QStringLiteral(", ")) + m_keyColumn;
    const QString sql = QStringLiteral("SELECT %1 FROM %2%3 ORDER BY %4")
                            .arg(m_keyColumn, m_tableName, whereClause(condition), order);
    m_keys.clear();
    m_rows.clear();
    m_rowsVersion = connection()->dataVersion();
    QSqlQuery query = connection()->execute(sql, condition.params);
    while (query.next())
        m_keys.push_back(query.value(0).toLongLong());
    m_lastFetched = -1;
}

void Table::closeRows()
{
    m_keys.clear();
    m_keys.shrink_to_fit();
    m_rows.clear();
}

int Table::positionOf(qint64 bookmark) const
{
    const auto it = std::find(m_keys.begin(), m_keys.end(), bookmark);
    return it == m_keys.end() ? -1 : int(it - m_keys.begin());
}

void Table::loadPage(int position)
{
    const int count = int(m_keys.size());
    // Walking on from the last page read doubles the page; a jump starts small again.
    const bool forwardWalk = m_lastFetched >= 0 && position > m_lastFetched && position - m_lastFetched <= largestPageSize;
    const bool backwardWalk = m_lastFetched >= 0 && position < m_lastFetched && m_lastFetched - position <= largestPageSize;
    m_pageSize = (forwardWalk || backwardWalk) ? std::min(m_pageSize * 2, largestPageSize) : firstPageSize;
    int from = position;
    int to = std::min(count - 1, position + m_pageSize - 1);
    if (backwardWalk) {
        from = std::max(0, position - m_pageSize + 1);
        to = position;
    }
    if (m_rows.size() > cachedRowsLimit)
        m_rows.clear();

    QVariantList params;
    QStringList marks;
    for (int i = from; i <= to; ++i) {
        if (m_rows.count(m_keys[size_t(i)]))
            continue;
        params << m_keys[size_t(i)];
        marks << QStringLiteral("?");
    }
    m_lastFetched = position;
    if (params.isEmpty())
        return;
    const QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE %3 IN (%4)")
                            .arg(selectList(), m_tableName, m_keyColumn, marks.join(QLatin1Char(',')));
    QSqlQuery query = connection()->execute(sql, params);
    const SqlDialect &dialect = connection()->dialect();
    const int columns = int(m_selected.size());
    while (query.next()) {
        QVariantList values;
        values.reserve(columns);
        for (int c = 0; c < columns; ++c)
            values << dialect.fromDatabase(query.value(c), m_selected[size_t(c)].type);
        const qint64 key = values[m_keyIndex].toLongLong();
        m_rows.emplace(key, std::move(values));
    }
}

bool Table::fetchRow(int position, QVariantList &values)
{
    if (m_rowsVersion != connection()->dataVersion()) {
        m_rows.clear();
        m_rowsVersion = connection()->dataVersion();
    }
    const qint64 key = m_keys[size_t(position)];
    auto it = m_rows.find(key);
    if (it == m_rows.end()) {
        loadPage(position);
        it = m_rows.find(key);
    }
    if (it == m_rows.end()) {
        dropKey(position);
        return false;
    }
    values = it->second.mid(0, fieldCount());
    return true;
}

void Table::dropKey(int position)
{
    m_keys.erase(m_keys.begin() + position);
}

int Table::locateRow(const QStringList &fields, const QVariantList &values, LocateOptions options)
{
    SqlCondition condition = whereCondition();
    QStringList parts;
    if (!condition.sql.isEmpty())
        parts << condition.sql;
    const SqlDialect &dialect = connection()->dialect();
    const bool caseInsensitive = options.testFlag(LocateOption::CaseInsensitive);
    for (int i = 0; i < fields.size(); ++i) {
        const Field *f = fieldByName(fields[i]);
        const QVariant value = values[i];
        const bool text = f->dataType() == FieldType::String || f->dataType() == FieldType::Memo;
        if (value.isNull()) {
            parts << QStringLiteral("%1 IS NULL").arg(f->fieldName());
        } else if (text && options.testFlag(LocateOption::PartialKey)) {
            const QString prefix = value.toString();
            if (caseInsensitive) {
                parts << QStringLiteral("%1 LIKE ? ESCAPE '\\'").arg(dialect.upper(f->fieldName()));
                condition.params << likeLiteral(prefix.toUpper()) + QLatin1Char('%');
            } else {
                // A range keeps the search on the column's index.
                parts << QStringLiteral("%1 >= ? AND %1 < ?").arg(f->fieldName());
                condition.params << prefix << prefix + QString::fromUcs4(U"\U0010FFFF");
            }
        } else if (text && caseInsensitive) {
            parts << QStringLiteral("%1 = ?").arg(dialect.upper(f->fieldName()));
            condition.params << value.toString().toUpper();
        } else {
            parts << QStringLiteral("%1 = ?").arg(f->fieldName());
            condition.params << dialect.toDatabase(value, f->dataType());
        }
    }
    QString order = orderByTerms();
    order += (order.isEmpty() ? QString() : QStringLiteral(", ")) + m_keyColumn;
    const QString base = QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY %4")
                             .arg(m_keyColumn, m_tableName, parts.join(QStringLiteral(" AND ")), order);
    const QVariant first = connection()->scalar(base + QStringLiteral(" LIMIT 1"), condition.params);
    if (first.isNull())
        return -1;
    const int position = positionOf(first.toLongLong());
    if (position >= 0)
        return position;
    // The first match was added after this cursor opened; look for the first one it holds.
    QSqlQuery query = connection()->execute(base, condition.params);
    while (query.next()) {
        const int p = positionOf(query.value(0).toLongLong());
        if (p >= 0)
            return p;
    }
    return -1;
}

void Table::postEdit(int position, const QVariantList &values, const std::vector<bool> &modified)
{
    QStringList assignments;
    QVariantList params;
    const SqlDialect &dialect = connection()->dialect();
    for (int i = 0; i < fieldCount(); ++i) {
        if (!modified[size_t(i)])
            continue;
        assignments << QStringLiteral("%1 = ?").arg(field(i)->fieldName());
        params << dialect.toDatabase(values[i], field(i)->dataType());
    }
    if (assignments.isEmpty())
        return;
    const qint64 key = m_keys[size_t(position)];
    params << key;
    const bool cacheCurrent = m_rowsVersion == connection()->dataVersion();
    const QSqlQuery update = connection()->execute(
        QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?").arg(m_tableName, assignments.join(QStringLiteral(", ")), m_keyColumn),
        params);
    m_rows.erase(key);
    if (update.numRowsAffected() == 0)
        throw DbError(QStringLiteral("%1: no se guardaron los cambios porque otra estación eliminó el registro.")
                          .arg(displayName()));
    if (cacheCurrent)
        m_rowsVersion = connection()->dataVersion();
}

int Table::postInsert(int position, bool append, const QVariantList &values)
{
    QStringList columns;
    QStringList marks;
    QVariantList params;
    const SqlDialect &dialect = connection()->dialect();
    for (int i = 0; i < fieldCount(); ++i) {
        if (values[i].isNull() || field(i)->dataType() == FieldType::AutoInc)
            continue;
        columns << field(i)->fieldName();
        marks << QStringLiteral("?");
        params << dialect.toDatabase(values[i], field(i)->dataType());
    }
    QString sql = columns.isEmpty()
                      ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(m_tableName)
                      : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(m_tableName, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
    const bool returning = dialect.engine() == SqlDialect::Engine::PostgreSQL;
    if (returning)
        sql += QStringLiteral(" RETURNING ") + m_keyColumn;
    const bool cacheCurrent = m_rowsVersion == connection()->dataVersion();
    QSqlQuery query = connection()->execute(sql, params);
    qint64 key = -1;
    if (returning && query.next())
        key = query.value(0).toLongLong();
    else if (!returning)
        key = query.lastInsertId().toLongLong();
    connection()->noteWrite();
    if (cacheCurrent)
        m_rowsVersion = connection()->dataVersion();
    const int at = append || position < 0 ? int(m_keys.size()) : position;
    m_keys.insert(m_keys.begin() + at, key);
    return at;
}

void Table::deleteRow(int position)
{
    const qint64 key = m_keys[size_t(position)];
    const bool cacheCurrent = m_rowsVersion == connection()->dataVersion();
    connection()->execute(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(m_tableName, m_keyColumn), {key});
    if (cacheCurrent)
        m_rowsVersion = connection()->dataVersion();
    m_rows.erase(key);
    dropKey(position);
}

void Table::refreshRow(int position)
{
    m_rows.erase(m_keys[size_t(position)]);
}

}  // namespace vx
