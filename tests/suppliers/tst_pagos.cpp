#include "../cash/CashWindowShop.h"

#include "platform/ui/DBEdit.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/PickList.h"
#include "suppliers/Pagos.h"
#include "suppliers/SupplierDocuments.h"

#include <QLabel>
#include <QRadioButton>

// The payments window as the operator works it: the supplier chosen by typing its name, documents
// marked with the mouse, the cash typed, Grabar.
class TestPagos : public QObject {
    Q_OBJECT

    static qint64 invoice(CashWindowShop &shop, int supplier, double number, int day, double total)
    {
        return suppliers::recordSupplierDocument(
            shop.db(), {supplier, suppliers::DocumentType::Invoice, number, QDate(2026, 11, day), total, 1, {}, {}});
    }
    static double balance(CashWindowShop &shop, qint64 key)
    {
        return shop.db().scalar(QStringLiteral("SELECT COMSAL FROM PROCOM WHERE COMUNO = ?"), {key}).toDouble();
    }
    // The centre of the grid cell of the document with the number, in the column with the title.
    static QPoint cellOf(TFPagos &w, double number, const QString &title)
    {
        QAbstractItemModel *model = w.DBGrid1->model();
        int column = 0;
        while (column < model->columnCount() && model->headerData(column, Qt::Horizontal).toString() != title)
            ++column;
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex index = model->index(row, 3);
            if (index.data().toString() == QString::number(number))
                return w.DBGrid1->visualRect(model->index(row, column)).center();
        }
        return {-1, -1};
    }
    static void click(TFPagos &w, double number, const QString &title)
    {
        QTest::mouseClick(w.DBGrid1->viewport(), Qt::LeftButton, {}, cellOf(w, number, title));
    }
    static void doubleClick(TFPagos &w, double number, const QString &title)
    {
        const QPoint cell = cellOf(w, number, title);
        QTest::mouseClick(w.DBGrid1->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(w.DBGrid1->viewport(), Qt::LeftButton, {}, cell);
    }
    static void choose(TFPagos &w, const QString &name)
    {
        QLineEdit *edit = w.CBCli->lineEdit();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, name);
        QTest::keyClick(edit, Qt::Key_Return);
    }

private slots:
    void payingTwoInvoices()
    {
        CashWindowShop shop;
        const int supplier = suppliers::createSupplier(shop.db(), QStringLiteral("TEXTIL DEL SUR"));
        suppliers::createSupplier(shop.db(), QStringLiteral("BOTONES SA"));
        const qint64 older = invoice(shop, supplier, 7, 2, 100);
        const qint64 newer = invoice(shop, supplier, 3, 9, 50);
        const QString mark = QStringLiteral("OK");
        const QString date = QStringLiteral("Fecha");
        shop.onWindow<TFPagos>([&](TFPagos &w) {
            QCOMPARE(w.CBCli->items(), (QStringList{QStringLiteral("BOTONES SA"), QStringLiteral("TEXTIL DEL SUR")}));
            QCOMPARE(w.EdFec->text(), vx::shopformat::formatDate(QDate::currentDate()));
            QVERIFY(w.EdNro->text().isEmpty());
            QVERIFY(w.RBCDiaria->isChecked());
            QCOMPARE(w.DBGrid1->model()->rowCount(), 0);

            // Grabar before any supplier is chosen writes nothing and leaves the window open.
            CashWindowShop::click(w.BGrabar);
            QVERIFY(w.isVisible());

            choose(w, QStringLiteral("textil del sur"));
            QCOMPARE(w.LabCli->text(), QString::number(supplier));
            QCOMPARE(w.DBEdit1->text(), QStringLiteral("150,00"));
            QCOMPARE(w.DBGrid1->model()->rowCount(), 2);

            doubleClick(w, 3, date);
            QCOMPARE(w.EdImp->text(), QStringLiteral("50,00"));
            click(w, 7, mark);
            QCOMPARE(w.EdImp->text(), QStringLiteral("150,00"));
            doubleClick(w, 7, mark); // the first click unmarks it, the double click adds nothing
            QCOMPARE(w.EdImp->text(), QStringLiteral("50,00"));
            doubleClick(w, 7, date);
            QCOMPARE(w.EdImp->text(), QStringLiteral("150,00"));

            // Another counter pays part of the older invoice meanwhile: nothing is recorded, the
            // list is read again with its new balance.
            shop.db().execute(QStringLiteral("UPDATE PROCOM SET COMSAL = 60 WHERE COMUNO = ?"), {older});
            CashWindowShop::type(w.EdEFE, QStringLiteral("120"));
            QCOMPARE(w.EdTot->text(), QStringLiteral("120,00"));
            QCOMPARE(w.EdDif->text(), QStringLiteral("30,00"));
            CashWindowShop::click(w.BGrabar);
            QVERIFY(w.isVisible());
            QCOMPARE(shop.count(QStringLiteral("PAGOS")), 0);
            QCOMPARE(w.EdImp->text(), QStringLiteral("0,00"));
            QCOMPARE(w.DBGrid1->model()->index(0, 6).data().toString(), QStringLiteral("60,00"));
            shop.db().execute(QStringLiteral("UPDATE PROCOM SET COMSAL = 100 WHERE COMUNO = ?"), {older});
            choose(w, QStringLiteral("TEXTIL DEL SUR"));

            doubleClick(w, 3, date);
            doubleClick(w, 7, date);
            QCOMPARE(w.EdImp->text(), QStringLiteral("150,00"));
            w.EdNro->setFocus();
            QTest::keyClick(w.EdNro, Qt::Key_Return);
            QCOMPARE(w.EdNro->text(), QStringLiteral("00000001"));
            screenshots::save(w.grab().toImage(), QStringLiteral("FPagos-marked.png"));
            // Typed, then Grabar at once, without leaving the box.
            w.EdEFE->clear();
            QTest::keyClicks(w.EdEFE, QStringLiteral("120"));
            CashWindowShop::click(w.BGrabar);
            QVERIFY(!w.isVisible());
        });
        openPagos(nullptr);
        QCOMPARE(shop.dialogs.texts(QStringLiteral("message")),
                 (QStringList{QStringLiteral("Proveedor no encontrado..."),
                              QStringLiteral("Otro puesto pagó o modificó alguno de los comprobantes marcados desde "
                                             "que se leyó la lista. Nada se grabó: la lista fue actualizada, revise "
                                             "los importes y vuelva a grabar."),
                              QStringLiteral("Proceso Terminado.")}));
        QCOMPARE(shop.shownWindows, QStringList{QStringLiteral("FPagos")});
        QCOMPARE(balance(shop, older), 0.0);
        QCOMPARE(balance(shop, newer), 30.0);
        QCOMPARE(shop.db().scalar(QStringLiteral("SELECT CLISAL FROM PROVEEDORES WHERE CLICOD = ?"), {supplier}).toDouble(), 30.0);
        QCOMPARE(shop.db().scalar(QStringLiteral("SELECT SUM(CAJIMP) FROM CAJA WHERE CAJTIP = 'EF' AND CAJMOV = 'E'")).toDouble(),
                 -120.0);
        QCOMPARE(shop.count(QStringLiteral("PAGOS"), QStringLiteral("COBREC = '00000001'")), 2);
        QCOMPARE(shop.count(QStringLiteral("TMP1")), 0);
    }

    // "Caja Central" sends the money to the central cash, with only an outgoing date.
    void centralCash()
    {
        CashWindowShop shop;
        // A name kept in lower case is found from the upper-case box.
        const int supplier = suppliers::createSupplier(shop.db(), QStringLiteral("Textil del Sur"));
        invoice(shop, supplier, 1, 2, 80);
        shop.onWindow<TFPagos>([&](TFPagos &w) {
            choose(w, QStringLiteral("TEXTIL DEL SUR"));
            doubleClick(w, 1, QStringLiteral("Saldo"));
            QTest::mouseClick(w.RBCCentral, Qt::LeftButton);
            CashWindowShop::type(w.EdTAR, QStringLiteral("80"));
            CashWindowShop::click(w.BGrabar);
        });
        openPagos(nullptr);
        QCOMPARE(shop.dialogs.texts(QStringLiteral("message")), QStringList{QStringLiteral("Proceso Terminado.")});
        QCOMPARE(shop.count(QStringLiteral("CAJAD"), QStringLiteral("CAJTIP = 'TT' AND CAJIMP = -80 AND CAJENT IS NULL "
                                                                     "AND CAJSAL IS NOT NULL")),
                 1);
        QCOMPARE(shop.count(QStringLiteral("CAJA"), QStringLiteral("CAJMOV = 'E'")), 0);
    }
};

QTEST_MAIN(TestPagos)
#include "tst_pagos.moc"
