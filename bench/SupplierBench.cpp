// The supplier side of a big shop: 5 000 suppliers and 200 000 documents, some cancelled, some
// paid. A supplier's account opens in the query window (the busiest one's 5 000 documents among
// them) beside reading the same rows in plain SQL; recording a document beside the same
// statements in plain SQL in one write transaction.
#include "bench/Bench.h"
#include "bench/BenchWindows.h"
#include "bench/FloorStatements.h"
#include "bench/SyntheticShop.h"
#include "data/DataModule.h"
#include "data/Schema.h"
#include "platform/db/Table.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/Edit.h"
#include "platform/ui/PickList.h"
#include "suppliers/ConsProv.h"
#include "suppliers/SupplierDocuments.h"

#include <QDir>
#include <QLineEdit>
#include <QSqlQuery>

#include <limits>
#include <stdexcept>

namespace {

constexpr int repeats = 3;

QString supplierName(int code)
{
    return QStringLiteral("PROVEEDOR %1").arg(code, 4, 10, QLatin1Char('0'));
}

// The account of each supplier, from its first document to the last day, shown and painted:
// the median over the suppliers of each one's best of a few openings.
void timeAccounts(vx::Connection &connection, const QList<int> &chosen)
{
    TFConsProv window;
    window.prepare();
    bench::showAndPaint(window);
    window.EdFecD->setText(QStringLiteral("01/01/2020"));
    window.EdFecH->setText(QStringLiteral("31/12/2026"));
    QList<double> openings;
    QList<double> floors;
    for (const int supplier : chosen) {
        const int rows = connection.scalar(QStringLiteral("SELECT COUNT(*) FROM PROCOM WHERE COMCLI = ?"), {supplier}).toInt();
        double best = std::numeric_limits<double>::max();
        for (int i = 0; i < repeats; ++i) {
            window.CBCli->setEditText(supplierName(supplier));
            best = std::min(best, bench::timeSeconds([&] {
                                window.CBCliSelect();
                                window.DBGrid1->repaint();
                                window.EdSaldo->repaint();
                            }));
            // Every document and payment, the credits an overpayment left aside, and the opening line.
            const int listed = window.list().recordCount();
            if (listed < 2 || listed > rows + 1)
                throw std::runtime_error("the account missed its lines");
        }
        openings << best;
        floors << bench::bestOf(repeats, [&] {
            QSqlQuery query(connection.database());
            query.prepare(QStringLiteral("SELECT COMUNO, COMTIP, COMNRO, COMDIA, COMTOT, COMANU, COMREL FROM PROCOM "
                                         "WHERE COMCLI = ? ORDER BY COMDIA, COMUNO"));
            query.addBindValue(supplier);
            if (!query.exec())
                throw std::runtime_error("the floor's select failed");
            while (query.next()) {
            }
        });
        bench::note(QStringLiteral("account of supplier %1 (%2 documents)").arg(supplier).arg(rows),
                    QStringLiteral("%1 ms, plain select %2 ms").arg(best * 1000, 0, 'f', 1).arg(floors.last() * 1000, 0, 'f', 1));
    }
    window.done(0);
    bench::report(QStringLiteral("a supplier's account opens (median of %1 suppliers)").arg(chosen.size()),
                  bench::median(openings), QStringLiteral("reading its documents in plain SQL"), bench::median(floors));
    bench::note(QStringLiteral("target"), QStringLiteral("the account shown under 300 ms"));
}

// The floor of a document: the statements recordSupplierDocument runs, prepared once, in plain SQL
// in one write transaction.
class DocumentFloor {
public:
    explicit DocumentFloor(vx::Connection &connection)
        : m_connection(connection), m_sql(connection), m_today(m_sql.today()),
          m_supplier(m_sql.prepare("SELECT MIN(CLIUNO) FROM PROVEEDORES WHERE CLICOD = ?")),
          m_same(m_sql.prepare("SELECT COUNT(*) FROM PROCOM WHERE COMCLI = ? AND COMTIP = ? AND COMNRO = ?")),
          m_insert(m_sql.prepare("INSERT INTO PROCOM (COMTIP, COMCLI, COMNRO, COMDIA, COMTOT, COMSAL, BON, COMOPE, "
                                 "COMDIAV, COMNOTA) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")),
          m_balance(m_sql.prepare("UPDATE PROVEEDORES SET CLISAL = ROUND((COALESCE(CLISAL, 0) + ?) * 100) / 100 "
                                  "WHERE CLIUNO = ?"))
    {
    }

    void record(int supplier, double number)
    {
        using Sql = bench::FloorStatements;
        m_sql.begin();
        Sql::run(m_supplier, {supplier});
        Sql::run(m_same, {supplier, QStringLiteral("13"), number});
        Sql::run(m_insert, {QStringLiteral("13"), supplier, number, m_today, 123.45, 123.45, QStringLiteral("N"), 1,
                            QVariant(), QString()});
        Sql::run(m_balance, {123.45, supplier});
        m_sql.commit();
        m_connection.noteWrite();
    }

private:
    vx::Connection &m_connection;
    bench::FloorStatements m_sql;
    QVariant m_today;
    QSqlQuery m_supplier;
    QSqlQuery m_same;
    QSqlQuery m_insert;
    QSqlQuery m_balance;
};

void timeRecording(vx::Connection &connection, int supplier)
{
    double recording = std::numeric_limits<double>::max();
    double floor = std::numeric_limits<double>::max();
    DocumentFloor plain(connection);
    double number = 900000000;
    // A document is short: many rounds, the floor first every other round, so that neither side
    // always finds the pages the other just read.
    for (int i = 0; i < 10 * repeats; ++i) {
        const auto floorRound = [&] { floor = std::min(floor, bench::timeSeconds([&] { plain.record(supplier, ++number); })); };
        if (i % 2 == 1)
            floorRound();
        const suppliers::SupplierDocument document{supplier, suppliers::DocumentType::Invoice, ++number,
                                                   QDate(2026, 12, 8), 123.45, 1, {}, {}};
        recording = std::min(recording, bench::timeSeconds([&] { suppliers::recordSupplierDocument(connection, document); }));
        if (i % 2 == 0)
            floorRound();
    }
    bench::report(QStringLiteral("recording a supplier's invoice"), recording,
                  QStringLiteral("the same statements in plain SQL, one transaction"), floor);
    bench::note(QStringLiteral("target"), QStringLiteral("within 2x its floor"));
}

void runSuppliers(bench::Context &context)
{
    bench::SupplierShopSize defaults;
    defaults.suppliers = 5000;
    defaults.coupons = 0;
    defaults.cancelled = 200;
    defaults.payments = 1000;
    const bench::SupplierShopSize suppliersSize = bench::supplierShopSizeFromOptions(context, defaults);
    const QString path = QDir(context.workDir).filePath(QStringLiteral("suppliers.sqlite"));
    const double building = bench::createSupplierShop(path, context, suppliersSize);
    TDM1 module(vx::Connection::openSqlite(path, &data::vendrixSchema(), false));
    vx::Connection &connection = *module.ADOConnection1;
    bench::note(QStringLiteral("shop"), QStringLiteral("%1 suppliers, %2 documents (%3 cancelled), %4 payments written in %5 s")
                                            .arg(suppliersSize.suppliers)
                                            .arg(suppliersSize.documents)
                                            .arg(suppliersSize.cancelled)
                                            .arg(suppliersSize.payments)
                                            .arg(building, 0, 'f', 1));
    // The busiest supplier and a spread of the others, each of them paid once.
    QList<int> chosen{1};
    for (int k = 1; k <= 6; ++k)
        chosen << int(2 + (k * 7907) % std::max<qint64>(1, suppliersSize.suppliers - 1));
    timeAccounts(connection, chosen);
    timeRecording(connection, chosen.last());
}

const bench::Registrar registrar("suppliers", runSuppliers);

} // namespace
