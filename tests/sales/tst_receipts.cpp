#include "../common/Screenshots.h"
#include "SalesShop.h"

#include "../platform/ReportPdfReader.h"

#include "platform/core/ShopFormat.h"
#include "platform/report/CurrentPrinter.h"
#include "platform/report/Report.h"
#include "platform/report/ReportPreview.h"
#include "platform/ui/FakeDialogs.h"
#include "platform/ui/PickList.h"
#include "sales/ImpComp.h"
#include "sales/ImpTF.h"
#include "sales/ReceiptStaging.h"
#include "sales/SalePrint.h"
#include "sales/TktFac.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <functional>
#include <optional>

// Prints through the real layouts into PDF files and reads them back as a reader would.
class TestReceipts : public QObject {
    Q_OBJECT

    QTemporaryDir m_out;
    const QDate saleDay{2026, 12, 8};

    QString userFolder() const { return vx::paths::userFolder(); }

    // The sale on the sales window: two lines in the work table, as the window keeps them.
    static void saleOnScreen(SalesShop &shop)
    {
        const QStringList columns{QStringLiteral("TM1CHR1"), QStringLiteral("TM1CHR10"), QStringLiteral("TM1NUM1"),
                                  QStringLiteral("TM1PRE1"), QStringLiteral("TM1PRE2"),  QStringLiteral("TM1NUM2")};
        shop.insert(QStringLiteral("TMP1"), columns,
                    {QStringLiteral("0000000000001"), QStringLiteral("REMERA ALGODON"), 2, 50.0, 100.0, 1});
        shop.insert(QStringLiteral("TMP1"), columns,
                    {QStringLiteral("0000000000002"), QStringLiteral("MEDIAS SOQUETE"), 1.5, 10.0, 15.0, 1});
    }

    static sales::SaleOnScreen boxes(const QString &customer)
    {
        return {QStringLiteral("42"),     QStringLiteral("08/12/2026"), customer,
                QStringLiteral("115,00"), QStringLiteral("10,00"),      QStringLiteral("11,50"),
                QStringLiteral("103,50")};
    }

    static int rowsOf(SalesShop &shop, const QString &where)
    {
        return shop.scalar(QStringLiteral("SELECT COUNT(*) FROM TMP1 WHERE ") + where).toInt();
    }

    // Answers the print-choice window with a button and saves any preview to `pdfPath`.
    static void script(vx::ui::FakeDialogs &dialogs, const char *button, const QString &pdfPath)
    {
        dialogs.onModal = [button](QDialog *dialog) {
            if (auto *choice = qobject_cast<TFImpTF *>(dialog))
                choice->findChild<QPushButton *>(QLatin1String(button))->click();
            else if (auto *preview = qobject_cast<vx::report::ReportPreview *>(dialog))
                preview->savePdf();
            return 0;
        };
        dialogs.fileAnswers.enqueue(pdfPath);
    }

    // Opens the reprint window through its command; `inside` runs while it is shown, and every
    // preview it opens is saved as the next of `pdfPaths`.
    static void reprint(vx::ui::FakeDialogs &dialogs, const QStringList &pdfPaths,
                        const std::function<void(TFImpComp &)> &inside)
    {
        for (const QString &path : pdfPaths)
            dialogs.fileAnswers.enqueue(path);
        dialogs.onModal = [inside](QDialog *dialog) {
            if (auto *window = qobject_cast<TFImpComp *>(dialog))
                inside(*window);
            else if (auto *preview = qobject_cast<vx::report::ReportPreview *>(dialog))
                preview->savePdf();
            return 0;
        };
        TFImpComp window;
        openImpComp(window);
    }

    static void choose(TFImpComp &window, const QString &number)
    {
        window.CBComp->setEditText(number);
        window.CBCompChange();
    }

    QString pdfPath(const QString &name) const { return m_out.filePath(name + QStringLiteral(".pdf")); }

    static QString text(const QString &pdf) { return pdf::pages(pdf).join(QLatin1Char('\f')); }

    // Receipt 42: two of article 1 at 50 less 10 % to customer 2; receipt 43: one of article 2
    // at 30 without discount to the walk-in customer.
    void storedReceipts(SalesShop &shop)
    {
        shop.article(QStringLiteral("0000000000001"), QStringLiteral("REMERA ALGODON"), 10);
        shop.article(QStringLiteral("0000000000002"), QStringLiteral("GORRO LANA"), 10);
        shop.customer(2, QStringLiteral("GOMEZ ANA"), QStringLiteral("SAN MARTIN 120"),
                      QStringLiteral("MONOTRIBUTISTA"), QStringLiteral("27123456789"));
        shop.sale(42, saleDay, 2, 10, {{QStringLiteral("0000000000001"), 2, 50}});
        shop.sale(43, saleDay, 1, 0, {{QStringLiteral("0000000000002"), 1, 30}});
    }

    void ticketRow(SalesShop &shop, int top, int left)
    {
        shop.insert(QStringLiteral("FILCOL"),
                    {QStringLiteral("FCTIPO"), QStringLiteral("FCCOMPRO"), QStringLiteral("FCESPACIO"),
                     QStringLiteral("FCFILA01"), QStringLiteral("FCCOL01")},
                    {QStringLiteral("TK"), QStringLiteral("TICKET"), 40, top, left});
    }

private slots:
    void cleanup() { vx::report::setCurrentPrinterFactory({}); }

    void nothingPrintsWithoutAChoice()
    {
        SalesShop shop;
        saleOnScreen(shop);
        const QString printed = pdfPath(QStringLiteral("nada"));
        vx::report::setCurrentPrinterFactory(vx::report::pdfPrinterFactory(printed));
        for (const char *button : {"BCancelar", "BFiscal"}) {
            vx::ui::FakeDialogs dialogs;
            script(dialogs, button, printed);
            sales::printRecordedSale(nullptr, boxes(QStringLiteral("CONSUMIDOR FINAL")));
            QCOMPARE(dialogs.texts(QStringLiteral("modal")), QStringList{QStringLiteral("FImpTF")});
            QVERIFY(!QFile::exists(printed));
        }
        QCOMPARE(rowsOf(shop, QStringLiteral("1 = 1")), 2);
        TFImpTF choice;
        QVERIFY(choice.BFiscal->isHidden());
        screenshots::save(choice.grab().toImage(), QStringLiteral("vx-imptf.png"));
    }

    void receiptFromTheSaleWindow()
    {
        SalesShop shop;
        saleOnScreen(shop);
        shop.customer(2, QStringLiteral("GOMEZ ANA"), QStringLiteral("SAN MARTIN 120"),
                      QStringLiteral("MONOTRIBUTISTA"), QStringLiteral("27123456789"));
        {
            // A customer the shop does not know.
            vx::ui::FakeDialogs dialogs;
            const QString printed = pdfPath(QStringLiteral("factura"));
            script(dialogs, "BFactura", printed);
            sales::printRecordedSale(nullptr, boxes(QStringLiteral("PEREZ JUAN")));
            QCOMPARE(dialogs.texts(QStringLiteral("modal")),
                     (QStringList{QStringLiteral("FImpTF"), QStringLiteral("ReportPreview")}));
            QCOMPARE(pdf::pageCount(printed), 1);
            QVERIFY(pdf::sameSize(pdf::pageSizeMm(printed), {210, 297}));
            const QString page = text(printed);
            QVERIFY2(page.contains(QStringLiteral("Documento no válido como factura")), qPrintable(page));
            QCOMPARE(pdf::lineWith(page, QStringLiteral("Comprobante Nro.:")).section(QStringLiteral("Comprobante"), 1),
                     QStringLiteral(" Nro.: 42"));
            QVERIFY(page.contains(QStringLiteral("Fecha: 08/12/2026")));
            QCOMPARE(pdf::lineWith(page, QStringLiteral("Cliente:")), QStringLiteral("Cliente: CONSUMIDOR FINAL"));
            QCOMPARE(pdf::lineWith(page, QStringLiteral("Dirección:")), QStringLiteral("Dirección:"));
            QCOMPARE(pdf::lineWith(page, QStringLiteral("I.V.A.")), QStringLiteral("I.V.A. C.U.I.T."));
            QCOMPARE(pdf::lineWith(page, QStringLiteral("REMERA")),
                     QStringLiteral("2,00 0000000000001 REMERA ALGODON 50,00 100,00"));
            QCOMPARE(pdf::lineWith(page, QStringLiteral("MEDIAS")),
                     QStringLiteral("1,50 0000000000002 MEDIAS SOQUETE 10,00 15,00"));
            QCOMPARE(pdf::lineWith(page, QStringLiteral("Sub total")), QStringLiteral("Sub total 115,00"));
            QCOMPARE(pdf::lineWith(page, QStringLiteral("Porc.%")), QStringLiteral("Porc.% 10,00"));
            QCOMPARE(pdf::lineWith(page, QStringLiteral("Descuento:")), QStringLiteral("Descuento: 11,50"));
            QCOMPARE(pdf::lineWith(page, QStringLiteral("Importe Total")), QStringLiteral("Importe Total 103,50"));
            screenshots::save(pdf::rasterise(printed, 1, 60), QStringLiteral("vx-receipt.png"));
        }
        {
            // A known customer, and the shop's logo from the working folder.
            QImage logo(240, 120, QImage::Format_RGB32);
            logo.fill(Qt::darkBlue);
            QVERIFY(logo.save(QDir::current().filePath(QStringLiteral("LOGO.BMP")), "BMP"));
            vx::ui::FakeDialogs dialogs;
            const QString printed = pdfPath(QStringLiteral("factura-cliente"));
            script(dialogs, "BFactura", printed);
            sales::printRecordedSale(nullptr, boxes(QStringLiteral("GOMEZ ANA")));
            const QString page = text(printed);
            QCOMPARE(pdf::lineWith(page, QStringLiteral("Cliente:")), QStringLiteral("Cliente: GOMEZ ANA"));
            QCOMPARE(pdf::lineWith(page, QStringLiteral("Dirección:")), QStringLiteral("Dirección: SAN MARTIN 120"));
            QCOMPARE(pdf::lineWith(page, QStringLiteral("I.V.A.")),
                     QStringLiteral("I.V.A. MONOTRIBUTISTA C.U.I.T. 27123456789"));
            QCOMPARE(pdf::images(printed).size(), 1);
        }
        // The sale keeps its lines; the printout's rows are gone.
        QCOMPARE(rowsOf(shop, QStringLiteral("1 = 1")), 2);
        QCOMPARE(rowsOf(shop, QStringLiteral("TM1CHR11 IS NOT NULL")), 0);
    }

    void ticketsFromTheSaleWindow()
    {
        SalesShop shop;
        saleOnScreen(shop);
        // The shop's header, saved under another case of its name.
        SalesShop::writeFile(userFolder(), QStringLiteral("memtik.TXT"),
                             "BOUTIQUE ÑANDÚ\r\nAv. Siempreviva 742\r\nIVA: Resp. Inscripto\r\n");
        struct Case {
            const char *button;
            QSizeF size;
            QString dateLine;
        };
        const QList<Case> cases{{"BTicket", {75, 500}, QStringLiteral("Fecha: 08/12/2026 - Tkt: 42")},
                                {"BTicket57", {58, 297}, QStringLiteral("Fecha: 08/12/2026 - Tkt 42")}};
        // The rolls are cut where the ticket ends, well before their longest length.
        for (const Case &c : cases) {
            vx::ui::FakeDialogs dialogs;
            const QString printed = pdfPath(QLatin1String(c.button));
            vx::report::setCurrentPrinterFactory(vx::report::pdfPrinterFactory(printed));
            script(dialogs, c.button, printed);
            sales::printRecordedSale(nullptr, boxes(QStringLiteral("PEREZ JUAN")));
            // Printed straight away, without a preview.
            QCOMPARE(dialogs.texts(QStringLiteral("modal")), QStringList{QStringLiteral("FImpTF")});
            const QSizeF paper = pdf::pageSizeMm(printed);
            QVERIFY2(qRound(paper.width()) == c.size.width() && paper.height() < 120,
                     qPrintable(pdf::info(printed).value("Page size")));
            const QString page = text(printed);
            const int shop0 = pdf::lineOf(page, QStringLiteral("BOUTIQUE ÑANDÚ"));
            QVERIFY2(shop0 >= 0, qPrintable(page));
            QVERIFY(pdf::lineOf(page, QStringLiteral("Av. Siempreviva 742")) > shop0);
            QVERIFY(!page.contains(QStringLiteral("Mi Negocio...")));
            QCOMPARE(pdf::lineWith(page, QStringLiteral("Fecha:")), c.dateLine);
            QCOMPARE(pdf::lineWith(page, QStringLiteral("Cliente:")), QStringLiteral("Cliente: PEREZ JUAN"));
            QVERIFY(page.contains(QStringLiteral("REMERA ALGODON")));
            QCOMPARE(pdf::lineWith(page, QStringLiteral("Bonificacion:")), QStringLiteral("Bonificacion: 11,50"));
            QCOMPARE(pdf::lineWith(page, QStringLiteral("Importe Total")), QStringLiteral("Importe Total 103,50"));
            QCOMPARE(page.contains(QString(20, QLatin1Char('-'))), c.size.width() == 75);
            if (c.size.width() == 75)
                screenshots::save(pdf::rasterise(printed, 1, 100),
                                  QStringLiteral("vx-ticket.png"));
        }

        // Without a header file anywhere, the built-in lines; with one in the working folder only,
        // that one.
        QVERIFY(QFile::remove(QDir(userFolder()).filePath(QStringLiteral("memtik.TXT"))));
        vx::ui::FakeDialogs dialogs;
        const QString builtIn = pdfPath(QStringLiteral("sin-membrete"));
        vx::report::setCurrentPrinterFactory(vx::report::pdfPrinterFactory(builtIn));
        script(dialogs, "BTicket", builtIn);
        sales::printRecordedSale(nullptr, boxes(QStringLiteral("PEREZ JUAN")));
        const QString page = text(builtIn);
        int previous = -1;
        for (const QString &line :
             {QStringLiteral("Mi Negocio..."), QStringLiteral("Dir.:"), QStringLiteral("( ) localidad"),
              QStringLiteral("TEL:"), QStringLiteral("CUIT"), QStringLiteral("IVA: Monotributista")}) {
            const int at = pdf::lineOf(page, line);
            QVERIFY2(at > previous, qPrintable(line + QStringLiteral("\n") + page));
            previous = at;
        }
        QVERIFY(dialogs.texts(QStringLiteral("message")).isEmpty());

        SalesShop::writeFile(QDir::currentPath(), QStringLiteral("Memtik.txt"), "TIENDA DEL CENTRO\n");
        const QString working = pdfPath(QStringLiteral("membrete-local"));
        vx::report::setCurrentPrinterFactory(vx::report::pdfPrinterFactory(working));
        script(dialogs, "BTicket57", working);
        sales::printRecordedSale(nullptr, boxes(QStringLiteral("PEREZ JUAN")));
        QVERIFY(text(working).contains(QStringLiteral("TIENDA DEL CENTRO")));
        QCOMPARE(rowsOf(shop, QStringLiteral("1 = 1")), 2);
    }

    void reprintedReceiptShowsTheDiscount()
    {
        SalesShop shop;
        storedReceipts(shop);
        vx::ui::FakeDialogs dialogs;
        const QString printed = pdfPath(QStringLiteral("reimpresion"));
        QString discountOfOther;
        reprint(dialogs, {printed}, [&](TFImpComp &window) {
            QCOMPARE(window.CBComp->items(), (QStringList{QStringLiteral("42"), QStringLiteral("43")}));
            choose(window, QStringLiteral("42"));
            QCOMPARE(window.Edit1->text(), QStringLiteral("10,00"));
            window.BImprimirClick();
            screenshots::save(window.grab().toImage(), QStringLiteral("vx-impcomp.png"));
            choose(window, QStringLiteral("43"));
            discountOfOther = window.Edit1->text();
        });
        // Without a logo anywhere the operator is told, and the receipt prints all the same.
        QCOMPARE(dialogs.texts(QStringLiteral("message")),
                 QStringList{QStringLiteral("No se pudo cargar el archivo. Revisar el archivo LOGO.BMP")});
        const QString page = text(printed);
        QVERIFY2(page.contains(QStringLiteral("COMPROBANTE Nro. 42")), qPrintable(page));
        QVERIFY(page.contains(QStringLiteral("Fecha: 08/12/2026")));
        QCOMPARE(pdf::lineWith(page, QStringLiteral("Cliente:")), QStringLiteral("Cliente: GOMEZ ANA"));
        // At list price, with the discount in the summary and the stored total.
        QCOMPARE(pdf::lineWith(page, QStringLiteral("REMERA")),
                 QStringLiteral("2,00 0000000000001 REMERA ALGODON 50,00 100,00"));
        QCOMPARE(pdf::lineWith(page, QStringLiteral("Sub total")), QStringLiteral("Sub total 100,00"));
        QCOMPARE(pdf::lineWith(page, QStringLiteral("Porc.%")), QStringLiteral("Porc.% 10,00"));
        QCOMPARE(pdf::lineWith(page, QStringLiteral("Descuento:")), QStringLiteral("Descuento: 10,00"));
        QCOMPARE(pdf::lineWith(page, QStringLiteral("Importe Total")), QStringLiteral("Importe Total 90,00"));
        QCOMPARE(pdf::images(printed).size(), 0);
        // A receipt without discount does not show the one chosen before.
        QCOMPARE(discountOfOther, QStringLiteral("0,00"));
        // Closing removed the printout's rows.
        QCOMPARE(rowsOf(shop, QStringLiteral("1 = 1")), 0);
    }

    void reprintedTickets()
    {
        SalesShop shop;
        storedReceipts(shop);
        ticketRow(shop, 20, 140);
        SalesShop::writeFile(userFolder(), QStringLiteral("MemTik.txt"), "BOUTIQUE ÑANDÚ\nCUIT 30-1\n");
        vx::ui::FakeDialogs dialogs;
        const QStringList printed{pdfPath(QStringLiteral("t70")), pdfPath(QStringLiteral("t58")),
                                  pdfPath(QStringLiteral("pos57")), pdfPath(QStringLiteral("pos57-cf"))};
        reprint(dialogs, printed, [](TFImpComp &window) {
            choose(window, QStringLiteral("42"));
            window.BTicket70Click();
            window.BTicket58Click();
            window.BPos57Click();
            choose(window, QStringLiteral("43"));
            window.BPos57Click();
        });
        QVERIFY(dialogs.texts(QStringLiteral("message")).isEmpty());
        const QList<double> widths{75, 58, 57, 57};
        for (int i = 0; i < printed.size(); ++i) {
            const QSizeF paper = pdf::pageSizeMm(printed[i]);
            QVERIFY2(qRound(paper.width()) == widths[i] && paper.height() < 120, qPrintable(printed[i]));
        }
        const QString t70 = text(printed[0]);
        QVERIFY(t70.contains(QStringLiteral("BOUTIQUE ÑANDÚ")));
        QCOMPARE(pdf::lineWith(t70, QStringLiteral("Fecha:")), QStringLiteral("Fecha: 08/12/2026 - T.Nro.: 42"));
        QCOMPARE(pdf::lineWith(t70, QStringLiteral("Cliente:")), QStringLiteral("Cliente: GOMEZ ANA"));
        QCOMPARE(pdf::lineWith(t70, QStringLiteral("Cant.")), QStringLiteral("Cant.- Precio Un. Sub Total"));
        QCOMPARE(pdf::lineWith(t70, QStringLiteral("Bonificacion:")), QStringLiteral("Bonificacion: 10,00"));
        QCOMPARE(pdf::lineWith(t70, QStringLiteral("Importe Total")), QStringLiteral("Importe Total 90,00"));
        QCOMPARE(pdf::lineWith(text(printed[1]), QStringLiteral("Fecha:")),
                 QStringLiteral("Fecha: 08/12/2026 - T.Nro.: 42"));
        QCOMPARE(pdf::lineWith(text(printed[2]), QStringLiteral("Fecha:")),
                 QStringLiteral("Fecha: 08/12/2026 - Nro.: 42"));
        QCOMPARE(pdf::lineWith(text(printed[3]), QStringLiteral("Cliente:")),
                 QStringLiteral("Cliente: CONSUMIDOR FINAL"));
    }

    void reprintedTicketWithoutLayoutRow()
    {
        SalesShop shop;
        storedReceipts(shop);
        vx::ui::FakeDialogs dialogs;
        const QString designed = pdfPath(QStringLiteral("disenado"));
        reprint(dialogs, {designed}, [](TFImpComp &window) {
            choose(window, QStringLiteral("42"));
            window.BTicket70Click();
        });
        QCOMPARE(dialogs.texts(QStringLiteral("message")),
                 QStringList{QStringLiteral("No se encuentra el archivo MemTik.txt")});
        const QString page = text(designed);
        QVERIFY(page.contains(QStringLiteral("Mi Negocio...")));
        QCOMPARE(pdf::lineWith(page, QStringLiteral("Fecha:")), QStringLiteral("Fecha:"));
        QCOMPARE(pdf::lineWith(page, QStringLiteral("Cliente:")), QStringLiteral("Cliente:"));
        QCOMPARE(pdf::lineWith(page, QStringLiteral("Cant.")), QStringLiteral("Cant. - Pr.Unitario Sub Total"));
        QVERIFY(page.contains(QStringLiteral("Articulo - Descripcion")));

        // A layout row moves every left-aligned text to its left edge.
        ticketRow(shop, 0, 300);
        const QString moved = pdfPath(QStringLiteral("movido"));
        reprint(dialogs, {moved}, [](TFImpComp &window) {
            choose(window, QStringLiteral("42"));
            window.BTicket70Click();
        });
        const auto column = [](const QString &pageText, const QString &needle) {
            const QStringList lines = pageText.split(QLatin1Char('\n'));
            return lines.value(pdf::lineOf(pageText, needle)).indexOf(needle);
        };
        const QString movedPage = text(moved);
        for (const QString &needle : {QStringLiteral("Mi Negocio..."), QStringLiteral("Cliente:"),
                                      QStringLiteral("0000000000001"), QStringLiteral("Importe Total")})
            QVERIFY2(column(movedPage, needle) > column(page, needle) + 5, qPrintable(needle + "\n" + movedPage));
    }

    // A roll ticket is as long as its lines: each article adds the same length, whatever the roll.
    void ticketLengthFollowsItsLines()
    {
        SalesShop shop;
        sales::ReceiptStaging staging(shop.db());
        for (const auto paper : {sales::TicketPaper::Ticket70, sales::TicketPaper::Ticket58}) {
            const double width = paper == sales::TicketPaper::Ticket70 ? 75 : 58;
            QList<double> lengths;
            for (const int count : {1, 5, 15}) {
                QList<sales::StagedLine> lines;
                for (int i = 1; i <= count; ++i)
                    lines.append({QStringLiteral("%1").arg(i, 13, 10, QLatin1Char('0')), QStringLiteral("MEDIAS"), 1,
                                  10, 10, 0});
                staging.stage(lines, QStringLiteral("7"), saleDay);
                const auto report = sales::ticketReport(staging.view(), paper, {});
                const QString printed = pdfPath(QStringLiteral("largo-%1-%2").arg(width).arg(count));
                report->savePdf(printed);
                QCOMPARE(pdf::pageCount(printed), 1);
                const QSizeF size = pdf::pageSizeMm(printed);
                QCOMPARE(qRound(size.width()), qRound(width));
                lengths << size.height();
            }
            // Code, description and quantity line: 12 mm an article.
            QVERIFY2(qAbs(lengths[1] - lengths[0] - 4 * 12) < 0.4 && qAbs(lengths[2] - lengths[1] - 10 * 12) < 0.4,
                     qPrintable(QStringLiteral("%1 mm: %2, %3, %4").arg(width).arg(lengths[0]).arg(lengths[1]).arg(lengths[2])));
            QVERIFY2(lengths[0] < 100, qPrintable(QString::number(lengths[0])));
        }
    }

    // Amounts of 7 to 10 digits print whole or as "###", never cut; a 30-character description
    // keeps the whole line on 75 mm (also moved right by the layout row) and its size on 58 mm.
    void ticketFiguresAndDescriptions()
    {
        SalesShop shop;
        sales::ReceiptStaging staging(shop.db());
        const QString description = QStringLiteral("CAMPERA IMPERMEABLE AZUL T.XXL");
        QCOMPARE(description.size(), 30);
        QList<sales::StagedLine> lines;
        QStringList whole; // every figure the ticket may show
        for (const double price : {1234567.89, 12345678.9, 123456789.12, 1234567890.12}) {
            lines.append({QStringLiteral("7791234567898"), description, 1, price, price, 0});
            whole << vx::shopformat::formatFloat(QStringLiteral("0.00"), price);
        }
        staging.stage(lines, QStringLiteral("7"), saleDay);
        sales::TicketPrint print;
        print.subtotal = QStringLiteral("1371604926,03");
        print.discount = QStringLiteral("137160492,60");
        print.total = QStringLiteral("1234444433,43");
        whole << print.subtotal << print.discount << print.total << QStringLiteral("7791234567898");
        struct Case {
            sales::TicketPaper paper;
            std::optional<sales::TicketPositions> positions;
            const char *name;
        };
        const QList<Case> cases{{sales::TicketPaper::Ticket70, std::nullopt, "t70"},
                                {sales::TicketPaper::Ticket70, sales::TicketPositions{20, 140}, "t70-filcol"},
                                {sales::TicketPaper::Ticket58, std::nullopt, "t58"}};
        static const QRegularExpression figure(QStringLiteral("[0-9][0-9.,]{6,}|#+"));
        for (const Case &c : cases) {
            print.positions = c.positions;
            const auto report = sales::ticketReport(staging.view(), c.paper, print);
            const QString printed = pdfPath(QLatin1String(c.name));
            report->savePdf(printed);
            const QString page = text(printed);
            int shown = 0;
            for (auto it = figure.globalMatch(page); it.hasNext();) {
                const QString found = it.next().captured();
                QVERIFY2(whole.contains(found) || found == QStringLiteral("###"),
                         qPrintable(QStringLiteral("%1: %2\n%3").arg(QLatin1String(c.name), found, page)));
                shown += whole.contains(found);
            }
            QVERIFY2(shown >= 8, qPrintable(page)); // at least every unit price and the summary
            if (c.paper == sales::TicketPaper::Ticket70) {
                QCOMPARE(pdf::lineWith(page, QStringLiteral("CAMPERA")), description);
                if (!c.positions)
                    screenshots::save(pdf::rasterise(printed, 1, 150), QStringLiteral("vx-ticket-figures.png"));
            } else {
                const QStringList rows = page.split(QLatin1Char('\n'));
                const int first = pdf::lineOf(page, QStringLiteral("CAMPERA"));
                QVERIFY2(rows.mid(first, 2).join(QLatin1Char(' ')).simplified().startsWith(description),
                         qPrintable(page));
            }
        }
    }

    void stagingKeepsClearOfTheSale()
    {
        SalesShop shop;
        saleOnScreen(shop);
        sales::ReceiptStaging staging(shop.db());
        staging.stage({{QStringLiteral("X"), QStringLiteral("STAGED"), 1, 2, 2, 0}}, QStringLiteral("7"), saleDay);
        QCOMPARE(staging.view().recordCount(), 1);
        QCOMPARE(staging.view().fieldByName(QStringLiteral("TM1CHR3"))->asString(), QStringLiteral("7"));
        // Reading the sale's lines skips the staged row.
        shop.dm->TMP1->open();
        const QList<sales::StagedLine> lines = sales::saleLines(*shop.dm->TMP1);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[1].quantity, 1.5);
        staging.close();
        shop.dm->TMP1->refresh();
        QCOMPARE(shop.dm->TMP1->recordCount(), 2);
    }
};

QTEST_MAIN(TestReceipts)
#include "tst_receipts.moc"
