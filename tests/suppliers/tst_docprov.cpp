#include "../cash/CashWindowShop.h"

#include "platform/ui/DBEdit.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/PickList.h"
#include "suppliers/DocProv.h"
#include "suppliers/Pagos.h"
#include "suppliers/SupplierDocuments.h"

#include <QComboBox>
#include <QLabel>
#include <QTableWidget>

// The supplier documents window as the operator works it: the supplier chosen by typing its name,
// the document typed and recorded with F9 at once, a wrong one cancelled from the list; then the
// payments window offers what is open.
class TestDocProv : public QObject {
    Q_OBJECT

    static void choose(TFDocProv &w, const QString &name)
    {
        QLineEdit *edit = w.CBProv->lineEdit();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, name);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    // Types the document's boxes and presses F9 without leaving the last one.
    static void record(TFDocProv &w, bool credit, const QString &number, const QString &total, const QString &note = {})
    {
        w.CBTip->setFocus();
        QTest::keyClick(w.CBTip, credit ? Qt::Key_Down : Qt::Key_Up);
        for (const auto &[box, text] : {std::pair{w.EdNro, number}, std::pair{w.EdTot, total}, std::pair{w.EdNota, note}}) {
            box->setFocus();
            box->selectAll();
            QTest::keyClick(box, Qt::Key_Backspace);
            QTest::keyClicks(box, text);
        }
        QTest::keyClick(w.EdNota, Qt::Key_F9);
    }
    static QStringList column(QTableWidget *grid, int column)
    {
        QStringList out;
        for (int row = 0; row < grid->rowCount(); ++row)
            out << grid->item(row, column)->text();
        return out;
    }

private slots:
    void invoicesAndCredits()
    {
        CashWindowShop shop;
        const int supplier = suppliers::createSupplier(shop.db(), QStringLiteral("TEXTIL DEL SUR"));
        suppliers::createSupplier(shop.db(), QStringLiteral("BOTONES SA"));
        shop.onWindow<TFDocProv>([&](TFDocProv &w) {
            QTest::keyClick(w.EdNro, Qt::Key_F9);
            choose(w, QStringLiteral("textil del sur"));
            QCOMPARE(w.LabCod->text(), QString::number(supplier));
            QCOMPARE(w.EdSal->text(), QStringLiteral("0,00"));

            w.EdVto->setFocus();
            QTest::keyClicks(w.EdVto, vx::shopformat::formatDate(QDate::currentDate().addDays(30)));
            record(w, false, QStringLiteral("1001"), QStringLiteral("100"), QStringLiteral("remito 55"));
            QCOMPARE(w.EdSal->text(), QStringLiteral("100,00"));
            record(w, true, QStringLiteral("5"), QStringLiteral("30"));
            QCOMPARE(w.EdSal->text(), QStringLiteral("70,00"));
            record(w, false, QStringLiteral("1001"), QStringLiteral("10"));
            QCOMPARE(w.EdSal->text(), QStringLiteral("70,00"));
            QCOMPARE(w.EdNro->text(), QStringLiteral("1001")); // refused: the boxes stay for correction
            record(w, false, QStringLiteral("1002"), QStringLiteral("20,50"));
            QCOMPARE(w.EdSal->text(), QStringLiteral("90,50"));
            QCOMPARE(column(w.Grilla, 2), (QStringList{QStringLiteral("1002"), QStringLiteral("5"), QStringLiteral("1001")}));
            QCOMPARE(column(w.Grilla, 5), (QStringList{QStringLiteral("20,50"), QStringLiteral("-30,00"), QStringLiteral("100,00")}));

            // Invoice 1002 was a mistake: cancelled from the list after the question.
            shop.dialogs.confirmAnswers.enqueue(true);
            QTest::mouseClick(w.Grilla->viewport(), Qt::LeftButton, {}, w.Grilla->visualItemRect(w.Grilla->item(0, 2)).center());
            CashWindowShop::click(w.BAnular);
            QCOMPARE(w.EdSal->text(), QStringLiteral("70,00"));
            QCOMPARE(column(w.Grilla, 6), (QStringList{QStringLiteral("Si"), QStringLiteral("No"), QStringLiteral("No")}));
            screenshots::save(w.grab().toImage(), QStringLiteral("FDocProv-recorded.png"));
            QTest::keyClick(&w, Qt::Key_Escape);
            QVERIFY(!w.isVisible());
        });
        openDocProv(nullptr);
        QCOMPARE(shop.dialogs.texts(QStringLiteral("message")),
                 (QStringList{QStringLiteral("Proveedor no encontrado..."),
                              QStringLiteral("El proveedor ya tiene una factura número 1001.")}));
        QCOMPARE(shop.dialogs.texts(QStringLiteral("confirm")), QStringList{QStringLiteral("Desea ANULAR el comprobante FAC 1002 ?")});
        QCOMPARE(shop.count(QStringLiteral("PROCOM"), QStringLiteral("COMTIP = '13' AND COMNRO = 1001 AND COMNOTA = 'remito 55' "
                                                                     "AND COMDIAV IS NOT NULL AND BON = 'N'")),
                 1);

        // The payments window lists the open invoice and the credit, and the same balance.
        shop.onWindow<TFPagos>([&](TFPagos &w) {
            QLineEdit *edit = w.CBCli->lineEdit();
            edit->setFocus();
            QTest::keyClicks(edit, QStringLiteral("TEXTIL DEL SUR"));
            QTest::keyClick(edit, Qt::Key_Return);
            QCOMPARE(w.DBEdit1->text(), QStringLiteral("70,00"));
            QAbstractItemModel *model = w.DBGrid1->model();
            QStringList balances;
            for (int row = 0; row < model->rowCount(); ++row)
                balances << model->index(row, 3).data().toString() + QLatin1Char(' ') + model->index(row, 6).data().toString();
            balances.sort();
            QCOMPARE(balances, (QStringList{QStringLiteral("1001 100,00"), QStringLiteral("5 -30,00")}));
            QTest::keyClick(&w, Qt::Key_Escape);
        });
        openPagos(nullptr);
    }
};

QTEST_MAIN(TestDocProv)
#include "tst_docprov.moc"
