#include "cash/BcosPpio.h"

#include "cash/BankStore.h"
#include "data/DataModule.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/Field.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QVBoxLayout>

namespace {

QPushButton *button(QDialog *window, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, window);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

TFBcosPpio::TFBcosPpio(QWidget *parent)
    : QDialog(parent), m_accounts(DM1->ADOConnection1, QStringLiteral("CTAPROP"), QStringLiteral("CtaProp"), this)
{
    setObjectName(QStringLiteral("FBcosPpio"));
    setWindowTitle(QStringLiteral("Cuentas Propias"));
    createControls();
}

TFBcosPpio::~TFBcosPpio() = default;

void TFBcosPpio::createControls()
{
    CBCC = new QComboBox(this);
    CBCC->setObjectName(QStringLiteral("CBCC"));
    CBCC->setEditable(true);
    CBCC->lineEdit()->setMaxLength(3);
    // The combo box passes its focus changes to its line edit directly: both are watched.
    CBCC->installEventFilter(this);
    CBCC->lineEdit()->installEventFilter(this);
    CBDC = new QComboBox(this);
    CBDC->setObjectName(QStringLiteral("CBDC"));
    connect(CBDC, &QComboBox::activated, this, &TFBcosPpio::CBDCChange);
    EdCod = new vx::ui::Edit(3, false, this);
    EdCod->setObjectName(QStringLiteral("EdCod"));
    EdCod->installEventFilter(this);
    EdNombre = new vx::ui::Edit(35, true, this);
    EdNombre->setObjectName(QStringLiteral("EdNombre"));
    EdCta = new vx::ui::Edit(50, false, this);
    EdCta->setObjectName(QStringLiteral("EdCta"));
    BGrabar = button(this, "BGrabar", QStringLiteral("&Agregar"));
    BCerrar = button(this, "BCerrar", QStringLiteral("&Cerrar"));
    connect(BGrabar, &QPushButton::clicked, this, &TFBcosPpio::BGrabarClick);
    connect(BCerrar, &QPushButton::clicked, this, &TFBcosPpio::BCerrarClick);

    using vx::ui::NavigatorButton;
    DBNavigator1 = new vx::ui::DBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setVisibleButtons(NavigatorButton::First | NavigatorButton::Prior | NavigatorButton::Next |
                                    NavigatorButton::Last | NavigatorButton::Delete | NavigatorButton::Refresh);
    DBNavigator1->setDataSource(m_accounts.source);
    DBGrid1 = new vx::ui::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setColumns({{QStringLiteral("CTACOD"), QStringLiteral("Cód.Cta"), 7},
                         {QStringLiteral("CTADES"), QStringLiteral("Descripción"), 30},
                         {QStringLiteral("CTANRO"), QStringLiteral("Número de Cta."), 20}});
    DBGrid1->setReadOnly(true);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setDataSource(m_accounts.source);
    connect(DBGrid1, &QAbstractItemView::clicked, this, &TFBcosPpio::DBGrid1CellClick);
    DBEdit1 = new QLineEdit(this);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit1->setReadOnly(true);

    auto *entry = new QGridLayout;
    entry->addWidget(new QLabel(QStringLiteral("Seleccionar Banco"), this), 0, 0);
    entry->addWidget(CBCC, 0, 1);
    entry->addWidget(CBDC, 0, 2, 1, 2);
    entry->addWidget(new QLabel(QStringLiteral("Cód. y Denominación de la Cuenta"), this), 1, 0);
    entry->addWidget(EdCod, 1, 1);
    entry->addWidget(EdNombre, 1, 2, 1, 2);
    entry->addWidget(new QLabel(QStringLiteral("Número Cta."), this), 2, 0);
    entry->addWidget(EdCta, 2, 1, 1, 2);
    entry->addWidget(BGrabar, 2, 3);
    entry->setColumnStretch(2, 1);
    CBCC->setMaximumWidth(80);
    EdCod->setMaximumWidth(80);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(entry);
    layout->addWidget(DBNavigator1);
    layout->addWidget(DBGrid1, 1);
    layout->addWidget(DBEdit1);
    layout->addWidget(BCerrar, 0, Qt::AlignRight);
    resize(580, 460);
}

void TFBcosPpio::prepare()
{
    m_accounts.table->setIndexFieldNames(QStringLiteral("CTABCO"));
    m_accounts.table->open();
    CBCC->clear();
    CBDC->clear();
    QSqlQuery banks = DM1->ADOConnection1->execute(QStringLiteral("SELECT BANCOD, BANDES FROM BANCO ORDER BY BANCOD"));
    while (banks.next()) {
        CBCC->addItem(QString::number(qRound64(banks.value(0).toDouble())));
        CBDC->addItem(banks.value(1).toString());
    }
    clearBoxes();
    DBEdit1->clear();
}

bool TFBcosPpio::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == EdCod && event->type() == QEvent::MouseButtonPress)
        EdCodClick();
    else if ((watched == CBCC || watched == CBCC->lineEdit()) && event->type() == QEvent::FocusOut)
        CBCCExit();
    return QDialog::eventFilter(watched, event);
}

void TFBcosPpio::CBCCExit()
{
    const int index = CBCC->findText(CBCC->currentText().trimmed());
    if (index >= 0)
        CBDC->setCurrentIndex(index);
}

void TFBcosPpio::CBDCChange(int index)
{
    // Both lists hold the banks in one order: the chosen name's code is at its index.
    if (index >= 0 && index < CBCC->count())
        CBCC->setCurrentIndex(index);
}

void TFBcosPpio::EdCodClick()
{
    m_accounts.table->setIndexFieldNames(QStringLiteral("CTACOD"));
    m_accounts.table->last();
    EdCod->setText(QString::number(cash::nextAccountCode(*DM1->ADOConnection1)));
}

void TFBcosPpio::DBGrid1CellClick()
{
    if (m_accounts.table->isEmpty())
        return;
    const std::optional<QString> name = cash::bankName(
        *DM1->ADOConnection1, m_accounts.table->fieldByName(QStringLiteral("CTABCO"))->asInteger());
    DBEdit1->setText(name.value_or(QString()));
}

void TFBcosPpio::BGrabarClick()
{
    if (EdCod->text().trimmed().isEmpty() || EdCta->text().trimmed().isEmpty()) {
        vx::ui::dialogs().showMessage(QStringLiteral("Revise los Datos: - Cód. y/o Número de la Cuenta Nueva - "));
        clearBoxes();
        return;
    }
    const std::optional<int> bank = cash::wholeNumber(CBCC->currentText());
    const std::optional<int> code = cash::wholeNumber(EdCod->text());
    if (!bank || !code) {
        const QString wrong = bank ? EdCod->text() : CBCC->currentText();
        vx::ui::dialogs().error(this, vx::shopformat::notANumberMessage(wrong), windowTitle());
        clearBoxes();
        return;
    }
    try {
        cash::addAccount(*DM1->ADOConnection1, {*bank, *code, EdNombre->text(), EdCta->text()});
    } catch (const cash::BankError &error) {
        vx::ui::dialogs().error(this, error.message(), windowTitle());
        clearBoxes();
        return;
    }
    m_accounts.table->refresh();
    vx::ui::dialogs().showMessage(QStringLiteral("Proceso Terminado."));
    clearBoxes();
}

void TFBcosPpio::clearBoxes()
{
    CBCC->setCurrentIndex(-1);
    CBCC->setEditText(QString());
    CBDC->setCurrentIndex(-1);
    EdNombre->clear();
    EdCod->clear();
    EdCta->clear();
}

void TFBcosPpio::BCerrarClick()
{
    EdCod->clear();
    EdNombre->clear();
    EdCta->clear();
    done(QDialog::Rejected);
}

void TFBcosPpio::reject()
{
    BCerrarClick();
}

void openBcosPpio(QWidget *parent)
{
    TFBcosPpio window(parent);
    window.prepare();
    vx::ui::dialogs().showModal(&window);
}
