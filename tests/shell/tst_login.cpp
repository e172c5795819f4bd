#include "MenuTree.h"
#include "ShellFixture.h"

#include "platform/ui/FakeDialogs.h"
#include "shell/Ficha1.h"
#include "shell/PanelWidgets.h"
#include "shell/Password.h"
#include "shell/Termination.h"
#include "app/uGlobales.h"

#include <QLineEdit>
#include <functional>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>

// The login window on a fresh shop, with the main window it hands over to.
struct LoginScene {
    ShellShop shop;
    vx::ui::FakeDialogs dialogs;
    TFF1 main;
    QPointer<TFIngreso> login = new TFIngreso;
    QSignalSpy terminating{&Termination::instance(), &Termination::terminating};

    LoginScene()
    {
        uGlobales::session() = {};
        for (int i = 0; i < uGlobales::articleListCount; ++i)
            uGlobales::setArticleListChanged(uGlobales::ArticleList(i), false);
        login->show();
    }
    ~LoginScene() { delete login; }

    // Types the password and presses Enter, as the operator does.
    void enter(const QString &password)
    {
        QTest::keyClicks(login->Password, password);
        QTest::keyClick(login->Password, Qt::Key_Return);
    }

    bool loginGone()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return login.isNull();
    }
};

class TestLogin : public QObject {
    Q_OBJECT

private slots:
    void threeWrongPasswordsThenTheRightOneLogIn()
    {
        LoginScene scene;
        scene.shop.addOperator(7, QStringLiteral("ANA"), QStringLiteral("ana9"), 9);
        QCOMPARE(scene.login->windowTitle(), QStringLiteral("Clave de Acceso"));
        QCOMPARE(scene.login->Password->echoMode(), QLineEdit::Password);
        QCOMPARE(scene.login->Password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr,
                                                           scene.login->Password),
                 int('*'));
        for (const QString &wrong : {QStringLiteral("ana"), QStringLiteral("ana99"), QStringLiteral("x")}) {
            scene.enter(wrong);
            QVERIFY(scene.login->isVisible());
            QVERIFY(scene.login->Password->text().isEmpty());
            QCOMPARE(scene.login->focusWidget(), scene.login->Password);
        }
        QCOMPARE(scene.dialogs.texts(QStringLiteral("message")),
                 QStringList(3, QStringLiteral("Clave Incorrecta.")));
        QVERIFY(!scene.main.isVisible());

        scene.enter(QStringLiteral("ana9"));
        QCOMPARE(scene.dialogs.shown.size(), 3);
        QVERIFY(scene.main.isVisible());
        QVERIFY(scene.loginGone());
        QCOMPARE(scene.terminating.count(), 0);
        QCOMPARE(uGlobales::session().operatorCode, 7);
        QCOMPARE(uGlobales::session().accessLevel, 9);
        for (int i = 0; i < uGlobales::articleListCount; ++i)
            QVERIFY(uGlobales::articleListChanged(uGlobales::ArticleList(i)));
    }

    void fourWrongPasswordsEndTheProgram()
    {
        LoginScene scene;
        for (int i = 0; i < 3; ++i)
            scene.enter(QStringLiteral("nadie"));
        QCOMPARE(scene.terminating.count(), 0);
        QVERIFY(scene.login->isVisible());
        scene.enter(QStringLiteral("nadie"));
        QCOMPARE(scene.terminating.count(), 1);
        QVERIFY(Termination::instance().requested());
        QCOMPARE(scene.dialogs.texts(QStringLiteral("message")),
                 QStringList(4, QStringLiteral("Clave Incorrecta.")));
        QVERIFY(scene.loginGone());
        QVERIFY(!scene.main.isVisible());
    }

    void cancelAndEscapeEndTheProgram()
    {
        {
            LoginScene scene;
            QCOMPARE(scene.login->CancelBtn->text(), QStringLiteral("Cancelar"));
            QTest::mouseClick(scene.login->CancelBtn, Qt::LeftButton);
            QCOMPARE(scene.terminating.count(), 1);
        }
        {
            LoginScene scene;
            QTest::keyClick(scene.login->Password, Qt::Key_Escape);
            QCOMPARE(scene.terminating.count(), 1);
            QVERIFY(!scene.main.isVisible());
        }
    }

    void statusLineNamesTheOperatorAndLevel_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("line");
        QTest::newRow("ANA") << QStringLiteral("ANA") << 9 << QStringLiteral("Operador: ANA - Acceso Nivel: 9");
        QTest::newRow("LUIS") << QStringLiteral("LUIS") << 2 << QStringLiteral("Operador: LUIS - Acceso Nivel: 2");
    }

    void statusLineNamesTheOperatorAndLevel()
    {
        QFETCH(QString, name);
        QFETCH(int, level);
        QFETCH(QString, line);
        LoginScene scene;
        scene.shop.addOperator(4, name, QStringLiteral("clave") + name, level);
        QVERIFY(scene.main.Panel1->caption().isEmpty());
        scene.enter(QStringLiteral("clave") + name);
        QCOMPARE(scene.main.Panel1->caption(), line);
        QCOMPARE(uGlobales::session().accessLevel, level);
    }

    // The menu as designed, the hidden items included, for every level without rules of its own.
    void menuAsDesigned_data()
    {
        QTest::addColumn<int>("level");
        QTest::newRow("3") << 3;
        QTest::newRow("5") << 5;
        QTest::newRow("12") << 12;
    }

    void menuAsDesigned()
    {
        QFETCH(int, level);
        LoginScene scene;
        scene.shop.addOperator(8, QStringLiteral("PEDRO"), QStringLiteral("pedro"), level);
        const QStringList before = menuTree(scene.main.MainMenu1);
        scene.enter(QStringLiteral("pedro"));
        QVERIFY(scene.main.isVisible());
        QCOMPARE(menuTree(scene.main.MainMenu1), before);
        QCOMPARE(menuTree(scene.main.MainMenu1), QStringList({
            "ELABORACION [oculto]",
            "ELABORACION > Materia Prima",
            "ELABORACION > Materia Prima > Altas (codificacion)",
            "ELABORACION > Materia Prima > B / M / C",
            "ELABORACION > Materia Prima > Ingreso al Stock",
            "ELABORACION > Formulas",
            "ELABORACION > Produccion",
            "STOCK",
            "STOCK > &Articulos",
            "STOCK > &Articulos > Altas",
            "STOCK > &Articulos > B / M / C",
            "STOCK > &Articulos > Imagenes",
            "STOCK > &Articulos > Marcas",
            "STOCK > &Articulos > Colores",
            "STOCK > &Articulos > Talles",
            "STOCK > Listado de Stock",
            "STOCK > Listado de Stock con Foto [oculto]",
            "STOCK > Actualizacion de Precios [oculto]",
            "STOCK > Verificar Precios",
            "STOCK > Importar Excel [oculto]",
            "INGRESOS",
            "INGRESOS > Ingresar",
            "INGRESOS > Consultar",
            "INGRESOS > Remitos [oculto]",
            "EGRESOS",
            "EGRESOS > Egresos",
            "EGRESOS > Consultas",
            "EGRESOS > Remitos",
            "PRESUPUESTOS [oculto]",
            "PRESUPUESTOS > Generar Presupuesto",
            "PRESUPUESTOS > Consultar",
            "VENTAS",
            "VENTAS > VENTAS",
            "VENTAS > Consulta de Ventas",
            "VENTAS > Consulta de Ventas > Por Facturas",
            "VENTAS > Consulta de Ventas > Por Articulo",
            "VENTAS > Consulta de Ventas > Por Cliente",
            "VENTAS > Imprimir Comprobante",
            "VENTAS > Anulacion",
            "CAJA",
            "CAJA > Consulta de Caja",
            "CAJA > Cierre de Caja",
            "CAJA > Ajustes de Caja Diaria",
            "CAJA > Historico por Cierres de Caja",
            "CAJA > Resumen de Caja",
            "CAJA > Tarjetas",
            "CAJA > Tarjetas > Tarjetas de Crédito",
            "CAJA > Tarjetas > Cupones en Cartera",
            "CAJA > Bancos",
            "CAJA > Bancos > Listado de bancos",
            "CAJA > Bancos > Cuentas Propias",
            "GASTOS [oculto]",
            "GASTOS > Registro de Gastos",
            "GASTOS > Consulta de Gastos",
            "GASTOS > Codificacion de Gastos",
            "SERV.TECNICO [oculto]",
            "SERV.TECNICO > Recepcion de Equipos",
            "SERV.TECNICO > Consulta de Equipos",
            "UTILIDADES",
            "UTILIDADES > Operadores",
            "UTILIDADES > Movimientos",
            "UTILIDADES > Clientes",
            "UTILIDADES > Clientes > ABM de Clientes",
            "UTILIDADES > Clientes > Consulta de Clientes",
            "UTILIDADES > Proveedores",
            "UTILIDADES > Proveedores > A B M de Proveedores",
            "UTILIDADES > Proveedores > Consulta de Proveedores",
            "UTILIDADES > Proveedores > Cuentas Corrientes",
            "UTILIDADES > Proveedores > Cuentas Corrientes > Comprobantes",
            "UTILIDADES > Proveedores > Cuentas Corrientes > Consultas",
            "UTILIDADES > Proveedores > Cuentas Corrientes > Pagos",
            "UTILIDADES > Cod. Barras",
            "UTILIDADES > Cod. Barras A4 [oculto]",
            "UTILIDADES > Etiquetas p/Gondolas [oculto]",
            "UTILIDADES > Etiqueta p/Gondolas con Imagen [oculto]",
            "UTILIDADES > Fil - Col / Datos en Ticket",
            "UTILIDADES > Copia de Seguridad [oculto]",
            "UTILIDADES > Guia para el Usuario",
            "SALIR",
        }));
    }

    void menuCaptionsArePaddedWithBlanks()
    {
        TFF1 main;
        QStringList unpadded;
        std::function<void(const QList<QAction *> &)> walk = [&](const QList<QAction *> &actions) {
            for (QAction *action : actions) {
                const QString text = action->text();
                if (!text.startsWith(QLatin1Char(' ')) || !text.endsWith(QLatin1Char(' ')))
                    unpadded << text;
                if (action->menu())
                    walk(action->menu()->actions());
            }
        };
        walk(main.MainMenu1->actions());
        QVERIFY2(unpadded.isEmpty(), qPrintable(unpadded.join(QLatin1Char('|'))));
    }

    void menuRulesOfTheLevel_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QStringList>("topLevel");
        QTest::addColumn<bool>("images");
        QTest::addColumn<bool>("customers");
        QTest::addColumn<bool>("operators");
        const QStringList all{"STOCK", "INGRESOS", "EGRESOS", "VENTAS", "CAJA", "UTILIDADES", "SALIR"};
        QTest::newRow("9") << 9 << all << true << true << true;
        QTest::newRow("1") << 1 << QStringList{"STOCK", "INGRESOS", "EGRESOS", "UTILIDADES", "SALIR"} << true << false
                           << false;
        QTest::newRow("2") << 2 << QStringList{"VENTAS", "CAJA", "UTILIDADES", "SALIR"} << false << false << false;
        QTest::newRow("3") << 3 << all << true << true << true;
        QTest::newRow("5") << 5 << all << true << true << true;
        QTest::newRow("12") << 12 << all << true << true << true;
    }

    void menuRulesOfTheLevel()
    {
        QFETCH(int, level);
        QFETCH(QStringList, topLevel);
        QFETCH(bool, images);
        QFETCH(bool, customers);
        QFETCH(bool, operators);
        LoginScene scene;
        scene.shop.addOperator(8, QStringLiteral("PEDRO"), QStringLiteral("pedro"), level);
        scene.enter(QStringLiteral("pedro"));
        QVERIFY(scene.main.isVisible());
        QCOMPARE(visibleTopLevel(scene.main.MainMenu1), topLevel);
        QCOMPARE(reachable(scene.main.Imagenes1), images);
        QCOMPARE(reachable(scene.main.Clientes1->menuAction()), customers);
        QCOMPARE(reachable(scene.main.Operadores1), operators);
        QCOMPARE(scene.main.Operadores1->isEnabled(), operators);
        QCOMPARE(reachable(scene.main.CopiadeSeguridad1), level == 9);
        // Supplier payments take money out of the cash: offered to whoever sees "CAJA".
        QCOMPARE(reachable(scene.main.Pagos1), topLevel.contains(QStringLiteral("CAJA")));
        QCOMPARE(reachable(scene.main.ABMdeProveedores1), topLevel.contains(QStringLiteral("CAJA")));
        QCOMPARE(reachable(scene.main.Comprobantes1), topLevel.contains(QStringLiteral("CAJA")));
    }

    // The whole value must match: neither a prefix nor a longer text finds the operator.
    void passwordMatchesAsAWhole()
    {
        LoginScene scene;
        scene.shop.addOperator(5, QStringLiteral("EVA"), QStringLiteral("rosa"), 2);
        scene.shop.addOperator(6, QStringLiteral("JUAN"), QStringLiteral("rosales"), 1);
        scene.enter(QStringLiteral("ros"));
        QVERIFY(!scene.main.isVisible());
        scene.enter(QStringLiteral("rosa"));
        QVERIFY(scene.main.isVisible());
        QCOMPARE(uGlobales::session().operatorCode, 5);
    }
};

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
