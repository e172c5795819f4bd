#include "platform/db/SqlDialect.h"

#include "platform/db/DateTimeValue.h"

#include <QDateTime>

#include <limits>

namespace vx {

namespace {

class SqliteDialect final : public SqlDialect {
public:
    Engine engine() const override { return Engine::SQLite; }

    QVariant toDatabase(const QVariant &value, FieldType type) const override
    {
        if (!value.isNull() && type == FieldType::Boolean)
            return value.toBool() ? 1 : 0;
        return SqlDialect::toDatabase(value, type);
    }

    QString orderTerm(const QString &column, bool descending) const override
    {
        // SQLite already sorts text by code point and nulls first ascending, last descending.
        return descending ? column + QStringLiteral(" DESC") : column;
    }

    QString upper(const QString &expression) const override
    {
        return QStringLiteral("vx_upper(%1)").arg(expression);
    }

    QStringList beginWriteTransaction() const override { return {QStringLiteral("BEGIN IMMEDIATE")}; }

    QString offsetClause(qint64 rows) const override { return QStringLiteral(" LIMIT -1 OFFSET %1").arg(rows); }

    QStringList beginReadSnapshot() const override { return {QStringLiteral("BEGIN")}; }

    QString autoNumberCounterQuery(const QString &table, const QString &) const override
    {
        // AUTOINCREMENT tables keep their counter in sqlite_sequence, one row per table.
        return QStringLiteral("SELECT COALESCE(MAX(seq), 0) FROM sqlite_sequence WHERE name = '%1'").arg(table);
    }

    QStringList setAutoNumberCounter(const QString &table, const QString &, qint64 last) const override
    {
        return {QStringLiteral("DELETE FROM sqlite_sequence WHERE name = '%1'").arg(table),
                QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES ('%1', %2)").arg(table).arg(last)};
    }

protected:
    QString columnType(const ColumnDef &column) const override
    {
        switch (column.type) {
        case FieldType::AutoInc: return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
        case FieldType::Integer: return QStringLiteral("INTEGER");
        case FieldType::SmallInt: return QStringLiteral("SMALLINT");
        case FieldType::Float: return QStringLiteral("REAL");
        case FieldType::DateTime: return QStringLiteral("DATETIME");
        case FieldType::String: return QStringLiteral("VARCHAR(%1)").arg(column.size);
        case FieldType::Memo: return QStringLiteral("TEXT");
        case FieldType::Boolean: return QStringLiteral("BOOLEAN");
        }
        return {};
    }
};

class PostgresDialect final : public SqlDialect {
    static constexpr int writeLockKey = 0x56454e44;  // "VEND"

public:
    Engine engine() const override { return Engine::PostgreSQL; }

    QString orderTerm(const QString &column, bool descending) const override
    {
        return descending ? column + QStringLiteral(" DESC NULLS LAST")
                          : column + QStringLiteral(" ASC NULLS FIRST");
    }

    QString upper(const QString &expression) const override
    {
        // Text columns sort by code point ("C"), whose upper case knows only ASCII; the Unicode
        // collation upper-cases "ñ" too.
        return QStringLiteral("upper((%1) COLLATE \"und-x-icu\")").arg(expression);
    }

    QStringList beginWriteTransaction() const override
    {
        // One lock for all of the shop's writing transactions, released at commit or rollback.
        return {QStringLiteral("BEGIN"), QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(writeLockKey)};
    }

    QString offsetClause(qint64 rows) const override { return QStringLiteral(" OFFSET %1").arg(rows); }

    QStringList beginReadSnapshot() const override
    {
        return {QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ, READ ONLY")};
    }

    QString autoNumberCounterQuery(const QString &table, const QString &column) const override
    {
        return QStringLiteral("SELECT COALESCE(pg_sequence_last_value(pg_get_serial_sequence('%1', '%2')), 0)")
            .arg(table.toLower(), column.toLower());
    }

    QStringList setAutoNumberCounter(const QString &table, const QString &column, qint64 last) const override
    {
        // setval(..., false) for an untouched counter, so that the first row still gets 1.
        const QString sequence = QStringLiteral("pg_get_serial_sequence('%1', '%2')").arg(table.toLower(), column.toLower());
        return {last > 0 ? QStringLiteral("SELECT setval(%1, %2, true)").arg(sequence).arg(last)
                         : QStringLiteral("SELECT setval(%1, 1, false)").arg(sequence)};
    }

    QString selectColumn(const QString &column, FieldType type) const override
    {
        // The driver reads a timestamp as local time, which has no 00:00 on the day a daylight-
        // saving gap starts at midnight; as text it is the value stored.
        if (type == FieldType::DateTime)
            return QStringLiteral("to_char(%1, 'YYYY-MM-DD HH24:MI:SS')").arg(column);
        return column;
    }

protected:
    QString columnType(const ColumnDef &column) const override
    {
        switch (column.type) {
        case FieldType::AutoInc: return QStringLiteral("INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
        case FieldType::Integer: return QStringLiteral("INTEGER");
        case FieldType::SmallInt: return QStringLiteral("SMALLINT");
        case FieldType::Float: return QStringLiteral("DOUBLE PRECISION");
        case FieldType::DateTime: return QStringLiteral("TIMESTAMP");
        case FieldType::String: return QStringLiteral("VARCHAR(%1) COLLATE \"C\"").arg(column.size);
        case FieldType::Memo: return QStringLiteral("TEXT COLLATE \"C\"");
        case FieldType::Boolean: return QStringLiteral("BOOLEAN");
        }
        return {};
    }
};

}  // namespace

QStringList SqlDialect::createTableStatements(const TableDef &table, Lifetime lifetime) const
{
    const QString create = lifetime == Lifetime::ConnectionPrivate ? QStringLiteral("CREATE TEMPORARY TABLE")
                                                                    : QStringLiteral("CREATE TABLE");
    QStringList columns;
    for (const ColumnDef &column : table.columns)
        columns << column.name + QLatin1Char(' ') + columnType(column);
    QStringList statements;
    statements << QStringLiteral("%1 %2 (%3)").arg(create, table.name, columns.join(QStringLiteral(", ")));
    for (const QStringList &index : table.indexes)
        statements << createIndexStatement(table.name, index);
    return statements;
}

QString SqlDialect::createIndexStatement(const QString &table, const QStringList &columns, bool ifMissing)
{
    return QStringLiteral("CREATE INDEX %1IX_%2_%3 ON %2 (%4)")
        .arg(ifMissing ? QStringLiteral("IF NOT EXISTS ") : QString(), table, columns.join(QLatin1Char('_')),
             columns.join(QStringLiteral(", ")));
}

QString SqlDialect::selectColumn(const QString &column, FieldType) const
{
    return column;
}

QVariant SqlDialect::toDatabase(const QVariant &value, FieldType type) const
{
    if (value.isNull())
        return value;
    switch (type) {
    case FieldType::AutoInc:
    case FieldType::Integer:
    case FieldType::SmallInt: return value.toLongLong();
    case FieldType::Float: return value.toDouble();
    case FieldType::Boolean: return value.toBool();
    // Dates travel as ISO text, which every engine reads as a date-time and which SQLite, keeping
    // it as text, compares and sorts in the order of time.
    case FieldType::DateTime: return storedDateTimeText(value.toDateTime());
    case FieldType::String:
    case FieldType::Memo: return value.toString();
    }
    return value;
}

QVariant SqlDialect::fromDatabase(const QVariant &value, FieldType type) const
{
    if (value.isNull())
        return QVariant();
    switch (type) {
    case FieldType::AutoInc:
    case FieldType::Integer:
    case FieldType::SmallInt: {
        // SQLite keeps whatever integer it was given: a value past 32 bits reads as it is stored.
        const qint64 number = value.toLongLong();
        if (number >= std::numeric_limits<int>::min() && number <= std::numeric_limits<int>::max())
            return int(number);
        return number;
    }
    case FieldType::Float: return value.toDouble();
    case FieldType::Boolean: return value.toBool();
    case FieldType::DateTime:
        if (value.typeId() == QMetaType::QString)
            return parseStoredDateTime(value.toString());
        return asNaiveDateTime(value.toDateTime());
    case FieldType::String:
    case FieldType::Memo: return value.toString();
    }
    return value;
}

std::unique_ptr<SqlDialect> SqlDialect::create(Engine engine)
{
    if (engine == Engine::PostgreSQL)
        return std::make_unique<PostgresDialect>();
    return std::make_unique<SqliteDialect>();
}

}  // namespace vx
