// Records cash sales one after another until it is killed, as a counter does all day, and says
// "S" on standard output after each one the database confirmed. The kill test kills it mid-sale.
#include "../common/SaleShop.h"

#include "data/Schema.h"
#include "platform/db/DataLink.h"
#include "platform/db/DbError.h"

#include <QCoreApplication>
#include <QRandomGenerator>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "uso: sale_writer ENLACE.udl SEMILLA\n");
        return 2;
    }
    try {
        auto db = vx::Connection::open(vx::DataLink::read(QString::fromLocal8Bit(argv[1])), &data::vendrixSchema(),
                                       vx::Connection::Expect::Shop);
        QRandomGenerator random(QByteArray(argv[2]).toUInt());
        const QStringList codes = saleshop::articleCodes();
        while (true) {
            QStringList lines;
            for (int i = 0, n = 1 + random.bounded(3); i < n; ++i)
                lines << codes[random.bounded(int(codes.size()))];
            sales::recordSale(*db, saleshop::sale(lines));
            std::fputs("S\n", stdout);
            std::fflush(stdout);
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
