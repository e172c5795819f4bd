// Supplier payments and the coupon portfolio of a big shop: choosing the supplier with 5 000 open
// documents among 200 000 fills the payments list; paying 20 marked documents beside the same
// statements in plain SQL in one transaction; the portfolio of 50 000 coupons opens; deleting the
// 25 000 credited ones beside a plain DELETE.
#include "bench/Bench.h"
#include "bench/BenchWindows.h"
#include "bench/FloorStatements.h"
#include "bench/SyntheticShop.h"
#include "cash/CouponStore.h"
#include "cash/Cupones.h"
#include "data/DataModule.h"
#include "data/Schema.h"
#include "platform/db/Table.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/PickList.h"
#include "suppliers/Pagos.h"
#include "suppliers/SupplierPayment.h"
#include "suppliers/SupplierText.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QWindow>

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace {

constexpr int repeats = 3;
constexpr int marked = 20;

// The busiest supplier's oldest open invoices, as the list shows them.
QList<suppliers::MarkedDocument> oldestOpen(vx::Connection &connection, int count)
{
    QSqlQuery query = connection.execute(QStringLiteral("SELECT COMUNO, COMSAL FROM PROCOM WHERE COMCLI = 1 AND "
                                                        "COMTIP = '13' AND COMSAL > 0 ORDER BY COMDIA, COMNRO LIMIT %1")
                                             .arg(count));
    QList<suppliers::MarkedDocument> out;
    while (query.next())
        out << suppliers::MarkedDocument{query.value(0).toLongLong(), suppliers::toCents(query.value(1).toDouble())};
    if (out.size() != count)
        throw std::runtime_error("the busiest supplier has too few open documents");
    return out;
}

// The floor of a payment: the statements the recording runs for 20 invoices, prepared once, in
// plain SQL in one write transaction.
class PaymentFloor {
public:
    explicit PaymentFloor(vx::Connection &connection)
        : m_connection(connection), m_sql(connection), m_today(m_sql.today()),
          m_supplier(m_sql.prepare("SELECT MIN(CLIUNO) FROM PROVEEDORES WHERE CLICOD = ?")),
          m_lastReceipt(m_sql.prepare("SELECT LTRIM(COBREC, '0') FROM PAGOS WHERE COBREC <> '' AND RTRIM(COBREC, "
                                      "'0123456789') = '' ORDER BY LENGTH(LTRIM(COBREC, '0')) DESC, LTRIM(COBREC, "
                                      "'0') DESC LIMIT 1")),
          m_document(m_sql.prepare("SELECT COMTIP, COMNRO, COMDIA, COMSAL, COMREC FROM PROCOM WHERE COMUNO = ? AND "
                                   "COMCLI = ? AND COMTIP IN ('13', '26') AND (COMANU IS NULL OR COMANU = ?)")),
          m_lower(m_sql.prepare("UPDATE PROCOM SET COMSAL = ROUND((COALESCE(COMSAL, 0) - ?) * 100) / 100, COMANU = ?, "
                                "COMREC = ?, COMREL = ? WHERE COMUNO = ?")),
          m_line(m_sql.prepare("INSERT INTO PAGOS (COBCOM, COBREC, COBTIP, COBNRO, COBPRO, COBIMP, COBFEC) "
                               "VALUES (?, ?, ?, ?, ?, ?, ?)")),
          m_receipt(m_sql.prepare("INSERT INTO PROCOM (COMTIP, COMSN, COMNRO, COMCLI, COMDIA, COMTOT, COMSAL, BON, "
                                  "COMREL, COMOPE, COMUSS, COMANU) VALUES ('10', '999', 999, 1, ?, ?, 0, 'N', "
                                  "'FAC 1: 1 / 2', 1, 0, 0)")),
          m_cash(m_sql.prepare("INSERT INTO CAJA (CAJMOV, CAJCOM, CAJTIP, CAJIMP, CAJFEC, CAJSAL, CAJCON) VALUES ('E', "
                               "'999', 'EF', ?, ?, ?, 'Pago Prov. 1 - FAC  1 / 2')")),
          m_balance(m_sql.prepare("UPDATE PROVEEDORES SET CLISAL = ROUND((COALESCE(CLISAL, 0) - ?) * 100) / 100 "
                                  "WHERE CLIUNO = ?"))
    {
    }

    void pay(const QList<suppliers::MarkedDocument> &documents)
    {
        using Sql = bench::FloorStatements;
        m_sql.begin();
        Sql::run(m_supplier, {1});
        Sql::run(m_lastReceipt, {});
        qint64 total = 0;
        for (const suppliers::MarkedDocument &document : documents) {
            Sql::run(m_document, {document.key, 1, 0});
            total += document.shownCents;
        }
        for (const suppliers::MarkedDocument &document : documents) {
            const double amount = suppliers::fromCents(document.shownCents);
            Sql::run(m_lower, {amount, 0, QStringLiteral("999"), QStringLiteral("1 / 2"), document.key});
            Sql::run(m_line, {QStringLiteral("10"), QStringLiteral("00000999"), QStringLiteral("13"),
                              QString::number(document.key), 1, amount, m_today});
        }
        Sql::run(m_receipt, {m_today, suppliers::fromCents(total)});
        Sql::run(m_cash, {-suppliers::fromCents(total), m_today, m_today});
        Sql::run(m_balance, {suppliers::fromCents(total), 1});
        m_sql.commit();
        m_connection.noteWrite();
    }

private:
    vx::Connection &m_connection;
    bench::FloorStatements m_sql;
    QVariant m_today;
    QSqlQuery m_supplier;
    QSqlQuery m_lastReceipt;
    QSqlQuery m_document;
    QSqlQuery m_lower;
    QSqlQuery m_line;
    QSqlQuery m_receipt;
    QSqlQuery m_cash;
    QSqlQuery m_balance;
};

void timePayments(vx::Connection &connection, qint64 documents, qint64 busiest)
{
    double choosing = std::numeric_limits<double>::max();
    {
        TFPagos window;
        window.prepare();
        bench::showAndPaint(window);
        window.CBCli->setEditText(QStringLiteral("PROVEEDOR 0001"));
        for (int i = 0; i < repeats; ++i) {
            choosing = std::min(choosing, bench::timeSeconds([&] {
                                    window.CBCliSelect();
                                    window.DBGrid1->repaint();
                                }));
            if (window.DBGrid1->dataSource()->dataSet()->recordCount() != busiest)
                throw std::runtime_error("the list missed documents");
        }
        window.BCerrarClick();
    }
    const double listFloor = bench::bestOf(repeats, [&] {
        QSqlQuery query(connection.database());
        if (!query.exec(QStringLiteral("SELECT COMUNO, COMTIP, COMNRO, COMDIA, COMTOT, COMSAL FROM PROCOM WHERE "
                                       "COMCLI = 1 AND COMTIP IN ('13', '26') AND COMSAL <> 0")))
            throw std::runtime_error("the floor's select failed");
        while (query.next()) {
        }
    });
    bench::report(QStringLiteral("choosing the supplier with %1 open documents among %2").arg(busiest).arg(documents),
                  choosing, QStringLiteral("reading them in plain SQL"), listFloor);
    bench::note(QStringLiteral("target"), QStringLiteral("the list filled under 300 ms"));

    double paying = std::numeric_limits<double>::max();
    double floor = std::numeric_limits<double>::max();
    PaymentFloor paymentFloor(connection);
    // A payment is short: more rounds, and the floor run first every other round, so that neither
    // side always finds the pages the other just read.
    for (int i = 0; i < 5 * repeats; ++i) {
        const auto plain = [&] {
            const QList<suppliers::MarkedDocument> others = oldestOpen(connection, marked);
            floor = std::min(floor, bench::timeSeconds([&] { paymentFloor.pay(others); }));
        };
        if (i % 2 == 1)
            plain();
        suppliers::PaymentEntry entry;
        entry.supplierCode = 1;
        entry.marked = oldestOpen(connection, marked);
        qint64 total = 0;
        for (const suppliers::MarkedDocument &document : std::as_const(entry.marked))
            total += document.shownCents;
        entry.cash = suppliers::fromCents(total);
        entry.dateText = QStringLiteral("08/12/2026");
        paying = std::min(paying, bench::timeSeconds([&] {
                              if (suppliers::recordPayment(connection, entry).applied.size() != marked)
                                  throw std::runtime_error("the payment missed documents");
                          }));
        if (i % 2 == 0)
            plain();
    }
    bench::report(QStringLiteral("paying %1 marked documents").arg(marked), paying,
                  QStringLiteral("the same statements in plain SQL, one transaction"), floor);
    bench::note(QStringLiteral("target"), QStringLiteral("within 2x its floor"));
}

void timeCoupons(vx::Connection &connection, qint64 coupons)
{
    double opening = std::numeric_limits<double>::max();
    for (int i = 0; i < repeats; ++i) {
        TFCupones window;
        opening = std::min(opening, bench::timeSeconds([&] {
                               window.prepare();
                               bench::showAndPaint(window);
                           }));
        if (window.DBGrid1->dataSource()->dataSet()->recordCount() != coupons)
            throw std::runtime_error("the portfolio missed coupons");
        window.BCerrarClick();
    }
    bench::note(QStringLiteral("the portfolio of %1 coupons opens").arg(coupons),
                QStringLiteral("%1 ms (target under 300 ms)").arg(opening * 1000, 0, 'f', 1));

    const auto refill = [&] {
        connection.execute(QStringLiteral("DELETE FROM CUPONES"));
        bench::addCoupons(connection, coupons);
    };
    double deleting = std::numeric_limits<double>::max();
    double floor = std::numeric_limits<double>::max();
    for (int i = 0; i < repeats; ++i) {
        refill();
        deleting = std::min(deleting, bench::timeSeconds([&] {
                                if (cash::deleteCreditedCoupons(connection) != (coupons + 1) / 2)
                                    throw std::runtime_error("the deletion missed coupons");
                            }));
        refill();
        floor = std::min(floor, bench::timeSeconds([&] {
                             QSqlQuery query(connection.database());
                             if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")) ||
                                 !query.exec(QStringLiteral("DELETE FROM CUPONES WHERE CUPEST = 'A'")) ||
                                 !query.exec(QStringLiteral("COMMIT")))
                                 throw std::runtime_error("the plain DELETE failed");
                         }));
        connection.noteWrite();
    }
    bench::report(QStringLiteral("deleting the %1 credited coupons").arg((coupons + 1) / 2), deleting,
                  QStringLiteral("a plain DELETE in one transaction"), floor);
    bench::note(QStringLiteral("target"), QStringLiteral("within 2x its floor"));
}

void runPayments(bench::Context &context)
{
    const bench::SupplierShopSize suppliersSize = bench::supplierShopSizeFromOptions(context, {});
    const QString path = QDir(context.workDir).filePath(QStringLiteral("payments.sqlite"));
    const double building = bench::createSupplierShop(path, context, suppliersSize);
    TDM1 module(vx::Connection::openSqlite(path, &data::vendrixSchema(), false));
    vx::Connection &connection = *module.ADOConnection1;
    bench::note(QStringLiteral("shop"), QStringLiteral("%1 articles, %2 suppliers, %3 documents, %4 coupons written in %5 s")
                                            .arg(bench::shopSizeFromOptions(context).articles)
                                            .arg(suppliersSize.suppliers)
                                            .arg(suppliersSize.documents)
                                            .arg(suppliersSize.coupons)
                                            .arg(building, 0, 'f', 1));
    timePayments(connection, suppliersSize.documents, suppliersSize.busiestOpen);
    timeCoupons(connection, suppliersSize.coupons);
}

const bench::Registrar registrar("payments", runPayments);

} // namespace
