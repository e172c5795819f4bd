#include "../common/TempRoot.h"
#include "../common/ShopDatabase.h"

#include "data/DatabaseCopy.h"
#include "data/ShopSetup.h"
#include "platform/core/Paths.h"
#include "platform/db/DataLink.h"
#include "platform/db/DbError.h"

#include <QTest>

// A shop moves between engines: from its SQLite file to the database under test and back.
class TestDatabaseCopy : public QObject {
    Q_OBJECT

    // Every row of every table, as text, in row-key order.
    static QStringList contents(vx::Connection &db)
    {
        QStringList out;
        for (const vx::TableDef &table : data::vendrixSchema().tables()) {
            QStringList columns;
            for (const vx::ColumnDef &c : table.columns)
                columns << c.name;
            const auto rows = db.openStream(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                                                .arg(columns.join(QStringLiteral(", ")), table.name, table.rowKey()),
                                            {}, 0);
            QVariantList values;
            while (rows->next(values)) {
                QStringList cells;
                for (int c = 0; c < values.size(); ++c) {
                    const QVariant v = db.dialect().fromDatabase(values[c], table.columns[c].type);
                    cells << (v.isNull() ? QStringLiteral("<null>") : v.toString());
                }
                out << table.name + QLatin1Char('|') + cells.join(QLatin1Char('|'));
            }
        }
        return out;
    }

private slots:
    void roundTripKeepsEveryRow()
    {
        TempRoot root;
        data::createShop({QStringLiteral("admin"), true});
        auto original = vx::Connection::open(vx::DataLink::read(vx::paths::dataLinkFile()), &data::vendrixSchema());
        original->execute(QStringLiteral("INSERT INTO CLIENTE (CLICOD, CLIAPE, CLIOBS) VALUES (9, 'D''ANGELO ÑUÑEZ', "
                                         "'?? ''quoted'' ; -- not sql')"));
        original->execute(QStringLiteral("INSERT INTO BANCO (BANCOD, BANDES) VALUES (9, 'sin autonumero')"));
        original->execute(QStringLiteral("DELETE FROM STOCK WHERE ARTUNO = 3"));  // a gap in the row numbers

        ShopDatabase server;  // the engine under test, empty
        QStringList progress;
        data::copyDatabase(*original, server.db(), [&progress](const QString &line) { progress << line; });
        QCOMPARE(progress.size(), data::vendrixSchema().tables().size());
        QVERIFY(progress.first().startsWith(QStringLiteral("STOCK")));

        TempRoot back;
        auto copy = vx::Connection::openSqlite(back.file(QStringLiteral("back.db")), &data::vendrixSchema(), true);
        data::copyDatabase(server.db(), *copy, [](const QString &) {});
        const QStringList before = contents(*original);
        QVERIFY(before.size() > 400);
        QCOMPARE(contents(server.db()), before);
        QCOMPARE(contents(*copy), before);

        // New rows on the copy are numbered after the copied ones.
        server.db().execute(QStringLiteral("INSERT INTO STOCK (ARTCMCT) VALUES ('NUEVO')"));
        QCOMPARE(server.db().scalar(QStringLiteral("SELECT ARTUNO FROM STOCK WHERE ARTCMCT = 'NUEVO'")).toInt(),
                 original->scalar(QStringLiteral("SELECT MAX(ARTUNO) FROM STOCK")).toInt() + 1);
    }

    void refusesATargetThatHoldsRows()
    {
        TempRoot root;
        data::createShop({QStringLiteral("admin"), false});
        auto original = vx::Connection::open(vx::DataLink::read(vx::paths::dataLinkFile()), &data::vendrixSchema());
        ShopDatabase target;
        target.db().execute(QStringLiteral("INSERT INTO MARCAS (MARCOD, MARDES) VALUES (1, 'YA ESTABA')"));
        try {
            data::copyDatabase(*original, target.db(), [](const QString &) {});
            QFAIL("copied into a database that holds rows");
        } catch (const vx::DbError &e) {
            QVERIFY2(e.message().contains(QStringLiteral("MARCAS")), qPrintable(e.message()));
        }
        QCOMPARE(target.db().scalar(QStringLiteral("SELECT COUNT(*) FROM OPERADOR")).toInt(), 0);
        QVERIFY(!target.db().inTransaction());
    }
};

QTEST_GUILESS_MAIN(TestDatabaseCopy)
#include "tst_databasecopy.moc"
