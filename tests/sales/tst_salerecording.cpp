#include "SalesTestShop.h"

#include "platform/core/ShopFormat.h"
#include "platform/db/DataLink.h"
#include "sales/SaleRecording.h"

#include <QElapsedTimer>
#include <QSemaphore>
#include <QTest>
#include <QThread>

using sales::SaleEntry;
using sales::SaleLine;

namespace {

const QString shirt = QStringLiteral("7790001000019");
const QString jeans = QStringLiteral("7790001000026");
const QString failedText = QStringLiteral("No se pudo completar el proceso. Reingrese la transacción");

// A sale as the sales window hands it over: two shirts at 50 and one pair of jeans at 80, paid in
// cash (the window puts the total into the cash when no tender was entered).
SaleEntry twoLineSale()
{
    SaleEntry entry;
    entry.receiptNumberText = QStringLiteral("42");
    entry.dateText = QStringLiteral("01/03/2026");
    entry.customerName = QStringLiteral("CONSUMIDOR FINAL");
    entry.cash = 180;
    entry.lines = {SaleLine{shirt, 2, 50}, SaleLine{jeans, 1, 80}};
    entry.operatorCode = 7;
    entry.accessLevel = 2;
    return entry;
}

QStringList names(std::initializer_list<const char *> list)
{
    QStringList out;
    for (const char *n : list)
        out << QString::fromLatin1(n);
    return out;
}

QString cause(const std::function<void()> &recording)
{
    try {
        recording();
    } catch (const sales::SaleRecordingError &e) {
        if (QString::fromUtf8(e.what()) != failedText)
            return QStringLiteral("wrong operator message: ") + QString::fromUtf8(e.what());
        return e.cause();
    }
    return {};
}

} // namespace

class TestSaleRecording : public QObject {
    Q_OBJECT

    std::unique_ptr<SalesTestShop> m_shop;

    SalesTestShop &shop() { return *m_shop; }

    // Nothing of a sale is stored and the stock is as it was.
    void verifyNothingStored()
    {
        for (const char *table : {"EGRESOS", "MOVIM", "ITECLI", "CLICOM", "CAJA"})
            QVERIFY2(shop().count(QString::fromLatin1(table)) == 0, table);
        QCOMPARE(shop().stockOf(shirt), 10.0);
        QCOMPARE(shop().stockOf(jeans), 5.0);
        QVERIFY(shop().rows(QStringLiteral("STOCK"), {QStringLiteral("ARTFEC2")}).first().first().isNull());
    }

private slots:
    void init()
    {
        m_shop = std::make_unique<SalesTestShop>();
        shop().addArticle(shirt, 10, 30);
        shop().addArticle(jeans, 5, 12.5);
    }
    void cleanup() { m_shop.reset(); }

    void twoLinesWriteEveryRowOfTheSale()
    {
        QStringList labels;
        const QDate today = QDate::currentDate();
        const sales::RecordedSale sale =
            sales::recordSale(shop().db(), twoLineSale(), [&](const QString &text) { labels << text; });
        QCOMPARE(sale.receiptNumber, 42);
        QVERIFY(!sale.numberChanged);

        const QString remark = QStringLiteral("Por Venta Nro. 42");
        const auto issues = shop().rows(QStringLiteral("EGRESOS"),
                                        names({"EGRNRO", "EGRNIV", "EGROPE", "EGRFEC", "EGRCMCT", "EGRCAN1", "EGRCOS1",
                                               "EGRVTA1", "EGROBS", "EGRCAN2", "EGRCLI", "EGRHOR"}));
        QCOMPARE(issues.size(), 2);
        QCOMPARE(issues[0].mid(0, 11),
                 (QVariantList{42, 2, 7, day(1, 3, 2026), shirt, 2.0, 30.0, 50.0, remark, QVariant(), QVariant()}));
        QCOMPARE(issues[1].mid(0, 11),
                 (QVariantList{42, 2, 7, day(1, 3, 2026), jeans, 1.0, 12.5, 80.0, remark, QVariant(), QVariant()}));
        QCOMPARE(issues[0][11].toDateTime().date(), today);

        QCOMPARE(shop().stockOf(shirt), 8.0);
        QCOMPARE(shop().stockOf(jeans), 4.0);
        for (const QVariantList &row : shop().rows(QStringLiteral("STOCK"), {QStringLiteral("ARTFEC2")}))
            QCOMPARE(row.first(), QVariant(day(1, 3, 2026)));

        const auto movements = shop().rows(
            QStringLiteral("MOVIM"),
            names({"MOVFEC", "MOVCMCT", "MOVCAN1", "MOVNRO", "MOVTIP", "MOVOBS", "MOVOPE", "MOVCAN2", "MOVHOR"}));
        QCOMPARE(movements.size(), 2);
        const QVariant todayValue = vx::naiveDateTime(today);
        QCOMPARE(movements[0].mid(0, 8),
                 (QVariantList{todayValue, shirt, 2.0, 42, QStringLiteral("E"), remark, 7, QVariant()}));
        QCOMPARE(movements[1].mid(0, 8),
                 (QVariantList{todayValue, jeans, 1.0, 42, QStringLiteral("E"), remark, 7, QVariant()}));
        QVERIFY(QTime::fromString(movements[0][8].toString(), QStringLiteral("hh:mm:ss")).isValid());

        const auto lines =
            shop().rows(QStringLiteral("ITECLI"), names({"ITECOM", "ITECLI", "ITETIP", "ITECOD", "ITECAN", "ITEPOR",
                                                         "ITEEDI", "ITEPRE", "ITEFEC", "ITECAU", "ITEOPE", "ITEANU"}));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], (QVariantList{42.0, 1.0, QStringLiteral("1B"), shirt, 2.0, QVariant(), 50.0, 50.0,
                                         day(1, 3, 2026), 30.0, 7, false}));
        QCOMPARE(lines[1], (QVariantList{42.0, 1.0, QStringLiteral("1B"), jeans, 1.0, QVariant(), 80.0, 80.0,
                                         day(1, 3, 2026), 12.5, 7, false}));

        const auto headers =
            shop().rows(QStringLiteral("CLICOM"), names({"COMTIP", "COMNRO", "COMCLI", "COMTOT", "COMSUB", "COMPOR",
                                                         "COMDIA", "COMSAL", "COMOPE", "COMANU"}));
        QCOMPARE(headers, (QList<QVariantList>{{QStringLiteral("1B"), 42.0, 1, 180.0, 180.0, 0.0, day(1, 3, 2026), 0.0,
                                                7, false}}));

        // No tender entered: the whole total is cash, and there is no card row.
        const auto cash =
            shop().rows(QStringLiteral("CAJA"),
                        names({"CAJMOV", "CAJCOM", "CAJTIP", "CAJIMP", "CAJFEC", "CAJENT", "CAJCON", "CAJSAL"}));
        QCOMPARE(cash, (QList<QVariantList>{{QStringLiteral("I"), QStringLiteral("42"), QStringLiteral("EF"), 180.0,
                                             todayValue, day(1, 3, 2026), remark, QVariant()}}));

        const QString pad = QStringLiteral("              ");
        const QString issue = QStringLiteral("Grabando Egresos...") + pad;
        const QString stock = QStringLiteral("Actualizando en Stock...") + pad;
        const QString movement = QStringLiteral("Actualizando en Movimientos...") + pad;
        QCOMPARE(labels, (QStringList{QStringLiteral("Actualizando en Totales...") + pad, issue, stock, movement,
                                      issue, stock, movement, QStringLiteral("Actualizando en Caja...") + pad}));
    }

    void tenderGivesTheCashBookRows_data()
    {
        QTest::addColumn<double>("cash");
        QTest::addColumn<double>("card");
        QTest::addColumn<QStringList>("expected"); // "type amount" per CAJA row
        QTest::newRow("cash 200 for 180") << 200.0 << 0.0 << QStringList{QStringLiteral("EF 180")};
        QTest::newRow("card 100 and cash 80")
            << 80.0 << 100.0 << QStringList{QStringLiteral("EF 80"), QStringLiteral("TT 100")};
        QTest::newRow("card alone") << 0.0 << 180.0 << QStringList{QStringLiteral("TT 180")};
    }
    void tenderGivesTheCashBookRows()
    {
        QFETCH(double, cash);
        QFETCH(double, card);
        QFETCH(QStringList, expected);
        SaleEntry entry = twoLineSale();
        entry.cash = cash;
        entry.card = card;
        sales::recordSale(shop().db(), entry);
        QStringList rows;
        for (const QVariantList &row :
             shop().rows(QStringLiteral("CAJA"), names({"CAJTIP", "CAJIMP", "CAJCOM", "CAJMOV"}))) {
            QCOMPARE(row[2].toString(), QStringLiteral("42"));
            QCOMPARE(row[3].toString(), QStringLiteral("I"));
            rows << QStringLiteral("%1 %2").arg(row[0].toString()).arg(row[1].toDouble());
        }
        QCOMPARE(rows, expected);
    }

    void percentageLowersTheLinePrices()
    {
        SaleEntry entry = twoLineSale();
        entry.lines = {SaleLine{shirt, 1, 50}};
        entry.percentage = 10;
        entry.cash = 45;
        sales::recordSale(shop().db(), entry);
        QCOMPARE(shop().rows(QStringLiteral("ITECLI"), names({"ITEEDI", "ITEPRE", "ITEPOR"})),
                 (QList<QVariantList>{{50.0, 45.0, 10.0}}));
        QCOMPARE(shop().rows(QStringLiteral("EGRESOS"), names({"EGRVTA1"})), (QList<QVariantList>{{45.0}}));
        QCOMPARE(shop().rows(QStringLiteral("CLICOM"), names({"COMSUB", "COMPOR", "COMTOT"})),
                 (QList<QVariantList>{{50.0, 10.0, 45.0}}));
    }

    void customerDecidesTheReceiptType_data()
    {
        QTest::addColumn<QString>("condition");
        QTest::addColumn<QString>("type");
        QTest::newRow("registered") << QStringLiteral("RESP. INSCRIPTO") << QStringLiteral("1A");
        QTest::newRow("registered, other") << QStringLiteral("RESP. NO INSCRIPTO") << QStringLiteral("1A");
        QTest::newRow("final consumer") << QStringLiteral("CONSUMIDOR FINAL") << QStringLiteral("1B");
        QTest::newRow("small taxpayer") << QStringLiteral("MONOTRIBUTISTA") << QStringLiteral("1B");
        QTest::newRow("exempt") << QStringLiteral("RESP. EXENTO") << QStringLiteral("1B");
    }
    void customerDecidesTheReceiptType()
    {
        QFETCH(QString, condition);
        QFETCH(QString, type);
        // The customer looked up last must not lend its condition to a sale for somebody else.
        shop().addCustomer(3, QStringLiteral("OTRA EMPRESA"), QStringLiteral("RESP. INSCRIPTO"));
        shop().addCustomer(12, QStringLiteral("PEREZ JUAN"), condition);
        SaleEntry entry = twoLineSale();
        entry.customerName = QStringLiteral("PEREZ JUAN");
        sales::recordSale(shop().db(), entry);
        QCOMPARE(shop().rows(QStringLiteral("CLICOM"), names({"COMTIP", "COMCLI"})), (QList<QVariantList>{{type, 12}}));
        for (const QVariantList &row : shop().rows(QStringLiteral("ITECLI"), names({"ITETIP", "ITECLI"})))
            QCOMPARE(row, (QVariantList{type, 12.0}));

        entry.customerName = QStringLiteral("NADIE CONOCIDO");
        entry.receiptNumberText = QStringLiteral("43");
        sales::recordSale(shop().db(), entry);
        QCOMPARE(shop().rows(QStringLiteral("CLICOM"), names({"COMTIP", "COMCLI"}), QStringLiteral("COMNRO = 43")),
                 (QList<QVariantList>{{QStringLiteral("1B"), 1}}));
    }

    void duplicateNamesAndCodesGoToTheFirstEntered()
    {
        shop().addCustomer(12, QStringLiteral("PEREZ JUAN"), QStringLiteral("RESP. INSCRIPTO"));
        shop().addCustomer(13, QStringLiteral("PEREZ JUAN"), QStringLiteral("CONSUMIDOR FINAL"));
        shop().addArticle(shirt, 100, 99);
        SaleEntry entry = twoLineSale();
        entry.customerName = QStringLiteral("PEREZ JUAN");
        sales::recordSale(shop().db(), entry);
        QCOMPARE(shop().rows(QStringLiteral("CLICOM"), names({"COMTIP", "COMCLI"})),
                 (QList<QVariantList>{{QStringLiteral("1A"), 12}}));
        QCOMPARE(shop().rows(QStringLiteral("STOCK"), names({"ARTEX1"}), QStringLiteral("ARTCMCT = '%1'").arg(shirt)),
                 (QList<QVariantList>{{8.0}, {100.0}}));
        QCOMPARE(shop().rows(QStringLiteral("ITECLI"), names({"ITECAU"}), QStringLiteral("ITECOD = '%1'").arg(shirt)),
                 (QList<QVariantList>{{30.0}}));
    }

    void emptyNumberTakesTheNextOverEveryType()
    {
        shop().addReceipt(QStringLiteral("1A"), 40);
        shop().addReceipt(QStringLiteral("X"), 41);
        shop().addReceipt(QStringLiteral("1B"), 39);
        SaleEntry entry = twoLineSale();
        entry.receiptNumberText.clear();
        const sales::RecordedSale sale = sales::recordSale(shop().db(), entry);
        QCOMPARE(sale.receiptNumber, 42);
        QVERIFY(!sale.numberChanged);
        QCOMPARE(shop().count(QStringLiteral("CLICOM"), QStringLiteral("COMNRO = 42")), 1);
        QCOMPARE(shop().count(QStringLiteral("ITECLI"), QStringLiteral("ITECOM = 42")), 2);

        // The first sale of a new shop.
        SalesTestShop empty;
        empty.addArticle(shirt, 1, 1);
        QCOMPARE(sales::recordSale(empty.db(), entry).receiptNumber, 1);
    }

    void typedNumberIsUsedEvenWhenItExists()
    {
        shop().addReceipt(QStringLiteral("1B"), 41);
        shop().addReceipt(QStringLiteral("1B"), 50);
        SaleEntry entry = twoLineSale();
        entry.receiptNumberText = QStringLiteral("41");
        const sales::RecordedSale sale = sales::recordSale(shop().db(), entry);
        QCOMPARE(sale.receiptNumber, 41);
        QVERIFY(!sale.numberChanged);
        QCOMPARE(shop().count(QStringLiteral("CLICOM"), QStringLiteral("COMNRO = 41")), 2);
        QCOMPARE(shop().count(QStringLiteral("EGRESOS"), QStringLiteral("EGRNRO = 41")), 2);
    }

    void proposedNumberTakenMeanwhileMovesOn()
    {
        // The window proposed 41 and wrote a coupon with it; another workstation then recorded 41.
        shop().addReceipt(QStringLiteral("1B"), 40);
        shop().addReceipt(QStringLiteral("1B"), 41);
        shop().insert(QStringLiteral("CUPONES"), names({"CUPCOM", "CUPIMP", "CUPEST"}),
                      {QStringLiteral("41"), 100.0, QStringLiteral("P")});
        shop().insert(QStringLiteral("CUPONES"), names({"CUPCOM", "CUPIMP", "CUPEST"}),
                      {QStringLiteral("41"), 7.0, QStringLiteral("P")});
        const qint64 coupon = shop().db().scalar(QStringLiteral("SELECT MIN(Id) FROM CUPONES")).toLongLong();
        SaleEntry entry = twoLineSale();
        entry.receiptNumberText = QStringLiteral("41");
        entry.receiptNumberProposed = true;
        entry.cash = 80;
        entry.card = 100;
        entry.couponIds = {coupon};
        const sales::RecordedSale sale = sales::recordSale(shop().db(), entry);
        QCOMPARE(sale.receiptNumber, 42);
        QVERIFY(sale.numberChanged);
        QCOMPARE(shop().count(QStringLiteral("CLICOM"), QStringLiteral("COMNRO = 41")), 1);
        QCOMPARE(shop().count(QStringLiteral("ITECLI"), QStringLiteral("ITECOM = 42")), 2);
        QCOMPARE(shop().count(QStringLiteral("MOVIM"), QStringLiteral("MOVNRO = 42 AND MOVOBS = 'Por Venta Nro. 42'")),
                 2);
        QCOMPARE(shop().count(QStringLiteral("CAJA"), QStringLiteral("CAJCOM = '42'")), 2);
        // The sale's coupon follows it; somebody else's coupon keeps its number.
        QCOMPARE(shop().rows(QStringLiteral("CUPONES"), names({"CUPCOM", "CUPIMP"})),
                 (QList<QVariantList>{{QStringLiteral("42"), 100.0}, {QStringLiteral("41"), 7.0}}));

        // A proposed number still free is kept.
        entry.receiptNumberText = QStringLiteral("45");
        entry.couponIds.clear();
        const sales::RecordedSale kept = sales::recordSale(shop().db(), entry);
        QCOMPARE(kept.receiptNumber, 45);
        QVERIFY(!kept.numberChanged);
    }

    void lineOfAVanishedArticle()
    {
        SaleEntry entry = twoLineSale();
        const QString gone = QStringLiteral("7790009999999");
        entry.lines = {SaleLine{gone, 1, 20}};
        QStringList labels;
        sales::recordSale(shop().db(), entry, [&](const QString &text) { labels << text; });
        QCOMPARE(shop().rows(QStringLiteral("EGRESOS"), names({"EGRCMCT", "EGRCOS1", "EGRVTA1"})),
                 (QList<QVariantList>{{gone, QVariant(), 20.0}}));
        QCOMPARE(shop().rows(QStringLiteral("ITECLI"), names({"ITECOD", "ITECAU"})),
                 (QList<QVariantList>{{gone, 0.0}}));
        QCOMPARE(shop().count(QStringLiteral("MOVIM")), 1);
        QCOMPARE(shop().stockOf(shirt), 10.0);
        QCOMPARE(shop().stockOf(jeans), 5.0);
        QVERIFY(!labels.join(QLatin1Char('|')).contains(QStringLiteral("Stock")));
    }

    void failureRollsEverythingBack_data()
    {
        QTest::addColumn<int>("fault");
        QTest::newRow("no lines") << 0;
        QTest::newRow("number not an integer") << 1;
        QTest::newRow("date not a date") << 2;
        QTest::newRow("second line's code too long") << 3;
        QTest::newRow("cash book unwritable") << 4;
    }
    void failureRollsEverythingBack()
    {
        QFETCH(int, fault);
        shop().insert(QStringLiteral("CUPONES"), names({"CUPCOM", "CUPIMP"}), {QStringLiteral("41"), 100.0});
        SaleEntry entry = twoLineSale();
        entry.receiptNumberProposed = true;
        entry.couponIds = {shop().db().scalar(QStringLiteral("SELECT MAX(Id) FROM CUPONES")).toLongLong()};
        switch (fault) {
        case 0:
            entry.lines.clear();
            break;
        case 1:
            entry.receiptNumberText = QStringLiteral("4x2");
            break;
        case 2:
            entry.dateText = QStringLiteral("31/02/2026");
            break;
        case 3:
            entry.lines[1].articleCode = QStringLiteral("77900010000260000000000");
            break;
        case 4:
            shop().db().execute(QStringLiteral("DROP TABLE CAJA"));
            break;
        }
        const QString why = cause([&] { sales::recordSale(shop().db(), entry); });
        QVERIFY2(!why.isEmpty(), "the recording did not fail");
        QVERIFY2(!why.startsWith(QStringLiteral("wrong")), qPrintable(why));
        if (fault == 4)
            shop().db().execute(QStringLiteral("CREATE TABLE CAJA (CAJUNO INTEGER)"));
        verifyNothingStored();
        QCOMPARE(shop().rows(QStringLiteral("CUPONES"), names({"CUPCOM"})),
                 (QList<QVariantList>{{QStringLiteral("41")}}));
        // The connection is usable again: the cashier records the sale once the fault is gone.
        if (fault != 4) {
            sales::recordSale(shop().db(), twoLineSale());
            QCOMPARE(shop().count(QStringLiteral("ITECLI")), 2);
        }
    }

    void waitsForAnotherWorkstationsLock()
    {
        // Another workstation holds the write lock for a moment; the sale waits for it.
        QSemaphore locked;
        const QString link = shop().connectionString;
        QThread *other = QThread::create([&] {
            auto db = vx::Connection::open(vx::DataLink::fromConnectionString(link), &data::vendrixSchema());
            vx::Transaction transaction(*db);
            db->execute(QStringLiteral("UPDATE STOCK SET ARTEX1 = ARTEX1 - 1 WHERE ARTCMCT = ?"), {shirt});
            locked.release();
            QThread::msleep(1500);
            transaction.commit();
        });
        other->start();
        locked.acquire();
        QElapsedTimer waited;
        waited.start();
        const sales::RecordedSale sale = sales::recordSale(shop().db(), twoLineSale());
        const qint64 elapsed = waited.elapsed();
        QVERIFY(other->wait(30000));
        delete other;
        QCOMPARE(sale.receiptNumber, 42);
        QVERIFY2(elapsed >= 1000, qPrintable(QString::number(elapsed)));
        // Both decrements count: the sale's 2 and the other workstation's 1.
        QCOMPARE(shop().stockOf(shirt), 7.0);
    }
};

QTEST_GUILESS_MAIN(TestSaleRecording)
#include "tst_salerecording.moc"
