#include "suppliers/ConsProv.h"

#include "app/QueryBoxes.h"
#include "data/DataModule.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/DateTimeValue.h"
#include "platform/db/Field.h"
#include "platform/report/Report.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"
#include "platform/ui/KeyFilter.h"
#include "platform/ui/NamedControls.h"
#include "platform/ui/PickList.h"
#include "suppliers/ConsProvReport.h"
#include "suppliers/SupplierPayment.h"
#include "suppliers/SupplierPickList.h"
#include "suppliers/SupplierStore.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using suppliers::AccountColumn;

namespace {

const QString amountOrBlank = QStringLiteral("#,##0.00;-#,##0.00; ");

vx::Connection &shop()
{
    return *DM1->ADOConnection1;
}

QDate today()
{
    return vx::naiveNow().date();
}

QDate firstOfMonth()
{
    const QDate now = today();
    return QDate(now.year(), now.month(), 1);
}

vx::ui::Edit *dateBox(QWidget *parent, const char *name)
{
    auto *edit = new vx::ui::Edit(10, false, parent);
    edit->setObjectName(QLatin1String(name));
    vx::ui::filterDateKeys(edit);
    edit->setMaximumWidth(110);
    return edit;
}

} // namespace

TFConsProv::TFConsProv(QWidget *parent)
    : QDialog(parent), m_list(DM1->ADOConnection1, QStringLiteral("TMP1"), QStringLiteral("TMP1ConsProv"), this)
{
    setObjectName(QStringLiteral("FConsProv"));
    setWindowTitle(QStringLiteral("Consulta de Proveedores"));
    createControls();
    layoutControls();
}

TFConsProv::~TFConsProv() = default;

void TFConsProv::createControls()
{
    CBCli = suppliers::newSupplierPickList(this, "CBCli");
    CBCli->setSorted(true);
    CBCli->setToolTip(QStringLiteral("Doble Click para seleccionar"));
    LabCli = new QLabel(this);
    LabCli->setObjectName(QStringLiteral("LabCli"));
    LabCli->setMinimumWidth(50);
    EdFecD = dateBox(this, "EdFecD");
    EdFecH = dateBox(this, "EdFecH");
    BConsultar = vx::ui::namedButton(this, "BConsultar", QStringLiteral("&Consultar"));

    DBGrid1 = new vx::ui::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setColumns({{QLatin1String(AccountColumn::date), QStringLiteral("Fecha"), 10},
                         {QLatin1String(AccountColumn::kind), QStringLiteral("Tipo"), 5},
                         {QLatin1String(AccountColumn::number), QStringLiteral("Comprobante"), 11},
                         {QLatin1String(AccountColumn::owed), QStringLiteral("Debe"), 11},
                         {QLatin1String(AccountColumn::paid), QStringLiteral("Haber"), 11},
                         {QLatin1String(AccountColumn::balance), QStringLiteral("Saldo"), 11},
                         {QLatin1String(AccountColumn::note), QStringLiteral("Observaciones"), 24}});
    DBGrid1->setReadOnly(true);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setDataSource(m_list.source);

    EdSalAnt = vx::ui::readOnlyFigureBox(this, "EdSalAnt");
    EdDebe = vx::ui::readOnlyFigureBox(this, "EdDebe");
    EdHaber = vx::ui::readOnlyFigureBox(this, "EdHaber");
    EdSaldo = vx::ui::readOnlyFigureBox(this, "EdSaldo");
    BImp = vx::ui::namedButton(this, "BImp", QStringLiteral("&Imprimir"));
    BExportar = vx::ui::namedButton(this, "BExportar", QStringLiteral("&Exportar"));
    BBSalir = vx::ui::namedButton(this, "BBSalir", QStringLiteral("&Salir"));

    connect(CBCli, &QComboBox::activated, this, &TFConsProv::CBCliSelect);
    // Enter on a name already chosen, or on one no supplier has, still reads (or tells) it.
    connect(CBCli->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        const int found = CBCli->findText(CBCli->currentText());
        if (found < 0 || found == CBCli->currentIndex())
            CBCliSelect();
    });
    for (QLineEdit *date : {EdFecD, EdFecH}) {
        connect(date, &QLineEdit::editingFinished, this, [this, date] {
            app::normaliseDateBox(date, date == EdFecD ? firstOfMonth() : today(), this);
        });
    }
    connect(BConsultar, &QPushButton::clicked, this, &TFConsProv::BConsultarClick);
    connect(BImp, &QPushButton::clicked, this, &TFConsProv::BImpClick);
    connect(BExportar, &QPushButton::clicked, this, &TFConsProv::BExportarClick);
    connect(BBSalir, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
}

void TFConsProv::layoutControls()
{
    auto *header = new QGridLayout;
    header->addWidget(vx::ui::captionFor(QStringLiteral("Proveedor:"), CBCli), 0, 0);
    header->addWidget(CBCli, 0, 1, 1, 3);
    header->addWidget(LabCli, 0, 4);
    header->addWidget(vx::ui::captionFor(QStringLiteral("Desde:"), EdFecD), 1, 0);
    header->addWidget(EdFecD, 1, 1);
    header->addWidget(vx::ui::captionFor(QStringLiteral("Hasta:"), EdFecH), 1, 2);
    header->addWidget(EdFecH, 1, 3);
    header->addWidget(BConsultar, 1, 4);
    header->setColumnStretch(5, 1);

    auto *totals = new QGridLayout;
    vx::ui::addCaptionedBoxes(totals, 0,
                              {{QStringLiteral("Saldo Anterior"), EdSalAnt},
                               {QStringLiteral("Debe"), EdDebe},
                               {QStringLiteral("Haber"), EdHaber},
                               {QStringLiteral("Saldo"), EdSaldo}});

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BImp);
    buttons->addWidget(BExportar);
    buttons->addWidget(BBSalir);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(totals);
    layout->addLayout(buttons);
    resize(860, 540);
}

void TFConsProv::prepare()
{
    shop().execute(QStringLiteral("DELETE FROM TMP1"));
    shop().noteWrite();
    vx::Table &lines = *m_list.table;
    lines.setIndexFieldNames(QLatin1String(AccountColumn::line));
    lines.open();
    lines.fieldByName(QLatin1String(AccountColumn::number))->setDisplayFormat(QStringLiteral("0; ; "));
    for (const char *amount : {AccountColumn::owed, AccountColumn::paid})
        lines.fieldByName(QLatin1String(amount))->setDisplayFormat(amountOrBlank);
    lines.fieldByName(QLatin1String(AccountColumn::balance))->setDisplayFormat(QStringLiteral("#,##0.00"));
    CBCli->setItems(suppliers::supplierNames(shop()));
    CBCli->setEditText(QString());
    LabCli->clear();
    m_supplier.reset();
    m_supplierName.clear();
    EdFecD->setText(vx::shopformat::formatDate(firstOfMonth()));
    EdFecH->setText(vx::shopformat::formatDate(today()));
    clearAccount();
}

std::optional<int> TFConsProv::chosenSupplier()
{
    const QString name = CBCli->currentText().trimmed();
    if (m_supplier && name == m_supplierName)
        return m_supplier;
    const std::optional<int> code = name.isEmpty() ? std::nullopt : suppliers::supplierCodeByName(shop(), name);
    if (!code) {
        vx::ui::dialogs().showMessage(suppliers::noSupplierMessage());
        CBCli->setFocus();
        return std::nullopt;
    }
    m_supplier = code;
    m_supplierName = name;
    LabCli->setText(QString::number(*code));
    return code;
}

void TFConsProv::CBCliSelect()
{
    // The list also reports a name when the window closes and the box loses the focus: the
    // account is gone by then and nothing is read.
    if (!m_list.table->active())
        return;
    BConsultarClick();
}

void TFConsProv::BConsultarClick()
{
    try {
        const std::optional<int> supplier = chosenSupplier();
        if (!supplier)
            return;
        const std::optional<vx::DayRange> days = app::readDays(EdFecD, EdFecH, firstOfMonth(), today(), this);
        if (!days)
            return;
        if (days->isEmpty()) {
            vx::ui::dialogs().showMessage(QStringLiteral("La fecha Desde es posterior a la fecha Hasta."));
            EdFecD->setFocus();
            return;
        }
        showAccount(*supplier, *days);
    } catch (const std::exception &failure) {
        clearAccount();
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFConsProv::showAccount(int supplier, const vx::DayRange &days)
{
    suppliers::writeAccount(shop(), supplier, days);
    m_totals = suppliers::accountTotals(shop());
    m_days = days;
    m_list.table->refresh();
    m_list.table->last();
    EdSalAnt->setText(app::totalText(m_totals.opening, true));
    EdDebe->setText(app::totalText(m_totals.owed, true));
    EdHaber->setText(app::totalText(m_totals.paid, true));
    EdSaldo->setText(app::totalText(m_totals.closing, true));
}

void TFConsProv::clearAccount()
{
    m_days.reset();
    m_totals = {};
    if (m_list.table->active()) {
        shop().execute(QStringLiteral("DELETE FROM TMP1"));
        shop().noteWrite();
        m_list.table->refresh();
    }
    for (QLineEdit *total : {EdSalAnt, EdDebe, EdHaber, EdSaldo})
        total->setText(app::totalText(0, true));
}

QString TFConsProv::title() const
{
    return QStringLiteral("Cuenta Corriente de %1 desde el %2 hasta el %3")
        .arg(m_supplierName, m_days->firstText(), m_days->lastText());
}

void TFConsProv::BImpClick()
{
    if (!m_days) {
        vx::ui::dialogs().showMessage(QStringLiteral("Consulte primero la cuenta de un proveedor."));
        return;
    }
    try {
        suppliers::qrCuentaProv(*m_list.table, QStringLiteral("%1 (%2)").arg(m_supplierName).arg(*m_supplier), *m_days,
                                m_totals)
            ->preview(this);
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFConsProv::BExportarClick()
{
    if (!m_days) {
        vx::ui::dialogs().showMessage(QStringLiteral("Consulte primero la cuenta de un proveedor."));
        return;
    }
    app::exportList(this, *m_list.table, title(),
                    {{QLatin1String(AccountColumn::date), QStringLiteral("Fecha")},
                     {QLatin1String(AccountColumn::kind), QStringLiteral("Tipo")},
                     {QLatin1String(AccountColumn::number), QStringLiteral("Comprobante")},
                     {QLatin1String(AccountColumn::owed), QStringLiteral("Debe")},
                     {QLatin1String(AccountColumn::paid), QStringLiteral("Haber")},
                     {QLatin1String(AccountColumn::balance), QStringLiteral("Saldo")},
                     {QLatin1String(AccountColumn::note), QStringLiteral("Observaciones")}});
}

void TFConsProv::done(int result)
{
    // The scratch lines are the workstation's own; nothing of them outlives the window.
    try {
        if (m_list.table->active()) {
            shop().execute(QStringLiteral("DELETE FROM TMP1"));
            shop().noteWrite();
            m_list.table->close();
        }
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
    m_days.reset();
    QDialog::done(result);
}

void openConsProv(QWidget *parent)
{
    vx::ui::openPrepared<TFConsProv>(parent);
}
