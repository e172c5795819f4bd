#pragma once

#include "platform/VxPlatformExport.h"
#include "platform/db/SchemaTypes.h"

#include <QStringList>
#include <QVariant>

#include <memory>

namespace vx {

// What differs between database engines: column types, how values are stored, ordering rules,
// transactions. Everything above this class writes engine-neutral SQL through it.
//
// Identifiers are never quoted: tables and columns are plain names, so the SQL texts the windows
// give (e.g. "select * from INGRESOS, STOCK where ...") run unchanged on every engine.
//
// Text rule, the same on every engine: text compares and sorts by Unicode code point (binary),
// case-sensitive; nulls sort first in ascending order and last in descending order. LIKE and the
// case-insensitive locate compare upper-cased text (Unicode upper case, so "ñ" matches "Ñ").
class VXPLATFORM_EXPORT SqlDialect {
public:
    enum class Engine { SQLite, PostgreSQL };

    virtual ~SqlDialect() = default;
    virtual Engine engine() const = 0;

    enum class Lifetime { Shared, ConnectionPrivate };
    // A connection-private table lives as long as the connection, is seen by it alone, and hides
    // the shared table of the same name from it.
    QStringList createTableStatements(const TableDef &table, Lifetime lifetime = Lifetime::Shared) const;
    // One index of a table, named after its columns; `ifMissing` leaves an index of that name alone,
    // so that an older shop gains the indexes it lacks and keeps those it has.
    static QString createIndexStatement(const QString &table, const QStringList &columns, bool ifMissing = false);

    // Values as they are bound to and read from the engine for a column of the given type.
    virtual QVariant toDatabase(const QVariant &value, FieldType type) const;
    virtual QVariant fromDatabase(const QVariant &value, FieldType type) const;

    // One ORDER BY term following the text rule above.
    virtual QString orderTerm(const QString &column, bool descending) const = 0;
    // An expression that upper-cases a text expression by the Unicode rules.
    virtual QString upper(const QString &expression) const = 0;
    // The statement that starts a transaction which takes the write lock at once, so that two
    // workstations recording at the same moment wait for each other instead of colliding.
    virtual QStringList beginWriteTransaction() const = 0;
    // The statements that open a transaction which only reads and sees the database as it was at
    // its start, whatever other workstations commit meanwhile.
    virtual QStringList beginReadSnapshot() const = 0;
    // The statement that reads the last autonumber the engine handed out for a table's column
    // (deleted rows included), 0 when none.
    virtual QString autoNumberCounterQuery(const QString &table, const QString &column) const = 0;
    // The statements that make the next autonumber of a table follow `last` (rows written with
    // explicit autonumbers, e.g. a copied database).
    virtual QStringList setAutoNumberCounter(const QString &table, const QString &column, qint64 last) const = 0;
    // The select-list expression for a column, so that its value reaches fromDatabase() without
    // passing through the workstation's time zone: date-times come as text where the driver would
    // convert them to local time. Without an alias (ORDER BY keeps using the column's index), so
    // the result column is read by position.
    virtual QString selectColumn(const QString &column, FieldType type) const;
    // The clause that skips the first rows of a result: " OFFSET n" or its equivalent.
    virtual QString offsetClause(qint64 rows) const = 0;

    static std::unique_ptr<SqlDialect> create(Engine engine);

protected:
    virtual QString columnType(const ColumnDef &column) const = 0;
};

}  // namespace vx
