#include "../common/Screenshots.h"
#include "SalesShop.h"

#include "../platform/ReportPdfReader.h"

#include "platform/ui/DBEdit.h"
#include "platform/ui/FakeDialogs.h"
#include "sales/FilCol.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTest>

#include <functional>

class TestFilCol : public QObject {
    Q_OBJECT

    // Opens the window through its command; `inside` runs while it is shown.
    static void open(vx::ui::FakeDialogs &dialogs, TFFilCol &window, const std::function<void(TFFilCol &)> &inside)
    {
        dialogs.onModal = [&window, inside](QDialog *dialog) {
            if (dialog == &window)
                inside(window);
            return 0;
        };
        openFilCol(window);
    }

    static int rowsOfType(SalesShop &shop, const QString &type)
    {
        return shop.scalar(QStringLiteral("SELECT COUNT(*) FROM FILCOL WHERE FCTIPO = ?"), {type}).toInt();
    }

    static QByteArray contents(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    static QStringList headerFiles(const QString &folder)
    {
        return QDir(folder).entryList({QStringLiteral("*.txt"), QStringLiteral("*.TXT")}, QDir::Files);
    }

private slots:
    void ticketTabCreatesItsRowOnce()
    {
        SalesShop shop;
        vx::ui::FakeDialogs dialogs;
        TFFilCol window;
        open(dialogs, window, [](TFFilCol &w) {
            QCOMPARE(w.PageControl1->currentWidget(), w.TabSheet1);
            w.PageControl1->setCurrentWidget(w.TabSheet2);
            QCOMPARE(w.ticketRows[0]->text(), QStringLiteral("20"));
            QCOMPARE(w.ticketColumns[0]->text(), QStringLiteral("140"));
            w.PageControl1->setCurrentWidget(w.TabSheet1);
            w.PageControl1->setCurrentWidget(w.TabSheet2);
            screenshots::save(w.grab().toImage(), QStringLiteral("vx-filcol.png"));
        });
        QSqlQuery row = shop.db().execute(
            QStringLiteral("SELECT FCCOMPRO, FCESPACIO, FCFILA01, FCCOL01 FROM FILCOL WHERE FCTIPO = 'TK'"));
        QVERIFY(row.next());
        QCOMPARE(row.value(0).toString(), QStringLiteral("TICKET"));
        QCOMPARE(row.value(1).toInt(), 40);
        QCOMPARE(row.value(2).toInt(), 20);
        QCOMPARE(row.value(3).toInt(), 140);
        QVERIFY(!row.next());
        QVERIFY(!shop.dm->FilCol->active());
    }

    void invoiceLayoutKeepsOneRow()
    {
        SalesShop shop;
        vx::ui::FakeDialogs dialogs;
        TFFilCol window;
        open(dialogs, window, [](TFFilCol &w) {
            for (int number = 1; number <= 22; ++number)
                w.edit(number)->setText(QString::number(number * 10));
            w.edit(24)->setText(QStringLiteral("55"));
            screenshots::save(w.grab().toImage(), QStringLiteral("vx-filcol-c.png"));
            w.BGrabarClick();
        });
        QCOMPARE(dialogs.texts(QStringLiteral("message")), QStringList{QStringLiteral("Proceso Terminado.")});
        QCOMPARE(window.result(), int(QDialog::Accepted));

        dialogs.shown.clear();
        open(dialogs, window, [](TFFilCol &w) {
            // The boxes show what was stored; a box that is not a whole number stores nothing.
            QCOMPARE(w.edit(22)->text(), QStringLiteral("220"));
            QCOMPARE(w.edit(24)->text(), QStringLiteral("55"));
            w.edit(3)->setText(QStringLiteral("1,5"));
            w.BGrabarClick();
            w.edit(3)->setText(QStringLiteral("33"));
            w.edit(1)->setText(QStringLiteral("99"));
            w.BGrabarClick();
        });
        QCOMPARE(dialogs.texts(QStringLiteral("error")).size(), 1);
        QVERIFY(dialogs.texts(QStringLiteral("error")).first().contains(QStringLiteral("1,5")));
        QCOMPARE(dialogs.texts(QStringLiteral("message")), QStringList{QStringLiteral("Proceso Terminado.")});
        QCOMPARE(rowsOfType(shop, QStringLiteral("1C")), 1);
        QSqlQuery row = shop.db().execute(
            QStringLiteral("SELECT FCCOMPRO, FCFILA01, FCFILA02, FCCOL02, FCFILA11, FCCOL11, FCESPACIO FROM FILCOL"));
        QVERIFY(row.next());
        QCOMPARE(row.value(0).toString(), QStringLiteral("Factura_C"));
        QCOMPARE(row.value(1).toInt(), 99);
        QCOMPARE(row.value(2).toInt(), 33);
        QCOMPARE(row.value(3).toInt(), 40);
        QCOMPARE(row.value(4).toInt(), 210);
        QCOMPARE(row.value(5).toInt(), 220);
        QCOMPARE(row.value(6).toInt(), 55);
    }

    void headerTextIsOneFileWhateverItsCase()
    {
        SalesShop shop;
        const QString user = vx::paths::userFolder();
        SalesShop::writeFile(user, QStringLiteral("MEMTIK.TXT"), "TIENDA UNO\r\nCALLE 1\r\n");
        vx::ui::FakeDialogs dialogs;
        TFFilCol window;
        open(dialogs, window, [](TFFilCol &w) {
            QCOMPARE(w.Memo1->toPlainText(), QStringLiteral("TIENDA UNO\nCALLE 1"));
            w.Memo1->setPlainText(QStringLiteral("TIENDA DOS\nCALLE 2"));
        });
        QCOMPARE(headerFiles(user), QStringList{QStringLiteral("MEMTIK.TXT")});
        QCOMPARE(contents(QDir(user).filePath(QStringLiteral("MEMTIK.TXT"))), QByteArray("TIENDA DOS\r\nCALLE 2\r\n"));

        // An emptied memo leaves the file as it was.
        open(dialogs, window, [](TFFilCol &w) { w.Memo1->clear(); });
        QCOMPARE(contents(QDir(user).filePath(QStringLiteral("MEMTIK.TXT"))), QByteArray("TIENDA DOS\r\nCALLE 2\r\n"));
        QVERIFY(dialogs.texts(QStringLiteral("message")).isEmpty());
    }

    void ticketValuesAndHeaderSaved()
    {
        SalesShop shop;
        SalesShop::writeFile(QDir::currentPath(), QStringLiteral("memtik.txt"), "LOCAL\n");
        vx::ui::FakeDialogs dialogs;
        TFFilCol window;
        open(dialogs, window, [](TFFilCol &w) {
            w.PageControl1->setCurrentWidget(w.TabSheet2);
            // The ticket tab shows the working folder's header.
            QCOMPARE(w.Memo1->toPlainText(), QStringLiteral("LOCAL"));
            w.Edit26->setText(QStringLiteral("x"));
            w.BGrabaTKClick();
            w.ticketRows[0]->setFocus();
            w.ticketRows[0]->selectAll();
            QTest::keyClicks(w.ticketRows[0], QStringLiteral("35"));
            w.Edit26->setText(QStringLiteral("50"));
            w.Memo1->setPlainText(QStringLiteral("ÑANDÚ MODAS\nCUIT 30-1"));
            w.BGrabaTKClick();
        });
        QCOMPARE(dialogs.texts(QStringLiteral("error")).size(), 1);
        QCOMPARE(dialogs.texts(QStringLiteral("message")), QStringList{QStringLiteral("Proceso Terminado.")});
        QSqlQuery row =
            shop.db().execute(QStringLiteral("SELECT FCESPACIO, FCFILA01, FCCOL01 FROM FILCOL WHERE FCTIPO = 'TK'"));
        QVERIFY(row.next());
        QCOMPARE(row.value(0).toInt(), 50);
        QCOMPARE(row.value(1).toInt(), 35);
        QCOMPARE(row.value(2).toInt(), 140);
        QCOMPARE(rowsOfType(shop, QStringLiteral("TK")), 1);
        // The working folder keeps one header file, the one that was there.
        QStringList local = headerFiles(QDir::currentPath());
        QCOMPARE(local, QStringList{QStringLiteral("memtik.txt")});
        QCOMPARE(contents(QDir::current().filePath(QStringLiteral("memtik.txt"))),
                 QByteArray("ÑANDÚ MODAS\r\nCUIT 30-1\r\n"));
        // Closing also kept it in the user folder, where tickets look first.
        QCOMPARE(contents(QDir(vx::paths::userFolder()).filePath(QStringLiteral("MemTik.txt"))),
                 QByteArray("ÑANDÚ MODAS\r\nCUIT 30-1\r\n"));
    }

    void calibrationSheet()
    {
        SalesShop shop;
        QTemporaryDir out;
        const QString sheet = out.filePath(QStringLiteral("escala.pdf"));
        vx::ui::FakeDialogs dialogs;
        dialogs.onPrint = [sheet](QPrinter *printer) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(sheet);
        };
        TFFilCol window;
        window.BImprimirClick();
        QVERIFY(!QFile::exists(sheet));
        dialogs.printAnswers.enqueue(true);
        window.BImprimirClick();
        // In tenths of a millimetre from the paper's edges, as the ticket reads its positions:
        // the row labels down the left edge sit on their value, the column labels start at theirs.
        QVERIFY(pdf::sameSize(pdf::pageSizeMm(sheet), {210, 297}));
        QStringList rows;
        QStringList columns;
        for (const pdf::Word &word : pdf::words(sheet)) {
            bool number = false;
            const int value = word.text.toInt(&number);
            if (!number)
                continue;
            const double mm = value / 10.0;
            if (qAbs(word.boxMm.left() - 10) < 0.3) {
                QVERIFY2(word.boxMm.top() < mm && qAbs(word.boxMm.bottom() - mm) < 1.5, qPrintable(word.text));
                rows << word.text;
            } else {
                QVERIFY2(qAbs(word.boxMm.left() - mm) < 0.3, qPrintable(word.text));
                columns << word.text;
            }
        }
        QCOMPARE(rows.size(), 29); // 100 to 2900 on an A4 sheet
        QCOMPARE(rows.first(), QStringLiteral("100"));
        QCOMPARE(rows.last(), QStringLiteral("2900"));
        QCOMPARE(columns.size(), 19); // 200 to 2000, staggered in two lines
        QVERIFY(columns.contains(QStringLiteral("200")) && columns.contains(QStringLiteral("2000")));
        QVERIFY(pdf::pages(sheet).value(0).contains(QStringLiteral("décimas de milímetro")));
        screenshots::save(pdf::rasterise(sheet, 1, 60), QStringLiteral("vx-escala.png"));
        QCOMPARE(dialogs.texts(QStringLiteral("print")).size(), 2);
    }
};

QTEST_MAIN(TestFilCol)
#include "tst_filcol.moc"
