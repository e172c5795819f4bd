// Delivery notes as the operator builds and prints them: the note's lines and totals in the window,
// then the printout read back from its PDF. Three lines with a fraction, an issue and a sale
// under one number, a number that is none, both captions, the letterhead present and missing.
#include "../common/Screenshots.h"
#include "../platform/ReportPdfReader.h"
#include "StockWindowShop.h"

#include "platform/report/ReportPreview.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/FakeDialogs.h"
#include "sales/SaleRecording.h"
#include "stock/GoodsIssue.h"
#include "stock/GoodsReceipt.h"
#include "stock/Remi.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <functional>

namespace {

const QString remera = QStringLiteral("0000000000011");
const QString pantalon = QStringLiteral("0000000000022");
const QString gorro = QStringLiteral("0000000000033");

}  // namespace

class TestRemitos : public QObject {
    Q_OBJECT

    std::unique_ptr<StockWindowShop> shop;
    std::unique_ptr<vx::ui::FakeDialogs> dialogs;
    QTemporaryDir m_out;

    // Issue 5: three lines, one of 2,5 units; sale 5 and sale 6 at the counter; receipt 3.
    void openShop()
    {
        shop = std::make_unique<StockWindowShop>();
        // A brand longer than the work table's short columns: the note does not show it, and it
        // must not stop the note either.
        shop->addArticle(remera, QStringLiteral("REMERA ALGODON PEINADO MANGA CORTA ESCOTE EN V"), QStringLiteral("R1"),
                         10, 10, 20, QStringLiteral("TEXTIL DEL NOROESTE ARGENTINO SOCIEDAD ANONIMA"));
        shop->addArticle(pantalon, QStringLiteral("PANTALON CARGO"), QStringLiteral("P1"), 10, 10);
        shop->addArticle(gorro, QStringLiteral("GORRO LANA"), QStringLiteral("G1"), 10, 10);
        dialogs = std::make_unique<vx::ui::FakeDialogs>();

        stock::IssueEntry issue;
        issue.number = {QStringLiteral("5"), false};
        issue.dateText = QStringLiteral("03/12/2026");
        issue.lines = {{remera, {}, 2.5, 0, 10, 20}, {pantalon, {}, 1, 1.5, 10, 20}, {gorro, {}, 3, 0, 10, 20}};
        stock::recordIssue(shop->db(), issue);
        for (const int number : {5, 6}) {
            sales::SaleEntry sale;
            sale.receiptNumberText = QString::number(number);
            sale.dateText = QStringLiteral("04/12/2026");
            sale.customerName = QStringLiteral("CONSUMIDOR FINAL");
            sale.lines = {{gorro, 4, 10}};
            sales::recordSale(shop->db(), sale);
        }
        stock::ReceiptEntry receipt;
        receipt.number = {QStringLiteral("3"), false};
        receipt.dateText = QStringLiteral("02/12/2026");
        receipt.lines = {{remera, {}, 12, 5, 0.5, 5}, {gorro, {}, 0, 5, 7, 5}};
        stock::recordReceipt(shop->db(), receipt);
    }

    // The note window through its command; `inside` runs while it is shown, and the preview of
    // "&Imprimir" is saved as `pdf`.
    void inRemi(TFRemi::Mode mode, const QString &pdf, const std::function<void(TFRemi &)> &inside)
    {
        dialogs->fileAnswers.enqueue(pdf);
        dialogs->onModal = [&inside](QDialog *dialog) {
            if (auto *preview = qobject_cast<vx::report::ReportPreview *>(dialog)) {
                preview->savePdf();
                return 0;
            }
            auto *remi = qobject_cast<TFRemi *>(dialog);
            if (!remi)
                return 0;
            remi->show();
            if (QTest::qWaitForWindowActive(remi))
                inside(*remi);
            QTest::keyClick(remi, Qt::Key_Escape);
            return 0;
        };
        QWidget owner;
        openRemi(&owner, mode);
    }

    static void build(TFRemi &w, const QString &number)
    {
        QTest::mouseClick(w.EdNro, Qt::LeftButton);
        w.EdNro->selectAll();
        QTest::keyClicks(w.EdNro, number);
        QTest::keyClick(w.EdNro, Qt::Key_Return);
    }

    QString pdfPath(const QString &name) const { return m_out.filePath(name + QStringLiteral(".pdf")); }

    static QString text(const QString &pdf) { return pdf::pages(pdf).join(QLatin1Char('\f')); }

    // Whether a printed line, its blanks collapsed, holds the expected text.
    static bool hasLine(const QString &text, const QString &expected)
    {
        const QStringList lines = text.split(QLatin1Char('\n'));
        return std::any_of(lines.begin(), lines.end(),
                           [&expected](const QString &line) { return line.simplified().contains(expected); });
    }

private slots:
    void cleanup()
    {
        dialogs.reset();
        shop.reset();
    }

    // Issue 5 shares its number with sale 5: the note holds the three issue lines, as recorded,
    // and their exact totals; the letterhead comes from the user folder whatever its name's case.
    void issueNoteWithLetterhead()
    {
        openShop();
        QDir().mkpath(vx::paths::userFolder());
        QFile letterhead(QDir(vx::paths::userFolder()).filePath(QStringLiteral("Membrete.TXT")));
        QVERIFY(letterhead.open(QIODevice::WriteOnly));
        letterhead.write("TIENDA LA ESQUINA\r\nSAN MARTIN 120 - SALTA\r\n");
        letterhead.close();
        QImage logo(40, 20, QImage::Format_RGB32);
        logo.fill(Qt::darkBlue);
        QVERIFY(logo.save(QDir(vx::paths::userFolder()).filePath(QStringLiteral("LOGO.bmp")), "BMP"));

        const QString pdf = pdfPath(QStringLiteral("egreso"));
        inRemi(TFRemi::Mode::Egresos, pdf, [](TFRemi &w) {
            build(w, QStringLiteral("5"));
            QCOMPARE(w.DBGrid1->model()->rowCount(), 3);
            QCOMPARE(w.Edit1->text(), QStringLiteral("03/12/2026"));
            QCOMPARE(w.Edit2->text(), QStringLiteral("5"));
            QCOMPARE(w.EdCant1->text(), QStringLiteral("6,5"));
            QCOMPARE(w.EdCant2->text(), QStringLiteral("1,5"));
            screenshots::save(w.grab().toImage(), QStringLiteral("remito.png"));
            QTest::mouseClick(w.BImp, Qt::LeftButton);
        });
        QCOMPARE(dialogs->texts(QStringLiteral("message")), QStringList{});
        const QString note = text(pdf);
        screenshots::save(pdf::rasterise(pdf, 1, 60), QStringLiteral("remito-pdf.png"));
        QVERIFY2(note.contains(QStringLiteral("TIENDA LA ESQUINA")), qPrintable(note));
        QVERIFY(note.contains(QStringLiteral("SAN MARTIN 120 - SALTA")));
        QVERIFY(note.contains(QStringLiteral("Remito No. 5")));
        QVERIFY(note.contains(QStringLiteral("Fecha: 03/12/2026")));
        QVERIFY(hasLine(note, QStringLiteral("Salida del")));
        QVERIFY(hasLine(note, QStringLiteral("ARTICULO DESCRIPCION Depos.1 Depos.2")));
        QCOMPARE(pdf::lineWith(note, remera), QStringLiteral("0000000000011 REMERA ALGODON PEINADO MANGA CORTA ESCOTE EN V 2,5 0"));
        QCOMPARE(pdf::lineWith(note, pantalon), QStringLiteral("0000000000022 PANTALON CARGO 1 1,5"));
        QCOMPARE(pdf::lineWith(note, gorro), QStringLiteral("0000000000033 GORRO LANA 3 0"));
        QVERIFY(pdf::lineWith(note, QStringLiteral("Total de Unidades Entregadas desde cada Depósito"))
                    .endsWith(QStringLiteral("6,5 1,5")));
        QCOMPARE(pdf::images(pdf).size(), 1);
        // The printout's rows went with it; the window's went when it closed.
        QCOMPARE(shop->count(QStringLiteral("TMP1")), 0);
    }

    // A number with sale lines only prints them; a number that is none finds nothing; the
    // receipt mode prints its own caption; no letterhead nor logo: said, and the built-in line.
    void otherNotes_data()
    {
        QTest::addColumn<bool>("receipts");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QStringList>("expected");  // lines the PDF holds; empty: no note
        QTest::newRow("sale number") << false << QStringLiteral("6")
                                     << QStringList{QStringLiteral("0000000000033 GORRO LANA 4 0"),
                                                    QStringLiteral("Total de Unidades Entregadas")};
        QTest::newRow("receipt") << true << QStringLiteral("3")
                                 << QStringList{QStringLiteral("Entrada al"),
                                                QStringLiteral("0000000000011 REMERA ALGODON PEINADO MANGA CORTA ESCOTE EN V 12 0,5"),
                                                QStringLiteral("0000000000033 GORRO LANA 0 7"),
                                                QStringLiteral("Total de Unidades Ingresadas en cada Depósito, según Comprobante: 12 7,5")};
        QTest::newRow("not a number") << false << QStringLiteral("5 OR 1=1") << QStringList{};
        QTest::newRow("issue number in receipt mode") << true << QStringLiteral("5") << QStringList{};
    }
    void otherNotes()
    {
        QFETCH(bool, receipts);
        QFETCH(QString, number);
        QFETCH(QStringList, expected);
        openShop();
        const QString pdf = pdfPath(QStringLiteral("nota"));
        int rows = -1;
        QString total1;
        inRemi(receipts ? TFRemi::Mode::Ingresos : TFRemi::Mode::Egresos, pdf, [&](TFRemi &w) {
            build(w, number);
            rows = w.DBGrid1->model()->rowCount();
            total1 = w.EdCant1->text();
            if (rows > 0)
                QTest::mouseClick(w.BImp, Qt::LeftButton);
        });
        if (expected.isEmpty()) {
            QCOMPARE(rows, 0);
            QCOMPARE(total1, QStringLiteral("0"));
            QCOMPARE(dialogs->texts(QStringLiteral("message")),
                     QStringList{QStringLiteral("Número de comprobante no encontrado.")});
            return;
        }
        QCOMPARE(dialogs->texts(QStringLiteral("message")),
                 (QStringList{QStringLiteral("No se pudo cargar el logo..."),
                              QStringLiteral("No se pudo cargar el membrete...")}));
        const QString note = text(pdf);
        QVERIFY2(note.contains(QStringLiteral("membrete.txt")), qPrintable(note));
        for (const QString &line : std::as_const(expected))
            QVERIFY2(hasLine(note, line), qPrintable(line + QStringLiteral("\n") + note));
        QCOMPARE(pdf::lineWith(note, QStringLiteral("Total de Unidades")).isEmpty(), false);
        QVERIFY(!note.contains(QStringLiteral("PANTALON")));
    }
};

QTEST_MAIN(TestRemitos)
#include "tst_remitos.moc"
