#include "MenuTree.h"
#include "ShellFixture.h"

#include "platform/ui/FakeDialogs.h"
#include "app/Aguarde.h"
#include "cash/CierreCaja.h"
#include "platform/core/Paths.h"
#include "shell/Ficha1.h"
#include "shell/MenuFont.h"
#include "shell/PanelWidgets.h"
#include "shell/Termination.h"
#include "app/uGlobales.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

// The four commands the function keys and the shortcut strip run, counted as they run.
struct CommandSpies {
    explicit CommandSpies(TFF1 &window)
        : prices(window.VerificarPrecios1, &QAction::triggered), receipt(window.INGRESOS1, &QAction::triggered),
          issue(window.Egresos2, &QAction::triggered), sale(window.VENTAS1, &QAction::triggered)
    {
    }
    QList<int> counts() const { return {int(prices.count()), int(receipt.count()), int(issue.count()), int(sale.count())}; }

    QSignalSpy prices;
    QSignalSpy receipt;
    QSignalSpy issue;
    QSignalSpy sale;
};

class TestMainWindow : public QObject {
    Q_OBJECT

    static void setLevel(int level) { uGlobales::session().accessLevel = level; }

private slots:
    void init() { setLevel(9); }

    void captionAndStrip()
    {
        TFF1 window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Sistema de Control de Stock - Desarrollado por Orvanesys"));
        QCOMPARE(FF1, &window);
        const QList<QPair<QWidget *, QString>> strip{
            {window.StaticText1, " F2 "}, {window.BPrecios, "Consulta de Precios"}, {window.StaticText3, " F3 "},
            {window.BitBtn1, " Ingresos "}, {window.StaticText4, " F4 "}, {window.BitBtn2, " Egrresos "},
            {window.StaticText2, " F5 "}, {window.BBVentas, " Ventas "}, {window.StaticText5, " F1 "},
            {window.BitBtn3, " Ayuda "}};
        for (const auto &[widget, caption] : strip) {
            const QString text = qobject_cast<QLabel *>(widget) ? qobject_cast<QLabel *>(widget)->text()
                                                                : qobject_cast<QPushButton *>(widget)->text();
            QCOMPARE(text, caption);
            QCOMPARE(widget->parentWidget(), static_cast<QWidget *>(window.Panel1));
        }
    }

    // F2 always; F3 and F4 not for level 2; F5 not for level 1; whichever control has the focus.
    void functionKeysByLevel_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QList<int>>("expected");  // prices, receipt, issue, sale
        QTest::newRow("1") << 1 << QList<int>{1, 1, 1, 0};
        QTest::newRow("2") << 2 << QList<int>{1, 0, 0, 1};
        QTest::newRow("3") << 3 << QList<int>{1, 1, 1, 1};
        QTest::newRow("9") << 9 << QList<int>{1, 1, 1, 1};
    }

    void functionKeysByLevel()
    {
        QFETCH(int, level);
        QFETCH(QList<int>, expected);
        TFF1 window;
        setLevel(level);
        for (QWidget *focus : {static_cast<QWidget *>(&window), static_cast<QWidget *>(window.BitBtn3),
                               static_cast<QWidget *>(window.Panel1)}) {
            CommandSpies spies(window);
            for (Qt::Key key : {Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F5})
                QTest::keyClick(focus, key);
            QCOMPARE(spies.counts(), expected);
        }
    }

    // Each button and the key caption beside it does what its key does, level rules included.
    void shortcutStripActsAsItsKey_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("1") << 1 << QList<int>{2, 2, 2, 0};
        QTest::newRow("2") << 2 << QList<int>{2, 0, 0, 2};
        QTest::newRow("9") << 9 << QList<int>{2, 2, 2, 2};
    }

    void shortcutStripActsAsItsKey()
    {
        QFETCH(int, level);
        QFETCH(QList<int>, expected);
        TFF1 window;
        window.show();
        setLevel(level);
        CommandSpies spies(window);
        for (QWidget *control : {static_cast<QWidget *>(window.BPrecios), static_cast<QWidget *>(window.StaticText1),
                                 static_cast<QWidget *>(window.BitBtn1), static_cast<QWidget *>(window.StaticText3),
                                 static_cast<QWidget *>(window.BitBtn2), static_cast<QWidget *>(window.StaticText4),
                                 static_cast<QWidget *>(window.BBVentas), static_cast<QWidget *>(window.StaticText2)})
            QTest::mouseClick(control, Qt::LeftButton);
        QCOMPARE(spies.counts(), expected);
    }

    void egrresosButtonOpensTheGoodsIssue()
    {
        TFF1 window;
        window.show();
        QSignalSpy issue(window.Egresos2, &QAction::triggered);
        QSignalSpy others(window.INGRESOS1, &QAction::triggered);
        QTest::mouseClick(window.BitBtn2, Qt::LeftButton);
        QCOMPARE(issue.count(), 1);
        QCOMPARE(others.count(), 0);
    }

    // The cash items open their windows; "Resumen de Caja" sits after the closing history.
    void cashItemsOpenTheirWindows()
    {
        ShellShop shop;
        vx::ui::FakeDialogs dialogs;
        TFF1 window;
        const QList<QAction *> items = window.CAJA1->actions();
        QCOMPARE(items.indexOf(window.ResumendeCaja1), items.indexOf(window.ConsultadeCaja1) + 1);
        for (QAction *item : {window.CajadelDia1, window.AjustesdeCaja1, window.ConsultadeCaja1, window.ResumendeCaja1})
            item->trigger();
        // The closing confirmed in its window leaves a copy of the shop behind it.
        dialogs.onModal = [](QDialog *shown) {
            if (auto *closing = qobject_cast<TFCierreCaja *>(shown))
                QTest::mouseClick(closing->BConfirma, Qt::LeftButton);
            return 0;
        };
        for (int i = 0; i < 3; ++i)
            dialogs.confirmAnswers.enqueue(true);
        window.CierredeCaja1->trigger();
        for (QAction *item : {window.Listadodebancos1, window.CuantasPropias1, window.arjetasdeCrdito1,
                              window.CuponesenCartera1, window.Pagos1})
            item->trigger();
        QCOMPARE(dialogs.texts(QStringLiteral("modal")),
                 (QStringList{QStringLiteral("FCajaD"), QStringLiteral("FAjCaja"), QStringLiteral("FRetCaja"),
                              QStringLiteral("FCaja"), QStringLiteral("FCierreCaja"), QStringLiteral("FBcos"),
                              QStringLiteral("FBcosPpio"), QStringLiteral("FTarjetas"), QStringLiteral("FCupones"),
                              QStringLiteral("FPagos")}));
        QCOMPARE(shop.dm->ADOConnection1->scalar(QStringLiteral("SELECT COUNT(*) FROM CAJAD")).toInt(), 1);
        QCOMPARE(QDir(vx::paths::userFolder() + QStringLiteral("Copias")).entryList(QDir::Files).size(), 1);
    }

    void userGuideThroughTheShell()
    {
        TempRoot root;
        vx::ui::FakeDialogs dialogs;
        TFF1 window;
        window.show();
        TFAguarde wait;
        const QString guide = vx::paths::userFolder() + QStringLiteral("Vendrix Leame.pdf");

        // F1, the button and its key caption, and the menu item all open the guide.
        QTest::keyClick(&window, Qt::Key_F1);
        QVERIFY(!wait.isVisible());
        QTest::mouseClick(window.BitBtn3, Qt::LeftButton);
        QTest::mouseClick(window.StaticText5, Qt::LeftButton);
        window.GuiaparaelUsuario1->trigger();
        QCOMPARE(dialogs.texts(QStringLiteral("openDocument")), QStringList(4, guide));
        QVERIFY(dialogs.texts(QStringLiteral("message")).isEmpty());

        // A file named with other capitals is the same guide.
        QVERIFY(QDir().mkpath(vx::paths::userFolder()));
        QFile file(vx::paths::userFolder() + QStringLiteral("VENDRIX LEAME.pdf"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QTest::keyClick(&window, Qt::Key_F1);
        QCOMPARE(dialogs.texts(QStringLiteral("openDocument")).last(), file.fileName());

        dialogs.openAnswers.enqueue(false);
        QTest::keyClick(window.BitBtn1, Qt::Key_F1);
        QCOMPARE(dialogs.texts(QStringLiteral("message")), QStringList{QStringLiteral("No se encuentra el archivo..")});
    }

    void salirAsksFirst()
    {
        vx::ui::FakeDialogs dialogs;
        TFF1 window;
        window.show();
        QSignalSpy terminating(&Termination::instance(), &Termination::terminating);
        dialogs.confirmAnswers.enqueue(false);
        window.SALIR1->trigger();
        QCOMPARE(dialogs.texts(QStringLiteral("confirm")), QStringList{QStringLiteral("Desea salir del sistema..?")});
        QCOMPARE(terminating.count(), 0);
        QVERIFY(window.isVisible());
        dialogs.confirmAnswers.enqueue(true);
        window.SALIR1->trigger();
        QCOMPARE(terminating.count(), 1);
    }

    void closingTheWindowEndsAtOnce()
    {
        vx::ui::FakeDialogs dialogs;
        TFF1 window;
        window.show();
        QSignalSpy terminating(&Termination::instance(), &Termination::terminating);
        QVERIFY(window.close());
        QCOMPARE(terminating.count(), 1);
        QVERIFY(dialogs.shown.isEmpty());
    }

    void pictureStaysCentredAbovePanel()
    {
        TFF1 window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!window.Image1->pixmap().isNull());
        for (const QSize size : {QSize(1000, 700), QSize(640, 480), QSize(1280, 900), QSize(420, 300)}) {
            window.resize(size);
            QCoreApplication::processEvents();
            const QWidget *client = window.centralWidget();
            const QRect image = window.Image1->geometry();
            const int above = window.Panel1->geometry().top();
            QVERIFY2(qAbs(image.left() - (client->width() - image.right() - 1)) <= 1,
                     qPrintable(QStringLiteral("%1x%2").arg(size.width()).arg(size.height())));
            QVERIFY(qAbs(image.top() - (above - image.bottom() - 1)) <= 1);
            QVERIFY(image.top() >= 0 && image.bottom() < above);
            QVERIFY(image.left() >= 0);
            // The picture keeps its proportions.
            QVERIFY(qAbs(image.width() * 340 - image.height() * 480) <= 480);
        }
    }

    void movementHistoryChangesTheMenuOfLevels2And3_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QStringList>("topLevel");
        QTest::addColumn<bool>("adjustments");
        QTest::addColumn<bool>("customers");
        QTest::newRow("2") << 2 << QStringList{"VENTAS", "CAJA", "SALIR"} << false << false;
        QTest::newRow("3") << 3 << QStringList{"INGRESOS", "VENTAS", "CAJA", "SALIR"} << true << false;
        QTest::newRow("9") << 9 << QStringList{"STOCK", "INGRESOS", "EGRESOS", "VENTAS", "CAJA", "UTILIDADES", "SALIR"}
                           << false << true;
    }

    void movementHistoryChangesTheMenuOfLevels2And3()
    {
        QFETCH(int, level);
        QFETCH(QStringList, topLevel);
        QFETCH(bool, adjustments);
        QFETCH(bool, customers);
        TFF1 window;
        setLevel(level);
        // Shown before only where the rule must hide it, so that every change is seen; level 9
        // leaves it as it was.
        window.AjustesdeCaja1->setVisible(level == 2);
        window.CreaFAguarde1->trigger();
        QCOMPARE(visibleTopLevel(window.MainMenu1), topLevel);
        QCOMPARE(window.AjustesdeCaja1->isVisible(), adjustments);
        QCOMPARE(window.Clientes1->menuAction()->isVisible(), customers);
    }

    // A double click on the background applies the bold menu font again.
    void doubleClickAppliesTheMenuFontAgain()
    {
        TFF1 window;
        window.show();
        QFont other(QStringLiteral("DejaVu Serif"), 7);
        TCambiarLetraMenu(window.MainMenu1, other).apply();
        QCOMPARE(TCambiarLetraMenu::menuFont().pointSize(), 7);
        QTest::mouseDClick(window.centralWidget(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(TCambiarLetraMenu::menuFont().pointSize(), 10);
        QVERIFY(TCambiarLetraMenu::menuFont().bold());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
