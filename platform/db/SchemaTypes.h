#pragma once

#include "platform/VxPlatformExport.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace vx {

// The kinds of value a column can hold. The database engine maps each to its own type.
enum class FieldType {
    AutoInc,   // 32-bit integer assigned by the database on insert; read-only
    Integer,   // 32-bit signed
    SmallInt,  // 16-bit signed
    Float,     // double precision: amounts, prices, quantities
    DateTime,  // date and time; the time part is 0 where only a date is meant
    String,    // text of at most `size` characters
    Memo,      // long text
    Boolean,   // yes/no
};

// One column as the program knows it: storage plus the presentation the grids and edits use.
struct ColumnDef {
    QString name;
    FieldType type = FieldType::String;
    int size = 0;               // characters, for String; 0 otherwise
    QString displayLabel;       // caption in grids; the column name when empty
    QString displayFormat;      // e.g. "0.00" for money
    QString editMask;           // e.g. "!99/99/0000;1;_" for dates
    int displayWidth = 0;       // characters; 0 means derived from the type
    bool hidden = false;        // a row key the program adds, never shown
};

// A table: its columns in stored order, the column that identifies a row, and its indexes.
struct TableDef {
    QString name;
    QList<ColumnDef> columns;
    QList<QStringList> indexes;  // each entry: the column names of one index, in order

    // The autonumber column, or the hidden key added for tables without one.
    VXPLATFORM_EXPORT QString rowKey() const;
    VXPLATFORM_EXPORT const ColumnDef *column(const QString &columnName) const;
};

// Refuses, on every engine alike, text longer than its column and a whole number outside its
// column's range (32 or 16 bits), which one engine would store wrapped and another refuse. Throws
// DbError naming the column by its caption; for text also `owner` ("la tabla STOCK") and the sizes.
VXPLATFORM_EXPORT void checkValueFits(const ColumnDef &column, const QVariant &value, const QString &owner);

// Every table of one database.
class VXPLATFORM_EXPORT Schema {
public:
    Schema() = default;
    // `application` and `version` name the program whose database this is and the version of its
    // tables; a database records the version it was created with, and opening compares them.
    explicit Schema(QList<TableDef> tables, QString application = {}, int version = 0);

    const QList<TableDef> &tables() const { return m_tables; }
    const TableDef *table(const QString &name) const;  // case-insensitive; nullptr if unknown
    // The definition of a column by its name alone, first table that has it. Used to type the
    // columns of SQL query results, whose names are unique by the naming convention.
    const ColumnDef *anyColumn(const QString &columnName) const;

    QString application() const { return m_application; }
    int version() const { return m_version; }
    // The table, beside the schema's own, where a database records its version.
    static QString versionTable() { return QStringLiteral("VXSCHEMA"); }

    // Name of the hidden row key given to tables without an autonumber column.
    static QString hiddenKeyName() { return QStringLiteral("VXROWKEY"); }

private:
    QList<TableDef> m_tables;
    QString m_application;
    int m_version = 0;
};

}  // namespace vx
