// The cash book of a shop that has not closed its cash for a year: "Caja del Dia" opening
// (figures and the first page of the grid), the figures beside one plain aggregate over CAJA, the
// closing beside the same DELETE and two INSERTs in one transaction in plain SQL, and the A4
// cash report of 10 000 rows written to PDF.
#include "bench/Bench.h"
#include "bench/BenchWindows.h"
#include "bench/SyntheticShop.h"
#include "cash/CajaD.h"
#include "cash/CashClosing.h"
#include "cash/CashReports.h"
#include "data/DataModule.h"
#include "data/RowInserter.h"
#include "data/Schema.h"
#include "platform/db/DateTimeValue.h"
#include "platform/db/Table.h"
#include "platform/report/Report.h"
#include "platform/ui/DBGrid.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QWindow>

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace {

constexpr int repeats = 3;

// A year of counter rows: cash and card sales, adjustments, refunds, and the opening row first.
void fillCashBook(vx::Connection &connection, qint64 rows)
{
    vx::Transaction transaction(connection);
    data::RowInserter insert(connection, QStringLiteral("CAJA"),
                             {QStringLiteral("CAJMOV"), QStringLiteral("CAJTIP"), QStringLiteral("CAJCOM"),
                              QStringLiteral("CAJIMP"), QStringLiteral("CAJFEC"), QStringLiteral("CAJENT"),
                              QStringLiteral("CAJCON")});
    const QDate start(2025, 12, 1);
    insert.insert({QStringLiteral("S"), QString(), QStringLiteral("0"), 1000.0, vx::naiveDateTime(start),
                   vx::naiveDateTime(start), QStringLiteral("Saldo Inicial de Caja del 01/12/2025")});
    for (qint64 i = 1; i < rows; ++i) {
        const QDateTime day = vx::naiveDateTime(start.addDays(i * 365 / rows));
        const double amount = double((i * 3797) % 20000 + 100) / 100;
        const int kind = int(i % 10);
        const QString move = kind == 8 ? QStringLiteral("J") : kind == 9 ? QStringLiteral("E") : QStringLiteral("I");
        const QString means = kind == 6 || kind == 7 ? QStringLiteral("TT") : QStringLiteral("EF");
        insert.insert({move, means, QString::number(i), kind >= 8 ? -amount : amount, day, day,
                       QStringLiteral("Por Venta Nro. %1").arg(i)});
    }
    transaction.commit();
}

// The floor of the closing: what it writes, in plain SQL, in one transaction.
void plainClosing(vx::Connection &connection, qint64 lastRow)
{
    QSqlDatabase db = connection.database();
    QSqlQuery query(db);
    const auto run = [&](const QString &sql) {
        if (!query.exec(sql))
            throw std::runtime_error("the floor's statement failed");
    };
    run(QStringLiteral("BEGIN IMMEDIATE"));
    run(QStringLiteral("INSERT INTO CAJAD (CAJFEC, CAJENT, CAJMOV, CAJCOM, CAJIMP, CAJCON) VALUES "
                       "('2026-12-01 00:00:00', '2026-12-01 00:00:00', 'I', '0', 100.0, 'Por Cierre de Caja')"));
    run(QStringLiteral("DELETE FROM CAJA WHERE CAJUNO <= %1").arg(lastRow));
    run(QStringLiteral("INSERT INTO CAJA (CAJFEC, CAJENT, CAJMOV, CAJCOM, CAJIMP, CAJCON) VALUES "
                       "('2026-12-02 00:00:00', '2026-12-02 00:00:00', 'S', '0', 10.0, 'Saldo Inicial')"));
    run(QStringLiteral("COMMIT"));
}

void runCash(bench::Context &context)
{
    bench::ShopSize size = bench::shopSizeFromOptions(context);
    // The cash book reads no movements; they would only lengthen the set-up.
    size.movements = context.option(QStringLiteral("movements"), 0);
    const qint64 rows = context.option(QStringLiteral("cash-rows"), 100000);
    const qint64 reportRows = std::min<qint64>(rows, context.option(QStringLiteral("report-rows"), 10000));
    const QString path = QDir(context.workDir).filePath(QStringLiteral("cash.sqlite"));
    bench::createSyntheticShop(path, size);
    TDM1 module(vx::Connection::openSqlite(path, &data::vendrixSchema(), false));
    vx::Connection &connection = *module.ADOConnection1;
    const double filling = bench::timeSeconds([&] { fillCashBook(connection, rows); });
    bench::note(QStringLiteral("shop"), QStringLiteral("%1 articles, %2 CAJA rows written in %3 s")
                                            .arg(size.articles)
                                            .arg(rows)
                                            .arg(filling, 0, 'f', 1));

    const double figures = bench::bestOf(repeats, [&] {
        if (cash::readCashFigures(connection).rows != rows)
            throw std::runtime_error("the figures missed rows");
    });
    const auto plain = [&](const QString &sql) {
        return bench::bestOf(repeats, [&] {
            QSqlQuery query(connection.database());
            if (!query.exec(sql) || !query.next())
                throw std::runtime_error("the floor's aggregate failed");
        });
    };
    // The same conditional sums in plain SQL, and the barest aggregate there is.
    const double sameAggregate = plain(QStringLiteral(
        "SELECT SUM(CASE CAJMOV WHEN 'S' THEN ROUND(CAJIMP * 100) END), "
        "SUM(CASE CAJTIP WHEN 'EF' THEN CASE WHEN CAJMOV IN ('I', 'E', 'J') THEN ROUND(CAJIMP * 100) END END), "
        "SUM(CASE CAJTIP WHEN 'TT' THEN CASE CAJMOV WHEN 'I' THEN ROUND(CAJIMP * 100) END END), MAX(CAJUNO), COUNT(*) "
        "FROM CAJA"));
    const double bareSum = plain(QStringLiteral("SELECT SUM(CAJIMP), COUNT(*) FROM CAJA"));
    bench::report(QStringLiteral("cash figures over %1 rows").arg(rows), figures,
                  QStringLiteral("the same aggregate in plain SQL"), sameAggregate);
    bench::report(QStringLiteral("cash figures over %1 rows").arg(rows), figures,
                  QStringLiteral("SUM(CAJIMP), COUNT(*) in plain SQL"), bareSum);

    double opening = std::numeric_limits<double>::max();
    for (int i = 0; i < repeats; ++i) {
        TFCajaD window;
        opening = std::min(opening, bench::timeSeconds([&] {
                               window.openBook();
                               bench::showAndPaint(window);
                           }));
        if (window.book().recordCount() != rows)
            throw std::runtime_error("the grid missed rows");
        window.BCerrarClick();
    }
    bench::report(QStringLiteral("\"Caja del Dia\" opens: figures and first page"), opening,
                  QStringLiteral("the figures alone"), figures);
    bench::note(QStringLiteral("target"), QStringLiteral("opening under 300 ms, figures within 2x"));

    vx::Table book(&connection, QStringLiteral("CAJA"));
    book.setRecordFilter(QStringLiteral("CAJUNO <= %1").arg(reportRows));
    book.setFiltered(true);
    book.open();
    const QString pdf = QDir(context.workDir).filePath(QStringLiteral("caja.pdf"));
    const double report = bench::bestOf(repeats, [&] {
        cash::cashBookReport(book, {QStringLiteral(" Fecha: 08/12/2026"), QStringLiteral("0,00"), QStringLiteral("0,00")})
            ->savePdf(pdf);
    });
    book.close();
    bench::note(QStringLiteral("A4 cash report of %1 rows to PDF").arg(reportRows),
                QStringLiteral("%1 ms (target under 2000 ms)").arg(report * 1000, 0, 'f', 1));

    // Each closing empties the book: it is filled again, untimed, before the next.
    double closing = std::numeric_limits<double>::max();
    double floor = std::numeric_limits<double>::max();
    for (int i = 0; i < repeats; ++i) {
        if (i > 0)
            fillCashBook(connection, rows);
        cash::ClosingRequest request;
        request.figures = cash::readCashFigures(connection);
        request.closingDate = QDate(2026, 12, 1);
        request.withdrawalCents = request.figures.tillCents();
        request.openingCents = 0;
        request.openingDate = QDate(2026, 12, 2);
        closing = std::min(closing, bench::timeSeconds([&] { cash::closeCash(connection, request); }));
        fillCashBook(connection, rows);
        const qint64 lastRow = connection.scalar(QStringLiteral("SELECT MAX(CAJUNO) FROM CAJA")).toLongLong();
        floor = std::min(floor, bench::timeSeconds([&] { plainClosing(connection, lastRow); }));
    }
    bench::report(QStringLiteral("cash closing of %1 rows").arg(rows), closing,
                  QStringLiteral("the same DELETE and two INSERTs in plain SQL"), floor);
    bench::note(QStringLiteral("target"), QStringLiteral("closing within 2x its floor"));
}

const bench::Registrar registrar("cash", runCash);

} // namespace
