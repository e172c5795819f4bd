#include "ShellFixture.h"

#include "platform/ui/FakeDialogs.h"
#include "shell/Login.h"
#include "shell/Opera.h"
#include "shell/OperatorStore.h"

#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"

#include <QHeaderView>

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QTest>

// The operators window on a fresh shop, on screen and active so that leaving a box is felt.
struct OperatorsScene {
    ShellShop shop;
    vx::ui::FakeDialogs dialogs;
    TFOpera window;

    OperatorsScene()
    {
        shop.dm->Operador->open();
        window.show();
        window.activateWindow();
    }

    bool ready() { return QTest::qWaitForWindowActive(&window); }

    QStringList messages() const { return dialogs.texts(QStringLiteral("message")); }

    void fill(const QString &code, const QString &name, const QString &password, const QString &again,
              const QString &level)
    {
        window.EdCod->setText(code);
        window.EdApe->setText(name);
        window.EdCla->setText(password);
        window.EdCla2->setText(again);
        window.EdNiv->setText(level);
    }

    bool boxesEmpty() const
    {
        for (QLineEdit *box : {window.EdCod, window.EdApe, window.EdCla, window.EdCla2, window.EdNiv}) {
            if (!box->text().isEmpty())
                return false;
        }
        return true;
    }
};

class TestOperators : public QObject {
    Q_OBJECT

private slots:
    void clickOnTheEmptyCodeProposesTheNext()
    {
        OperatorsScene scene;
        QVERIFY(scene.ready());
        scene.shop.dm->ADOConnection1->execute(QStringLiteral("DELETE FROM OPERADOR"));
        scene.shop.dm->Operador->refresh();
        QTest::mouseClick(scene.window.EdCod, Qt::LeftButton);
        QCOMPARE(scene.window.EdCod->text(), QStringLiteral("1"));
        QCOMPARE(QApplication::focusWidget(), scene.window.EdApe);

        scene.shop.addOperator(4, QStringLiteral("ANA"), QStringLiteral("a4"), 9);
        scene.shop.addOperator(12, QStringLiteral("LUIS"), QStringLiteral("l12"), 2);
        scene.shop.addOperator(7, QStringLiteral("EVA"), QStringLiteral("e7"), 1);
        scene.shop.dm->Operador->refresh();
        // A code already there stays.
        QTest::mouseClick(scene.window.EdCod, Qt::LeftButton);
        QCOMPARE(scene.window.EdCod->text(), QStringLiteral("1"));
        scene.window.EdCod->clear();
        QTest::mouseClick(scene.window.EdCod, Qt::LeftButton);
        QCOMPARE(scene.window.EdCod->text(), QStringLiteral("13"));
    }

    void levelBoxTakesOnlyOneToNine()
    {
        OperatorsScene scene;
        QLineEdit *level = scene.window.EdNiv;
        QTest::keyClicks(level, QStringLiteral("0"));
        QCOMPARE(level->text(), QString());
        QTest::keyClicks(level, QStringLiteral("a"));
        QCOMPARE(level->text(), QString());
        QCOMPARE(scene.messages(), QStringList(2, QStringLiteral("El valor debe ser entre 1 y 9")));
        QTest::keyClicks(level, QStringLiteral("12"));
        QCOMPARE(level->text(), QStringLiteral("12"));
        QTest::keyClick(level, Qt::Key_Backspace);
        QCOMPARE(level->text(), QStringLiteral("1"));
        QTest::keyClicks(level, QStringLiteral("95"));
        QCOMPARE(level->text(), QStringLiteral("19"));
        QCOMPARE(scene.messages().size(), 2);
        // Pasted text meets the same rule.
        level->clear();
        level->insert(QStringLiteral("x0"));
        QCOMPARE(level->text(), QString());
    }

    void namesAreUpperCase()
    {
        OperatorsScene scene;
        QTest::keyClicks(scene.window.EdApe, QStringLiteral("perez juan"));
        QCOMPARE(scene.window.EdApe->text(), QStringLiteral("PEREZ JUAN"));
        QTest::keyClick(scene.window.EdApe, Qt::Key_Home);
        QTest::keyClicks(scene.window.EdApe, QStringLiteral("d"));
        QCOMPARE(scene.window.EdApe->text(), QStringLiteral("DPEREZ JUAN"));
        QCOMPARE(scene.window.EdApe->cursorPosition(), 1);
        QCOMPARE(scene.window.EdApe->maxLength(), 30);
        QCOMPARE(scene.window.EdCla->maxLength(), 10);
        QCOMPARE(scene.window.EdCla->echoMode(), QLineEdit::Password);
        QCOMPARE(scene.window.EdCla2->echoMode(), QLineEdit::Password);
        QCOMPARE(scene.window.EdCod->maxLength(), 2);
        // One asterisk per character, as the login's box.
        QCOMPARE(scene.window.EdCla->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr,
                                                        scene.window.EdCla),
                 int('*'));
    }

    void passwordInUseIsRefusedOnLeaving()
    {
        OperatorsScene scene;
        QVERIFY(scene.ready());
        scene.window.EdCla->setFocus();
        QTest::keyClicks(scene.window.EdCla, QStringLiteral("admin"));
        scene.window.EdCla2->setFocus();
        QCOMPARE(scene.messages(), QStringList{QStringLiteral("Clave existente, modifique el valor.")});
        QVERIFY(scene.window.EdCla->text().isEmpty());
        QCOMPARE(QApplication::focusWidget(), scene.window.EdCla);

        // A new password passes; an empty box is not looked up.
        QTest::keyClicks(scene.window.EdCla, QStringLiteral("nueva"));
        scene.window.EdApe->setFocus();
        scene.window.EdCla->clear();
        scene.window.EdCla->setFocus();
        scene.window.EdApe->setFocus();
        QCOMPARE(scene.messages().size(), 1);
    }

    void differentPasswordsAreTypedAgain()
    {
        OperatorsScene scene;
        QVERIFY(scene.ready());
        scene.window.EdCla->setFocus();
        QTest::keyClicks(scene.window.EdCla, QStringLiteral("rojo"));
        scene.window.EdCla2->setFocus();
        QTest::keyClicks(scene.window.EdCla2, QStringLiteral("roja"));
        scene.window.EdNiv->setFocus();
        QCOMPARE(scene.messages(), QStringList{QStringLiteral("Claves diferentes. Reingrese el valor.")});
        QVERIFY(scene.window.EdCla->text().isEmpty());
        QVERIFY(scene.window.EdCla2->text().isEmpty());
        QCOMPARE(QApplication::focusWidget(), scene.window.EdCla);

        QTest::keyClicks(scene.window.EdCla, QStringLiteral("rojo"));
        scene.window.EdCla2->setFocus();
        QTest::keyClicks(scene.window.EdCla2, QStringLiteral("rojo"));
        scene.window.EdNiv->setFocus();
        QCOMPARE(scene.messages().size(), 1);
        QCOMPARE(scene.window.EdCla2->text(), QStringLiteral("rojo"));
    }

    // "Confirmar" compares the two passwords again: the first may have changed after the second
    // was checked against it.
    void confirmComparesThePasswordsAgain()
    {
        OperatorsScene scene;
        QVERIFY(scene.ready());
        QTest::mouseClick(scene.window.EdCod, Qt::LeftButton);
        QTest::keyClicks(scene.window.EdApe, QStringLiteral("juan"));
        scene.window.EdCla->setFocus();
        QTest::keyClicks(scene.window.EdCla, QStringLiteral("clave1"));
        QTest::keyClick(scene.window.EdCla, Qt::Key_Tab);
        QTest::keyClicks(scene.window.EdCla2, QStringLiteral("clave1"));
        QTest::keyClick(scene.window.EdCla2, Qt::Key_Tab);
        QTest::keyClicks(scene.window.EdNiv, QStringLiteral("2"));
        scene.window.EdCla->setFocus();
        scene.window.EdCla->selectAll();
        QTest::keyClicks(scene.window.EdCla, QStringLiteral("otra"));
        QTest::mouseClick(scene.window.BConfirmar, Qt::LeftButton);
        QCOMPARE(scene.messages(), QStringList{QStringLiteral("Claves diferentes. Reingrese el valor.")});
        QCOMPARE(scene.shop.operatorCount(), 1);
        QVERIFY(scene.window.EdCla->text().isEmpty() && scene.window.EdCla2->text().isEmpty());
        QCOMPARE(QApplication::focusWidget(), scene.window.EdCla);
        QCOMPARE(scene.window.EdApe->text(), QStringLiteral("JUAN"));
    }

    // The list is in code order, whatever order the login left the table in: password order would
    // tell how the passwords sort.
    void theListIsInCodeOrder()
    {
        ShellShop shop;
        vx::ui::FakeDialogs dialogs;
        shop.addOperator(3, QStringLiteral("ZOE"), QStringLiteral("aaa"), 1);
        shop.addOperator(2, QStringLiteral("BETO"), QStringLiteral("zzz"), 2);
        shop.dm->Operador->open();
        shop.dm->Operador->setIndexFieldNames(QStringLiteral("OPECLA"));
        QStringList codes;
        dialogs.onModal = [&codes](QDialog *dialog) {
            const QAbstractItemModel *model = static_cast<TFOpera *>(dialog)->DBGrid1->model();
            for (int row = 0; row < model->rowCount(); ++row)
                codes << model->index(row, 0).data().toString();
            return int(QDialog::Accepted);
        };
        openOperators(nullptr);
        QCOMPARE(codes, QStringList({"1", "2", "3"}));
    }

    // Nobody could open this window again without an operator of level 9: the last one can be
    // neither deleted nor lowered in the grid.
    void theLastLevelNineOperatorStays()
    {
        OperatorsScene scene;
        QVERIFY(scene.ready());
        scene.shop.addOperator(3, QStringLiteral("LUIS"), QStringLiteral("luis"), 2);
        vx::Table &operador = *scene.shop.dm->Operador;
        operador.setIndexFieldNames(QStringLiteral("OPECOD"));
        operador.refresh();
        const QString refusal = QStringLiteral("Debe quedar al menos un operador de nivel 9.");
        vx::ui::DBGrid *grid = scene.window.DBGrid1;
        const auto level = [&scene](const char *password) {
            return Login::findByPassword(*scene.shop.dm->Operador, QLatin1String(password))->level;
        };

        scene.dialogs.confirmAnswers.enqueue(true);
        QTest::mouseClick(scene.window.BBorrar, Qt::LeftButton);
        QCOMPARE(scene.messages(), QStringList{refusal});
        QCOMPARE(scene.shop.operatorCount(), 2);

        // Lowered by typing into the grid: the level goes back when the row is left, the name stays.
        const auto typeIntoCell = [grid](int column, const QString &text) {
            grid->setFocus();
            grid->setCurrentIndex(grid->model()->index(0, column));
            QTest::keyClicks(grid, text.left(1));  // the first key opens the cell's editor
            QTest::keyClicks(QApplication::focusWidget(), text.mid(1));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        };
        typeIntoCell(1, QStringLiteral("ANA"));
        typeIntoCell(3, QStringLiteral("1"));
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(scene.messages(), QStringList({refusal, refusal}));
        QCOMPARE(level("admin"), 9);
        QCOMPARE(Login::findByPassword(operador, QStringLiteral("admin"))->name, QStringLiteral("ANA"));

        // With a second operator of level 9, the first may go.
        scene.shop.addOperator(4, QStringLiteral("EVA"), QStringLiteral("eva"), 9);
        operador.refresh();
        operador.first();
        scene.dialogs.confirmAnswers.enqueue(true);
        QTest::mouseClick(scene.window.BBorrar, Qt::LeftButton);
        QCOMPARE(scene.messages().size(), 2);
        QVERIFY(!Login::findByPassword(operador, QStringLiteral("admin")));
        QCOMPARE(level("eva"), 9);
    }

    void confirmAddsTheOperator()
    {
        OperatorsScene scene;
        scene.fill(QStringLiteral("5"), QStringLiteral("GOMEZ ANA"), QStringLiteral("ana5"), QStringLiteral("ana5"),
                   QStringLiteral("12"));
        QTest::mouseClick(scene.window.BConfirmar, Qt::LeftButton);
        QCOMPARE(scene.messages(), QStringList{QStringLiteral("Proceso concluido.")});
        QVERIFY(scene.boxesEmpty());
        QVERIFY(!scene.shop.dm->ADOConnection1->inTransaction());
        const auto found = Login::findByPassword(*scene.shop.dm->Operador, QStringLiteral("ana5"));
        QVERIFY(found);
        QCOMPARE(found->code, 5);
        QCOMPARE(found->level, 12);
        QCOMPARE(found->name, QStringLiteral("GOMEZ ANA"));
    }

    void confirmNeedsEveryBoxAndWholeNumbers()
    {
        OperatorsScene scene;
        const int before = scene.shop.operatorCount();
        scene.fill(QStringLiteral("5"), QStringLiteral("GOMEZ"), QStringLiteral("g5"), QString(), QStringLiteral("1"));
        QTest::mouseClick(scene.window.BConfirmar, Qt::LeftButton);
        QCOMPARE(scene.messages(), QStringList{QStringLiteral("Falta ingresar datos...")});
        QCOMPARE(scene.window.EdCod->text(), QStringLiteral("5"));

        scene.fill(QStringLiteral("x"), QStringLiteral("GOMEZ"), QStringLiteral("g5"), QStringLiteral("g5"),
                   QStringLiteral("1"));
        QTest::mouseClick(scene.window.BConfirmar, Qt::LeftButton);
        QCOMPARE(scene.messages().last(), QStringLiteral("No se pudo completar el proceso."));
        QCOMPARE(scene.shop.operatorCount(), before);
        QVERIFY(!scene.shop.dm->ADOConnection1->inTransaction());
        QCOMPARE(scene.shop.dm->Operador->state(), vx::Dataset::State::Browse);
        // The boxes stay for the operator to correct.
        QCOMPARE(scene.window.EdCod->text(), QStringLiteral("x"));

        // The failed attempt left nothing behind that blocks a good one.
        scene.window.EdCod->setText(QStringLiteral("6"));
        QTest::mouseClick(scene.window.BConfirmar, Qt::LeftButton);
        QCOMPARE(scene.messages().last(), QStringLiteral("Proceso concluido."));
        QCOMPARE(scene.shop.operatorCount(), before + 1);
    }

    void cancelEmptiesTheBoxes()
    {
        OperatorsScene scene;
        scene.fill(QStringLiteral("5"), QStringLiteral("GOMEZ"), QStringLiteral("g5"), QStringLiteral("g5"),
                   QStringLiteral("1"));
        QTest::mouseClick(scene.window.BCancelar, Qt::LeftButton);
        QVERIFY(scene.boxesEmpty());
        QVERIFY(scene.dialogs.shown.isEmpty());
    }

    void gridListsTheOperatorsWithoutTheirPasswords()
    {
        OperatorsScene scene;
        scene.shop.addOperator(3, QStringLiteral("LUIS"), QStringLiteral("luis"), 2);
        vx::Table &operador = *scene.shop.dm->Operador;
        operador.setIndexFieldNames(QStringLiteral("OPECOD"));
        operador.refresh();
        vx::ui::DBGrid *grid = scene.window.DBGrid1;
        QAbstractItemModel *model = grid->model();
        QStringList titles;
        for (int c = 0; c < model->columnCount(); ++c)
            titles << model->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titles, QStringList({"Cod", "Apellido y Nombre", "Clave de Acceso", "Nivel"}));
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(model->index(1, 1).data().toString(), QStringLiteral("LUIS"));
        QCOMPARE(model->index(1, 2).data().toString(), QStringLiteral("**********"));
        QCOMPARE(model->index(1, 3).data().toString(), QStringLiteral("2"));
        QVERIFY(!(model->flags(model->index(1, 2)) & Qt::ItemIsEditable));
        for (int c : {0, 1, 3})
            QVERIFY(model->flags(model->index(1, c)) & Qt::ItemIsEditable);

        using vx::ui::NavigatorButton;
        vx::ui::DBNavigator *navigator = scene.window.DBNavigator1;
        QCOMPARE(navigator->visibleButtons(), NavigatorButton::First | NavigatorButton::Prior | NavigatorButton::Next
                                                  | NavigatorButton::Last | NavigatorButton::Refresh);
        QCOMPARE(navigator->hint(NavigatorButton::First), QStringLiteral("Primer Registro"));
        QCOMPARE(navigator->hint(NavigatorButton::Prior), QStringLiteral("Registro Anterior"));
        QCOMPARE(navigator->hint(NavigatorButton::Next), QStringLiteral("Registro Siguiente"));
        QCOMPARE(navigator->hint(NavigatorButton::Last), QStringLiteral("Ultimo Registro"));
        QCOMPARE(navigator->hint(NavigatorButton::Refresh), QStringLiteral("Refresh de Pantalla"));
    }

    // A name or level typed into the grid is stored when the row is left.
    void gridEditsAreStoredOnLeavingTheRow()
    {
        OperatorsScene scene;
        scene.shop.addOperator(3, QStringLiteral("LUIS"), QStringLiteral("luis"), 2);
        vx::Table &operador = *scene.shop.dm->Operador;
        operador.setIndexFieldNames(QStringLiteral("OPECOD"));
        operador.refresh();
        vx::ui::DBGrid *grid = scene.window.DBGrid1;
        grid->selectRow(1);
        QVERIFY(grid->model()->setData(grid->model()->index(1, 1), QStringLiteral("LUIS ALBERTO")));
        QVERIFY(grid->model()->setData(grid->model()->index(1, 3), 3));
        grid->selectRow(0);
        const auto found = Login::findByPassword(operador, QStringLiteral("luis"));
        QVERIFY(found);
        QCOMPARE(found->name, QStringLiteral("LUIS ALBERTO"));
        QCOMPARE(found->level, 3);
    }

    // Titles sort by code, name and level; the password column does not sort.
    void titleClickSortsByTheColumn()
    {
        OperatorsScene scene;
        QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
        vx::Table &operador = *scene.shop.dm->Operador;
        operador.setIndexFieldNames(QStringLiteral("OPECOD"));
        QHeaderView *header = scene.window.DBGrid1->horizontalHeader();
        const auto clickTitle = [header](int column) {
            const QPoint centre(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                                header->height() / 2);
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
        };
        clickTitle(1);
        QCOMPARE(operador.indexFieldNames(), QStringLiteral("OPEAPE"));
        clickTitle(2);
        QCOMPARE(operador.indexFieldNames(), QStringLiteral("OPEAPE"));
        clickTitle(3);
        QCOMPARE(operador.indexFieldNames(), QStringLiteral("OPENIV"));
        clickTitle(0);
        QCOMPARE(operador.indexFieldNames(), QStringLiteral("OPECOD"));
    }

    void deleteAsksThenRemovesTheOperatorTheGridIsOn()
    {
        OperatorsScene scene;
        scene.shop.addOperator(3, QStringLiteral("LUIS"), QStringLiteral("luis"), 2);
        vx::Table &operador = *scene.shop.dm->Operador;
        operador.setIndexFieldNames(QStringLiteral("OPECOD"));
        operador.refresh();
        scene.window.DBGrid1->selectRow(1);
        QCOMPARE(operador.fieldByName(QStringLiteral("OPECOD"))->asInteger(), 3);

        scene.dialogs.confirmAnswers.enqueue(false);
        QTest::mouseClick(scene.window.BBorrar, Qt::LeftButton);
        QCOMPARE(scene.dialogs.texts(QStringLiteral("confirm")),
                 QStringList{QStringLiteral("Confirma la eliminación de este operador?")});
        QVERIFY(Login::findByPassword(operador, QStringLiteral("luis")));

        scene.dialogs.confirmAnswers.enqueue(true);
        QTest::mouseClick(scene.window.BBorrar, Qt::LeftButton);
        QVERIFY(!Login::findByPassword(operador, QStringLiteral("luis")));
        QVERIFY(Login::findByPassword(operador, QStringLiteral("admin")));
        QCOMPARE(scene.shop.operatorCount(), 1);
    }

    void closeEmptiesAndClosesTheTable()
    {
        OperatorsScene scene;
        scene.fill(QStringLiteral("5"), QString(), QString(), QString(), QString());
        QTest::mouseClick(scene.window.BCerrar, Qt::LeftButton);
        QVERIFY(scene.boxesEmpty());
        QVERIFY(!scene.shop.dm->Operador->active());
        QVERIFY(!scene.window.isVisible());
    }

    // Each opening has a window of its own, shown modally on the open table, gone afterwards.
    void freshWindowForEveryOpening()
    {
        ShellShop shop;
        vx::ui::FakeDialogs dialogs;
        QWidget owner;
        QList<QPointer<TFOpera>> seen;
        QList<bool> ownedAndOpen;
        dialogs.onModal = [&](QDialog *dialog) {
            auto *window = qobject_cast<TFOpera *>(dialog);
            seen << window;
            ownedAndOpen << (window && window->parentWidget() == &owner && DM1->Operador->active());
            return int(QDialog::Accepted);
        };
        openOperators(&owner);
        openOperators(&owner);
        QCOMPARE(seen.size(), 2);
        QCOMPARE(ownedAndOpen, QList<bool>({true, true}));
        QCOMPARE(dialogs.texts(QStringLiteral("modal")).size(), 2);
        QVERIFY(seen[0].isNull() && seen[1].isNull());
        QVERIFY(!DM1->Operador->active());
    }
};

QTEST_MAIN(TestOperators)
#include "tst_operators.moc"
