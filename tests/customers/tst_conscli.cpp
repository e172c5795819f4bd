// The customer query as an operator uses it: searching by code and by name key by key, the
// contains filter on a double click, observations corrected in place, the printed list.
#include "CustomerShop.h"
#include "../platform/ReportPdfReader.h"

#include "customers/ConsCli.h"
#include "customers/CustomerList.h"
#include "platform/db/Table.h"
#include "platform/report/Report.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/Edit.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct ConsCliScene {
    CustomerShop shop;
    std::unique_ptr<TFConsCli> window;

    ConsCliScene()
    {
        const QStringList names{QStringLiteral("CONSUMIDOR FINAL"), QStringLiteral("RODRIGUEZ ANA"),
                                QStringLiteral("D'ANGELO ROBERTO"), QStringLiteral("MONROE CARLA"),
                                QStringLiteral("DIAZ LUIS"), QStringLiteral("BRAVO PEDRO")};
        for (int i = 0; i < names.size(); ++i)
            shop.addCustomer(i + 1, names[i], QStringLiteral("OBS %1").arg(i + 1));
        window = std::make_unique<TFConsCli>();
        window->openList();
        window->show();
        window->activateWindow();
    }
    bool ready() { return QTest::qWaitForWindowActive(window.get()); }
    QString current() { return window->list().fieldByName(QStringLiteral("CLIAPE"))->asString(); }
    void type(const QString &text)
    {
        window->EdBus->setFocus();
        QTest::keyClicks(window->EdBus, text);
    }
    void clear()
    {
        window->EdBus->setFocus();
        window->EdBus->selectAll();
        QTest::keyClick(window->EdBus, Qt::Key_Backspace);
    }
    QStringList shownNames()
    {
        QStringList out;
        vx::Table &q = window->list();
        for (q.first(); !q.eof(); q.next())
            out << q.fieldByName(QStringLiteral("CLIAPE"))->asString();
        return out;
    }
};

} // namespace

class TestConsCli : public QObject {
    Q_OBJECT

private slots:
    void searchesByNameAndByCode()
    {
        ConsCliScene scene;
        QVERIFY(scene.ready());
        QCOMPARE(scene.current(), QStringLiteral("BRAVO PEDRO"));
        CustomerShop::screenshot(*scene.window, QStringLiteral("FConsCli"));
        scene.type(QStringLiteral("D'"));
        QCOMPARE(scene.current(), QStringLiteral("D'ANGELO ROBERTO"));
        scene.clear();
        scene.type(QStringLiteral("DI"));
        QCOMPARE(scene.current(), QStringLiteral("DIAZ LUIS"));
        QCOMPARE(scene.window->EdTel->text(), QStringLiteral("TEL 5"));
        scene.type(QStringLiteral("X"));
        QCOMPARE(scene.current(), QStringLiteral("DIAZ LUIS")); // nothing found: the cursor stays

        QTest::mouseClick(scene.window->RBxCod, Qt::LeftButton);
        QCOMPARE(scene.window->EdBus->text(), QStringLiteral("0"));
        scene.clear();
        scene.type(QStringLiteral("4"));
        QCOMPARE(scene.current(), QStringLiteral("MONROE CARLA"));
        scene.clear();
        scene.type(QStringLiteral("A"));
        QCOMPARE(scene.current(), QStringLiteral("MONROE CARLA"));
        QVERIFY(scene.shop.dialogs.shown.isEmpty());
    }

    void containsFilterOnDoubleClick()
    {
        ConsCliScene scene;
        QVERIFY(scene.ready());
        for (const auto &[text, expected] :
             {std::pair{QStringLiteral("RO"), QStringList{QStringLiteral("BRAVO PEDRO"), QStringLiteral("D'ANGELO ROBERTO"),
                                                         QStringLiteral("MONROE CARLA"), QStringLiteral("RODRIGUEZ ANA")}},
              std::pair{QStringLiteral("'ANG"), QStringList{QStringLiteral("D'ANGELO ROBERTO")}},
              std::pair{QString(), QStringList{}}}) {
            scene.clear();
            scene.type(text);
            QTest::mouseDClick(scene.window->EdBus, Qt::LeftButton);
            QCOMPARE(scene.shownNames().size(), expected.isEmpty() ? 6 : expected.size());
            if (!expected.isEmpty())
                QCOMPARE(scene.shownNames(), expected);
        }
        QVERIFY(scene.shop.dialogs.shown.isEmpty());
    }

    void observationsStoredOnlyForThatCustomer()
    {
        ConsCliScene scene;
        QVERIFY(scene.ready());
        scene.type(QStringLiteral("MON"));
        // Meanwhile another workstation corrects the same customer's telephone.
        const std::unique_ptr<vx::Connection> other = scene.shop.another();
        other->execute(QStringLiteral("UPDATE CLIENTE SET CLITEL = 'NUEVO' WHERE CLICOD = 4"));
        scene.window->EdObs->setFocus();
        scene.window->EdObs->selectAll();
        QTest::keyClicks(scene.window->EdObs, QStringLiteral("LLAMAR LOS LUNES"));
        // Moving stores it; the window shows what was stored when it comes back.
        scene.clear();
        scene.type(QStringLiteral("B"));
        QCOMPARE(scene.shop.value(QStringLiteral("SELECT CLIOBS FROM CLIENTE WHERE CLICOD = 4")).toString(),
                 QStringLiteral("LLAMAR LOS LUNES"));
        scene.clear();
        scene.type(QStringLiteral("MON"));
        QCOMPARE(scene.window->EdObs->text(), QStringLiteral("LLAMAR LOS LUNES"));
        // Closing without moving stores it too.
        scene.window->EdObs->setFocus();
        scene.window->EdObs->selectAll();
        QTest::keyClicks(scene.window->EdObs, QStringLiteral("NO FIAR"));
        QTest::keyClick(scene.window.get(), Qt::Key_Escape);
        QCOMPARE(scene.shop.value(QStringLiteral("SELECT CLIOBS FROM CLIENTE WHERE CLICOD = 4")).toString(),
                 QStringLiteral("NO FIAR"));
        QCOMPARE(scene.shop.value(QStringLiteral("SELECT CLITEL FROM CLIENTE WHERE CLICOD = 4")).toString(),
                 QStringLiteral("NUEVO"));
        QCOMPARE(scene.shop.value(QStringLiteral("SELECT CLIOBS FROM CLIENTE WHERE CLICOD = 2")).toString(),
                 QStringLiteral("OBS 2"));
    }

    void printsTheListAsShown()
    {
        ConsCliScene scene;
        QVERIFY(scene.ready());
        scene.type(QStringLiteral("RO"));
        QTest::mouseDClick(scene.window->EdBus, Qt::LeftButton);
        QTest::mouseClick(scene.window->BBImp, Qt::LeftButton);
        QCOMPARE(scene.shop.dialogs.texts(QStringLiteral("modal")).size(), 1);

        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("clientes.pdf"));
        customers::customerListReport(scene.window->list())->savePdf(path);
        QVERIFY2(pdf::info(path).value(QStringLiteral("Page size")).startsWith(QStringLiteral("842 x 595")),
                 qPrintable(pdf::info(path).value(QStringLiteral("Page size"))));
        const QString text = pdf::pages(path).join(QLatin1Char('\n'));
        for (const QString &name : {QStringLiteral("BRAVO PEDRO"), QStringLiteral("D'ANGELO ROBERTO"),
                                    QStringLiteral("MONROE CARLA"), QStringLiteral("RODRIGUEZ ANA")})
            QVERIFY2(text.contains(name), qPrintable(name));
        QVERIFY(!text.contains(QStringLiteral("DIAZ LUIS")));
        QVERIFY(text.contains(QStringLiteral("Apellido y Nombre")));
        if (!qEnvironmentVariableIsEmpty("VX_SCREENSHOTS"))
            QFile::copy(path, QDir(qEnvironmentVariable("VX_SCREENSHOTS")).filePath(QStringLiteral("ListadoClientes.pdf")));
    }
};

QTEST_MAIN(TestConsCli)
#include "tst_conscli.moc"
