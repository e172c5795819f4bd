#include "shell/Password.h"

#include "data/DataModule.h"
#include "platform/db/DbError.h"
#include "platform/ui/Dialogs.h"
#include "app/Aguarde.h"
#include "shell/Ficha1.h"
#include "shell/PanelWidgets.h"
#include "shell/Termination.h"
#include "app/uGlobales.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

TFIngreso *FIngreso = nullptr;

TFIngreso::TFIngreso(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FIngreso"));
    setWindowTitle(QStringLiteral("Clave de Acceso"));

    Label1 = new QLabel(QStringLiteral("Ingrese su Clave de Acceso:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Password = new QLineEdit(this);
    Password->setObjectName(QStringLiteral("Password"));
    showAsAsterisks(Password);
    Label1->setBuddy(Password);

    auto *buttons = new QDialogButtonBox(this);
    OKBtn = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = buttons->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    connect(OKBtn, &QPushButton::clicked, this, &TFIngreso::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TFIngreso::CancelBtnClick);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 14);
    layout->setSpacing(10);
    layout->addWidget(Label1);
    layout->addWidget(Password);
    layout->addSpacing(6);
    layout->addWidget(buttons);
    setMinimumWidth(320);
    FIngreso = this;
}

TFIngreso::~TFIngreso()
{
    if (FIngreso == this)
        FIngreso = nullptr;
}

void TFIngreso::OKBtnClick()
{
    aguarde::close();
    std::optional<Login::Operator> found;
    try {
        found = Login::findByPassword(*DM1->Operador, Password->text());
    } catch (const vx::DbError &e) {
        vx::ui::dialogs().showException(this, e);
        return;
    }
    if (!found) {
        vx::ui::dialogs().showMessage(QStringLiteral("Clave Incorrecta."));
        Password->clear();
        Password->setFocus();
        if (m_failures.addFailure()) {
            leave();
            terminateApplication();
        }
        return;
    }
    m_failures.reset();
    FF1->Panel1->setCaption(Login::statusLine(*found));
    uGlobales::session().accessLevel = found->level;
    uGlobales::session().operatorCode = found->code;
    uGlobales::setAllArticleListsChanged();
    Menu();
    FF1->show();
    leave();
}

void TFIngreso::CancelBtnClick()
{
    terminateApplication();
}

void TFIngreso::reject()
{
    CancelBtnClick();
}

void TFIngreso::Menu()
{
    const int level = uGlobales::session().accessLevel;
    const auto menuVisible = [](QMenu *menu, bool visible) { menu->menuAction()->setVisible(visible); };
    // Copies of the whole shop are the administrator's.
    FF1->CopiadeSeguridad1->setVisible(level == 9);
    if (level == 9) {
        for (QMenu *menu : {FF1->STOCK1, FF1->INGRESOS2, FF1->EGRESOS1, FF1->VENTAS2, FF1->CAJA1, FF1->Clientes1})
            menuVisible(menu, true);
        FF1->Imagenes1->setVisible(true);
        FF1->Operadores1->setEnabled(true);
        FF1->Operadores1->setVisible(true);
    } else if (level == 1) {
        FF1->Imagenes1->setVisible(true);
        for (QMenu *menu : {FF1->VENTAS2, FF1->CAJA1, FF1->Clientes1})
            menuVisible(menu, false);
        FF1->Operadores1->setEnabled(false);
        FF1->Operadores1->setVisible(false);
    } else if (level == 2) {
        menuVisible(FF1->VENTAS2, true);
        menuVisible(FF1->CAJA1, true);
        for (QMenu *menu : {FF1->STOCK1, FF1->INGRESOS2, FF1->EGRESOS1, FF1->Clientes1})
            menuVisible(menu, false);
        FF1->Operadores1->setEnabled(false);
        FF1->Operadores1->setVisible(false);
    }
}

// The login window goes for good; hiding first keeps its close from ending the program.
void TFIngreso::leave()
{
    hide();
    deleteLater();
}
