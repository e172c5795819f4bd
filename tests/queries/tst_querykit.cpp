// The query kit over the shop's real statements, on both engines: whole days, bound codes, totals
// that equal the rows listed, and (SQLite) plans that search an index.
#include "QueryShop.h"

#include "platform/db/DayRange.h"
#include "platform/db/SqlConditionBuilder.h"
#include "platform/db/Table.h"
#include "platform/db/Totals.h"
#include "sales/SalesQueries.h"
#include "stock/MovementQueries.h"

namespace {

struct Listed {
    int count = 0;
    QList<double> totals;
};

// Lists the rows and sums them twice: by a totals statement and as the list counts them; the two
// must agree or the count is given as -2.
Listed listWith(vx::Query &q, const vx::SqlCondition &condition, const QStringList &totals)
{
    if (!totals.isEmpty())
        q.setCountedSums(totals);
    q.setRecordFilter(condition);
    q.setFiltered(true);
    if (!q.active())
        q.open();
    int walked = 0;
    for (q.first(); !q.eof(); q.next())
        ++walked;
    if (walked != q.recordCount())
        return {-1, {}};
    if (totals.isEmpty())
        return {walked, {}};
    const QList<double> summed = vx::Totals::sums(q, totals);
    return {summed == q.countedSums() ? walked : -2, summed};
}

QStringList plan(vx::Connection &db, const QString &sql, const QVariantList &params)
{
    QSqlQuery explain = db.execute(QStringLiteral("EXPLAIN QUERY PLAN ") + sql, params);
    QStringList out;
    while (explain.next())
        out << explain.value(3).toString();
    return out;
}

// The plan reads the table through an index search, never by walking it, with every term the
// search must use (a customer's lines of a month: the customer and the dates together). Articles
// joined for their description are read from an index alone.
bool searches(const QStringList &steps, const QString &table, const QString &terms, bool articleFromIndex)
{
    bool searched = false;
    for (const QString &step : steps) {
        if (step.startsWith(QStringLiteral("SCAN ") + table))
            return false;
        if (articleFromIndex && step.startsWith(QStringLiteral("SEARCH STOCK")) && !step.contains(QStringLiteral("COVERING INDEX")))
            return false;
        searched = searched
                   || (step.startsWith(QStringLiteral("SEARCH ") + table) && step.contains(QStringLiteral("INDEX"))
                       && step.contains(terms));
    }
    return searched;
}

}  // namespace

class TestQueryKit : public QObject {
    Q_OBJECT

private slots:
    void lastDayCountsWholeAndTotalsMatch()
    {
        QueryShop shop;
        shop.addArticle(QStringLiteral("0000000000001"), QStringLiteral("REMERA"));
        const vx::DayRange days{QDate(2026, 11, 10), QDate(2026, 11, 12)};
        // In: the first second of the first day and the last of the last; out: one second beyond each.
        const QList<std::pair<QDateTime, bool>> moments{{at(10, "00:00:00"), true},
                                                        {at(12, "23:59:59"), true},
                                                        {at(9, "23:59:59"), false},
                                                        {at(13, "00:00:00"), false}};
        double quantity = 1;
        double in = 0;
        for (const auto &[when, inside] : moments) {
            shop.addReceipt(1, when, QStringLiteral("0000000000001"), quantity);
            shop.addIssue(1, when, QStringLiteral("0000000000001"), quantity);
            shop.addLine(int(quantity), when, QStringLiteral("0000000000001"), quantity, 2, 1);
            shop.addReceiptHeader(int(quantity), when, quantity);
            if (inside)
                in += quantity;
            quantity *= 10;
        }
        const vx::SqlDialect &dialect = shop.db().dialect();
        struct Case {
            vx::QueryStatement statement;
            QString dateColumn;
            QString total;
        };
        const QList<Case> cases{
            {stock::receiptQuery().statement, QStringLiteral("INGFEC"), QStringLiteral("INGCAN1")},
            {stock::issueQuery().statement, QStringLiteral("EGRFEC"), QStringLiteral("EGRCAN1")},
            {sales::saleLinesStatement(), QStringLiteral("ITEFEC"), sales::saleLineTotalsExpressions().first()},
            {sales::saleLinesByCustomerStatement(), QStringLiteral("ITEFEC"), sales::saleLineTotalsExpressions().first()},
            {sales::receiptListStatement(), QStringLiteral("COMDIA"), sales::receiptAmountNotCancelled()}};
        for (const Case &c : cases) {
            vx::Query q(&shop.db());
            q.setStatement(c.statement);
            const Listed listed = listWith(q, vx::SqlConditionBuilder(dialect).days(c.dateColumn, days).build(), {c.total});
            QCOMPARE(listed.count, 2);
            QCOMPARE(listed.totals, QList<double>{in});
            // From after to: nothing, and totals of nothing are 0.
            const Listed none = listWith(q, vx::SqlConditionBuilder(dialect).days(c.dateColumn, {days.last, days.first}).build(),
                                         {c.total});
            QCOMPARE(none.count, 0);
            QCOMPARE(none.totals, QList<double>{0.0});
        }
    }

    void typedCodesAreOnlyText()
    {
        QueryShop shop;
        const QStringList codes{"D'A", "DXA", "1%2", "1X2", "12_", "123", "A12_B", "A!B"};
        for (int i = 0; i < codes.size(); ++i) {
            shop.addArticle(codes[i], QStringLiteral("ART %1").arg(i));
            shop.addIssue(i + 1, at(10), codes[i], 1);
        }
        const vx::SqlDialect &dialect = shop.db().dialect();
        vx::Query q(&shop.db());
        q.setStatement(stock::issueQuery().statement);
        const QList<std::tuple<QString, bool, QStringList>> cases{
            {"D'A", false, {"D'A"}}, {"1%2", false, {"1%2"}},         {"12_", false, {"12_"}},
            {"1%2", true, {"1%2"}},  {"12_", true, {"12_", "A12_B"}}, {"!", true, {"A!B"}},
            {"d'a", true, {"D'A"}},  {"", true, codes}};
        for (const auto &[typed, contains, expected] : cases) {
            vx::SqlConditionBuilder where(dialect);
            if (contains)
                where.contains(QStringLiteral("EGRCMCT"), typed);
            else
                where.equal(QStringLiteral("EGRCMCT"), vx::FieldType::String, typed);
            q.setSort(QStringLiteral("EGRCMCT"));
            listWith(q, where.build(), {});
            QStringList listed;
            for (const QStringList &row : QueryShop::rows(q, {QStringLiteral("EGRCMCT")}))
                listed << row.first();
            QStringList sorted = expected;
            std::sort(sorted.begin(), sorted.end());
            QCOMPARE(listed, sorted);
        }
        // An open end is no bound: every code from "D" on, lower case and "Ñ" included.
        shop.addArticle(QStringLiteral("Ñ1"), QStringLiteral("EÑE"));
        shop.addIssue(20, at(10), QStringLiteral("Ñ1"), 1);
        listWith(q, vx::SqlConditionBuilder(dialect).from(QStringLiteral("EGRCMCT"), vx::FieldType::String, "D")
                        .to(QStringLiteral("EGRCMCT"), vx::FieldType::String, QString()).build(), {});
        QCOMPARE(q.recordCount(), 3);
    }

    void totalsSkipCancelledNullsAndGoneRows()
    {
        QueryShop shop;
        shop.addArticle(QStringLiteral("A"), QStringLiteral("UNO"));
        shop.addArticle(QStringLiteral("B"), QStringLiteral("DOS"));
        shop.addCustomer(1, QStringLiteral("CONSUMIDOR FINAL"));
        shop.addOperator(1, QStringLiteral("ANA"));
        // Listed and counted; cancelled (listed, not counted); null quantity and null mark; a
        // customer and an operator that are gone; an article that is gone (never listed).
        shop.addLine(1, at(10), QStringLiteral("A"), 2, 10.5, 4);
        shop.addLine(1, at(10), QStringLiteral("B"), 3, 7, 2, true);
        shop.addLine(2, at(10), QStringLiteral("B"), QVariant(), 9, 3, QVariant());
        shop.addLine(3, at(11), QStringLiteral("A"), 1, 20, 8, QVariant(), 77, 99);
        shop.addLine(4, at(11), QStringLiteral("GONE"), 5, 100, 1);
        const QStringList totals = sales::saleLineTotalsExpressions();
        const vx::SqlCondition days =
            vx::SqlConditionBuilder(shop.db().dialect()).days(QStringLiteral("ITEFEC"), {QDate(2026, 11, 1), QDate(2026, 11, 30)}).build();
        vx::Query lines(&shop.db());
        lines.setStatement(sales::saleLinesStatement());
        const Listed byArticle = listWith(lines, days, totals);
        vx::Query byCustomer(&shop.db());
        byCustomer.setStatement(sales::saleLinesByCustomerStatement());
        const Listed all = listWith(byCustomer, days, totals);
        QCOMPARE(byArticle.count, 4);
        QCOMPARE(byArticle.totals, (QList<double>{3, 2 * 10.5 + 20, 2 * 4 + 8}));
        QCOMPARE(all.count, byArticle.count);
        QCOMPARE(all.totals, byArticle.totals);
        byCustomer.locate(QStringLiteral("ITECOM"), 3);
        QCOMPARE(byCustomer.fieldByName(QStringLiteral("CLIAPE"))->asString(), QString());
        QCOMPARE(byCustomer.fieldByName(QStringLiteral("OPEAPE"))->asString(), QString());
        byCustomer.locate(QStringLiteral("ITECOM"), 1);
        QCOMPARE(byCustomer.fieldByName(QStringLiteral("CLIAPE"))->asString(), QStringLiteral("CONSUMIDOR FINAL"));
        // "Holds" asks the list, not the table: article B is listed, GONE is not.
        QVERIFY(lines.holds(vx::SqlConditionBuilder(shop.db().dialect()).equal("ITECOD", vx::FieldType::String, "B").build()));
        QVERIFY(!lines.holds(vx::SqlConditionBuilder(shop.db().dialect()).equal("ITECOD", vx::FieldType::String, "GONE").build()));

        // The journal: receipts and issues apart, a null quantity 0.
        shop.addMove(QStringLiteral("I"), at(10), QStringLiteral("A"), 5);
        shop.addMove(QStringLiteral("I"), at(10), QStringLiteral("A"), 3, QVariant());
        shop.addMove(QStringLiteral("E"), at(11), QStringLiteral("A"), 2, 1);
        shop.addMove(QStringLiteral("E"), at(11), QStringLiteral("B"), 4);
        vx::Query journal(&shop.db());
        journal.setStatement(stock::movementJournalStatement());
        const Listed moves = listWith(journal, vx::SqlConditionBuilder(shop.db().dialect())
                                                   .equal(QStringLiteral("MOVCMCT"), vx::FieldType::String, "A").build(),
                                      stock::movementTotalsExpressions());
        QCOMPARE(moves.count, 3);
        QCOMPARE(moves.totals, (QList<double>{8, 0, 2, 1}));
    }

    // The sums a list reads with its count, whether the count is asked of the database (more rows
    // than a page) or told by the first page, equal the lines listed, nulls and cancelled ones aside.
    void sumsReadWithTheCountMatchTheLines()
    {
        QueryShop shop;
        shop.addArticle(QStringLiteral("A"), QStringLiteral("UNO"));
        QList<double> twoDays{0, 0, 0};
        QList<double> firstDay{0, 0, 0};
        for (int i = 0; i < 300; ++i) {
            const QVariant quantity = i % 11 == 0 ? QVariant() : QVariant(i % 5 + 1);
            const bool cancelled = i % 7 == 0;
            shop.addLine(i, at(10 + i % 2), QStringLiteral("A"), quantity, 3, 2, cancelled);
            const double counted = cancelled ? 0 : quantity.toDouble();
            for (QList<double> *sums : i % 2 == 0 ? QList<QList<double> *>{&twoDays, &firstDay} : QList<QList<double> *>{&twoDays}) {
                (*sums)[0] += counted;
                (*sums)[1] += counted * 3;
                (*sums)[2] += counted * 2;
            }
        }
        vx::Query q(&shop.db());
        q.setStatement(sales::saleLinesStatement());
        q.setCountedSums(sales::saleLineTotalsExpressions());
        const QList<std::tuple<vx::DayRange, int, QList<double>>> cases{
            {{QDate(2026, 11, 10), QDate(2026, 11, 11)}, 300, twoDays}, {{QDate(2026, 11, 10), QDate(2026, 11, 10)}, 150, firstDay}};
        for (const auto &[days, count, sums] : cases) {
            q.setRecordFilter(vx::SqlConditionBuilder(shop.db().dialect()).days(QStringLiteral("ITEFEC"), days).build());
            q.setFiltered(true);
            if (!q.active())
                q.open();
            QCOMPARE(q.recordCount(), count);
            QCOMPARE(q.countedSums(), sums);
        }
    }

    void plansSearchAnIndex()
    {
        if (TestDatabase::onPostgres())
            QSKIP("The plans checked are SQLite's, which has no statistics to guide it.");
        QueryShop shop;
        const vx::SqlDialect &dialect = shop.db().dialect();
        const vx::DayRange month{QDate(2026, 11, 1), QDate(2026, 11, 30)};
        struct Case {
            QString table;
            vx::QueryStatement statement;
            QString dateColumn;
            QString codeColumn;
            QStringList totals;
            QString titleSort;
            QStringList withDates = {};  // columns compared for equality beside the dates
        };
        const QList<Case> cases{
            {"INGRESOS", stock::receiptQuery().statement, "INGFEC", "INGCMCT", {"INGCAN1", "INGCAN2"}, "ARTDES"},
            {"EGRESOS", stock::issueQuery().statement, "EGRFEC", "EGRCMCT", {"EGRCAN1", "EGRCAN2"}, "EGRNRO DESC"},
            {"ITECLI", sales::saleLinesStatement(), "ITEFEC", "ITECOD", sales::saleLineTotalsExpressions(), "ITECOM"},
            {"ITECLI", sales::saleLinesByCustomerStatement(), "ITEFEC", "ITECOD", sales::saleLineTotalsExpressions(), "CLIAPE",
             {"ITECLI", "ITEOPE"}},
            {"CLICOM", sales::receiptListStatement(), "COMDIA", QString(), {sales::receiptAmountNotCancelled()}, "COMTOT"},
            {"MOVIM", stock::movementJournalStatement(), "MOVFEC", "MOVCMCT", stock::movementTotalsExpressions(), "MOVOBS"}};
        for (const Case &c : cases) {
            QList<std::pair<vx::SqlCondition, QString>> conditions{
                {vx::SqlConditionBuilder(dialect).days(c.dateColumn, month).build(), QString()}};
            if (!c.codeColumn.isEmpty())
                conditions.append({vx::SqlConditionBuilder(dialect).equal(c.codeColumn, vx::FieldType::String, "X").build(), QString()});
            // One customer or operator of a month: the search takes both, not the month of everyone.
            for (const QString &column : c.withDates)
                conditions.append({vx::SqlConditionBuilder(dialect).days(c.dateColumn, month)
                                       .equal(column, vx::FieldType::Integer, 1).build(),
                                   QStringLiteral("%1=? AND %2>?").arg(column, c.dateColumn)});
            const bool articleFromIndex = c.table == QLatin1String("ITECLI");
            for (const auto &[condition, terms] : conditions) {
                for (const QString &sort : {QString(), c.titleSort}) {
                    vx::Query q(&shop.db());
                    q.setStatement(c.statement);
                    q.setSort(sort);
                    q.setRecordFilter(condition);
                    q.setFiltered(true);
                    q.open();
                    const vx::SqlCondition listed = q.listedCondition();
                    const QStringList list = plan(shop.db(), q.runningStatement(), listed.params);
                    const QStringList count = plan(shop.db(), q.countStatement(), listed.params);
                    const QStringList totals =
                        plan(shop.db(), vx::Totals::statement(c.statement.from, listed, c.totals), listed.params);
                    const QString what = c.table + QLatin1Char(' ') + condition.sql + QStringLiteral(" / ") + sort;
                    QVERIFY2(searches(list, c.table, terms, articleFromIndex), qPrintable(what + QStringLiteral(": ") + list.join(" | ")));
                    QVERIFY2(searches(count, c.table, terms, false), qPrintable(what + QStringLiteral(": ") + count.join(" | ")));
                    QVERIFY2(searches(totals, c.table, terms, false), qPrintable(what + QStringLiteral(": ") + totals.join(" | ")));
                }
            }
        }
    }
};

QTEST_MAIN(TestQueryKit)
#include "tst_querykit.moc"
