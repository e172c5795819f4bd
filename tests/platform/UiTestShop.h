#pragma once

// A small shop for the window kit's tests: one article table on a temporary SQLite file, filled
// with a handful of rows or, in one statement, with as many as a big shop has.
#include "../common/TestColumns.h"
#include "platform/db/Connection.h"
#include "platform/db/DateTimeValue.h"

#include <QTemporaryDir>

#include <memory>

namespace uitest {

using testschema::column;

inline vx::Schema schema()
{
    using vx::FieldType;
    vx::ColumnDef name = column("NAME", FieldType::String, 30);
    name.displayLabel = QStringLiteral("Descripcion");
    vx::TableDef items{QStringLiteral("ITEMS"),
                       {column("ID", FieldType::AutoInc), column("CODE", FieldType::String, 13), name,
                        column("QTY", FieldType::Float, 0, "0.00"), column("REP", FieldType::Float),
                        column("PRICE", FieldType::Float, 0, "#,##0.00"), column("DAY", FieldType::DateTime),
                        column("DONE", FieldType::Boolean), column("PHOTO", FieldType::String, 100),
                        column("NOTE", FieldType::Memo)},
                       {{QStringLiteral("CODE")}, {QStringLiteral("NAME")}}};
    return vx::Schema({items});
}

// Opens a fresh database in the folder, with the articles 0001..0005.
inline std::unique_ptr<vx::Connection> openShop(const QTemporaryDir &dir, const vx::Schema &schema, const QString &file)
{
    auto db = vx::Connection::openSqlite(dir.filePath(file), &schema, true);
    db->createSchema();
    struct Row {
        const char *code;
        const char *name;
        double qty;
        double rep;
        double price;
        int day;
        bool done;
    };
    const Row rows[] = {
        {"0003", "CAMISA AZUL", 5, 3, 1234.5, 3, false},  {"0001", "REMERA BLANCA", 0, 0, 10, 1, true},
        {"0002", "CAMPERA NEGRA", 2.5, 4, 99.99, 2, false}, {"0005", "BUZO GRIS", 7, 2, 45, 8, true},
        {"0004", "CAMISA ROJA", 1, 1, 20, 5, false},
    };
    for (const Row &r : rows) {
        db->execute(QStringLiteral("INSERT INTO ITEMS (CODE, NAME, QTY, REP, PRICE, DAY, DONE) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                    {QString::fromLatin1(r.code), QString::fromLatin1(r.name), r.qty, r.rep, r.price,
                     db->dialect().toDatabase(vx::naiveDateTime(QDate(2026, 12, r.day)), vx::FieldType::DateTime),
                     r.done ? 1 : 0});
    }
    return db;
}

// Adds `count` articles with 13-character codes 0000000000001.. in one statement.
inline void addManyItems(vx::Connection &db, int count)
{
    db.execute(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ")
               + QString::number(count)
               + QStringLiteral(") INSERT INTO ITEMS (CODE, NAME, QTY, REP, PRICE, DONE) "
                                "SELECT printf('%013d', i), 'ARTICULO ' || i, i % 7, 3, i * 0.5, i % 2 FROM n"));
}

}  // namespace uitest
