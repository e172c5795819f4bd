// The stock list, the image window and the label window on a big shop: what the operator waits
// for, each beside its floor where one exists (the same rows read or drawn with plain SQL).
//   list on screen      open the window's cursor, show, paint            (target: under 0,3 s)
//   &TOTALES            the exact totals                  floor: plain SUM SELECT (under 0,5 s, 3 x)
//   preview             first page of the preview                        (under 10 s)
//   list to PDF         every page                        floor: SQL + fixed drawText (1,5 x)
//   export              every row to a workbook                          (under 10 s)
//   image / label       windows open                                     (under 0,3 s each)
//   photo               moving to an article with a 2 MB photo           (under 0,05 s)
#include "bench/Bench.h"
#include "bench/SyntheticShop.h"
#include "catalogue/CBarras.h"
#include "catalogue/Imagenes.h"
#include "catalogue/MaestStk.h"
#include "catalogue/MaestStkExport.h"
#include "catalogue/MaestStkReport.h"
#include "catalogue/PhotoFile.h"
#include "platform/ui/ImageView.h"
#include "data/DataModule.h"
#include "platform/core/Paths.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/Table.h"
#include "platform/report/Report.h"
#include "platform/ui/FakeDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <QSqlQuery>

#include <stdexcept>

namespace {

void settle()
{
    QApplication::processEvents();
}

// The floor of the printed list: its rows read with plain SQL and their eleven texts per article
// drawn at fixed places, `rowsPerPage` articles a page.
void drawFloor(vx::Connection &connection, const QString &path, int rowsPerPage)
{
    QPdfWriter writer(path);
    writer.setPageLayout(vx::report::PageSetup::a4().pageLayout());
    QPainter painter(&writer);
    painter.setFont(QFont(QStringLiteral("Arial"), 9));
    const double dots = writer.resolution() / 25.4;
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT ARTCMCT, ARTDES, ARTEX1, ARTCOS1, ARTVEN1, ARTMARD, ARTCOLD, ARTTALD, "
                                   "ARTEX2, ARTCOS2, ARTVEN2 FROM STOCK ORDER BY ARTCMCT")))
        throw std::runtime_error("the floor's query failed");
    const auto number = [](double value) { return vx::shopformat::formatFloat(QStringLiteral("0.00"), value); };
    const double columns[] = {10, 38, 89, 105, 124, 149, 168};
    int row = 0;
    while (query.next()) {
        if (row == rowsPerPage) {
            writer.newPage();
            row = 0;
        }
        const double y = (35 + row * 9) * dots;
        const double y2 = y + 4.5 * dots;
        const auto at = [&](int column, double baseline, const QString &text) {
            painter.drawText(QPointF(columns[column] * dots, baseline), text);
        };
        for (int line = 0; line < 2; ++line) {
            const double base = line == 0 ? y : y2;
            const int quantity = line == 0 ? 2 : 8;
            const double ex = query.value(quantity).toDouble();
            const double cost = query.value(quantity + 1).toDouble();
            const double price = query.value(quantity + 2).toDouble();
            at(0, base, query.value(line == 0 ? 0 : 5).toString());
            at(1, base, query.value(line == 0 ? 1 : 6).toString());
            at(2, base, number(ex));
            at(3, base, number(cost));
            at(4, base, number(ex * cost));
            at(5, base, number(price));
            at(6, base, number(ex * price));
        }
        ++row;
    }
}

// A phone's photo of about 2 MB: 8 megapixels of smooth shades with some grain.
QString writeBigPhoto()
{
    const QString folder = QDir(vx::paths::userFolder()).filePath(QStringLiteral("Imagenes"));
    QDir().mkpath(folder);
    QImage image(3264, 2448, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grain = int(random.bounded(24));
            line[x] = qRgb((x / 13 + grain) % 256, (y / 10 + grain) % 256, ((x + y) / 23 + grain) % 256);
        }
    }
    const QString path = QDir(folder).filePath(QStringLiteral("grande.jpg"));
    if (!image.save(path, "JPG", 80))
        throw std::runtime_error("the photo could not be written");
    return path;
}

void run(bench::Context &context)
{
    bench::ShopSize size = bench::shopSizeFromOptions(context);
    size.movements = 0;
    auto connection = bench::createSyntheticShop(QDir(context.workDir).filePath(QStringLiteral("stock.db")), size);
    vx::Connection &db = *connection;
    const QString photo = writeBigPhoto();
    const QString photoCode = bench::syntheticOwnCode(size.articles / 2);
    db.execute(QStringLiteral("UPDATE STOCK SET ARTFOT = ? WHERE ARTCMCT = ?"),
               {QStringLiteral("C:\\Orvanesys\\Vendrix V2\\Usuario\\Imagenes\\GRANDE.JPG"), photoCode});
    TDM1 data(std::move(connection));
    vx::ui::FakeDialogs dialogs;

    TFMArt list;
    const double onScreen = bench::timeSeconds([&] {
        list.prepare();
        list.show();
        settle();
    });
    const double totals = bench::timeSeconds([&] { list.BTotalesClick(); });
    const double sum = bench::timeSeconds([&] {
        db.scalar(QStringLiteral("SELECT SUM(ARTEX1 * ARTCOS1) + SUM(ARTEX2 * ARTCOS2) + SUM(ARTEX1 * ARTVEN1) + "
                                 "SUM(ARTEX2 * ARTVEN2) + SUM(ARTEX1) + SUM(ARTEX2) FROM STOCK"));
    });
    bench::report(QStringLiteral("stock list %1 articles on screen").arg(size.articles), onScreen, QStringLiteral("target"), 0.3);
    bench::report(QStringLiteral("&TOTALES, exact"), totals, QStringLiteral("plain SUM SELECT"), sum);
    bench::note(QStringLiteral("totals shown"), list.EdTot1->text() + QStringLiteral(" / ") + list.EdVen1->text());

    dialogs.onModal = [](QDialog *) { return int(QDialog::Accepted); };
    const double preview = bench::timeSeconds([&] { list.BImpClick(); });
    bench::report(QStringLiteral("preview, first page"), preview, QStringLiteral("target"), 10);

    TQRMaestro report(DM1->ADOConnection1);
    report.open(QString(), QStringLiteral("ARTCMCT"));
    report.report().prepare();
    const int pages = report.report().pageCount();
    const QString pdf = QDir(context.workDir).filePath(QStringLiteral("stock.pdf"));
    const double toPdf = bench::timeSeconds([&] {
        report.report().prepare();
        report.report().savePdf(pdf);
    });
    const double floor = bench::timeSeconds([&] {
        drawFloor(db, QDir(context.workDir).filePath(QStringLiteral("floor.pdf")), int((size.articles + pages - 1) / pages));
    });
    bench::report(QStringLiteral("list to PDF, %1 pages").arg(pages), toPdf, QStringLiteral("SQL + fixed drawText"), floor);

    dialogs.confirmAnswers.enqueue(true);
    QString written;
    const double exported = bench::timeSeconds([&] {
        written = catalogue::exportStockList(list.stock(), QDir(context.workDir).filePath(QStringLiteral("stock.xls")));
    });
    bench::report(QStringLiteral("export, every row"), exported, QStringLiteral("target"), 10);
    bench::note(QStringLiteral("exported"), QStringLiteral("%1, %2 MB").arg(QFileInfo(written).fileName()).arg(double(QFileInfo(written).size()) / 1e6, 0, 'f', 1));
    list.reject();

    TFImagen images;
    const double imagesOpen = bench::timeSeconds([&] {
        images.prepare();
        images.show();
        settle();
    });
    bench::report(QStringLiteral("image window opens"), imagesOpen, QStringLiteral("target"), 0.3);
    const double toPhoto = bench::timeSeconds([&] {
        images.stock().locate(QStringLiteral("ARTCMCT"), photoCode);
        settle();
    });
    if (!images.LabFoto->text().isEmpty())
        throw std::runtime_error("the photo was not shown");
    const QString stored = images.stock().fieldByName(QStringLiteral("ARTFOT"))->asString();
    const QSize frame = images.Image1->contentsRect().size();
    bench::note(QStringLiteral("decoding it alone, to %1 x %2").arg(frame.width()).arg(frame.height()),
                QStringLiteral("%1 ms").arg(bench::timeSeconds([&] { catalogue::loadPhoto(stored, frame); }) * 1000, 0, 'f', 1));
    bench::report(QStringLiteral("to an article with a %1 MB photo").arg(double(QFileInfo(photo).size()) / 1e6, 0, 'f', 1),
                  toPhoto, QStringLiteral("target"), 0.05);
    images.tidyUp();

    TFBarCode labels;
    const double labelsOpen = bench::timeSeconds([&] {
        labels.prepare();
        labels.show();
        settle();
    });
    bench::report(QStringLiteral("label window opens"), labelsOpen, QStringLiteral("target"), 0.3);
    labels.reject();
}

} // namespace

static bench::Registrar reg("stocklist", run);
