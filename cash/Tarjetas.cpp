#include "cash/Tarjetas.h"

#include "cash/BankStore.h"
#include "data/DataModule.h"
#include "platform/db/Table.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton *button(QDialog *window, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, window);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

const QString notSavedMessage = QStringLiteral("No se pudo completar la grabación...");

} // namespace

TFTarjetas::TFTarjetas(QWidget *parent)
    : QDialog(parent), m_cards(DM1->ADOConnection1, QStringLiteral("TARJETAS"), QStringLiteral("Tarjetas"), this)
{
    setObjectName(QStringLiteral("FTarjetas"));
    setWindowTitle(QStringLiteral("Archivo de tarjetas"));
    createControls();
}

TFTarjetas::~TFTarjetas() = default;

void TFTarjetas::createControls()
{
    EdCod = new vx::ui::Edit(3, false, this);
    EdCod->setObjectName(QStringLiteral("EdCod"));
    EdCod->installEventFilter(this);
    EdNom = new vx::ui::Edit(50, true, this);
    EdNom->setObjectName(QStringLiteral("EdNom"));
    CBCtas = new QComboBox(this);
    CBCtas->setObjectName(QStringLiteral("CBCtas"));
    connect(CBCtas, &QComboBox::currentIndexChanged, this, &TFTarjetas::CBCtasChange);
    DBText1 = new QLabel(this);
    DBText1->setObjectName(QStringLiteral("DBText1"));
    EdDias = new vx::ui::Edit(5, false, this);
    EdDias->setObjectName(QStringLiteral("EdDias"));
    BGrabar = button(this, "BGrabar", QStringLiteral("&Grabar"));
    BCancelar = button(this, "BCancelar", QStringLiteral("&Cancelar"));
    BSalir = button(this, "BSalir", QStringLiteral("&Salir"));
    connect(BGrabar, &QPushButton::clicked, this, &TFTarjetas::BGrabarClick);
    connect(BCancelar, &QPushButton::clicked, this, &TFTarjetas::BCancelarClick);
    connect(BSalir, &QPushButton::clicked, this, &TFTarjetas::BSalirClick);

    using vx::ui::NavigatorButton;
    DBNavigator1 = new vx::ui::DBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setVisibleButtons(NavigatorButton::First | NavigatorButton::Prior | NavigatorButton::Next |
                                    NavigatorButton::Last | NavigatorButton::Delete);
    DBNavigator1->setDataSource(m_cards.source);
    DBGrid1 = new vx::ui::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setColumns({{QStringLiteral("TARCOD"), QStringLiteral("Cód. Tarj."), 8},
                         {QStringLiteral("TARNOM"), QStringLiteral("Nombre de la Tarjeta"), 24},
                         {QStringLiteral("TARBCO"), QStringLiteral("Banco donde Acredita"), 24},
                         {QStringLiteral("TARCTA"), QStringLiteral("Cuenta donde Acredita"), 18},
                         {QStringLiteral("TARDIA"), QStringLiteral("Dias Acred."), 8}});
    DBGrid1->setReadOnly(true);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setDataSource(m_cards.source);

    auto *boxes = new QFormLayout;
    boxes->addRow(QStringLiteral("Código: "), EdCod);
    boxes->addRow(QStringLiteral("Nombre: "), EdNom);
    auto *account = new QHBoxLayout;
    account->addWidget(CBCtas, 1);
    account->addWidget(DBText1, 1);
    boxes->addRow(QStringLiteral("Acredita en Cuenta No.: "), account);
    boxes->addRow(QStringLiteral("Plazo para Acreditarse (días):"), EdDias);
    EdCod->setMaximumWidth(80);
    EdDias->setMaximumWidth(80);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BGrabar);
    buttons->addWidget(BCancelar);
    buttons->addWidget(BSalir);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(boxes);
    layout->addLayout(buttons);
    layout->addWidget(DBNavigator1);
    layout->addWidget(DBGrid1, 1);
    resize(720, 460);
}

void TFTarjetas::prepare()
{
    m_cards.table->open();
    const QSignalBlocker quiet(CBCtas);
    CBCtas->clear();
    CBCtas->addItems(cash::accountNumbers(*DM1->ADOConnection1));
    BCancelarClick();
}

bool TFTarjetas::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == EdCod && event->type() == QEvent::MouseButtonPress)
        EdCodClick();
    return QDialog::eventFilter(watched, event);
}

void TFTarjetas::EdCodClick()
{
    m_cards.table->setIndexFieldNames(QStringLiteral("TARCOD"));
    m_cards.table->last();
    EdCod->setText(QString::number(cash::nextCardCode(*DM1->ADOConnection1)));
}

void TFTarjetas::CBCtasChange()
{
    DBText1->setText(cash::accountBankName(*DM1->ADOConnection1, CBCtas->currentText()));
}

void TFTarjetas::BGrabarClick()
{
    const std::optional<int> code = cash::wholeNumber(EdCod->text());
    const std::optional<int> days = cash::wholeNumber(EdDias->text());
    if (!code || !days) {
        vx::ui::dialogs().error(this, notSavedMessage, windowTitle());
        return;
    }
    try {
        cash::addCard(*DM1->ADOConnection1, {*code, EdNom->text(), CBCtas->currentText(), *days});
    } catch (const cash::BankError &error) {
        vx::ui::dialogs().error(this, error.message(), windowTitle());
        return;
    }
    m_cards.table->refresh();
    vx::ui::dialogs().showMessage(QStringLiteral("Proceso Terminado."));
}

void TFTarjetas::BCancelarClick()
{
    EdCod->clear();
    EdNom->clear();
    CBCtas->setCurrentIndex(-1);
    DBText1->clear();
    EdDias->clear();
}

void TFTarjetas::BSalirClick()
{
    BCancelarClick();
    done(QDialog::Rejected);
}

void TFTarjetas::reject()
{
    BSalirClick();
}

void openTarjetas(QWidget *parent)
{
    TFTarjetas window(parent);
    window.prepare();
    vx::ui::dialogs().showModal(&window);
}
