// The goods receipt and goods issue recordings, without windows: every row and column they write,
// the stock arithmetic, the numbers they take, and failures that store nothing.
#include "StockTestShop.h"

#include "stock/GoodsIssue.h"
#include "stock/GoodsReceipt.h"

#include <QTest>

namespace {

const QString a = QStringLiteral("0000000000001");
const QString b = QStringLiteral("0000000000002");

QStringList names(const char *list)
{
    return QString::fromLatin1(list).split(QLatin1Char(' '));
}

stock::ReceiptEntry receipt(QList<stock::ReceiptLine> lines, const QString &number = QStringLiteral("7"))
{
    stock::ReceiptEntry entry;
    entry.number = {number, false};
    entry.dateText = QStringLiteral("05/12/2026");
    entry.lines = std::move(lines);
    entry.operatorCode = 4;
    entry.accessLevel = 1;
    return entry;
}

stock::IssueEntry issue(QList<stock::IssueLine> lines, const QString &number = QStringLiteral("9"))
{
    stock::IssueEntry entry;
    entry.number = {number, false};
    entry.dateText = QStringLiteral("06/12/2026");
    entry.receiverCode = 12;
    entry.purpose = QStringLiteral("MUESTRAS A SUCURSAL");
    entry.lines = std::move(lines);
    entry.operatorCode = 5;
    entry.accessLevel = 9;
    return entry;
}

}  // namespace

class TestStockRecording : public QObject {
    Q_OBJECT

private slots:
    // A two-line receipt: each line's receipt row and movement row, column by column (those the
    // receipt leaves alone included), and the articles' stock, costs and date.
    void receiptRows()
    {
        StockTestShop shop;
        shop.addArticle(a, 2.5, 1);
        shop.addArticle(b, std::nullopt, std::nullopt);
        QStringList progress;
        const stock::RecordedMovement recorded = stock::recordReceipt(
            shop.db(), receipt({{a, {}, 3, 7.25, 2, 7.5}, {b, {}, 1.5, 11, 0, 12}}),
            [&progress](const QString &step) { progress << step; });
        QCOMPARE(recorded.number, 7);
        QVERIFY(!recorded.numberChanged);
        QCOMPARE(progress.first(), QStringLiteral("Grabando datos en Ingresos..."));
        QVERIFY(progress.contains(QStringLiteral("Actualizando Stock...")));

        const auto ing = shop.rows(QStringLiteral("INGRESOS"),
                                   names("INGNRO INGNIV INGFEC INGCMCT INGCAN1 INGCOS1 INGCAN2 INGCOS2 INGOPE "
                                         "INGCOD INGOBS INGCLI INGRUB INGMAR INGCAN3"));
        QCOMPARE(ing.size(), 2);
        const QVariant none;
        QCOMPARE(ing[0], (QVariantList{7, 1, day(5, 12, 2026), a, 3.0, 7.25, 2.0, 7.5, 4, none, none, none, none,
                                       none, none}));
        QCOMPARE(ing[1], (QVariantList{7, 1, day(5, 12, 2026), b, 1.5, 11.0, 0.0, 12.0, 4, none, none, none, none,
                                       none, none}));
        QVERIFY(shop.value(QStringLiteral("SELECT COUNT(*) FROM INGRESOS WHERE INGHOR IS NULL")).toInt() == 0);

        const auto mov = shop.rows(QStringLiteral("MOVIM"),
                                   names("MOVTIP MOVFEC MOVNRO MOVCMCT MOVCAN1 MOVCAN2 MOVOBS MOVOPE MOVCOD MOVNIV"));
        const QDateTime today = vx::naiveDateTime(QDate::currentDate());
        const QString journalText = QStringLiteral("Por Ingreso Nro. 7");
        QCOMPARE(mov, (QList<QVariantList>{{QStringLiteral("I"), today, 7, a, 3.0, 2.0, journalText, 4, none, none},
                                           {QStringLiteral("I"), today, 7, b, 1.5, 0.0, journalText, 4, none, none}}));

        const auto stk = shop.rows(QStringLiteral("STOCK"),
                                   names("ARTEX1 ARTEX2 ARTCOS1 ARTCOS2 ARTFEC1 ARTFEC2 ARTVEN1 ARTVEN2 ARTVEN3"));
        QCOMPARE(stk[0], (QVariantList{5.5, 3.0, 7.25, 7.5, day(5, 12, 2026), none, 10.0, 20.0, 30.0}));
        QCOMPARE(stk[1], (QVariantList{1.5, 0.0, 11.0, 12.0, day(5, 12, 2026), none, 10.0, 20.0, 30.0}));
    }

    // A two-line issue, column by column; list-2 price 0 keeps the article's price.
    void issueRows()
    {
        StockTestShop shop;
        shop.addArticle(a, 4, 3);
        shop.addArticle(b, 1, 0, 25);
        QStringList progress;
        const stock::RecordedMovement recorded =
            stock::recordIssue(shop.db(), issue({{a, {}, 1.5, 0.5, 10, 22}, {b, {}, 2, 1, 10, 0}}),
                               [&progress](const QString &step) { progress << step; });
        QCOMPARE(recorded.number, 9);
        QCOMPARE(progress.first(), QStringLiteral("Grabando Egresos..."));

        const QVariant none;
        const QString purpose = QStringLiteral("MUESTRAS A SUCURSAL");
        const auto egr = shop.rows(QStringLiteral("EGRESOS"),
                                   names("EGRNRO EGRNIV EGROPE EGRCLI EGROBS EGRFEC EGRCMCT EGRCAN1 EGRCOS1 EGRCAN2 "
                                         "EGRCOS2 EGRVTA1 EGRVTA2 EGRCOD EGRMAR"));
        QCOMPARE(egr, (QList<QVariantList>{
                          {9, 9, 5, 12, purpose, day(6, 12, 2026), a, 1.5, 10.0, 0.5, 22.0, none, none, none, none},
                          {9, 9, 5, 12, purpose, day(6, 12, 2026), b, 2.0, 10.0, 1.0, 0.0, none, none, none, none}}));
        const auto mov = shop.rows(QStringLiteral("MOVIM"), names("MOVTIP MOVNRO MOVCMCT MOVCAN1 MOVCAN2 MOVOBS MOVOPE"));
        const QString movConcept = QStringLiteral("Egreso Comprob.No.: 9");
        QCOMPARE(mov, (QList<QVariantList>{{QStringLiteral("E"), 9, a, 1.5, 0.5, movConcept, 5},
                                           {QStringLiteral("E"), 9, b, 2.0, 1.0, movConcept, 5}}));
        const auto stk = shop.rows(QStringLiteral("STOCK"),
                                   names("ARTEX1 ARTEX2 ARTVEN1 ARTVEN2 ARTVEN3 ARTCOS1 ARTFEC1 ARTFEC2"));
        QCOMPARE(stk, (QList<QVariantList>{{2.5, 2.5, 10.0, 22.0, 30.0, 5.0, none, day(6, 12, 2026)},
                                           {-1.0, -1.0, 10.0, 25.0, 30.0, 5.0, none, day(6, 12, 2026)}}));
    }

    // The stock a line leaves, added or subtracted exactly to what the database holds.
    void stockArithmetic_data()
    {
        QTest::addColumn<bool>("receiving");
        QTest::addColumn<QVariant>("start");       // null: never set
        QTest::addColumn<QList<double>>("moved");  // one line each, same article
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("cost");          // cost 1 afterwards
        QTest::newRow("2,5 receiving 3") << true << QVariant(2.5) << QList<double>{3} << 5.5 << 8.0;
        QTest::newRow("3,5 receiving 3") << true << QVariant(3.5) << QList<double>{3} << 6.5 << 8.0;
        QTest::newRow("null receiving 2") << true << QVariant() << QList<double>{2} << 2.0 << 8.0;
        QTest::newRow("quantity 0 replaces costs") << true << QVariant(4.0) << QList<double>{0} << 4.0 << 8.0;
        QTest::newRow("one article twice, later cost wins") << true << QVariant(1.0) << QList<double>{2, 0.5} << 3.5
                                                            << 9.0;
        QTest::newRow("1,5 from 4") << false << QVariant(4.0) << QList<double>{1.5} << 2.5 << 5.0;
        QTest::newRow("below zero") << false << QVariant(1.0) << QList<double>{3} << -2.0 << 5.0;
        QTest::newRow("null issuing 1,25") << false << QVariant() << QList<double>{1.25} << -1.25 << 5.0;
        QTest::newRow("issued twice") << false << QVariant(10.0) << QList<double>{2, 0.5} << 7.5 << 5.0;
    }
    void stockArithmetic()
    {
        QFETCH(bool, receiving);
        QFETCH(QVariant, start);
        QFETCH(QList<double>, moved);
        QFETCH(double, left);
        QFETCH(double, cost);
        StockTestShop shop;
        shop.addArticle(a, start.isNull() ? std::nullopt : std::optional<double>(start.toDouble()));
        QList<stock::ReceiptLine> in;
        QList<stock::IssueLine> out;
        for (int i = 0; i < moved.size(); ++i) {
            in.append({a, {}, moved[i], 8.0 + i, 0, 1});
            out.append({a, {}, moved[i], 0, 10, 20});
        }
        if (receiving)
            stock::recordReceipt(shop.db(), receipt(in));
        else
            stock::recordIssue(shop.db(), issue(out));
        QCOMPARE(shop.value(QStringLiteral("SELECT ARTEX1 FROM STOCK")).toDouble(), left);
        QCOMPARE(shop.value(QStringLiteral("SELECT ARTCOS1 FROM STOCK")).toDouble(), cost);
        QCOMPARE(shop.count(QStringLiteral("MOVIM")), int(moved.size()));
        QCOMPARE(shop.count(receiving ? QStringLiteral("INGRESOS") : QStringLiteral("EGRESOS")), int(moved.size()));
    }

    // What fails stores nothing at all, and says why.
    void failuresStoreNothing_data()
    {
        QTest::addColumn<bool>("receiving");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<QString>("cause");
        const QStringList good{a, b};
        const QString missing = QStringLiteral("0000000000099");
        for (const bool receiving : {true, false}) {
            const char *kind = receiving ? "receipt" : "issue";
            QTest::addRow("%s without lines", kind) << receiving << QStringLiteral("3") << QStringLiteral("01/12/2026")
                                                    << QStringList{}
                                                    << (receiving ? QStringLiteral("El ingreso no tiene artículos.")
                                                                  : QStringLiteral("El egreso no tiene artículos."));
            QTest::addRow("%s with a bad date", kind)
                << receiving << QStringLiteral("3") << QStringLiteral("31/02/2026") << good << QStringLiteral("31/02/2026");
            QTest::addRow("%s with a number that is none", kind)
                << receiving << QStringLiteral("3a") << QStringLiteral("01/12/2026") << good << QStringLiteral("\"3a\"");
            QTest::addRow("%s with a missing first article", kind)
                << receiving << QStringLiteral("3") << QStringLiteral("01/12/2026") << QStringList{missing, a}
                << QStringLiteral("ARTICULO 0099 (0000000000099) ya no está");
            QTest::addRow("%s with a missing last article", kind)
                << receiving << QStringLiteral("3") << QStringLiteral("01/12/2026") << QStringList{a, missing}
                << QStringLiteral("0000000000099");
        }
    }
    void failuresStoreNothing()
    {
        QFETCH(bool, receiving);
        QFETCH(QString, number);
        QFETCH(QString, date);
        QFETCH(QStringList, codes);
        QFETCH(QString, cause);
        StockTestShop shop;
        shop.addArticle(a, 4, 1);
        shop.addArticle(b, 2, 1);
        const auto before = shop.rows(QStringLiteral("STOCK"), names("ARTEX1 ARTEX2 ARTCOS1 ARTVEN2 ARTFEC1 ARTFEC2"));
        QList<stock::ReceiptLine> in;
        QList<stock::IssueLine> out;
        for (const QString &code : std::as_const(codes)) {
            in.append({code, QStringLiteral("ARTICULO ") + code.right(4), 1, 3, 1, 3});
            out.append({code, QStringLiteral("ARTICULO ") + code.right(4), 1, 1, 10, 21});
        }
        try {
            if (receiving) {
                stock::ReceiptEntry entry = receipt(in, number);
                entry.dateText = date;
                stock::recordReceipt(shop.db(), entry);
            } else {
                stock::IssueEntry entry = issue(out, number);
                entry.dateText = date;
                stock::recordIssue(shop.db(), entry);
            }
            QFAIL("recorded");
        } catch (const stock::MovementRecordingError &e) {
            QVERIFY(QString::fromUtf8(e.what()).startsWith(QStringLiteral("No se pudo completar el proceso.")));
            QVERIFY2(e.cause().contains(cause), qPrintable(e.cause()));
        }
        for (const char *table : {"INGRESOS", "EGRESOS", "MOVIM"})
            QCOMPARE(shop.count(QLatin1String(table)), 0);
        QCOMPARE(shop.rows(QStringLiteral("STOCK"), names("ARTEX1 ARTEX2 ARTCOS1 ARTVEN2 ARTFEC1 ARTFEC2")), before);
        QVERIFY(!shop.db().inTransaction());
    }

    // The number a document is recorded with: the next free one for an empty box, a typed one as
    // typed, a proposed one unless taken meanwhile; an issue's series counts the sale lines.
    void numbers_data()
    {
        QTest::addColumn<bool>("receiving");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("proposed");
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("changed");
        // Stored beforehand: receipt 0 (opening stock) and 4; issue 6 and the lines of sale 8.
        QTest::newRow("receipt, empty box") << true << QString() << false << 5 << false;
        QTest::newRow("receipt, proposed and free") << true << QStringLiteral("5") << true << 5 << false;
        QTest::newRow("receipt, proposed but taken") << true << QStringLiteral("4") << true << 5 << true;
        QTest::newRow("receipt, typed again") << true << QStringLiteral("4") << false << 4 << false;
        QTest::newRow("issue, empty box counts sale lines") << false << QString() << false << 9 << false;
        QTest::newRow("issue, proposed but taken by a sale") << false << QStringLiteral("8") << true << 9 << true;
        QTest::newRow("issue, typed") << false << QStringLiteral(" 6 ") << false << 6 << false;
    }
    void numbers()
    {
        QFETCH(bool, receiving);
        QFETCH(QString, typed);
        QFETCH(bool, proposed);
        QFETCH(int, number);
        QFETCH(bool, changed);
        StockTestShop shop;
        shop.addArticle(a, 1);
        QCOMPARE(stock::nextNumber(shop.db(), stock::receiptSeries), 1);
        QCOMPARE(stock::nextNumber(shop.db(), stock::issueSeries), 1);
        for (const int n : {0, 4})
            shop.insert(QStringLiteral("INGRESOS"), {QStringLiteral("INGNRO"), QStringLiteral("INGCMCT")}, {n, a});
        shop.insert(QStringLiteral("EGRESOS"), {QStringLiteral("EGRNRO"), QStringLiteral("EGRCMCT")}, {6, a});
        shop.insert(QStringLiteral("EGRESOS"), {QStringLiteral("EGRNRO"), QStringLiteral("EGRCMCT"), QStringLiteral("EGRVTA1")},
                    {8, a, 10.0});
        stock::RecordedMovement recorded;
        if (receiving) {
            stock::ReceiptEntry entry = receipt({{a, {}, 1, 1, 0, 0}});
            entry.number = {typed, proposed};
            recorded = stock::recordReceipt(shop.db(), entry);
        } else {
            stock::IssueEntry entry = issue({{a, {}, 1, 0, 1, 0}});
            entry.number = {typed, proposed};
            recorded = stock::recordIssue(shop.db(), entry);
        }
        QCOMPARE(recorded.number, number);
        QCOMPARE(recorded.numberChanged, changed);
        QCOMPARE(shop.value(QStringLiteral("SELECT MOVNRO FROM MOVIM")).toInt(), number);
        QVERIFY(shop.value(QStringLiteral("SELECT MOVOBS FROM MOVIM")).toString().endsWith(QString::number(number)));
    }
};

QTEST_GUILESS_MAIN(TestStockRecording)
#include "tst_stockrecording.moc"
