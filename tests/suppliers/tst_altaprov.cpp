// The supplier maintenance window driven as an operator would: a click in the code box, boxes
// typed and left, buttons pressed, questions answered.
#include "../customers/CustomerShop.h"

#include "suppliers/AltaProv.h"
#include "suppliers/SupplierDocuments.h"

#include "platform/ui/Edit.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>

class TestAltaProv : public QObject {
    Q_OBJECT

private slots:
    void keepSuppliers()
    {
        CustomerShop shop;
        TFAltaProv window;
        window.proveedores().open();
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const auto press = [&](QPushButton *button, const QList<bool> &answers = {}) {
            shop.dialogs.confirmAnswers.clear();
            for (bool a : answers)
                shop.dialogs.confirmAnswers.enqueue(a);
            QTest::mouseClick(button, Qt::LeftButton);
        };
        const auto typeCode = [&](const QString &code) {
            QTest::mouseClick(window.EdCod, Qt::LeftButton);
            window.EdCod->selectAll();
            QTest::keyClicks(window.EdCod, code);
            QTest::keyClick(window.EdCod, Qt::Key_Tab);
        };
        const auto stored = [&](const QString &where) {
            return shop.value(QStringLiteral("SELECT COUNT(*) FROM PROVEEDORES WHERE ") + where).toInt();
        };

        // A new supplier under the proposed code, its name upper-cased as typed.
        QTest::mouseClick(window.EdCod, Qt::LeftButton);
        QCOMPARE(window.EdCod->text(), QStringLiteral("1"));
        CustomerShop::typeAndLeave(window.EdApe, QStringLiteral("textil del sur"));
        CustomerShop::typeAndLeave(window.EdCUI, QStringLiteral("30712345678"));
        QCOMPARE(window.EdApe->text(), QStringLiteral("TEXTIL DEL SUR"));
        press(window.BBGrabar);
        QCOMPARE(shop.messages(), QStringList{QStringLiteral("Proceso concluido.")});
        QCOMPARE(stored(QStringLiteral("CLICOD = 1 AND CLIAPE = 'TEXTIL DEL SUR' AND CLICUI = '30712345678' AND CLISAL = 0")), 1);
        QVERIFY(window.EdCod->text().isEmpty());

        // Typed back, changed after the question; its balance shown and not typed over.
        suppliers::recordSupplierDocument(shop.db(), {1, suppliers::DocumentType::Invoice, 7, QDate(2026, 11, 2), 100,
                                                      1, {}, {}});
        typeCode(QStringLiteral("1"));
        QCOMPARE(shop.messages().last(), QStringLiteral("Codigo existente..."));
        QCOMPARE(window.EdSal->text(), QStringLiteral("100,00"));
        QVERIFY(window.EdSal->isReadOnly());
        CustomerShop::typeAndLeave(window.EdLoc, QStringLiteral("rosario"));
        press(window.BBGrabar, {true});
        QCOMPARE(shop.dialogs.texts(QStringLiteral("confirm")),
                 QStringList{QStringLiteral("ATENCION: Codigo de Proveedor existente.\r\n  Desea modificar los datos?")});
        QCOMPARE(shop.messages().last(), QStringLiteral("Proceso concluido."));
        QCOMPARE(stored(QStringLiteral("CLICOD = 1 AND CLILOC = 'ROSARIO' AND CLISAL = 100")), 1);

        // A supplier with documents: told at once, nothing asked, nothing deleted.
        typeCode(QStringLiteral("1"));
        press(window.BBEliminar, {true});
        QCOMPARE(shop.messages().last(), QStringLiteral("Tiene comprobantes registrados."));
        QCOMPARE(shop.dialogs.texts(QStringLiteral("confirm")).size(), 1);
        QCOMPARE(stored(QStringLiteral("CLICOD = 1")), 1);

        // Another supplier under the same name is refused; under its own name it is stored.
        QTest::mouseClick(window.EdCod, Qt::LeftButton);
        QCOMPARE(window.EdCod->text(), QStringLiteral("2"));
        CustomerShop::typeAndLeave(window.EdApe, QStringLiteral("Textil del Sur"));
        press(window.BBGrabar);
        QCOMPARE(shop.messages().last(), QStringLiteral("Ya hay un proveedor llamado TEXTIL DEL SUR (Código 1)."));
        CustomerShop::typeAndLeave(window.EdApe, QStringLiteral("botones sa"));
        press(window.BBGrabar);
        QCOMPARE(stored(QStringLiteral("CLICOD = 2 AND CLIAPE = 'BOTONES SA'")), 1);

        // Deleting asks first: No keeps it, Yes deletes it.
        typeCode(QStringLiteral("2"));
        press(window.BBEliminar, {false});
        QCOMPARE(stored(QStringLiteral("CLICOD = 2")), 1);
        typeCode(QStringLiteral("2"));
        press(window.BBEliminar, {true});
        QCOMPARE(shop.messages().last(), QStringLiteral("Proceso concluido."));
        QCOMPARE(stored(QStringLiteral("CLICOD = 2")), 0);

        // A code that is not a number is told.
        typeCode(QStringLiteral("12A"));
        QCOMPARE(shop.messages().last(), QStringLiteral("El código de proveedor debe ser un número entre 1 y 32767."));

        CustomerShop::screenshot(window, QStringLiteral("FAltaProv"));
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(TestAltaProv)
#include "tst_altaprov.moc"
