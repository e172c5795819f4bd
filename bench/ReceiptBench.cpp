// What the operator waits for around a recorded receipt in a shop with years of sales: the
// reprint window's list of receipt numbers, a receipt loaded and staged for printing, its ticket
// laid out, and a cancellation. Each beside its floor: the same rows read, or the same rows
// written set-wise, with plain SQL through the same driver.
#include "bench/Bench.h"
#include "bench/SyntheticShop.h"
#include "platform/db/Table.h"
#include "platform/report/Report.h"
#include "platform/ui/PickList.h"
#include "sales/ReceiptStaging.h"
#include "sales/SaleCancellation.h"
#include "sales/StoredReceipt.h"
#include "sales/TicketHeader.h"
#include "sales/TktFac.h"

#include <QDir>
#include <QSqlQuery>

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace {

constexpr int receiptsTimed = 40;

QList<double> latestReceipts(vx::Connection &connection, int count, int skip)
{
    QSqlQuery query = connection.execute(
        QStringLiteral("SELECT COMNRO FROM CLICOM ORDER BY COMUNO DESC LIMIT %1 OFFSET %2").arg(count).arg(skip));
    QList<double> out;
    while (query.next())
        out.append(query.value(0).toDouble());
    if (out.size() < count)
        throw std::runtime_error("the shop has too few receipts; give it more --movements");
    return out;
}

double perReceipt(const QList<double> &numbers, const std::function<void(double)> &work)
{
    return bench::timeSeconds([&] {
               for (double number : numbers)
                   work(number);
           }) /
           numbers.size();
}

void numbersForTheList(vx::Connection &connection)
{
    vx::Table clicom(&connection, QStringLiteral("CLICOM"));
    clicom.open();
    double best = std::numeric_limits<double>::max();
    qint64 listed = 0;
    for (int i = 0; i < 3; ++i)
        best = std::min(
            best, bench::timeSeconds([&] { listed = vx::ui::fieldTexts(clicom, QStringLiteral("COMNRO")).size(); }));
    double floor = std::numeric_limits<double>::max();
    for (int i = 0; i < 3; ++i) {
        floor = std::min(floor, bench::timeSeconds([&] {
                             QSqlQuery query(connection.database());
                             query.setForwardOnly(true);
                             query.exec(QStringLiteral("SELECT COMNRO FROM CLICOM ORDER BY COMUNO"));
                             QStringList texts;
                             while (query.next())
                                 texts.append(query.value(0).toString());
                         }));
    }
    bench::report(QStringLiteral("reprint list: %1 receipt numbers").arg(listed), best,
                  QStringLiteral("plain SQL read"), floor);
}

void reprintOne(vx::Connection &connection)
{
    const QList<double> numbers = latestReceipts(connection, receiptsTimed, receiptsTimed);
    sales::ReceiptStaging staging(connection);
    int lines = 0;
    const double ours = perReceipt(numbers, [&](double number) {
        const std::optional<sales::StoredReceipt> receipt = sales::loadStoredReceipt(connection, number);
        staging.stage(receipt->lines, QString::number(number), receipt->date);
        lines += int(receipt->lines.size());
    });
    const double floor = perReceipt(numbers, [&](double number) {
        QSqlQuery header = connection.execute(
            QStringLiteral("SELECT COMDIA, COMCLI, COMSUB, COMPOR, COMTOT FROM CLICOM WHERE COMNRO = ?"), {number});
        header.next();
        QSqlQuery rows = connection.execute(
            QStringLiteral("SELECT ITECOD, ITECAN, ITEEDI, ITEPRE, ITEPOR FROM ITECLI WHERE ITECOM = ?"), {number});
        vx::Transaction transaction(connection);
        connection.execute(QStringLiteral("DELETE FROM TMP1 WHERE TM1CHR11 = 'COMPROBANTE'"));
        while (rows.next()) {
            connection.execute(
                QStringLiteral("INSERT INTO TMP1 (TM1CHR11, TM1CHR1, TM1NUM1, TM1PRE1, TM1PRE2, TM1PRE3, "
                               "TM1CHR3) VALUES ('COMPROBANTE', ?, ?, ?, ?, ?, ?)"),
                {rows.value(0), rows.value(1), rows.value(2), rows.value(1).toDouble() * rows.value(2).toDouble(),
                 rows.value(4), QString::number(number)});
        }
        transaction.commit();
    });
    bench::report(QStringLiteral("reprint: one receipt loaded and staged (%1 lines each)")
                      .arg(double(lines) / numbers.size(), 0, 'f', 1),
                  ours, QStringLiteral("plain SQL read and writes"), floor);

    const std::optional<sales::StoredReceipt> receipt = sales::loadStoredReceipt(connection, numbers.first());
    staging.stage(receipt->lines, QString::number(numbers.first()), receipt->date);
    sales::TicketPrint print;
    print.header = sales::ticketheader::builtInLines();
    const double ticket = bench::timeSeconds([&] {
                              for (int i = 0; i < receiptsTimed; ++i)
                                  sales::ticketReport(staging.view(), sales::TicketPaper::Ticket70, print)->prepare();
                          }) /
                          receiptsTimed;
    bench::note(QStringLiteral("ticket of one receipt laid out"),
                QStringLiteral("%1 ms").arg(ticket * 1000, 0, 'f', 2));
    staging.close();
}

void cancellations(vx::Connection &connection)
{
    const QList<double> ours = latestReceipts(connection, receiptsTimed, 2 * receiptsTimed);
    const QList<double> floorReceipts = latestReceipts(connection, receiptsTimed, 3 * receiptsTimed);
    const double cancelled = perReceipt(ours, [&](double number) {
        sales::cancelSale(connection, {number, QDate::currentDate(), true, 1});
    });
    const QVariant yes = connection.dialect().toDatabase(true, vx::FieldType::Boolean);
    const double floor = perReceipt(floorReceipts, [&](double number) {
        vx::Transaction transaction(connection);
        connection.execute(QStringLiteral("UPDATE CLICOM SET COMANU = ? WHERE COMNRO = ?"), {yes, number});
        connection.execute(QStringLiteral("UPDATE STOCK SET ARTEX1 = ARTEX1 + (SELECT SUM(ITECAN) FROM ITECLI "
                                          "WHERE ITECOM = ? AND ITECOD = ARTCMCT) WHERE ARTCMCT IN "
                                          "(SELECT ITECOD FROM ITECLI WHERE ITECOM = ?)"),
                           {number, number});
        connection.execute(QStringLiteral("INSERT INTO MOVIM (MOVFEC, MOVCMCT, MOVCAN1, MOVTIP, MOVNRO) "
                                          "SELECT ITEFEC, ITECOD, ITECAN, 'I', ITECOM FROM ITECLI WHERE ITECOM = ?"),
                           {number});
        connection.execute(QStringLiteral("UPDATE ITECLI SET ITEANU = ? WHERE ITECOM = ?"), {yes, number});
        connection.execute(QStringLiteral("INSERT INTO CAJA (CAJMOV, CAJIMP) SELECT 'E', -COMTOT FROM CLICOM "
                                          "WHERE COMNRO = ?"),
                           {number});
        transaction.commit();
    });
    bench::report(QStringLiteral("cancellation of one receipt, refund included"), cancelled,
                  QStringLiteral("same writes set-wise in plain SQL"), floor);
}

void run(bench::Context &context)
{
    const bench::ShopSize size = bench::shopSizeFromOptions(context);
    bench::ShopCounts counts;
    const auto connection = bench::createSyntheticShop(QDir(context.workDir).filePath("receipts.db"), size, &counts);
    bench::note(QStringLiteral("shop"), QStringLiteral("%1 articles, %2 receipts, %3 receipt lines")
                                            .arg(counts.articles)
                                            .arg(counts.sales)
                                            .arg(counts.saleLines));
    numbersForTheList(*connection);
    reprintOne(*connection);
    cancellations(*connection);
}

} // namespace

static bench::Registrar reg("receipts", run);
