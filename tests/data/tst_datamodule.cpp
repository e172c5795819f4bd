#include "../common/TempRoot.h"

#include "data/DataModule.h"
#include "data/ShopSetup.h"
#include "platform/core/Paths.h"
#include "platform/db/DataLink.h"
#include "platform/db/DbError.h"

#include <QFile>
#include <QTest>

class TestDataModule : public QObject {
    Q_OBJECT

    static void setStock(TDM1 &dm, const QString &code, const QVariant &reorder, const QVariant &inShop)
    {
        dm.ADOConnection1->execute(
            QStringLiteral("INSERT INTO STOCK (ARTCMCT, ARTREP, ARTEX1) VALUES (?, ?, ?)"), {code, reorder, inShop});
    }

private slots:
    void createdWithEveryTableClosed()
    {
        TempRoot root;
        data::createShop({QStringLiteral("clave"), false});
        TDM1 dm(vx::paths::dataLinkFile());
        QCOMPARE(DM1, &dm);
        QCOMPARE(dm.tables().size(), 34);
        for (vx::Table *table : dm.tables()) {
            QVERIFY2(!table->active(), qPrintable(table->objectName()));
            // Each table object reaches its table, the unused ones too.
            table->open();
            table->close();
        }
        QCOMPARE(dm.Stock->objectName(), QStringLiteral("Stock"));
        QCOMPARE(dm.DSStk->dataSet(), dm.Stock);
        QCOMPARE(dm.DSCProp->dataSet(), dm.CtaProp);
        QCOMPARE(dm.Clientes->tableName(), QStringLiteral("CLIENTE"));
        QCOMPARE(dm.Proveed->tableName(), QStringLiteral("PROVEEDORES"));
        // Field objects carry the presentation the grids use.
        dm.Stock->open();
        QCOMPARE(dm.Stock->fieldByName(QStringLiteral("ARTEX1"))->displayFormat(), QStringLiteral("0.00"));
        QCOMPARE(dm.Stock->fieldByName(QStringLiteral("ARTCOD"))->displayLabel(), QStringLiteral("Cod. Origen"));
    }

    void missingDataLinkStopsWithItsName()
    {
        TempRoot root;
        try {
            TDM1 dm(vx::paths::dataLinkFile());
            QFAIL("opened without a data-link file");
        } catch (const vx::DbError &e) {
            QVERIFY2(e.message().contains(QStringLiteral("Vendrix Demo.udl")), qPrintable(e.message()));
        }
        QVERIFY(!DM1);
        QVERIFY(!QFile::exists(root.file(QStringLiteral("Vendrix.db"))));
    }

    void reorderFilterOnStock()
    {
        TempRoot root;
        data::createShop({QStringLiteral("clave"), false});
        TDM1 dm(vx::paths::dataLinkFile());
        setStock(dm, QStringLiteral("A-EQUAL"), 3.0, 3.0);
        setStock(dm, QStringLiteral("B-UNDER"), 5.0, 1.0);
        setStock(dm, QStringLiteral("C-OVER"), 2.0, 9.0);
        setStock(dm, QStringLiteral("D-NOREP"), QVariant(), 4.0);   // no reorder point: 0
        setStock(dm, QStringLiteral("E-NOSTK"), 1.0, QVariant());   // no stock: 0
        setStock(dm, QStringLiteral("F-NONE"), QVariant(), QVariant());
        setStock(dm, QStringLiteral("G-NEG"), 0.0, -2.0);           // sold below zero
        dm.Stock->setIndexFieldNames(QStringLiteral("ARTCMCT"));
        dm.Stock->open();
        QCOMPARE(dm.Stock->recordCount(), 7);
        dm.Stock->setFiltered(true);
        QStringList passing;
        for (dm.Stock->first(); !dm.Stock->eof(); dm.Stock->next())
            passing << dm.Stock->fieldByName(QStringLiteral("ARTCMCT"))->asString();
        QCOMPARE(passing, QStringList({"A-EQUAL", "B-UNDER", "E-NOSTK", "F-NONE", "G-NEG"}));
        dm.Stock->setFiltered(false);
        QCOMPARE(dm.Stock->recordCount(), 7);
    }

    void anotherWindowsOrderIsResetBeforeReadingInCodeOrder()
    {
        TempRoot root;
        data::createShop({QStringLiteral("clave"), false});
        TDM1 dm(vx::paths::dataLinkFile());
        dm.ADOConnection1->execute(
            QStringLiteral("INSERT INTO STOCK (ARTCMCT, ARTDES) VALUES ('0002', 'AAA'), ('0001', 'ZZZ'), ('0003', 'MMM')"));
        dm.Stock->open();
        dm.Stock->setSort(QStringLiteral("ARTDES DESC"));
        dm.Stock->first();
        QCOMPARE(dm.Stock->fieldByName(QStringLiteral("ARTCMCT"))->asString(), QStringLiteral("0001"));
        dm.Stock->setIndexFieldNames(QStringLiteral("ARTCMCT"));
        dm.Stock->first();
        QCOMPARE(dm.Stock->fieldByName(QStringLiteral("ARTCMCT"))->asString(), QStringLiteral("0001"));
        dm.Stock->next();
        QCOMPARE(dm.Stock->fieldByName(QStringLiteral("ARTCMCT"))->asString(), QStringLiteral("0002"));
    }

    void nextNumbersStartAtOne()
    {
        TempRoot root;
        data::createShop({QStringLiteral("clave"), false});
        TDM1 dm(vx::paths::dataLinkFile());
        // The sale series: last receipt of types 1A/1B/1C in number order, plus one.
        const auto nextReceipt = [&dm] {
            dm.Clicom->open();
            dm.Clicom->setFilter(QStringLiteral("COMTIP = '1A' or COMTIP = '1B' or COMTIP = '1C'"));
            dm.Clicom->setFiltered(true);
            dm.Clicom->setIndexFieldNames(QStringLiteral("COMNRO"));
            dm.Clicom->last();
            const int next = dm.Clicom->fieldByName(QStringLiteral("COMNRO"))->asInteger() + 1;
            dm.Clicom->setFiltered(false);
            dm.Clicom->close();
            return next;
        };
        QCOMPARE(nextReceipt(), 1);
        dm.ADOConnection1->execute(QStringLiteral("INSERT INTO CLICOM (COMTIP, COMNRO) VALUES ('1B', 41), ('11', 90)"));
        QCOMPARE(nextReceipt(), 42);
        for (vx::Table *table : {dm.Ingresos, dm.Egresos}) {
            table->open();
            table->setIndexFieldNames(table == dm.Ingresos ? QStringLiteral("INGNRO") : QStringLiteral("EGRNRO"));
            table->last();
            QCOMPARE(table->fields().at(3)->asInteger() + 1, 1);
            table->close();
        }
        // The customer series already holds "CONSUMIDOR FINAL" as 1.
        dm.Clientes->open();
        dm.Clientes->setIndexFieldNames(QStringLiteral("CLICOD"));
        dm.Clientes->last();
        QCOMPARE(dm.Clientes->fieldByName(QStringLiteral("CLICOD"))->asInteger() + 1, 2);
    }
};

QTEST_GUILESS_MAIN(TestDataModule)
#include "tst_datamodule.moc"
