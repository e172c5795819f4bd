#include "cash/RetCaja.h"

#include "app/Aguarde.h"
#include "cash/CashFigures.h"
#include "cash/CashWidgets.h"
#include "data/DataModule.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Dialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFRetCaja::TFRetCaja(QWidget *parent)
    : QDialog(parent), m_history(DM1->ADOConnection1, QStringLiteral("CAJAD"), QStringLiteral("CajaD"), this)
{
    setObjectName(QStringLiteral("FRetCaja"));
    setWindowTitle(QStringLiteral("Retiros por Cierres de Caja"));
    createControls();
}

TFRetCaja::~TFRetCaja() = default;

void TFRetCaja::createControls()
{
    EdDes = cash::dateBox(this, "EdDes");
    EdHas = cash::dateBox(this, "EdHas");
    connect(EdDes, &QLineEdit::editingFinished, this, [this] { cash::leaveDateBox(EdDes); });
    connect(EdHas, &QLineEdit::editingFinished, this, [this] { cash::leaveDateBox(EdHas); });
    BConsultar = new QPushButton(QStringLiteral("Consultar"), this);
    BConsultar->setObjectName(QStringLiteral("BConsultar"));
    BConsultar->setAutoDefault(false);
    connect(BConsultar, &QPushButton::clicked, this, &TFRetCaja::BConsultarClick);
    EdTot = cash::readOnlyBox(this, "EdTot");
    BCerrar = new QPushButton(QStringLiteral("Cerrar"), this);
    BCerrar->setObjectName(QStringLiteral("BCerrar"));
    BCerrar->setAutoDefault(false);
    connect(BCerrar, &QPushButton::clicked, this, &TFRetCaja::BCerrarClick);
    DBNavigator1 = cash::moveNavigator(this, m_history);
    DBGrid1 = new vx::ui::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setColumns({{QStringLiteral("CAJFEC"), QStringLiteral("FECHA"), 10},
                         {QStringLiteral("CAJENT"), QStringLiteral("F.Entrada"), 10},
                         {QStringLiteral("CAJSAL"), QStringLiteral("F.Salida"), 10},
                         {QStringLiteral("CAJIMP"), QStringLiteral("IMPORTE"), 12},
                         {QStringLiteral("CAJCON"), QStringLiteral("CONCEPTO"), 40}});
    DBGrid1->setReadOnly(true);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setDataSource(m_history.source);

    auto *dates = new QHBoxLayout;
    dates->addWidget(new QLabel(QStringLiteral("Desde el:"), this));
    dates->addWidget(EdDes);
    dates->addWidget(new QLabel(QStringLiteral("Hasta el:"), this));
    dates->addWidget(EdHas);
    dates->addWidget(BConsultar);
    dates->addStretch(1);
    auto *total = new QHBoxLayout;
    total->addWidget(new QLabel(QStringLiteral("TOTAL RETIRADO POR CIERRES DE CAJA:"), this));
    total->addWidget(EdTot);
    total->addStretch(1);
    total->addWidget(BCerrar);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(dates);
    layout->addWidget(DBNavigator1);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(total);
    resize(760, 480);
}

void TFRetCaja::openHistory()
{
    history().setIndexFieldNames(QStringLiteral("CAJENT"));
    history().open();
    history().last();
}

// The grid and the total keep to the same rows: those with an entry date in the days given, the
// closings' withdrawals. Payments from the central cash carry only an exit date.
void TFRetCaja::BConsultarClick()
{
    const std::optional<QDate> from = cash::leaveDateBox(EdDes);
    if (!from)
        return;
    const std::optional<QDate> to = cash::leaveDateBox(EdHas);
    if (!to)
        return;
    try {
        history().setFilter(cash::dayRangeFilter(QStringLiteral("CAJENT"), *from, *to));
        history().setFiltered(true);
        EdTot->setText(cash::centsText(cash::closingWithdrawalsCents(*DM1->ADOConnection1, *from, *to)));
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFRetCaja::BCerrarClick()
{
    history().setFiltered(false);
    history().close();
    done(QDialog::Rejected);
}

void TFRetCaja::reject()
{
    BCerrarClick();
}

void openRetCaja(QWidget *parent)
{
    TFRetCaja window(parent);
    aguarde::show();
    try {
        window.openHistory();
    } catch (const std::exception &failure) {
        aguarde::close();
        vx::ui::dialogs().showException(parent, failure);
        return;
    }
    aguarde::close();
    vx::ui::dialogs().showModal(&window);
}
