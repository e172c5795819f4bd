// The customer maintenance window driven as an operator would: a click in the code box, boxes
// typed and left, buttons pressed, questions answered; another workstation working meanwhile.
#include "CustomerShop.h"

#include "customers/AltaCli.h"
#include "customers/ConsCli.h"
#include "platform/core/ShopFormat.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Edit.h"
#include "shell/Ficha1.h"

#include <QAction>
#include <QMenu>

#include <QComboBox>
#include <QPushButton>
#include <QTest>

namespace {

const QString modifyQuestion = QStringLiteral("ATENCION: Codigo de Cliente existente.\r\n  Desea modificar los datos?");
const QString deleteQuestion =
    QStringLiteral("ATENCION: Codigo de Cliente existente.\r\n  Desea ELIMINAR los datos de este cliente ?");

struct AltaCliScene {
    CustomerShop shop;
    std::unique_ptr<TFAltaCli> window;

    explicit AltaCliScene(const std::function<void(CustomerShop &)> &fill = {})
    {
        if (fill)
            fill(shop);
        window = std::make_unique<TFAltaCli>();
        window->cliente().open();
        window->show();
        window->activateWindow();
    }
    bool ready() { return QTest::qWaitForWindowActive(window.get()); }
    void clickCode() { QTest::mouseClick(window->EdCod, Qt::LeftButton); }
    void typeCode(const QString &code)
    {
        window->EdCod->setFocus();
        window->EdCod->selectAll();
        QTest::keyClicks(window->EdCod, code);
        QTest::keyClick(window->EdCod, Qt::Key_Tab);
    }
    void press(QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); }
    void answer(const QList<bool> &answers)
    {
        shop.dialogs.confirmAnswers.clear();
        for (bool a : answers)
            shop.dialogs.confirmAnswers.enqueue(a);
    }
};

void withWalkInAnd(CustomerShop &shop, const QList<QPair<int, QString>> &customers)
{
    shop.addCustomer(1, QStringLiteral("CONSUMIDOR FINAL"));
    for (const auto &c : customers)
        shop.addCustomer(c.first, c.second);
}

} // namespace

class TestAltaCli : public QObject {
    Q_OBJECT

private slots:
    void newCustomerFromAnEmptyFile()
    {
        AltaCliScene scene;
        QVERIFY(scene.ready());
        QCOMPARE(scene.window->CBIVA->currentText(), QStringLiteral("CONSUMIDOR FINAL"));
        scene.clickCode();
        QCOMPARE(scene.window->EdCod->text(), QStringLiteral("1"));
        CustomerShop::typeAndLeave(scene.window->EdApe, QStringLiteral("garcia maria"));
        QCOMPARE(scene.window->EdApe->text(), QStringLiteral("GARCIA MARIA"));
        CustomerShop::screenshot(*scene.window, QStringLiteral("FAltaCli"));
        scene.press(scene.window->BBGrabar);
        QCOMPARE(scene.shop.messages(), QStringList{QStringLiteral("Proceso concluido.")});
        QCOMPARE(scene.shop.count(QStringLiteral("CLICOD = 1 AND CLIAPE = 'GARCIA MARIA' AND CLINDOC = 0 AND "
                                                 "CLISAL = 0 AND CLIPRO = 'C.A.B.A.' AND CLITDOC = 'D.N.I.'")),
                 1);
        const QDate stored = scene.shop.db()
                                 .dialect()
                                 .fromDatabase(scene.shop.value(QStringLiteral("SELECT CLIFEC FROM CLIENTE")),
                                               vx::FieldType::DateTime)
                                 .toDateTime()
                                 .date();
        QCOMPARE(stored, QDate::currentDate());
        QVERIFY(scene.window->EdCod->text().isEmpty());
        QCOMPARE(scene.window->CBIVA->currentText(), QStringLiteral("MONOTRIBUTISTA"));

        // While a transaction of this workstation is open, nothing is written.
        {
            vx::Transaction open(scene.shop.db());
            scene.clickCode();
            CustomerShop::typeAndLeave(scene.window->EdApe, QStringLiteral("OTRO"));
            scene.press(scene.window->BBGrabar);
            QCOMPARE(scene.shop.messages().last(), QStringLiteral("Archivos ocupados, intente en unos instantes."));
        }
        QCOMPARE(scene.shop.count(), 1);

        // A code that is not a number is told, nothing written.
        scene.typeCode(QStringLiteral("12A"));
        QCOMPARE(scene.shop.messages().last(), QStringLiteral("El codigo de cliente debe ser un numero entre 1 y 32767."));
    }

    void twoBalanceChangesInARow()
    {
        AltaCliScene scene([](CustomerShop &shop) { shop.addCustomer(5, QStringLiteral("RUIZ PEDRO"), QStringLiteral("PAGA A FIN DE MES"), 100); });
        QVERIFY(scene.ready());
        scene.typeCode(QStringLiteral("5"));
        QCOMPARE(scene.shop.messages(), QStringList{QStringLiteral("Codigo existente...")});
        QCOMPARE(scene.window->EdApe->text(), QStringLiteral("RUIZ PEDRO"));
        QCOMPARE(scene.window->EdSal->text(), QStringLiteral("100,00"));
        for (const QString &balance : {QStringLiteral("250"), QStringLiteral("300,5")}) {
            scene.typeCode(QStringLiteral("5"));
            CustomerShop::typeAndLeave(scene.window->EdFec, QStringLiteral("08/12/2026"));
            CustomerShop::typeAndLeave(scene.window->EdSal, balance);
            scene.answer({true, true});
            scene.press(scene.window->BBGrabar);
            QCOMPARE(scene.shop.messages().last(), QStringLiteral("Proceso concluido."));
            QCOMPARE(scene.shop.questions().mid(scene.shop.questions().size() - 2),
                     (QStringList{modifyQuestion, QStringLiteral("Modifica el saldo?")}));
        }
        QCOMPARE(scene.shop.value(QStringLiteral("SELECT CLISAL FROM CLIENTE WHERE CLICOD = 5")).toDouble(), 300.5);
        QCOMPARE(scene.shop.value(QStringLiteral("SELECT CLIOBS FROM CLIENTE WHERE CLICOD = 5")).toString(),
                 QStringLiteral("PAGA A FIN DE MES - Saldo Modificado el 08/12/2026"));

        // No to the modify question writes nothing.
        scene.typeCode(QStringLiteral("5"));
        CustomerShop::typeAndLeave(scene.window->EdApe, QStringLiteral("OTRO NOMBRE"));
        scene.answer({false});
        scene.press(scene.window->BBGrabar);
        QCOMPARE(scene.shop.count(QStringLiteral("CLIAPE = 'RUIZ PEDRO'")), 1);
    }

    void anotherWorkstationRecordsWhileAQuestionIsOnScreen()
    {
        AltaCliScene scene([](CustomerShop &shop) { withWalkInAnd(shop, {{5, QStringLiteral("RUIZ PEDRO")}}); });
        QVERIFY(scene.ready());
        const std::unique_ptr<vx::Connection> other = scene.shop.another();
        QList<qint64> waits;
        scene.shop.dialogs.duringQuestion = [&](const QString &) {
            QElapsedTimer timer;
            timer.start();
            vx::Transaction transaction(*other);
            other->execute(QStringLiteral("UPDATE CLIENTE SET CLITEL = 'OTRA' WHERE CLICOD = 1"));
            transaction.commit();
            waits << timer.elapsed();
        };
        scene.typeCode(QStringLiteral("5"));
        scene.answer({true});
        scene.press(scene.window->BBGrabar);
        scene.typeCode(QStringLiteral("5"));
        scene.answer({true});
        scene.press(scene.window->BBEliminar);
        QCOMPARE(waits.size(), 2);
        for (qint64 wait : waits)
            QVERIFY2(wait < 1000, qPrintable(QStringLiteral("the other workstation waited %1 ms").arg(wait)));
        QCOMPARE(scene.shop.count(QStringLiteral("CLICOD = 5")), 0);
    }

    void deleteRefusals()
    {
        AltaCliScene scene([](CustomerShop &shop) {
            withWalkInAnd(shop, {{2, QStringLiteral("CON VENTA")}, {3, QStringLiteral("SIN NADA")}});
            shop.addSale(10, 2);
        });
        QVERIFY(scene.ready());
        scene.typeCode(QStringLiteral("1"));
        scene.press(scene.window->BBEliminar);
        QCOMPARE(scene.shop.messages().last(), QStringLiteral("Cliente reservado para CONSUMIDOR FINAL."));

        scene.typeCode(QStringLiteral("2"));
        scene.answer({true});
        scene.press(scene.window->BBEliminar);
        QCOMPARE(scene.shop.messages().last(), QStringLiteral("Tiene ventas registradas."));

        // No leaves the customer, and the next delete is not kept out as "busy".
        scene.typeCode(QStringLiteral("3"));
        scene.answer({false});
        scene.press(scene.window->BBEliminar);
        QVERIFY(scene.window->EdCod->text().isEmpty());
        scene.typeCode(QStringLiteral("3"));
        scene.answer({true});
        scene.press(scene.window->BBEliminar);
        QCOMPARE(scene.shop.messages().last(), QStringLiteral("Proceso concluido."));
        QCOMPARE(scene.shop.count(), 2);
        QVERIFY(!scene.shop.messages().contains(QStringLiteral("Archivos ocupados, intente en unos instantes.")));
    }

    void namesakeIsAskedAbout()
    {
        AltaCliScene scene([](CustomerShop &shop) { withWalkInAnd(shop, {{2, QStringLiteral("LOPEZ SOFIA")}}); });
        QVERIFY(scene.ready());
        for (bool yes : {false, true}) {
            scene.clickCode();
            QCOMPARE(scene.window->EdCod->text(), QStringLiteral("3"));
            CustomerShop::typeAndLeave(scene.window->EdApe, QStringLiteral("LOPEZ SOFIA  "));
            scene.answer({yes});
            scene.press(scene.window->BBGrabar);
            QCOMPARE(scene.shop.questions().last(),
                     QStringLiteral("Ya existe un cliente con ese nombre (Codigo 2). Graba igualmente?"));
            QCOMPARE(scene.shop.count(QStringLiteral("CLIAPE = 'LOPEZ SOFIA'")), yes ? 2 : 1);
        }
    }

    void proposedCodeTakenByAnotherWorkstation()
    {
        AltaCliScene scene([](CustomerShop &shop) { withWalkInAnd(shop, {}); });
        QVERIFY(scene.ready());
        scene.clickCode();
        QCOMPARE(scene.window->EdCod->text(), QStringLiteral("2"));
        CustomerShop::typeAndLeave(scene.window->EdApe, QStringLiteral("GOMEZ ANA"));
        // The other workstation was offered the same code and saves first.
        const std::unique_ptr<vx::Connection> other = scene.shop.another();
        customers::Customer theirs;
        theirs.code = 2;
        theirs.name = QStringLiteral("PEREZ JUAN");
        theirs.date = QDate(2026, 12, 8);
        customers::saveCustomer(*other, {theirs, customers::SaveRequest::Origin::Proposed});
        scene.press(scene.window->BBGrabar);
        QVERIFY(!scene.shop.questions().contains(modifyQuestion));
        QVERIFY(scene.shop.messages().first().contains(QStringLiteral("Codigo 3")));
        QCOMPARE(scene.shop.value(QStringLiteral("SELECT CLIAPE FROM CLIENTE WHERE CLICOD = 2")).toString(),
                 QStringLiteral("PEREZ JUAN"));
        QCOMPARE(scene.shop.value(QStringLiteral("SELECT CLIAPE FROM CLIENTE WHERE CLICOD = 3")).toString(),
                 QStringLiteral("GOMEZ ANA"));
    }

    void longCodesAndTheNavigator()
    {
        AltaCliScene scene([](CustomerShop &shop) {
            withWalkInAnd(shop, {{9999, QStringLiteral("ULTIMO DE CUATRO CIFRAS")}});
        });
        QVERIFY(scene.ready());
        scene.clickCode();
        QCOMPARE(scene.window->EdCod->text(), QStringLiteral("10000"));
        scene.window->DBNavigator1->click(vx::ui::NavigatorButton::Last);
        QCOMPARE(scene.window->EdApe->text(), QStringLiteral("ULTIMO DE CUATRO CIFRAS"));
        QCOMPARE(scene.window->EdCod->text(), QStringLiteral("9999"));
    }

    void menuCommandsOpenAndTidyUp()
    {
        CustomerShop shop;
        TFF1 main;
        QStringList seen;
        shop.dialogs.onModal = [&](QDialog *window) {
            bool open = false;
            if (auto *customers = qobject_cast<TFAltaCli *>(window))
                open = customers->cliente().active();
            else if (auto *query = qobject_cast<TFConsCli *>(window))
                open = query->list().active();
            else
                open = shop.dm->Marcas->active() || shop.dm->Colores->active() || shop.dm->Talles->active();
            seen << window->objectName() + (open ? QStringLiteral(" open") : QStringLiteral(" closed"));
            return int(QDialog::Rejected);
        };
        for (QAction *command : {main.Marcas1, main.Colores1, main.alles1, main.ABMdeClientes1, main.ConsultadeClientes1})
            command->trigger();
        QCOMPARE(seen, (QStringList{QStringLiteral("FEmpresas open"), QStringLiteral("FColores open"),
                                    QStringLiteral("FTalles open"), QStringLiteral("FAltaCli open"),
                                    QStringLiteral("FConsCli open")}));
        QVERIFY(!shop.dm->Marcas->active() && !shop.dm->Colores->active() && !shop.dm->Talles->active());
        QVERIFY(FAltaCli && !FAltaCli->cliente().active());
        QVERIFY(FConsCli && !FConsCli->list().active());
        for (QAction *item : {main.Marcas1, main.Colores1, main.alles1})
            QVERIFY(main.Articulos1->actions().contains(item));
    }
};

QTEST_MAIN(TestAltaCli)
#include "tst_altacli.moc"
