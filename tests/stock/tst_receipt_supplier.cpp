// A goods receipt that names its supplier, worked by keys and the mouse: the supplier's name
// typed and ended with Enter, the articles listed, "&Grabar" with or without the supplier's
// invoice for the cost total; a name no supplier has and an invoice number the supplier already
// has refuse the whole receipt. The receipt query then shows the supplier's name.
#include "../common/Screenshots.h"
#include "StockWindowShop.h"

#include "platform/ui/DBGrid.h"
#include "platform/ui/FakeDialogs.h"
#include "platform/ui/PickList.h"
#include "stock/ConsIng.h"
#include "stock/Ing.h"
#include "stock/IngFactura.h"
#include "suppliers/SupplierDocuments.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>

namespace {

const QString campera = QStringLiteral("0000000000123");
const QString medias = QStringLiteral("7790000000042");
const QString norte = QStringLiteral("DISTRIBUIDORA NORTE");

void typeInto(QWidget *box, const QString &text)
{
    QTest::mouseClick(box, Qt::LeftButton);
    if (auto *edit = qobject_cast<QLineEdit *>(box))
        edit->selectAll();
    QTest::keyClicks(box, text);
}

void enter(QWidget *box)
{
    QTest::keyClick(box, Qt::Key_Return);
}

}  // namespace

class TestReceiptSupplier : public QObject {
    Q_OBJECT

private slots:
    void receiptNamesItsSupplier_data()
    {
        QTest::addColumn<QString>("supplier");      // typed into "Proveedor"
        QTest::addColumn<QList<bool>>("answers");   // to the invoice question
        QTest::addColumn<QStringList>("numbers");   // typed into the invoice box in turn; none: Escape
        QTest::addColumn<bool>("recorded");
        QTest::addColumn<QStringList>("messages");  // besides "Proceso Terminado."
        QTest::addColumn<QString>("listed");        // the receipt query's "Proveedor"

        const QString unknown =
            QStringLiteral("No hay un proveedor llamado \"NADIE\"; elíjalo de la lista o deje el proveedor vacío.");
        QTest::newRow("no supplier") << QString() << QList<bool>{} << QStringList{} << true << QStringList{} << QString();
        QTest::newRow("supplier, no invoice") << norte << QList<bool>{false} << QStringList{} << true << QStringList{}
                                              << norte;
        QTest::newRow("supplier and its invoice")
            << norte << QList<bool>{true} << QStringList{"0", "4711"} << true
            << QStringList{QStringLiteral("El número de factura debe ser un entero mayor que cero.")} << norte;
        QTest::newRow("invoice number cancelled") << norte << QList<bool>{true} << QStringList{} << false
                                                  << QStringList{} << QString();
        QTest::newRow("invoice number already recorded")
            << norte << QList<bool>{true} << QStringList{"100"} << false << QStringList{} << QString();
        // Told at Enter, and again at "&Grabar".
        QTest::newRow("name of no supplier") << QStringLiteral("NADIE") << QList<bool>{} << QStringList{} << false
                                             << QStringList{unknown, unknown} << QString();
    }
    void receiptNamesItsSupplier()
    {
        QFETCH(QString, supplier);
        QFETCH(QList<bool>, answers);
        QFETCH(QStringList, numbers);
        QFETCH(bool, recorded);
        QFETCH(QStringList, messages);
        QFETCH(QString, listed);

        StockWindowShop shop;
        shop.addArticle(campera, QStringLiteral("CAMPERA"), QStringLiteral("CAMP-1"), 2);
        shop.addArticle(medias, QStringLiteral("MEDIAS SOQUETE"), QStringLiteral("MED-77"), 0);
        const int code = suppliers::createSupplier(shop.db(), norte);
        // An invoice the supplier already has: its number refuses the receipt's invoice.
        suppliers::SupplierDocument earlier;
        earlier.supplierCode = code;
        earlier.number = 100;
        earlier.date = QDate(2026, 11, 2);
        earlier.total = 50;
        suppliers::recordSupplierDocument(shop.db(), earlier);

        vx::ui::FakeDialogs dialogs;
        dialogs.confirmAnswers.append(answers);
        QStringList listedSuppliers;
        QString shownSupplier;
        dialogs.onModal = [&](QDialog *dialog) {
            dialog->show();
            if (!QTest::qWaitForWindowActive(dialog))
                return int(QDialog::Rejected);
            if (auto *invoice = qobject_cast<TFIngFactura *>(dialog)) {
                for (const QString &number : std::as_const(numbers)) {
                    typeInto(invoice->EdFactura, number);
                    enter(invoice->EdFactura);
                }
                if (numbers.isEmpty())
                    QTest::keyClick(invoice->EdFactura, Qt::Key_Escape);
            } else if (auto *query = qobject_cast<TFConsIng *>(dialog)) {
                const int column = query->DBGrid1->columnOf(QStringLiteral("CLIAPE"));
                for (int row = 0; row < query->DBGrid1->model()->rowCount(); ++row)
                    listedSuppliers << query->DBGrid1->model()->index(row, column).data().toString();
                shownSupplier = query->EdProveedor->text();
                screenshots::save(query->grab().toImage(), QStringLiteral("consing_proveedor.png"));
                QTest::mouseClick(query->BCerrar, Qt::LeftButton);
            }
            const int result = dialog->result();
            dialog->hide();
            return result;
        };

        TFIng w;
        QVERIFY(w.prepareOpening());
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        // The supplier sits between the header boxes and the article boxes, which keep their order.
        QVERIFY(w.CBCMCT->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QVERIFY(w.CBProv->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), w.EdNro);
        QTest::keyClick(w.EdNro, Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(w.CBCMCT->hasFocus());
        if (!supplier.isEmpty()) {
            typeInto(w.CBProv->lineEdit(), supplier);
            enter(w.CBProv->lineEdit());
            QCOMPARE(w.CBCMCT->hasFocus(), supplier == norte);
        }
        typeInto(w.CBCMCT->lineEdit(), QStringLiteral("123"));
        enter(w.CBCMCT->lineEdit());
        QTest::keyClicks(w.EdCan, QStringLiteral("3"));
        typeInto(w.EdPre, QStringLiteral("7.25"));
        QTest::mouseClick(w.BAgregar, Qt::LeftButton);
        typeInto(w.CBCMCT->lineEdit(), medias);
        enter(w.CBCMCT->lineEdit());
        QTest::keyClicks(w.EdCan, QStringLiteral("2"));
        typeInto(w.EdCan2, QStringLiteral("1"));
        QTest::mouseClick(w.BAgregar, Qt::LeftButton);
        screenshots::save(w.grab().toImage(), QStringLiteral("ingreso_proveedor.png"));
        QTest::mouseClick(w.BGrabar, Qt::LeftButton);

        // 3 at 7,25 and 2 at 5,00 into store one, 1 at 6,00 into store two.
        const QString question = QStringLiteral("¿Registra la factura del proveedor por el costo total del ingreso ($ 37,75)?");
        QCOMPARE(dialogs.texts(QStringLiteral("confirm")), answers.isEmpty() ? QStringList{} : QStringList{question});
        QCOMPARE(dialogs.texts(QStringLiteral("message")),
                 recorded ? messages + QStringList{QStringLiteral("Proceso Terminado.")} : messages);
        const bool invoiced = recorded && answers.value(0);
        const double balance = 50 + (invoiced ? 37.75 : 0);
        QCOMPARE(w.isVisible(), !recorded);
        QCOMPARE(shop.count(QStringLiteral("INGRESOS")), recorded ? 2 : 0);
        QCOMPARE(shop.value(QStringLiteral("SELECT ARTEX1 FROM STOCK WHERE ARTCMCT = ?"), {campera}).toDouble(),
                 recorded ? 5.0 : 2.0);
        QCOMPARE(shop.count(QStringLiteral("PROCOM")), invoiced ? 2 : 1);
        QCOMPARE(shop.value(QStringLiteral("SELECT CLISAL FROM PROVEEDORES WHERE CLICOD = ?"), {code}).toDouble(), balance);
        if (answers.value(0) && numbers.contains(QStringLiteral("100"))) {
            const QStringList errors = dialogs.texts(QStringLiteral("error"));
            QCOMPARE(errors.size(), 1);
            QVERIFY2(errors.first().contains(QStringLiteral("El proveedor ya tiene una factura número 100.")),
                     qPrintable(errors.first()));
        } else {
            QCOMPARE(dialogs.texts(QStringLiteral("error")), QStringList{});
        }
        if (invoiced) {
            QSqlQuery invoice = shop.db().execute(
                QStringLiteral("SELECT COMTIP, COMNRO, COMTOT, COMSAL, COMNOTA FROM PROCOM WHERE COMNRO = 4711"));
            QVERIFY(invoice.next());
            QCOMPARE(invoice.value(0).toString(), QStringLiteral("13"));
            QCOMPARE(invoice.value(2).toDouble(), 37.75);
            QCOMPARE(invoice.value(3).toDouble(), 37.75);
            QCOMPARE(invoice.value(4).toString(), QStringLiteral("Por Ingreso Nro. 1"));
        }
        if (!recorded) {
            QCOMPARE(w.DBGrid1->model()->rowCount(), 2);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            return;
        }

        TFConsIng query;
        openMovementQuery(query);
        QCOMPARE(listedSuppliers, (QStringList{listed, listed}));
        QCOMPARE(shownSupplier, listed);
        // A supplier deleted later leaves its receipts listed, without a name.
        if (!invoiced && !listed.isEmpty()) {
            shop.db().execute(QStringLiteral("DELETE FROM PROVEEDORES WHERE CLICOD = ?"), {code});
            listedSuppliers.clear();
            openMovementQuery(query);
            QCOMPARE(listedSuppliers, (QStringList{QString(), QString()}));
        }
    }
};

QTEST_MAIN(TestReceiptSupplier)
#include "tst_receipt_supplier.moc"
