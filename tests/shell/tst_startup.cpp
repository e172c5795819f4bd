#include "ShellFixture.h"

#include "platform/ui/FakeDialogs.h"
#include "app/Aguarde.h"
#include "shell/Ficha1.h"
#include "shell/Password.h"
#include "shell/Startup.h"

#include <QLineEdit>
#include <QTest>

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void loginWindowAloneOnScreen()
    {
        TempRoot root;
        data::createShop({QStringLiteral("admin"), false});
        vx::ui::FakeDialogs dialogs;
        {
            Startup startup;
            QVERIFY(startup.createWindows());
            QVERIFY(FIngreso && FF1 && DM1 && FAguarde);
            QVERIFY(FIngreso->isVisible());
            QVERIFY(!FF1->isVisible());
            QVERIFY(!FAguarde->isVisible());
            QCOMPARE(FAguarde->windowTitle(), QStringLiteral("Procesando..."));
            QVERIFY(dialogs.shown.isEmpty());
            // Every table of the data module starts closed.
            for (vx::Table *table : DM1->tables())
                QVERIFY(!table->active());

            // The created windows work together: the administrator logs in.
            QTest::keyClicks(FIngreso->Password, QStringLiteral("admin"));
            QTest::keyClick(FIngreso->Password, Qt::Key_Return);
            QVERIFY(FF1->isVisible());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(!FIngreso);
        }
        QVERIFY(!FF1 && !DM1 && !FAguarde);
    }

    void missingDatabaseEndsWithItsMessage()
    {
        TempRoot root;
        vx::ui::FakeDialogs dialogs;
        Startup startup;
        QVERIFY(!startup.createWindows());
        const QStringList errors = dialogs.texts(QStringLiteral("error"));
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().contains(QStringLiteral("Vendrix Demo.udl")), qPrintable(errors.first()));
        QVERIFY(!FIngreso || !FIngreso->isVisible());
    }

    void bringsTheWindowInUseToTheFront()
    {
        TempRoot root;
        data::createShop({QStringLiteral("admin"), false});
        vx::ui::FakeDialogs dialogs;
        Startup startup;
        QVERIFY(startup.createWindows());
        FIngreso->showMinimized();
        startup.bringToFront();
        QVERIFY(FIngreso->isVisible());
        QVERIFY(!FIngreso->isMinimized());

        QTest::keyClicks(FIngreso->Password, QStringLiteral("admin"));
        QTest::keyClick(FIngreso->Password, Qt::Key_Return);
        FF1->showMinimized();
        startup.bringToFront();
        QVERIFY(FF1->isVisible());
        QVERIFY(!FF1->isMinimized());
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
