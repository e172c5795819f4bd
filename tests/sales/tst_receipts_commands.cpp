#include "../common/TempRoot.h"

#include "data/DataModule.h"
#include "data/ShopSetup.h"
#include "platform/ui/FakeDialogs.h"
#include "sales/Anula.h"
#include "sales/FilCol.h"
#include "sales/ImpComp.h"
#include "sales/ImpTF.h"
#include "shell/Ficha1.h"
#include "shell/Startup.h"

#include <QTest>

// The main window's commands open the receipt, layout and cancellation windows and tidy up after.
class TestReceiptCommands : public QObject {
    Q_OBJECT

private slots:
    void commandsShowTheirWindows()
    {
        TempRoot root;
        data::createShop({QStringLiteral("admin"), false});
        vx::ui::FakeDialogs dialogs;
        {
            Startup startup;
            QVERIFY(startup.createWindows());
            QVERIFY(FImpComp && FAnula && FImpTF);
            QVERIFY(!FFilCol);

            FF1->ImprimirComprobante1Click();
            FF1->Anulacion1Click();
            FF1->FilasColumnas1Click();
            TFFilCol *layout = FFilCol;
            QVERIFY(layout);
            FF1->FilasColumnas1Click();
            // Created once, on first use.
            QCOMPARE(FFilCol, layout);
            QCOMPARE(dialogs.texts(QStringLiteral("modal")),
                     (QStringList{QStringLiteral("FImpComp"), QStringLiteral("FAnula"), QStringLiteral("FFilCol"),
                                  QStringLiteral("FFilCol")}));
            QVERIFY(dialogs.texts(QStringLiteral("error")).isEmpty());
            // Every shared table is closed again.
            for (vx::Table *table : DM1->tables())
                QVERIFY2(!table->active(), qPrintable(table->tableName()));
            QCOMPARE(DM1->ADOConnection1->scalar(QStringLiteral("SELECT COUNT(*) FROM FILCOL")).toInt(), 0);
        }
        QVERIFY(!FImpComp && !FAnula && !FFilCol && !FImpTF);
    }
};

QTEST_MAIN(TestReceiptCommands)
#include "tst_receipts_commands.moc"
