// One workstation of the cash concurrency tests, a process of its own:
//   sell N       records N cash sales of 10,00 one after another, as a counter does;
//   close N      closes the cash N times, withdrawing the whole till each time;
//   closeonce F  reads the figures, says "listo", waits for the file F, then closes once.
// Exit code 3: the closing was refused because another workstation closed first.
#include "cash/CashClosing.h"
#include "data/Schema.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/Connection.h"
#include "platform/db/DataLink.h"
#include "platform/db/DbError.h"
#include "sales/SaleRecording.h"

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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "uso: cash_workstation ENLACE.udl sell|close|closeonce ARG\n");
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
        } else {
            const cash::CashFigures figures = cash::readCashFigures(*db);
            std::printf("listo\n");
            std::fflush(stdout);
            while (!QFile::exists(QString::fromLocal8Bit(argv[3])))
                QThread::msleep(1);
            cash::closeCash(*db, wholeTill(figures));
        }
    } catch (const cash::CashError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return e.kind() == cash::CashError::Kind::ClosedElsewhere ? 3 : 1;
    } catch (const sales::SaleRecordingError &e) {
        std::fprintf(stderr, "%s: %s\n", e.what(), qPrintable(e.cause()));
        return 1;
    } catch (const vx::DbError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
