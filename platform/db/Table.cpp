#include "platform/db/Table.h"

#include "platform/db/Connection.h"
#include "platform/db/DbError.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>

namespace vx {

namespace {

// Rows read at once: few after a jump (a locate reads one row), more while walking on.
constexpr int firstPageSize = 4;
constexpr int largestPageSize = 512;
// Pages up to this size bind their keys in a prepared statement kept for reuse; larger ones write
// the keys (our own integers) into the statement, which binds far faster than hundreds of values.
constexpr int boundPageSize = 32;
constexpr size_t cachedRowsLimit = 16384;
// Once a walk reads pages this large, only the columns the code has read so far are fetched.
constexpr int partialPagesFrom = 64;
// Below this many rows a linear search finds a key as fast as the sorted index.
constexpr size_t indexedPositionsFrom = 256;

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

QVariant storedValue(const SqlDialect &dialect, QVariant value, FieldType type)
{
    // Texts and floating-point numbers come from the driver already as the field holds them;
    // the conversion would only copy them.
    if (!value.isNull()) {
        const int stored = value.typeId();
        if ((stored == QMetaType::QString && (type == FieldType::String || type == FieldType::Memo)) ||
            (stored == QMetaType::Double && type == FieldType::Float))
            return value;
    }
    return dialect.fromDatabase(value, type);
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
    m_tableName = def->name;
    m_keyColumn = def->rowKey();
    QList<ColumnDef> fields;
    for (const ColumnDef &column : def->columns) {
        if (!column.hidden)
            fields << column;
    }
    return fields;
}

QString Table::selectedColumn(int index) const
{
    return connection()->dialect().selectColumn(field(index)->fieldName(), field(index)->dataType());
}

QString Table::whereClause(const SqlCondition &condition) const
{
    return condition.sql.isEmpty() ? QString() : QStringLiteral(" WHERE ") + condition.sql;
}

QString Table::orderClause() const
{
    // The key breaks ties, so that the order is the same every time membership is read.
    const QString terms = orderByTerms();
    return QStringLiteral(" ORDER BY ") + (terms.isEmpty() ? m_keyColumn : terms + QStringLiteral(", ") + m_keyColumn);
}

void Table::openRows()
{
    const SqlCondition &condition = currentWhere();
    const QString sql =
        QStringLiteral("SELECT %1 FROM %2%3%4").arg(m_keyColumn, m_tableName, whereClause(condition), orderClause());
    m_keys.clear();
    m_positions.clear();
    m_rows.clear();
    m_rowsVersion = connection()->dataVersion();
    QSqlQuery query = connection()->execute(sql, condition.params);
    while (query.next())
        m_keys.push_back(query.value(0).toLongLong());
    m_pageFrom = m_pageTo = -1;
}

void Table::closeRows()
{
    m_keys.clear();
    m_keys.shrink_to_fit();
    m_positions.clear();
    m_positions.shrink_to_fit();
    m_rows.clear();
}

int Table::positionOf(qint64 bookmark) const
{
    if (m_keys.size() < indexedPositionsFrom) {
        const auto it = std::find(m_keys.begin(), m_keys.end(), bookmark);
        return it == m_keys.end() ? -1 : int(it - m_keys.begin());
    }
    if (m_positions.empty()) {
        m_positions.reserve(m_keys.size());
        for (size_t i = 0; i < m_keys.size(); ++i)
            m_positions.emplace_back(m_keys[i], int(i));
        std::sort(m_positions.begin(), m_positions.end());
    }
    const auto it = std::lower_bound(m_positions.begin(), m_positions.end(), std::make_pair(bookmark, 0));
    return it != m_positions.end() && it->first == bookmark ? it->second : -1;
}

QList<QVariantList> Table::columnValues(const QStringList &fieldNames)
{
    QStringList columns;
    QList<FieldType> types;
    for (const QString &name : fieldNames) {
        const Field *f = fieldByName(name);
        columns << connection()->dialect().selectColumn(f->fieldName(), f->dataType());
        types << f->dataType();
    }
    const SqlCondition &condition = currentWhere();
    const auto stream = connection()->openStream(QStringLiteral("SELECT %1 FROM %2%3%4")
                                                     .arg(columns.join(QStringLiteral(", ")), m_tableName,
                                                          whereClause(condition), orderClause()),
                                                 condition.params, 0);
    const SqlDialect &dialect = connection()->dialect();
    QList<QVariantList> rows;
    rows.reserve(rowCount());
    QVariantList values;
    while (stream->next(values)) {
        for (int c = 0; c < values.size(); ++c)
            values[c] = dialect.fromDatabase(values[c], types[c]);
        rows << values;
    }
    return rows;
}

QList<int> Table::fieldsToRead(bool complete) const
{
    QList<int> all;
    QList<int> read;
    for (int i = 0; i < fieldCount(); ++i) {
        all << i;
        if (fieldsRead()[size_t(i)])
            read << i;
    }
    // A walk reads few fields of many rows: fetching the others would cost most of its time.
    if (!complete && m_pageSize >= partialPagesFrom && !read.isEmpty())
        return read;
    return all;
}

void Table::loadPage(int position, bool complete)
{
    const int count = int(m_keys.size());
    // Walking on from the last page read, just past either of its ends, doubles the page; a jump
    // (a locate, a grid painting the rows around the record found) starts small again, so that
    // it reads about the rows it shows and not hundreds around them.
    const bool forwardWalk = m_pageTo >= 0 && position > m_pageTo && position - m_pageTo <= m_pageSize;
    const bool backwardWalk = m_pageFrom >= 0 && position < m_pageFrom && m_pageFrom - position <= m_pageSize;
    m_pageSize = (forwardWalk || backwardWalk) ? std::min(m_pageSize * 2, largestPageSize) : firstPageSize;
    int from = position;
    int to = std::min(count - 1, position + m_pageSize - 1);
    if (backwardWalk) {
        from = std::max(0, position - m_pageSize + 1);
        to = position;
    }
    if (m_rows.size() > cachedRowsLimit)
        m_rows.clear();
    m_pageFrom = from;
    m_pageTo = to;

    std::vector<qint64> &wanted = m_wantedKeys;
    wanted.clear();
    for (int i = from; i <= to; ++i) {
        if (!m_rows.count(m_keys[size_t(i)]))
            wanted.push_back(m_keys[size_t(i)]);
    }
    const int wantedCount = int(wanted.size());
    if (wantedCount == 0)
        return;
    const QList<int> fields = fieldsToRead(complete);
    QStringList names{m_keyColumn};
    for (const int f : fields)
        names << selectedColumn(f);
    const QString select =
        QStringLiteral("SELECT %1 FROM %2 WHERE %3 IN (").arg(names.join(QStringLiteral(", ")), m_tableName, m_keyColumn);
    if (wantedCount <= boundPageSize) {
        // A fixed number of places per statement, so the prepared statement serves every page;
        // the places left over hold a key no row has.
        const int places = wantedCount <= firstPageSize ? firstPageSize : boundPageSize;
        QVariantList params;
        for (int i = 0; i < places; ++i)
            params << (i < wantedCount ? wanted[size_t(i)] : qint64(-1));
        QStringList marks(places, QStringLiteral("?"));
        QSqlQuery &query = connection()->executeCached(select + marks.join(QLatin1Char(',')) + QLatin1Char(')'), params);
        storeRows(query, fields);
        query.finish();
        return;
    }
    QString keys;
    keys.reserve(wantedCount * 8 + 2);
    for (const qint64 key : std::as_const(wanted)) {
        keys += keys.isEmpty() ? QLatin1Char('[') : QLatin1Char(',');
        keys += QString::number(key);
    }
    keys += QLatin1Char(']');
    if (connection()->dialect().engine() == SqlDialect::Engine::SQLite) {
        // SQLite takes the keys as one JSON array bound to a statement prepared once: parsing
        // hundreds of literals for every page would cost more than reading the rows.
        QSqlQuery &query =
            connection()->executeCached(select + QStringLiteral("SELECT value FROM json_each(?))"), {keys});
        storeRows(query, fields);
        query.finish();
        return;
    }
    keys.front() = QLatin1Char('(');
    keys.back() = QLatin1Char(')');
    QSqlQuery query = connection()->execute(select.chopped(1) + keys);
    storeRows(query, fields);
}

void Table::loadRow(qint64 key)
{
    QList<int> fields;
    QStringList names{m_keyColumn};
    for (int i = 0; i < fieldCount(); ++i) {
        fields << i;
        names << selectedColumn(i);
    }
    m_rows.erase(key);
    QSqlQuery &query = connection()->executeCached(
        QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?").arg(names.join(QStringLiteral(", ")), m_tableName, m_keyColumn),
        {key});
    storeRows(query, fields);
    query.finish();
}

Table::CachedRow Table::rowFrom(const QSqlQuery &query, const QList<int> &fields) const
{
    const SqlDialect &dialect = connection()->dialect();
    CachedRow row;
    row.partial = fields.size() < fieldCount();
    if (row.partial)
        row.fields = fields;
    row.values.reserve(fields.size());
    for (int c = 0; c < fields.size(); ++c)
        row.values << storedValue(dialect, query.value(c + 1), field(fields[c])->dataType());
    return row;
}

void Table::storeRows(QSqlQuery &query, const QList<int> &fields)
{
    while (query.next()) {
        m_rows.insert_or_assign(query.value(0).toLongLong(), rowFrom(query, fields));
        ++m_rowsFetched;
    }
}

bool Table::fetchRow(int position, QVariantList &values, bool complete)
{
    if (m_rowsVersion != connection()->dataVersion()) {
        m_rows.clear();
        m_rowsVersion = connection()->dataVersion();
    }
    const qint64 key = m_keys[size_t(position)];
    auto it = m_rows.find(key);
    if (it == m_rows.end()) {
        loadPage(position, complete);
        it = m_rows.find(key);
    }
    if (it != m_rows.end() && complete && it->second.partial) {
        loadRow(key);
        it = m_rows.find(key);
    }
    if (it == m_rows.end()) {
        dropKey(position);
        return false;
    }
    if (it->second.partial) {
        // A row a long walk read in part serves that walk once: its values move into the record
        // instead of being copied. Coming back to it reads it again.
        expandRow(it->second, values);
        m_rows.erase(it);
    } else {
        values = it->second.values;
    }
    return true;
}

void Table::expandRow(CachedRow &row, QVariantList &values) const
{
    const int count = fieldCount();
    const QVariant absent = notLoaded();
    // A walk moves the same record buffer from row to row: write over it in place, where the
    // columns it does not read stay NotLoaded from one row to the next.
    if (values.size() != count || !values.isDetached())
        values = QVariantList(count, absent);
    QVariant *out = values.data();
    const qsizetype loaded = row.fields.size();
    qsizetype next = 0;
    for (int i = 0; i < count; ++i) {
        if (next < loaded && row.fields[next] == i)
            out[i] = std::move(row.values[next++]);
        else if (!isNotLoaded(out[i]))
            out[i] = absent;
    }
}

void Table::dropKey(int position)
{
    m_keys.erase(m_keys.begin() + position);
    m_positions.clear();
}

int Table::locateRow(const QStringList &fields, const QVariantList &values, LocateOptions options)
{
    SqlCondition condition = currentWhere();
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
    const QString where = QStringLiteral(" FROM %1 WHERE %2%3").arg(m_tableName, parts.join(QStringLiteral(" AND ")), orderClause());
    // The first match comes with its values, so that showing it needs no second trip to the database.
    QList<int> allFields;
    QStringList names{m_keyColumn};
    for (int i = 0; i < fieldCount(); ++i) {
        allFields << i;
        names << selectedColumn(i);
    }
    QSqlQuery &first = connection()->executeCached(
        QStringLiteral("SELECT ") + names.join(QStringLiteral(", ")) + where + QStringLiteral(" LIMIT 1"), condition.params);
    if (!first.next()) {
        first.finish();
        return -1;
    }
    const qint64 key = first.value(0).toLongLong();
    CachedRow row = rowFrom(first, allFields);
    first.finish();
    const int position = positionOf(key);
    if (position >= 0) {
        m_rows.insert_or_assign(key, std::move(row));
        m_pageFrom = m_pageTo = position;
        m_pageSize = firstPageSize;
        return position;
    }
    // The first match was added after this cursor opened; look for the first one it holds.
    QSqlQuery query = connection()->execute(QStringLiteral("SELECT ") + m_keyColumn + where, condition.params);
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
        const FieldType type = field(i)->dataType();
        // A yes/no left unset is "no", so that grids show it and a filter on False finds the row.
        const bool unsetFlag = type == FieldType::Boolean && values[i].isNull();
        if ((values[i].isNull() && !unsetFlag) || type == FieldType::AutoInc)
            continue;
        columns << field(i)->fieldName();
        marks << QStringLiteral("?");
        params << dialect.toDatabase(unsetFlag ? QVariant(false) : values[i], type);
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
    m_positions.clear();
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
