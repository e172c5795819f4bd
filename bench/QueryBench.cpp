// What the operator waits for in the queries over years of stock movements and sales: a month of
// receipts, issues, sale receipts and sale lines from the button to rows and totals on screen
// (median of twelve months, beside the same list, count and totals statements run plainly through
// the same driver), the movement history opened at its last row, one article and every row
// totalled, the sales-line windows opened with their four lists, and a month of receipts printed.
#include "bench/Bench.h"
#include "bench/SyntheticShop.h"
#include "customers/ConsVenCli.h"
#include "data/DataModule.h"
#include "data/Schema.h"
#include "platform/db/Query.h"
#include "platform/db/Totals.h"
#include "platform/report/Report.h"
#include "platform/ui/FakeDialogs.h"
#include "platform/ui/PickList.h"
#include "sales/ConsVentArt.h"
#include "sales/ConsVtas.h"
#include "sales/ConsVtasReport.h"
#include "sales/SalesQueries.h"
#include "stock/ConsEgr.h"
#include "stock/ConsIng.h"
#include "stock/ConsMov.h"
#include "stock/MovementQueries.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>

#include <algorithm>

namespace {

const int year = 2025;

QString day(int month, bool last)
{
    const QDate first(year, month, 1);
    return (last ? first.addMonths(1).addDays(-1) : first).toString(QStringLiteral("dd/MM/yyyy"));
}

// Empties the connection's page cache, so that a window and its floor both start from the same
// state: the floor runs after the window and would otherwise find the month's pages already read.
void withColdCache(vx::Connection &db)
{
    db.execute(QStringLiteral("PRAGMA shrink_memory"));
}

// The statements a list runs, plainly: its first page of rows, then its count and its totals (one
// statement when the list sums as it counts).
double floorOf(vx::Connection &db, const QString &list, const QStringList &aggregates, const QVariantList &params)
{
    withColdCache(db);
    return bench::timeSeconds([&] {
        QSqlQuery rows = db.execute(list, params);
        for (int i = 0; i < 256 && rows.next(); ++i)
            rows.value(0);
        for (const QString &aggregate : aggregates)
            db.scalar(aggregate, params);
    });
}

void painted(QWidget &window)
{
    window.repaint();
    QApplication::processEvents();
}

// A month of a query window: from the button to rows and totals shown, beside its floor.
struct Months {
    QList<double> window;
    QList<double> floor;
    int rows = 0;
    void report(const QString &what) const
    {
        bench::report(QStringLiteral("%1 (%2 rows/month)").arg(what).arg(rows / 12), bench::median(window),
                      QStringLiteral("same statements"), bench::median(floor));
    }
};

void movementMonths(TFConsMovBase &w, const QString &what)
{
    w.prepareOpening();
    w.show();
    Months months;
    for (int month = 1; month <= 12; ++month) {
        w.EdDesF->setText(day(month, false));
        w.EdHasF->setText(day(month, true));
        withColdCache(*w.list().connection());
        months.window << bench::timeSeconds([&] {
            w.BxFecClick();
            painted(w);
        });
        vx::Query &q = w.list();
        months.rows += q.recordCount();
        const vx::SqlCondition where = q.listedCondition();
        months.floor << floorOf(*q.connection(), q.runningStatement(),
                                {q.countStatement(), vx::Totals::statement(q.statement().from, where, w.kind().quantityColumns)},
                                where.params);
    }
    months.report(what);
    w.closeQuery();
    w.hide();
}

void saleLineMonths(TFSaleLinesQuery &w, const QString &what)
{
    w.prepareOpening();
    w.show();
    w.RBxFec->setChecked(true);
    Months months;
    for (int month = 1; month <= 12; ++month) {
        w.EdDes->setText(day(month, false));
        w.EdHas->setText(day(month, true));
        withColdCache(*w.list().connection());
        months.window << bench::timeSeconds([&] {
            w.BConsultarClick();
            painted(w);
        });
        vx::Query &q = w.list();
        months.rows += q.recordCount();
        const vx::SqlCondition where = q.listedCondition();
        // The count statement also sums the totals: the window runs these two statements.
        months.floor << floorOf(*q.connection(), q.runningStatement(), {q.countStatement()}, where.params);
    }
    months.report(what);
    w.closeQuery();
    w.hide();
}

void receiptMonths(vx::Connection &db, const QString &folder)
{
    TFConsVtas w;
    w.prepareOpening();
    w.show();
    Months months;
    double printed = 0;
    for (int month = 1; month <= 12; ++month) {
        w.EdDesF->setText(day(month, false));
        w.EdHasF->setText(day(month, true));
        withColdCache(db);
        months.window << bench::timeSeconds([&] {
            w.BxTotClick();
            painted(w);
        });
        vx::Query &q = w.receipts();
        months.rows += q.recordCount();
        const vx::SqlCondition where = q.listedCondition();
        // The count statement also sums the total: the window runs these two statements.
        months.floor << floorOf(db, q.runningStatement(), {q.countStatement()}, where.params);
        if (month == 12) {
            printed = bench::timeSeconds([&] {
                const auto list = sales::receiptPrintList(db, *w.queriedDays());
                sales::qrVentasTI(*list, *w.queriedDays(), 0)->savePdf(QDir(folder).filePath(QStringLiteral("ventas.pdf")));
            });
        }
    }
    months.report(QStringLiteral("8.2 a month of receipts"));
    bench::note(QStringLiteral("8.2 December's receipts printed to PDF"), QStringLiteral("%1 ms").arg(printed * 1000, 0, 'f', 1));
    w.closeTables();
}

void movementHistory(vx::Connection &db)
{
    TFMovim w;
    const double opened = bench::timeSeconds([&] {
        w.prepareOpening();
        w.show();
        painted(w);
    });
    const double openFloor = bench::timeSeconds([&] {
        const qint64 count = db.scalar(QStringLiteral("SELECT COUNT(*) FROM MOVIM")).toLongLong();
        QSqlQuery last = db.execute(QStringLiteral("SELECT * FROM MOVIM ORDER BY MOVFEC, MOVUNO LIMIT 256 OFFSET %1")
                                        .arg(std::max<qint64>(0, count - 256)));
        while (last.next())
            last.value(0);
    });
    bench::report(QStringLiteral("4.5 open at the last movement"), opened, QStringLiteral("count + last page"), openFloor);

    const QString code = db.scalar(QStringLiteral("SELECT MOVCMCT FROM MOVIM WHERE MOVUNO = 1000")).toString();
    QList<double> one;
    for (int i = 0; i < 5; ++i) {
        one << bench::timeSeconds([&] {
            w.EdArt->setEditText(code);
            w.RBArt->setChecked(true);
            w.BConsClick();
            painted(w);
        });
    }
    bench::note(QStringLiteral("4.5 one article with totals (%1 rows)").arg(w.movements().recordCount()),
                QStringLiteral("%1 ms").arg(bench::median(one) * 1000, 0, 'f', 2));

    w.RBTodos->setChecked(true);
    w.BConsClick();
    const double all = bench::timeSeconds([&] { w.BConsultarClick(); });
    const vx::SqlCondition where = w.movements().listedCondition();
    const double sum = bench::timeSeconds([&] {
        db.scalar(vx::Totals::statement(QStringLiteral("MOVIM"), where, stock::movementTotalsExpressions()), where.params);
    });
    const double oneSum = bench::timeSeconds([&] { db.scalar(QStringLiteral("SELECT SUM(MOVCAN1) FROM MOVIM")); });
    bench::report(QStringLiteral("4.5 Ver Todos totals (%1 rows)").arg(w.movements().recordCount()), all,
                  QStringLiteral("its SUM statement"), sum);
    bench::note(QStringLiteral("4.5 one plain SUM(MOVCAN1) for scale"), QStringLiteral("%1 ms").arg(oneSum * 1000, 0, 'f', 1));
    w.closeQuery();
}

void openingWithLists(TFSaleLinesQuery &w, const QString &what)
{
    const double opened = bench::timeSeconds([&] {
        w.prepareOpening();
        w.show();
        painted(w);
    });
    bench::note(what, QStringLiteral("%1 ms").arg(opened * 1000, 0, 'f', 1));
    w.closeQuery();
    w.hide();
}

void run(bench::Context &context)
{
    const bench::ShopSize size = bench::shopSizeFromOptions(context);
    bench::ShopCounts counts;
    const QString path = QDir(context.workDir).filePath(QStringLiteral("queries.db"));
    bench::createSyntheticShop(path, size, &counts).reset();
    bench::note(QStringLiteral("shop"), QStringLiteral("%1 articles, %2 movements, %3 receipt lines, %4 issue lines, %5 sales")
                                            .arg(counts.articles).arg(counts.movements).arg(counts.receiptLines)
                                            .arg(counts.issueLines).arg(counts.sales));
    TDM1 module(vx::Connection::openSqlite(path, &data::vendrixSchema(), false));
    vx::ui::FakeDialogs dialogs;
    dialogs.onModal = [](QDialog *) { return int(QDialog::Accepted); };
    for (int i = 0; i < 64; ++i)
        dialogs.confirmAnswers.enqueue(true);
    uGlobales::session().accessLevel = 9;
    uGlobales::setAllArticleListsChanged();

    TFConsIng receipts;
    movementMonths(receipts, QStringLiteral("4.4 a month of receipts"));
    TFConsEgr issues;
    movementMonths(issues, QStringLiteral("4.4 a month of issues"));
    receiptMonths(*module.ADOConnection1, context.workDir);
    TFConsVentArt byArticle;
    openingWithLists(byArticle, QStringLiteral("8.3 opened with its four lists"));
    saleLineMonths(byArticle, QStringLiteral("8.3 a month of sale lines"));
    TFConsVenCli byCustomer;
    openingWithLists(byCustomer, QStringLiteral("8.4 opened with its lists"));
    saleLineMonths(byCustomer, QStringLiteral("8.4 a month of sale lines"));
    movementHistory(*module.ADOConnection1);
}

}  // namespace

static bench::Registrar reg("queries", run);
