// The article recording and deletion, without a screen, on the engine under test.
#include "CatalogueShop.h"

#include "catalogue/ArticleDelete.h"
#include "catalogue/ArticleSave.h"

#include <QTest>

namespace {

const QDateTime now = vx::naiveDateTime(QDate(2026, 12, 8), QTime(10, 30, 15));

catalogue::Recorder recorder()
{
    return {3, 7, now};
}

catalogue::ArticleForm form(const QString &code, const QString &stock1 = {}, const QString &stock2 = {})
{
    catalogue::ArticleForm f;
    f.code = code;
    f.originCode = QStringLiteral("PRV-1");
    f.description = QStringLiteral("REMERA LISA");
    f.stock1 = stock1;
    f.stock2 = stock2;
    return f;
}

// The form as the article window has it after loading the article with these quantities, then
// showing `stock1` and `stock2`.
catalogue::ArticleForm loadedForm(const QString &code, const QString &loaded1, const QString &loaded2,
                                  const QString &stock1, const QString &stock2)
{
    catalogue::ArticleForm f = form(code, stock1, stock2);
    f.loadedCode = code;
    f.loadedStock1 = loaded1;
    f.loadedStock2 = loaded2;
    return f;
}

void addTwoArticlesWithMovements(CatalogueShop &shop, const QString &code, const QString &other)
{
    shop.addArticle(code, QStringLiteral("A"));
    shop.addArticle(other, QStringLiteral("B"));
    for (const QString &c : {code, other}) {
        shop.addReceipt(c, 2);
        shop.addIssue(c, 2);
        shop.addMovement(c, QStringLiteral("I"), 2);
        shop.addMovement(c, QStringLiteral("E"), 2);
    }
    shop.addSaleLine(code);
    shop.dm->Stock->open();
}

}  // namespace

class TestArticleSave : public QObject {
    Q_OBJECT

private slots:
    void newArticleWithStockGetsItsOpeningRows()
    {
        CatalogueShop shop;
        catalogue::ArticleForm f = form(QStringLiteral("123"), QStringLiteral("5"), QStringLiteral("2,5"));
        f.cost1 = QStringLiteral("10,00");
        f.margins = {QStringLiteral("30,00"), {}, {}, QStringLiteral("50")};
        f.prices = {QStringLiteral("13,00"), {}, {}, QStringLiteral("15")};
        f.reorderPoint = QStringLiteral("3");
        f.photo = QStringLiteral("C:\\FOTOS\\REMERA.BMP");
        f.remark = QStringLiteral("de algodón");
        f.lastOut = QStringLiteral("1/12/2026");
        QCOMPARE(catalogue::saveArticle(*shop.dm, f, recorder()), QStringLiteral("0000000000123"));

        vx::Table &stock = *shop.dm->Stock;
        QVERIFY(stock.locate(QStringLiteral("ARTCMCT"), QStringLiteral("0000000000123")));
        const auto field = [&stock](const char *name) { return stock.fieldByName(QLatin1String(name)); };
        QCOMPARE(field("ARTCOD")->asString(), QStringLiteral("PRV-1"));
        QCOMPARE(field("ARTEX1")->asFloat(), 5.0);
        QCOMPARE(field("ARTEX2")->asFloat(), 2.5);
        QCOMPARE(field("ARTVEN1")->asFloat(), 13.0);
        QVERIFY(field("ARTVEN2")->isNull());
        QCOMPARE(field("ARTUTI4")->asFloat(), 50.0);
        QCOMPARE(field("ARTREP")->asFloat(), 3.0);
        QCOMPARE(field("ARTOBS")->asString(), QStringLiteral("de algodón"));
        QCOMPARE(field("ARTFEC1")->asDateTime().date(), now.date());  // stock given, no date typed
        QCOMPARE(field("ARTFEC2")->asDateTime().date(), QDate(2026, 12, 1));

        QCOMPARE(shop.count(QStringLiteral("MOVIM")), 1);
        QCOMPARE(shop.value(QStringLiteral("SELECT MOVTIP FROM MOVIM")).toString(), QStringLiteral("I"));
        QCOMPARE(shop.value(QStringLiteral("SELECT MOVOBS FROM MOVIM")).toString(), QStringLiteral("Ingreso x Alta de Articulo"));
        QCOMPARE(shop.value(QStringLiteral("SELECT MOVCOD FROM MOVIM")).toString(), QStringLiteral("PRV-1"));
        QCOMPARE(shop.value(QStringLiteral("SELECT MOVHOR FROM MOVIM")).toString(), QStringLiteral("10:30:15"));
        QCOMPARE(shop.value(QStringLiteral("SELECT MOVCAN2 FROM MOVIM")).toDouble(), 2.5);
        QCOMPARE(shop.value(QStringLiteral("SELECT MOVOPE FROM MOVIM")).toInt(), 3);
        QCOMPARE(shop.count(QStringLiteral("INGRESOS"), QStringLiteral("INGNRO = 0 AND INGCMCT = ? AND INGCOD = ?"),
                            {QStringLiteral("0000000000123"), QStringLiteral("0000000000123")}),
                 1);
        QCOMPARE(shop.value(QStringLiteral("SELECT INGNIV FROM INGRESOS")).toInt(), 7);
        QCOMPARE(shop.value(QStringLiteral("SELECT INGCOS1 FROM INGRESOS")).toDouble(), 10.0);
        QCOMPARE(shop.value(QStringLiteral("SELECT INGCAN1 FROM INGRESOS")).toDouble(), 5.0);
    }

    void emptyCodeAndEmptyStockBoxes()
    {
        CatalogueShop shop;
        catalogue::ArticleForm f = form(QString());
        f.lastIn = QStringLiteral("02/11/2026");
        QCOMPARE(catalogue::saveArticle(*shop.dm, f, recorder()), QStringLiteral("0000000000000"));
        QCOMPARE(shop.count(QStringLiteral("STOCK"), QStringLiteral("ARTCMCT = '0000000000000'")), 1);
        QCOMPARE(shop.count(QStringLiteral("MOVIM")), 0);
        QCOMPARE(shop.count(QStringLiteral("INGRESOS")), 0);
        QVERIFY(shop.dm->Stock->fieldByName(QStringLiteral("ARTEX1"))->isNull());
        QCOMPARE(shop.dm->Stock->fieldByName(QStringLiteral("ARTFEC1"))->asDateTime().date(), QDate(2026, 11, 2));
    }

    void onlyTheSecondLocation()
    {
        CatalogueShop shop;
        catalogue::ArticleForm f = form(QStringLiteral("7"), QString(), QStringLiteral("4"));
        f.lastIn = QStringLiteral("30/11/2026");
        catalogue::saveArticle(*shop.dm, f, recorder());
        QCOMPARE(shop.count(QStringLiteral("MOVIM"), QStringLiteral("MOVCAN1 IS NULL AND MOVCAN2 = 4")), 1);
        QCOMPARE(shop.count(QStringLiteral("INGRESOS"), QStringLiteral("INGCAN1 IS NULL AND INGCAN2 = 4 AND INGCOS1 IS NULL")), 1);
        // The receipt carries the date typed for the last receipt.
        QCOMPARE(vx::asNaiveDateTime(shop.dm->Stock->fieldByName(QStringLiteral("ARTFEC1"))->asDateTime()).date(),
                 QDate(2026, 11, 30));
        const QVariant receiptDay = shop.value(QStringLiteral("SELECT INGFEC FROM INGRESOS"));
        QVERIFY(receiptDay.toString().contains(QStringLiteral("2026-11-30")) || receiptDay.toDate() == QDate(2026, 11, 30));
    }

    void savingAnExistingArticleAgainWritesOnlyTheDifference()
    {
        CatalogueShop shop;
        const QString code = QStringLiteral("0000000000055");
        const QString five = QStringLiteral("5");
        const QString four = QStringLiteral("4");
        catalogue::saveArticle(*shop.dm, form(QStringLiteral("55"), five, four), recorder());
        // Loaded and saved with the same quantities: no new movement.
        catalogue::saveArticle(*shop.dm, loadedForm(code, five, four, five, four), recorder());
        QCOMPARE(shop.count(QStringLiteral("MOVIM")), 1);
        QCOMPARE(shop.count(QStringLiteral("INGRESOS")), 1);
        QCOMPARE(shop.count(QStringLiteral("STOCK")), 1);

        // More in the shop, less in the store: one movement in, one out, each with its difference.
        catalogue::saveArticle(*shop.dm, loadedForm(code, five, four, QStringLiteral("8"), QStringLiteral("1")), recorder());
        QCOMPARE(shop.count(QStringLiteral("MOVIM")), 3);
        QCOMPARE(shop.count(QStringLiteral("MOVIM"), QStringLiteral("MOVTIP = 'I' AND MOVCAN1 = 3 AND MOVCAN2 IS NULL")), 1);
        QCOMPARE(shop.count(QStringLiteral("MOVIM"), QStringLiteral("MOVTIP = 'E' AND MOVCAN2 = 3 AND MOVCAN1 IS NULL")), 1);
        QCOMPARE(shop.count(QStringLiteral("INGRESOS")), 1);

        // The journal agrees with the stock in both locations.
        const auto journal = [&shop](const char *column) {
            return shop
                .value(QStringLiteral("SELECT SUM(CASE WHEN MOVTIP = 'I' THEN COALESCE(%1, 0) ELSE -COALESCE(%1, 0) END) FROM MOVIM")
                           .arg(QLatin1String(column)))
                .toDouble();
        };
        QCOMPARE(journal("MOVCAN1"), 8.0);
        QCOMPARE(journal("MOVCAN2"), 1.0);

        // An empty box leaves its quantity, and writes no movement for it.
        catalogue::saveArticle(*shop.dm, form(QStringLiteral("55")), recorder());
        QCOMPARE(shop.count(QStringLiteral("MOVIM")), 3);
        QCOMPARE(shop.value(QStringLiteral("SELECT ARTEX1 FROM STOCK")).toDouble(), 8.0);

        // Typed over boxes not loaded from this article: what was typed is added.
        catalogue::saveArticle(*shop.dm, form(QStringLiteral("55"), QStringLiteral("2")), recorder());
        QCOMPARE(shop.value(QStringLiteral("SELECT ARTEX1 FROM STOCK")).toDouble(), 10.0);
        QCOMPARE(journal("MOVCAN1"), 10.0);
        QCOMPARE(shop.dm->Stock->fieldByName(QStringLiteral("ARTEX1"))->asFloat(), 10.0);
    }

    void theArticleIsFoundAlsoWhenTheReorderViewHidesIt()
    {
        CatalogueShop shop;
        shop.addArticle(QStringLiteral("0000000000009"), QStringLiteral("CAMISA"), 10, 0, 1);
        vx::Table &stock = *shop.dm->Stock;
        stock.open();
        stock.setFiltered(true);
        QVERIFY(stock.isEmpty());
        catalogue::saveArticle(*shop.dm, loadedForm(QStringLiteral("0000000000009"), QStringLiteral("10"), QString(),
                                                    QStringLiteral("12"), QString()),
                               recorder());
        QCOMPARE(shop.count(QStringLiteral("STOCK")), 1);
        QCOMPARE(shop.value(QStringLiteral("SELECT ARTEX1 FROM STOCK")).toDouble(), 12.0);
    }

    void aBadBoxOrADatabaseFailureWritesNothing()
    {
        CatalogueShop shop;
        catalogue::ArticleForm bad = form(QStringLiteral("1"), QStringLiteral("5"));
        bad.cost1 = QStringLiteral("1,2,3");
        QVERIFY_THROWS_EXCEPTION(vx::DbError, catalogue::saveArticle(*shop.dm, bad, recorder()));
        bad.cost1.clear();
        bad.lastIn = QStringLiteral("31/02/2026");
        QVERIFY_THROWS_EXCEPTION(vx::DbError, catalogue::saveArticle(*shop.dm, bad, recorder()));
        QCOMPARE(shop.count(QStringLiteral("STOCK")), 0);

        // The stock row is written before its movement: when the movement fails, the stock row goes too.
        catalogue::saveArticle(*shop.dm, form(QStringLiteral("1"), QStringLiteral("5")), recorder());
        shop.db().execute(QStringLiteral("DROP TABLE MOVIM"));
        QVERIFY_THROWS_EXCEPTION(vx::DbError,
                                 catalogue::saveArticle(*shop.dm, form(QStringLiteral("1"), QStringLiteral("9")), recorder()));
        QVERIFY_THROWS_EXCEPTION(vx::DbError,
                                 catalogue::saveArticle(*shop.dm, form(QStringLiteral("2"), QStringLiteral("9")), recorder()));
        QCOMPARE(shop.value(QStringLiteral("SELECT ARTEX1 FROM STOCK WHERE ARTCMCT = '0000000000001'")).toDouble(), 5.0);
        QCOMPARE(shop.count(QStringLiteral("STOCK")), 1);
        QVERIFY(!shop.db().inTransaction());
        QCOMPARE(shop.dm->Stock->recordCount(), 1);
        QCOMPARE(shop.dm->Stock->state(), vx::Dataset::State::Browse);
    }

    void usageOfAnArticle()
    {
        CatalogueShop shop;
        shop.addReceipt(QStringLiteral("A"), 1);
        shop.addIssue(QStringLiteral("B"), 1);
        QVERIFY(catalogue::articleUsage(*shop.dm, QStringLiteral("A"), 0, 0).hasMovements);
        QVERIFY(catalogue::articleUsage(*shop.dm, QStringLiteral("B"), 0, 0).hasMovements);
        QVERIFY(!catalogue::articleUsage(*shop.dm, QStringLiteral("C"), 0, 0).hasMovements);
        QVERIFY(!catalogue::articleUsage(*shop.dm, QStringLiteral("C"), 0, 0).hasStock);
        QVERIFY(catalogue::articleUsage(*shop.dm, QStringLiteral("C"), -1, 0).hasStock);
        QVERIFY(catalogue::articleUsage(*shop.dm, QStringLiteral("C"), 0, 0.5).hasStock);
    }

    void deletingAnArticleWithItsMovements()
    {
        CatalogueShop shop;
        const QString code = QStringLiteral("0000000000001");
        const QString other = QStringLiteral("0000000000002");
        addTwoArticlesWithMovements(shop, code, other);
        QVERIFY(shop.dm->Stock->locate(QStringLiteral("ARTCMCT"), code));
        shop.dm->Movim->open();
        catalogue::deleteArticle(*shop.dm, code, true);
        QCOMPARE(shop.count(QStringLiteral("STOCK")), 1);
        QCOMPARE(shop.count(QStringLiteral("INGRESOS"), QStringLiteral("INGCMCT = ?"), {code}), 0);
        QCOMPARE(shop.count(QStringLiteral("EGRESOS"), QStringLiteral("EGRCMCT = ?"), {code}), 0);
        QCOMPARE(shop.count(QStringLiteral("MOVIM"), QStringLiteral("MOVCMCT = ?"), {code}), 0);
        QCOMPARE(shop.count(QStringLiteral("INGRESOS")), 1);
        QCOMPARE(shop.count(QStringLiteral("EGRESOS")), 1);
        QCOMPARE(shop.count(QStringLiteral("MOVIM")), 2);
        QCOMPARE(shop.count(QStringLiteral("ITECLI")), 1);  // sale lines stay
        QCOMPARE(shop.dm->Stock->recordCount(), 1);
        QVERIFY(!shop.dm->Movim->active());
    }

    void aFailureHalfWayKeepsEveryRowOfTheArticle()
    {
        CatalogueShop shop;
        const QString code = QStringLiteral("0000000000001");
        addTwoArticlesWithMovements(shop, code, QStringLiteral("0000000000002"));
        QVERIFY(shop.dm->Stock->locate(QStringLiteral("ARTCMCT"), code));
        // Receipts and issues go first; the movements then fail.
        shop.db().execute(QStringLiteral("DROP TABLE MOVIM"));
        QVERIFY_THROWS_EXCEPTION(vx::DbError, catalogue::deleteArticle(*shop.dm, code, true));
        QCOMPARE(shop.count(QStringLiteral("INGRESOS")), 2);
        QCOMPARE(shop.count(QStringLiteral("EGRESOS")), 2);
        QCOMPARE(shop.count(QStringLiteral("STOCK")), 2);
        QCOMPARE(shop.dm->Stock->recordCount(), 2);
        QVERIFY(!shop.db().inTransaction());
    }

    void anOpenTransactionRefusesTheDelete()
    {
        CatalogueShop shop;
        const QString code = QStringLiteral("0000000000001");
        shop.addArticle(code, QStringLiteral("A"));
        shop.dm->Stock->open();
        {
            vx::Transaction other(shop.db());
            QVERIFY_THROWS_EXCEPTION(catalogue::FilesBusy, catalogue::deleteArticle(*shop.dm, code, false));
        }
        QCOMPARE(shop.count(QStringLiteral("STOCK")), 1);
        catalogue::deleteArticle(*shop.dm, code, false);
        QCOMPARE(shop.count(QStringLiteral("STOCK")), 0);
        QVERIFY(shop.dm->Stock->isEmpty());
    }
};

QTEST_MAIN(TestArticleSave)
#include "tst_articlesave.moc"
