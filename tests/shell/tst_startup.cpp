#include "ShellFixture.h"

#include "platform/ui/FakeDialogs.h"
#include "app/Aguarde.h"
#include "shell/Ficha1.h"
#include "shell/Password.h"
#include "shell/Startup.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
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

    // Once the program has started, Qt's own dialogs speak Spanish: the file dialog the dialog
    // service shows, here closed by a timer from inside its modal loop.
    void theFileDialogSpeaksSpanish()
    {
        TempRoot root;
        data::createShop({QStringLiteral("admin"), false});
        Startup startup;
        QVERIFY(startup.createWindows());
        QStringList texts;
        QTimer::singleShot(0, [&texts] {
            for (QWidget *window : QApplication::topLevelWidgets()) {
                auto *dialog = qobject_cast<QFileDialog *>(window);
                if (!dialog || !dialog->isVisible())
                    continue;
                for (const char *label : {"lookInLabel", "fileNameLabel", "fileTypeLabel"})
                    texts << dialog->findChild<QLabel *>(QLatin1String(label))->text();
                auto *buttons = dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
                for (auto role : {QDialogButtonBox::Open, QDialogButtonBox::Cancel})
                    texts << buttons->button(role)->text();
                dialog->reject();
            }
        });
        vx::ui::FileDialogOptions options;
        options.filter = QStringLiteral("Imagenes (*.bmp)");
        options.folder = root.path();
        QCOMPARE(vx::ui::dialogs().openFileName(FF1, options), QString());
        QCOMPARE(texts.join(QLatin1Char('|')), QStringLiteral("Ver en:|&Nombre de fichero:|Ficheros de tipo:|&Abrir|Cancelar"));
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
