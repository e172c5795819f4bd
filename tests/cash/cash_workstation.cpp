// One workstation of the cash concurrency tests, a process of its own:
//   sell N       records N cash sales of 10,00 one after another, as a counter does;
//   close N      closes the cash N times, withdrawing the whole till each time;
//   closeonce F  reads the figures, says "listo", waits for the file F, then closes once.
//   payinvoice F reads supplier 1's oldest open invoice as the payments list shows it, says
//                "listo", waits for the file F, then pays its balance in cash;
//   payahead F   says "listo", waits for the file F, then pays supplier 1 10,00 on account
//                (nothing marked), the receipt number left to the recording.
//   documents F  says "listo", waits for the file F, then records 20 invoices of 1,00 for supplier 1
//                under numbers of its own, then invoice 999 of 5,00: prints "grabado" when it was
//                recorded, "duplicado" when the other workstation had it first.
// Exit code 3: the closing or the payment was refused because another workstation came first.
#include "cash/CashClosing.h"
#include "data/Schema.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/Connection.h"
#include "platform/db/DataLink.h"
#include "platform/db/DbError.h"
#include "sales/SaleRecording.h"
#include "suppliers/SupplierDocuments.h"
#include "suppliers/SupplierPayment.h"
#include "suppliers/SupplierText.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>

#include <cstdio>

namespace {

cash::ClosingRequest wholeTill(const cash::CashFigures &figures)
{
    cash::ClosingRequest request;
    request.closingDate = QDate::currentDate();
    request.withdrawalCents = figures.tillCents();
    request.openingCents = 0;
    request.openingDate = QDate::currentDate();
    request.figures = figures;
    return request;
}

void waitFor(const char *flag)
{
    std::printf("listo\n");
    std::fflush(stdout);
    while (!QFile::exists(QString::fromLocal8Bit(flag)))
        QThread::msleep(1);
}

void pay(vx::Connection &db, const QString &mode, const char *flag)
{
    suppliers::PaymentEntry entry;
    entry.supplierCode = 1;
    entry.cash = 10;
    if (mode == QLatin1String("payinvoice")) {
        const qint64 key = db.scalar(QStringLiteral("SELECT MIN(COMUNO) FROM PROCOM WHERE COMCLI = 1 AND "
                                                    "COMTIP = '13' AND COMSAL > 0"))
                               .toLongLong();
        entry.cash = db.scalar(QStringLiteral("SELECT COMSAL FROM PROCOM WHERE COMUNO = ?"), {key}).toDouble();
        entry.marked << suppliers::MarkedDocument{key, suppliers::toCents(entry.cash)};
    }
    waitFor(flag);
    std::printf("%s\n", qPrintable(suppliers::recordPayment(db, entry).receiptText));
}

void recordDocuments(vx::Connection &db, const char *flag)
{
    const double base = double(QCoreApplication::applicationPid()) * 100;
    waitFor(flag);
    const auto invoice = [&](double number, double total) {
        suppliers::recordSupplierDocument(
            db, {1, suppliers::DocumentType::Invoice, number, QDate::currentDate(), total, 1, {}, {}});
    };
    for (int i = 1; i <= 20; ++i)
        invoice(base + i, 1);
    try {
        invoice(999, 5);
        std::printf("grabado\n");
    } catch (const suppliers::PaymentError &e) {
        if (e.kind() != suppliers::PaymentError::Kind::Invalid)
            throw;
        std::printf("duplicado\n");
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "uso: cash_workstation ENLACE.udl sell|close|closeonce|payinvoice|payahead|documents ARG\n");
        return 2;
    }
    const QByteArray mode(argv[2]);
    try {
        auto db = vx::Connection::open(vx::DataLink::read(QString::fromLocal8Bit(argv[1])), &data::vendrixSchema());
        if (mode == "sell") {
            for (int i = 0; i < QByteArray(argv[3]).toInt(); ++i) {
                sales::SaleEntry entry;
                entry.dateText = vx::shopformat::formatDate(QDate::currentDate());
                entry.lines = {{QStringLiteral("0000000000001"), 1, 10}};
                sales::recordSale(*db, entry);
            }
        } else if (mode == "close") {
            for (int i = 0; i < QByteArray(argv[3]).toInt(); ++i) {
                cash::closeCash(*db, wholeTill(cash::readCashFigures(*db)));
                QThread::msleep(20);
            }
        } else if (mode == "documents") {
            recordDocuments(*db, argv[3]);
        } else if (mode.startsWith("pay")) {
            pay(*db, QString::fromLatin1(mode), argv[3]);
        } else {
            const cash::CashFigures figures = cash::readCashFigures(*db);
            waitFor(argv[3]);
            cash::closeCash(*db, wholeTill(figures));
        }
    } catch (const cash::CashError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return e.kind() == cash::CashError::Kind::ClosedElsewhere ? 3 : 1;
    } catch (const suppliers::PaymentError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return e.kind() == suppliers::PaymentError::Kind::Stale ? 3 : 1;
    } catch (const sales::SaleRecordingError &e) {
        std::fprintf(stderr, "%s: %s\n", e.what(), qPrintable(e.cause()));
        return 1;
    } catch (const vx::DbError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
