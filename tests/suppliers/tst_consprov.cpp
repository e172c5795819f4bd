#include "../cash/CashWindowShop.h"
#include "../export/XlrdCsv.h"

#include "data/ShopSetup.h"
#include "demo/DemoHistory.h"
#include "platform/core/Paths.h"

#include "platform/db/Field.h"
#include "platform/db/Table.h"
#include "platform/ui/Edit.h"
#include "platform/ui/PickList.h"
#include "suppliers/ConsProv.h"
#include "suppliers/SupplierDocuments.h"
#include "suppliers/SupplierPayment.h"
#include "suppliers/SupplierText.h"
#include "shell/Ficha1.h"

#include <QAction>

#include <QLabel>
#include <QRegularExpression>

namespace {

using suppliers::DocumentType;

// A supplier's account through the recordings, as the counter works it: invoices and credits
// recorded, payments, a document typed by mistake and cancelled.
struct AccountShop : CashWindowShop {
    int supplier = suppliers::createSupplier(db(), QStringLiteral("TEXTIL DEL SUR"));
    int other = suppliers::createSupplier(db(), QStringLiteral("BOTONES SA"));

    qint64 document(DocumentType type, double number, const QDate &date, double total, int code = 0)
    {
        return suppliers::recordSupplierDocument(db(), {code ? code : supplier, type, number, date, total, 1, {}, {}});
    }
    void pay(const QList<qint64> &marked, double cash, const QDate &date)
    {
        suppliers::PaymentEntry entry;
        entry.supplierCode = supplier;
        for (qint64 key : marked)
            entry.marked << suppliers::MarkedDocument{key, suppliers::toCents(value("COMSAL", key))};
        entry.cash = cash;
        entry.dateText = vx::shopformat::formatDate(date);
        suppliers::recordPayment(db(), entry);
    }
    double value(const char *column, qint64 key)
    {
        return db().scalar(QStringLiteral("SELECT %1 FROM PROCOM WHERE COMUNO = ?").arg(QLatin1String(column)), {key}).toDouble();
    }
    // What the supplier's file says it owes, and what its open documents add up to.
    double storedBalance()
    {
        return db().scalar(QStringLiteral("SELECT CLISAL FROM PROVEEDORES WHERE CLICOD = ?"), {supplier}).toDouble();
    }
    double openDocuments()
    {
        return db().scalar(QStringLiteral("SELECT COALESCE(SUM(ROUND(CASE COMTIP WHEN '26' THEN -COMSAL ELSE COMSAL END "
                                          "* 100)), 0) FROM PROCOM WHERE COMCLI = ? AND COMTIP IN ('13', '26')"),
                           {supplier})
                   .toDouble() /
               100;
    }
};

const QDate day(int d)
{
    return QDate(2026, 11, d);
}

// The lines the window lists: kind, number, Debe, Haber, Saldo, note.
QStringList linesOf(vx::Table &list)
{
    QStringList out;
    list.first();
    while (!list.eof()) {
        const auto text = [&](const char *field) { return list.fieldByName(QLatin1String(field))->displayText().trimmed(); };
        out << QStringList{text("TM1CHR8"), text("TM1NUM2"), text("TM1PRE1"), text("TM1PRE2"), text("TM1PRE3"),
                           text("TM1CHR10")}
                   .join(QLatin1Char('|'));
        list.next();
    }
    return out;
}

void typeInto(QLineEdit *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Tab);
}

} // namespace

class TestConsProv : public QObject {
    Q_OBJECT

private slots:
    // After every recording the whole account ends where the supplier's balance stands, and the
    // balance is what its open documents add up to: an overpayment's credit is not counted twice,
    // a credit used up in a payment not at all, a cancelled invoice not at all.
    void allTimeAccountEndsAtTheBalance()
    {
        AccountShop shop;
        qint64 invoice = 0, credit = 0;
        const QList<std::pair<const char *, std::function<void()>>> steps{
            {"invoice 100", [&] { invoice = shop.document(DocumentType::Invoice, 7, day(2), 100); }},
            {"credit 30", [&] { credit = shop.document(DocumentType::Credit, 3, day(5), 30); }},
            {"payment 50", [&] { shop.pay({invoice}, 50, day(10)); }},
            {"cancelled invoice", [&] {
                 suppliers::cancelSupplierDocument(shop.db(), shop.document(DocumentType::Invoice, 8, day(12), 40));
             }},
            {"overpaid by 10", [&] { shop.pay({invoice}, 60, day(15)); }},
            {"credit used up", [&] {
                 const qint64 next = shop.document(DocumentType::Invoice, 9, day(20), 45);
                 shop.pay({credit, next}, 15, day(21));
             }},
            {"another supplier", [&] { shop.document(DocumentType::Invoice, 7, day(22), 999, shop.other); }},
        };
        const vx::DayRange allTime{QDate(2000, 1, 1), QDate(2030, 12, 31)};
        for (const auto &[name, step] : steps) {
            step();
            const int lines = suppliers::writeAccount(shop.db(), shop.supplier, allTime);
            QCOMPARE(lines, shop.count(QStringLiteral("TMP1")));
            const suppliers::AccountTotals totals = suppliers::accountTotals(shop.db());
            QVERIFY2(qFuzzyCompare(1 + totals.closing, 1 + shop.storedBalance()),
                     qPrintable(QStringLiteral("%1: account %2, balance %3").arg(QLatin1String(name)).arg(totals.closing).arg(shop.storedBalance())));
            QVERIFY2(qFuzzyCompare(1 + shop.openDocuments(), 1 + shop.storedBalance()), name);
            QCOMPARE(totals.opening, 0.0);
            QCOMPARE(totals.closing, totals.owed - totals.paid);
        }
        // The last line's running balance is the closing balance.
        QCOMPARE(shop.db().scalar(QStringLiteral("SELECT TM1PRE3 FROM TMP1 ORDER BY TM1NUM1 DESC LIMIT 1")).toDouble(),
                 shop.storedBalance());
    }

    // The window as the operator uses it: the supplier typed and Enter, then a range typed and
    // "Consultar"; the balance before the range opens the list; then printed and exported.
    void accountWindow()
    {
        AccountShop shop;
        const qint64 invoice = shop.document(DocumentType::Invoice, 7, day(2), 100);
        shop.document(DocumentType::Credit, 3, day(5), 30);
        shop.pay({invoice}, 50, day(10));
        suppliers::cancelSupplierDocument(shop.db(), shop.document(DocumentType::Invoice, 8, day(12), 40));
        shop.pay({invoice}, 60, day(15));
        shop.document(DocumentType::Invoice, 1, day(9), 500, shop.other);

        QStringList seen;
        QString firstDay;
        const QString pdfPath = shop.nextPdf(QStringLiteral("cuenta"));
        const QString xlsPath = shop.root.file(QStringLiteral("cuenta.xls"));
        shop.dialogs.fileAnswers << xlsPath;
        shop.onWindow<TFConsProv>([&](TFConsProv &w) {
            firstDay = w.EdFecD->text();
            typeInto(w.CBCli->lineEdit(), QStringLiteral("textil"));
            QTest::keyClick(w.CBCli->lineEdit(), Qt::Key_Return);
            QCOMPARE(shop.dialogs.texts(QStringLiteral("message")).value(0), QStringLiteral("Proveedor no encontrado..."));
            typeInto(w.CBCli->lineEdit(), QStringLiteral("textil del sur"));
            QTest::keyClick(w.CBCli->lineEdit(), Qt::Key_Return);
            QCOMPARE(w.LabCli->text(), QString::number(shop.supplier));

            typeInto(w.EdFecD, QStringLiteral("06/11/26"));
            typeInto(w.EdFecH, QStringLiteral("30/11/2026"));
            QTest::mouseClick(w.BConsultar, Qt::LeftButton);
            QCOMPARE(w.EdFecD->text(), QStringLiteral("06/11/2026"));
            seen = linesOf(w.list());
            QCOMPARE(QStringList({w.EdSalAnt->text(), w.EdDebe->text(), w.EdHaber->text(), w.EdSaldo->text()}),
                     QStringList({QStringLiteral("70,00"), QStringLiteral("0,00"), QStringLiteral("110,00"),
                                  QStringLiteral("-40,00")}));
            screenshots::save(w.grab().toImage(), QStringLiteral("FConsProv.png"));
            QTest::mouseClick(w.BImp, Qt::LeftButton);
            QTest::mouseClick(w.BExportar, Qt::LeftButton);

            // From after to: told, the account shown stays.
            typeInto(w.EdFecD, QStringLiteral("01/12/2026"));
            QTest::mouseClick(w.BConsultar, Qt::LeftButton);
            QCOMPARE(shop.dialogs.texts(QStringLiteral("message")).last(),
                     QStringLiteral("La fecha Desde es posterior a la fecha Hasta."));
            QCOMPARE(w.list().recordCount(), seen.size());
            // Closing with a name half typed reads nothing and tells nothing.
            w.CBCli->lineEdit()->setFocus();
            QTest::keyClicks(w.CBCli->lineEdit(), QStringLiteral("X"));
            QTest::keyClick(&w, Qt::Key_Escape);
        });
        openConsProv(nullptr);
        QCOMPARE(firstDay, vx::shopformat::formatDate(QDate(vx::naiveNow().date().year(), vx::naiveNow().date().month(), 1)));
        QCOMPARE(seen, (QStringList{QStringLiteral("||||70,00|Saldo Anterior"),
                                    QStringLiteral("PAGO|1||50,00|20,00|FAC 7: 7"),
                                    QStringLiteral("FAC.|8|40,00||20,00|Anulado"),
                                    QStringLiteral("PAGO|2||60,00|-40,00|FAC 7: 7")}));
        QCOMPARE(shop.count(QStringLiteral("TMP1")), 0);
        QCOMPARE(shop.dialogs.texts(QStringLiteral("error")), QStringList());

        const QString printed = CashWindowShop::pdfText(pdfPath);
        QCOMPARE(pdf::info(pdfPath).value(QStringLiteral("Page size")).left(9), QStringLiteral("595 x 842"));
        for (const QString &expected : {QStringLiteral("CUENTA CORRIENTE DE PROVEEDOR"),
                                        QStringLiteral("Proveedor: TEXTIL DEL SUR (%1)").arg(shop.supplier),
                                        QStringLiteral("Desde el 06/11/2026 - Hasta el 30/11/2026")})
            QVERIFY2(printed.contains(expected), qPrintable(printed));
        QVERIFY2(printed.contains(QRegularExpression(QStringLiteral("12/11/2026\\s+FAC\\.\\s+8\\s+40,00\\s+20,00\\s+Anulado"))),
                 qPrintable(printed));
        QVERIFY2(printed.contains(QRegularExpression(QStringLiteral("Totales:\\s+0,00\\s+110,00\\s+-40,00"))), qPrintable(printed));

        if (!XlrdCsv::available())
            QSKIP("python3-xlrd is not installed");
        QString error;
        const QStringList sheet = XlrdCsv::convert(xlsPath, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY2(sheet.join(QLatin1Char('\n')).contains(QStringLiteral("PAGO,2,0,60,-40,FAC 7: 7")),
                 qPrintable(sheet.join(QLatin1Char('\n'))));
    }

    // The demo shop: the window opens on a supplier with this month's lines to show, and every
    // supplier's whole account ends at its balance.
    void demoShopHasAccountsToShow()
    {
        TempRoot root;
        const TestDatabase empty = TestDatabase::fresh(&data::vendrixSchema(), root.path());
        data::ShopSetupOptions options{QStringLiteral("admin"), true, empty.connectionString};
        const QDate today = vx::naiveNow().date();
        options.demoHistory = [&](vx::Connection &connection) { demo::recordHistory(connection, today); };
        {
            const vx::ReplayedClock opening(vx::naiveDateTime(today.addDays(-demo::historyDays)));
            data::createShop(options);
        }
        vx::ui::FakeDialogs dialogs;
        TDM1 module(vx::paths::dataLinkFile());
        vx::Connection &db = *module.ADOConnection1;
        QSqlQuery stored = db.execute(QStringLiteral("SELECT CLICOD, CLISAL FROM PROVEEDORES ORDER BY CLICOD"));
        QList<std::pair<int, double>> balances;
        while (stored.next())
            balances << std::pair{stored.value(0).toInt(), stored.value(1).toDouble()};
        QVERIFY(!balances.isEmpty());
        for (const auto &[code, balance] : balances) {
            suppliers::writeAccount(db, code, {today.addYears(-1), today});
            QCOMPARE(suppliers::accountTotals(db).closing, balance);
        }

        TFConsProv window;
        window.prepare();
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::mouseClick(window.CBCli->lineEdit(), Qt::LeftButton);
        QTest::keyClick(window.CBCli->lineEdit(), Qt::Key_Down);
        QTest::keyClick(window.CBCli->lineEdit(), Qt::Key_Return);
        QVERIFY2(window.list().recordCount() > 1, qPrintable(dialogs.texts(QStringLiteral("message")).join(QLatin1Char('\n'))));
        screenshots::save(window.grab().toImage(), QStringLiteral("FConsProv-demo.png"));
        QTest::keyClick(&window, Qt::Key_Escape);
    }

    // Both menu items open the account, and neither leaves lines behind.
    void menuItemsOpenTheAccount()
    {
        AccountShop shop;
        TFF1 main;
        shop.onWindow<TFConsProv>([](TFConsProv &w) { QVERIFY(w.list().active()); });
        for (QAction *item : {main.ConsultadeProveedores1, main.Consultas3}) {
            QVERIFY(item->isVisible());
            item->trigger();
        }
        QCOMPARE(shop.shownWindows, (QStringList{QStringLiteral("FConsProv"), QStringLiteral("FConsProv")}));
    }
};

QTEST_MAIN(TestConsProv)
#include "tst_consprov.moc"
