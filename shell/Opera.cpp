#include "shell/Opera.h"

#include "data/DataModule.h"
#include "platform/db/DataSource.h"
#include "platform/db/DbError.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"
#include "shell/OperatorStore.h"
#include "shell/PanelWidgets.h"

#include <QFocusEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <exception>

namespace {

bool leftByOperator(const QFocusEvent *event)
{
    return event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
}

}  // namespace

TFOpera::TFOpera(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FOpera"));
    setWindowTitle(QStringLiteral("Operadores"));

    EdCod = addBox("EdCod", 2);
    EdApe = addBox("EdApe", 30);
    EdCla = addBox("EdCla", 10);
    EdCla2 = addBox("EdCla2", 10);
    EdNiv = addBox("EdNiv", 2);
    showAsAsterisks(EdCla);
    showAsAsterisks(EdCla2);
    const int digit = EdCod->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    EdCod->setMaximumWidth(digit * 6);
    EdNiv->setMaximumWidth(digit * 6);
    EdCla->setMaximumWidth(digit * 16);
    EdCla2->setMaximumWidth(digit * 16);
    // Pasted text meets the same rule as typed keys.
    EdNiv->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[1-9]{0,2}")), EdNiv));
    EdApe->setUpperCase(true);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Codigo"), EdCod);
    form->addRow(QStringLiteral("Apellido y Nombre"), EdApe);
    form->addRow(QStringLiteral("Clave Personal"), EdCla);
    form->addRow(QStringLiteral("Reingrese Clave"), EdCla2);
    form->addRow(QStringLiteral("Nivel"), EdNiv);

    const auto button = [this](const char *name, const QString &caption, void (TFOpera::*handler)()) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    BConfirmar = button("BConfirmar", QStringLiteral("C&onfirmar"), &TFOpera::BConfirmarClick);
    BCancelar = button("BCancelar", QStringLiteral("C&ancelar"), &TFOpera::BCancelarClick);
    BBorrar = button("BBorrar", QStringLiteral("&Borrar Operador"), &TFOpera::BBorrarClick);
    BCerrar = button("BCerrar", QStringLiteral("&Cerrar"), &TFOpera::BCerrarClick);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(BConfirmar);
    buttons->addWidget(BCancelar);
    buttons->addStretch(1);
    buttons->addWidget(BBorrar);
    buttons->addWidget(BCerrar);

    createGrid();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(DBNavigator1);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(form);
    layout->addLayout(buttons);
    resize(640, 500);
}

void TFOpera::createGrid()
{
    DBNavigator1 = new vx::ui::DBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    using vx::ui::NavigatorButton;
    DBNavigator1->setVisibleButtons(NavigatorButton::First | NavigatorButton::Prior | NavigatorButton::Next
                                    | NavigatorButton::Last | NavigatorButton::Refresh);
    DBNavigator1->setHint(NavigatorButton::First, QStringLiteral("Primer Registro"));
    DBNavigator1->setHint(NavigatorButton::Prior, QStringLiteral("Registro Anterior"));
    DBNavigator1->setHint(NavigatorButton::Next, QStringLiteral("Registro Siguiente"));
    DBNavigator1->setHint(NavigatorButton::Last, QStringLiteral("Ultimo Registro"));
    DBNavigator1->setHint(NavigatorButton::Refresh, QStringLiteral("Refresh de Pantalla"));
    DBNavigator1->setDataSource(DM1->DSOpe);

    DBGrid1 = new vx::ui::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    vx::ui::GridColumn password{QStringLiteral("OPECLA"), QStringLiteral("Clave de Acceso"), 14};
    password.readOnly = true;
    DBGrid1->setColumns({{QStringLiteral("OPECOD"), QStringLiteral("Cod"), 5},
                         {QStringLiteral("OPEAPE"), QStringLiteral("Apellido y Nombre"), 30},
                         password,
                         {QStringLiteral("OPENIV"), QStringLiteral("Nivel"), 6}});
    // Code, name and level are edited in place and stored when the row is left.
    DBGrid1->setReadOnly(false);
    DBGrid1->setDataSource(DM1->DSOpe);
    connect(DBGrid1, &vx::ui::DBGrid::TitleClick, this, &TFOpera::DBGrid1TitleClick);
    // Connected after the grid, so that the level typed into its cell is already in the field.
    connect(DM1->DSOpe, &vx::DataSource::updateData, this, &TFOpera::keepAnAdministrator);
}

vx::ui::Edit *TFOpera::addBox(const char *name, int maxLength)
{
    auto *box = new vx::ui::Edit(maxLength, false, this);
    box->setObjectName(QLatin1String(name));
    box->installEventFilter(this);
    return box;
}

bool TFOpera::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == EdCod && event->type() == QEvent::MouseButtonPress) {
        EdCodClick();
    } else if (event->type() == QEvent::FocusOut && leftByOperator(static_cast<QFocusEvent *>(event))) {
        if (watched == EdCla)
            EdClaExit();
        else if (watched == EdCla2)
            EdCla2Exit();
    } else if (watched == EdNiv && event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent *>(event)->text();
        // Keys without a character (arrows, Delete) and the editing controls pass as they are.
        const bool character = !text.isEmpty() && (text.front().isPrint() || text.front() == QChar(0x08));
        if (character && !EdNivKeyPress(text.front()))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFOpera::EdCodClick()
{
    if (!EdCod->text().isEmpty())
        return;
    try {
        EdCod->setText(QString::number(OperatorStore::nextCode(*DM1->Operador)));
        EdApe->setFocus();
    } catch (const vx::DbError &e) {
        vx::ui::dialogs().showException(this, e);
    }
}

void TFOpera::EdClaExit()
{
    if (EdCla->text().isEmpty())
        return;
    try {
        if (!OperatorStore::passwordInUse(*DM1->Operador, EdCla->text()))
            return;
    } catch (const vx::DbError &e) {
        vx::ui::dialogs().showException(this, e);
        return;
    }
    vx::ui::dialogs().showMessage(QStringLiteral("Clave existente, modifique el valor."));
    EdCla->clear();
    EdCla->setFocus();
}

void TFOpera::EdCla2Exit()
{
    if (EdCla2->text() != EdCla->text())
        passwordsDiffer();
}

void TFOpera::passwordsDiffer()
{
    vx::ui::dialogs().showMessage(QStringLiteral("Claves diferentes. Reingrese el valor."));
    EdCla->clear();
    EdCla2->clear();
    EdCla->setFocus();
}

bool TFOpera::EdNivKeyPress(QChar key)
{
    if (OperatorStore::isLevelKey(key))
        return true;
    vx::ui::dialogs().showMessage(QStringLiteral("El valor debe ser entre 1 y 9"));
    return false;
}

void TFOpera::BConfirmarClick()
{
    const OperatorStore::NewOperator entry{EdCod->text(), EdApe->text(), EdCla->text(), EdCla2->text(), EdNiv->text()};
    if (!entry.complete()) {
        vx::ui::dialogs().showMessage(QStringLiteral("Falta ingresar datos..."));
        return;
    }
    // The first password may have changed after the second was checked against it.
    if (entry.password != entry.passwordAgain) {
        passwordsDiffer();
        return;
    }
    try {
        OperatorStore::add(*DM1->Operador, entry);
    } catch (const std::exception &) {
        vx::ui::dialogs().showMessage(QStringLiteral("No se pudo completar el proceso."));
        return;
    }
    vx::ui::dialogs().showMessage(QStringLiteral("Proceso concluido."));
    clearBoxes();
}

void TFOpera::BCancelarClick()
{
    clearBoxes();
}

void TFOpera::BBorrarClick()
{
    if (!vx::ui::dialogs().confirm(this, QStringLiteral("Confirma la eliminación de este operador?"), QString()))
        return;
    vx::Table &operador = *DM1->Operador;
    // A failure leaves the operator in place; the grid shows that it is still there.
    try {
        if (!operador.active() || operador.isEmpty())
            return;
        if (OperatorStore::removesLastAdministrator(operador, true)) {
            vx::ui::dialogs().showMessage(QString::fromUtf8(OperatorStore::lastAdministratorMessage));
            return;
        }
        operador.deleteRecord();
    } catch (const vx::DbError &) {
    }
}

void TFOpera::keepAnAdministrator()
{
    vx::Table &operador = *DM1->Operador;
    if (operador.state() != vx::Dataset::State::Edit
        || !OperatorStore::removesLastAdministrator(operador, false))
        return;
    // The row is stored with the rest of what was typed; only the level goes back.
    operador.fieldByName(QStringLiteral("OPENIV"))->setAsInteger(OperatorStore::administratorLevel);
    vx::ui::dialogs().showMessage(QString::fromUtf8(OperatorStore::lastAdministratorMessage));
}

void TFOpera::BCerrarClick()
{
    clearBoxes();
    if (DM1->Operador->active())
        DM1->Operador->close();
    accept();
}

void TFOpera::DBGrid1TitleClick(int column)
{
    const QString field = DBGrid1->column(column).fieldName;
    if (field != QLatin1String("OPECOD") && field != QLatin1String("OPEAPE") && field != QLatin1String("OPENIV"))
        return;
    try {
        DM1->Operador->setIndexFieldNames(field);
    } catch (const vx::DbError &e) {
        vx::ui::dialogs().showException(this, e);
    }
}

void TFOpera::clearBoxes()
{
    for (QLineEdit *box : {EdCod, EdApe, EdCla, EdCla2, EdNiv})
        box->clear();
}

void openOperators(QWidget *owner)
{
    auto *window = new TFOpera(owner);
    try {
        if (!DM1->Operador->active())
            DM1->Operador->open();
        // The login leaves the table in password order, which would tell how the passwords sort.
        DM1->Operador->setIndexFieldNames(QStringLiteral("OPECOD"));
        vx::ui::dialogs().showModal(window);
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(owner, failure);
    }
    if (DM1->Operador->active())
        DM1->Operador->close();
    delete window;
}
