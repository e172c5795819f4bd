#include "../common/Screenshots.h"
#include "SalesShop.h"

#include "platform/core/ShopFormat.h"
#include "platform/ui/FakeDialogs.h"
#include "sales/Anula.h"
#include "sales/SaleCancellation.h"
#include "app/uGlobales.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTest>

using sales::CancellationError;

class TestAnula : public QObject {
    Q_OBJECT

    const QDate saleDay{2026, 12, 8};
    const QString busy = QStringLiteral("Archivos ocupados, intente en unos instantes.");

    // Two articles with 10 and 20 in stock, and receipt 42 selling 1 and 3 of them at 50 and
    // 10: total 80.
    void twoLineSale(SalesShop &shop)
    {
        shop.article(QStringLiteral("0000000000001"), QStringLiteral("REMERA"), 10);
        shop.article(QStringLiteral("0000000000002"), QStringLiteral("MEDIAS"), 20);
        shop.sale(42, saleDay, 1, 0,
                  {{QStringLiteral("0000000000001"), 1, 50}, {QStringLiteral("0000000000002"), 3, 10}});
    }

    double stockOf(SalesShop &shop, const QString &code)
    {
        return shop.scalar(QStringLiteral("SELECT ARTEX1 FROM STOCK WHERE ARTCMCT = ?"), {code}).toDouble();
    }

    int count(SalesShop &shop, const QString &sql, const QVariantList &params = {})
    {
        return shop.scalar(sql, params).toInt();
    }

    // Voided lines and receipts, whatever the engine stores a yes as.
    int voidedLines(SalesShop &shop)
    {
        return count(shop, QStringLiteral("SELECT COUNT(*) FROM ITECLI WHERE ITEANU = ?"),
                     {shop.db().dialect().toDatabase(true, vx::FieldType::Boolean)});
    }
    bool receiptVoided(SalesShop &shop, int number)
    {
        return shop.db()
            .dialect()
            .fromDatabase(shop.scalar(QStringLiteral("SELECT COMANU FROM CLICOM WHERE COMNRO = ?"), {number}),
                          vx::FieldType::Boolean)
            .toBool();
    }

    static void answer(vx::ui::FakeDialogs &dialogs, const QList<bool> &answers)
    {
        dialogs.confirmAnswers.clear();
        for (bool a : answers)
            dialogs.confirmAnswers.enqueue(a);
    }

    // The window of the menu command, with its views open and the receipt number typed.
    std::unique_ptr<TFAnula> openWindow(const QString &number)
    {
        auto window = std::make_unique<TFAnula>();
        window->openViews();
        window->CBFactura->setEditText(number);
        return window;
    }

private slots:
    void init() { uGlobales::session().operatorCode = 7; }

    void cancellationReturnsEveryLine()
    {
        SalesShop shop;
        twoLineSale(shop);
        QCOMPARE(stockOf(shop, QStringLiteral("0000000000001")), 9.0);
        QStringList progress;
        const auto result =
            sales::cancelSale(shop.db(), {42, saleDay, false, 7}, [&](const QString &text) { progress << text; });
        QCOMPARE(result.linesReturned, 2);
        QVERIFY(!result.refunded);
        QCOMPARE(stockOf(shop, QStringLiteral("0000000000001")), 10.0);
        QCOMPARE(stockOf(shop, QStringLiteral("0000000000002")), 20.0);
        QVERIFY(receiptVoided(shop, 42));
        QCOMPARE(voidedLines(shop), 2);
        QCOMPARE(progress.size(), 2);

        QSqlQuery movements = shop.db().execute(QStringLiteral(
            "SELECT MOVCMCT, MOVCAN1, MOVNRO, MOVOBS, MOVOPE, MOVFEC FROM MOVIM WHERE MOVTIP = 'I' ORDER BY MOVUNO"));
        QVERIFY(movements.next());
        QCOMPARE(movements.value(0).toString(), QStringLiteral("0000000000001"));
        QCOMPARE(movements.value(1).toDouble(), 1.0);
        QCOMPARE(movements.value(2).toInt(), 42);
        QCOMPARE(movements.value(3).toString(), QStringLiteral("Por Anulacion Comprob. 42"));
        QCOMPARE(movements.value(4).toInt(), 7);
        QCOMPARE(shop.db().dialect().fromDatabase(movements.value(5), vx::FieldType::DateTime).toDateTime().date(),
                 QDate::currentDate());
        QVERIFY(movements.next());
        QCOMPARE(movements.value(1).toDouble(), 3.0);
        QVERIFY(!movements.next());
        // Issues stay as they were; the refund was not asked for.
        QCOMPARE(count(shop, QStringLiteral("SELECT COUNT(*) FROM EGRESOS")), 2);
        QCOMPARE(count(shop, QStringLiteral("SELECT COUNT(*) FROM CAJA WHERE CAJMOV = 'E'")), 0);

        // A second cancellation finds the receipt voided and changes nothing.
        try {
            sales::cancelSale(shop.db(), {42, saleDay, true, 7});
            QFAIL("a voided receipt was voided again");
        } catch (const CancellationError &e) {
            QCOMPARE(e.kind(), CancellationError::Kind::Voided);
            QCOMPARE(e.message(), QStringLiteral("Comprobante Anulado."));
        }
        QCOMPARE(stockOf(shop, QStringLiteral("0000000000001")), 10.0);
        QCOMPARE(count(shop, QStringLiteral("SELECT COUNT(*) FROM MOVIM WHERE MOVTIP = 'I'")), 2);
    }

    void fractionalQuantitiesGoBackAsSold()
    {
        SalesShop shop;
        shop.article(QStringLiteral("0000000000009"), QStringLiteral("TELA POR METRO"), 10);
        shop.sale(5, saleDay, 1, 0, {{QStringLiteral("0000000000009"), 1.5, 100}});
        QCOMPARE(stockOf(shop, QStringLiteral("0000000000009")), 8.5);
        sales::cancelSale(shop.db(), {5, saleDay, false, 1});
        QCOMPARE(stockOf(shop, QStringLiteral("0000000000009")), 10.0);
        QCOMPARE(shop.scalar(QStringLiteral("SELECT MOVCAN1 FROM MOVIM WHERE MOVTIP = 'I'")).toDouble(), 1.5);
    }

    void refundWritesTheNegativeAmount()
    {
        SalesShop shop;
        shop.article(QStringLiteral("0000000000001"), QStringLiteral("CAMPERA"), 4);
        shop.sale(42, saleDay, 1, 0, {{QStringLiteral("0000000000001"), 2, 90}});
        const sales::ReceiptToCancel receipt = sales::findReceiptToCancel(shop.db(), 42);
        QCOMPARE(receipt.state, sales::ReceiptToCancel::State::Open);
        QVERIFY(receipt.refundable());
        const QDate cancelled(2026, 12, 10);
        QVERIFY(sales::cancelSale(shop.db(), {42, cancelled, true, 1}).refunded);

        QSqlQuery cash = shop.db().execute(
            QStringLiteral("SELECT CAJCOM, CAJTIP, CAJIMP, CAJFEC, CAJSAL, CAJCON FROM CAJA WHERE CAJMOV = 'E'"));
        QVERIFY(cash.next());
        QCOMPARE(cash.value(0).toString(), QStringLiteral("42"));
        QCOMPARE(cash.value(1).toString(), QStringLiteral("EF"));
        QCOMPARE(cash.value(2).toDouble(), -180.0);
        const vx::SqlDialect &dialect = shop.db().dialect();
        QCOMPARE(dialect.fromDatabase(cash.value(3), vx::FieldType::DateTime).toDateTime().date(), cancelled);
        QCOMPARE(dialect.fromDatabase(cash.value(4), vx::FieldType::DateTime).toDateTime().date(), cancelled);
        QCOMPARE(cash.value(5).toString(), QStringLiteral("Por ANULACION de Comprob. 42"));
        QVERIFY(!cash.next());
        // The cash book nets the sale out.
        QCOMPARE(shop.scalar(QStringLiteral("SELECT SUM(CAJIMP) FROM CAJA")).toDouble(), 0.0);
    }

    void linesVoidedBeforeAreNotReturnedTwice()
    {
        SalesShop shop;
        twoLineSale(shop);
        shop.db().execute(
            QStringLiteral("UPDATE ITECLI SET ITEANU = ? WHERE ITECOD = ?"),
            {shop.db().dialect().toDatabase(true, vx::FieldType::Boolean), QStringLiteral("0000000000002")});
        QCOMPARE(sales::cancelSale(shop.db(), {42, saleDay, false, 1}).linesReturned, 1);
        QCOMPARE(stockOf(shop, QStringLiteral("0000000000001")), 10.0);
        QCOMPARE(stockOf(shop, QStringLiteral("0000000000002")), 17.0);
    }

    // Two receipts numbered 42 on different days, recorded before lines carried their header's
    // key: each is voided with the lines of its own date; the card part of the second, known
    // only from its pending coupon, is withdrawn instead of refunded in cash.
    void receiptsSharingANumberRecordedBeforeTheLink()
    {
        SalesShop shop;
        shop.article(QStringLiteral("0000000000001"), QStringLiteral("REMERA"), 10);
        shop.article(QStringLiteral("0000000000002"), QStringLiteral("MEDIAS"), 20);
        const QDate nextDay = saleDay.addDays(1);
        shop.sale(42, saleDay, 1, 0, {{QStringLiteral("0000000000001"), 1, 50}});
        shop.sale(42, nextDay, 1, 0, {{QStringLiteral("0000000000002"), 3, 10}});
        shop.insert(QStringLiteral("CUPONES"),
                    {QStringLiteral("CUPCOM"), QStringLiteral("CUPFEC"), QStringLiteral("CUPEST"),
                     QStringLiteral("CUPIMP")},
                    {QStringLiteral("42"), QDateTime(nextDay, QTime(0, 0)), QStringLiteral("P"), 10.0});
        const qint64 second = shop.scalar(QStringLiteral("SELECT MAX(COMUNO) FROM CLICOM")).toLongLong();

        sales::CancellationRequest request{42, nextDay, true, 1};
        request.receiptKey = second;
        QCOMPARE(sales::cancelSale(shop.db(), request).linesReturned, 1);
        QCOMPARE(stockOf(shop, QStringLiteral("0000000000002")), 20.0);
        QCOMPARE(stockOf(shop, QStringLiteral("0000000000001")), 9.0);
        QCOMPARE(count(shop, QStringLiteral("SELECT COUNT(*) FROM CUPONES")), 0);
        QCOMPARE(shop.scalar(QStringLiteral("SELECT SUM(CAJIMP) FROM CAJA WHERE CAJMOV = 'E'")).toDouble(), -20.0);

        // The number alone now names the first, still open.
        QCOMPARE(sales::findReceiptToCancel(shop.db(), 42).state, sales::ReceiptToCancel::State::Open);
        QCOMPARE(sales::cancelSale(shop.db(), {42, saleDay, false, 1}).linesReturned, 1);
        QCOMPARE(stockOf(shop, QStringLiteral("0000000000001")), 10.0);
        QCOMPARE(voidedLines(shop), 2);
        QCOMPARE(sales::findReceiptToCancel(shop.db(), 42).state, sales::ReceiptToCancel::State::Voided);
    }

    void failuresStoreNothing()
    {
        SalesShop shop;
        twoLineSale(shop);
        // An open transaction on the connection: refused at once.
        shop.db().beginTransaction();
        try {
            sales::cancelSale(shop.db(), {42, saleDay, true, 1});
            QFAIL("cancelled inside another transaction");
        } catch (const CancellationError &e) {
            QCOMPARE(e.kind(), CancellationError::Kind::Busy);
            QCOMPARE(e.message(), busy);
        }
        QVERIFY(shop.db().inTransaction());
        shop.db().rollback();

        // A table that cannot be written half way: everything written before rolls back.
        shop.db().execute(QStringLiteral("DROP TABLE MOVIM"));
        try {
            sales::cancelSale(shop.db(), {42, saleDay, true, 1});
            QFAIL("cancelled without a movements table");
        } catch (const CancellationError &e) {
            QCOMPARE(e.kind(), CancellationError::Kind::Failed);
            QCOMPARE(
                e.message(),
                QStringLiteral("No se pudo concluir el proceso. \nIntente nuevamente o aguarde unos instantes..."));
        }
        QVERIFY(!shop.db().inTransaction());
        QVERIFY(!receiptVoided(shop, 42));
        QCOMPARE(voidedLines(shop), 0);
        QCOMPARE(stockOf(shop, QStringLiteral("0000000000001")), 9.0);
        QCOMPARE(count(shop, QStringLiteral("SELECT COUNT(*) FROM CAJA WHERE CAJMOV = 'E'")), 0);

        QCOMPARE(sales::findReceiptToCancel(shop.db(), 99).state, sales::ReceiptToCancel::State::Missing);
    }

    void windowAsksAndVoids()
    {
        SalesShop shop;
        twoLineSale(shop);
        vx::ui::FakeDialogs dialogs;
        auto window = openWindow(QString());
        window->BAnularClick();
        QCOMPARE(dialogs.texts(QStringLiteral("message")),
                 QStringList{QStringLiteral("Seleccione Comprobante a Anular.")});

        // Declined confirmation: nothing happens.
        window->CBFactura->setEditText(QStringLiteral("42"));
        dialogs.shown.clear();
        answer(dialogs, {false});
        window->BAnularClick();
        QCOMPARE(dialogs.texts(QStringLiteral("confirm")),
                 QStringList{QStringLiteral("Confirma la anulación del comprobante Nro. 42 ?")});
        QVERIFY(!receiptVoided(shop, 42));

        // Confirmed, refund declined: voided without a cash row; the date box gets today.
        dialogs.shown.clear();
        answer(dialogs, {true, false});
        window->BAnularClick();
        QCOMPARE(dialogs.texts(QStringLiteral("confirm")),
                 (QStringList{QStringLiteral("Confirma la anulación del comprobante Nro. 42 ?"),
                              QStringLiteral("Devuelve importe abonado?")}));
        QCOMPARE(dialogs.texts(QStringLiteral("message")), QStringList{QStringLiteral("Proceso Terminado.")});
        QCOMPARE(window->EdFec->text(), vx::shopformat::formatDate(QDate::currentDate()));
        QVERIFY(receiptVoided(shop, 42));
        QCOMPARE(voidedLines(shop), 2);
        QCOMPARE(count(shop, QStringLiteral("SELECT COUNT(*) FROM CAJA WHERE CAJMOV = 'E'")), 0);
        QCOMPARE(stockOf(shop, QStringLiteral("0000000000002")), 20.0);
        // The views show the receipt voided.
        window->clicom().locate(QStringLiteral("COMNRO"), 42);
        QVERIFY(window->clicom().fieldByName(QStringLiteral("COMANU"))->asBoolean());

        dialogs.shown.clear();
        window->BAnularClick();
        QCOMPARE(dialogs.texts(QStringLiteral("message")), QStringList{QStringLiteral("Comprobante Anulado.")});
        QVERIFY(dialogs.texts(QStringLiteral("confirm")).isEmpty());

        // An unknown number is treated as a voided one.
        dialogs.shown.clear();
        window->CBFactura->setEditText(QStringLiteral("77"));
        window->BAnularClick();
        QCOMPARE(dialogs.texts(QStringLiteral("message")), QStringList{QStringLiteral("Comprobante Anulado.")});
    }

    void windowRefundsAndReportsBusy()
    {
        SalesShop shop;
        twoLineSale(shop);
        vx::ui::FakeDialogs dialogs;
        auto window = openWindow(QStringLiteral("42"));
        window->EdFec->setText(QStringLiteral("09/12/2026"));

        shop.db().beginTransaction();
        answer(dialogs, {true});
        window->BAnularClick();
        QCOMPARE(dialogs.texts(QStringLiteral("message")), QStringList{busy});
        shop.db().rollback();
        QVERIFY(!receiptVoided(shop, 42));

        dialogs.shown.clear();
        answer(dialogs, {true, true});
        window->BAnularClick();
        QCOMPARE(dialogs.texts(QStringLiteral("message")), QStringList{QStringLiteral("Proceso Terminado.")});
        QCOMPARE(shop.scalar(QStringLiteral("SELECT CAJIMP FROM CAJA WHERE CAJMOV = 'E'")).toDouble(), -80.0);
    }

    void gridSelectsAndViewsFollow()
    {
        SalesShop shop;
        twoLineSale(shop);
        shop.article(QStringLiteral("0000000000003"), QStringLiteral("GORRO"), 5);
        shop.sale(43, saleDay, 1, 0, {{QStringLiteral("0000000000003"), 1, 30}});
        vx::ui::FakeDialogs dialogs;
        auto window = openWindow(QString());
        window->clicom().last();
        window->DBGrid1CellClick();
        QCOMPARE(window->CBFactura->currentText(), QStringLiteral("43"));
        QCOMPARE(window->itecli().recordCount(), 1);
        QCOMPARE(window->stock().fieldByName(QStringLiteral("ARTDES"))->asString(), QStringLiteral("GORRO"));

        window->CBFactura->setEditText(QStringLiteral("42"));
        window->CBFacturaChange();
        QCOMPARE(window->itecli().recordCount(), 2);
        QCOMPARE(window->stock().fieldByName(QStringLiteral("ARTDES"))->asString(), QStringLiteral("REMERA"));

        screenshots::save(window->grab().toImage(), QStringLiteral("vx-anula.png"));
        window->BCerrarClick();
        QVERIFY(!window->clicom().active());
        QVERIFY(!window->itecli().active());
    }
};

QTEST_MAIN(TestAnula)
#include "tst_anula.moc"
