#include "sales/Anula.h"

#include "data/DataModule.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/DataSource.h"
#include "platform/db/Table.h"
#include "platform/ui/DBEdit.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"
#include "platform/ui/KeyFilter.h"
#include "sales/SaleCancellation.h"
#include "app/Aguarde.h"
#include "app/uGlobales.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFAnula *FAnula = nullptr;

namespace {

vx::ui::DBNavigator *navigator(QWidget *parent, const char *name, vx::DataSource *source)
{
    auto *out = new vx::ui::DBNavigator(parent);
    out->setObjectName(QLatin1String(name));
    using vx::ui::NavigatorButton;
    out->setVisibleButtons(NavigatorButton::First | NavigatorButton::Prior | NavigatorButton::Next |
                           NavigatorButton::Last);
    out->setDataSource(source);
    out->setMaximumWidth(240);
    return out;
}

} // namespace

TFAnula::TFAnula(QWidget *parent)
    : QDialog(parent), m_clicom(DM1->ADOConnection1, QStringLiteral("CLICOM"), QStringLiteral("Clicom"), this),
      m_itecli(DM1->ADOConnection1, QStringLiteral("ITECLI"), QStringLiteral("Itecli"), this),
      m_stock(DM1->ADOConnection1, QStringLiteral("STOCK"), QStringLiteral("Stock"), this)
{
    setObjectName(QStringLiteral("FAnula"));
    setWindowTitle(QStringLiteral("ANULACION DE VENTA"));

    m_itecli.followMaster(m_clicom, QStringLiteral("COMNRO"), QStringLiteral("ITECOM"));
    m_stock.followMaster(m_itecli, QStringLiteral("ITECOD"), QStringLiteral("ARTCMCT"));

    Label1 = new QLabel(QStringLiteral("  ANULACION DE COMPROBANTE DE VENTA"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont heading = Label1->font();
    heading.setPointSizeF(heading.pointSizeF() * 1.5);
    heading.setBold(true);
    Label1->setFont(heading);

    CBFactura = new QComboBox(this);
    CBFactura->setObjectName(QStringLiteral("CBFactura"));
    CBFactura->setEditable(true);
    CBFactura->setInsertPolicy(QComboBox::NoInsert);
    connect(CBFactura, &QComboBox::activated, this, &TFAnula::CBFacturaChange);
    connect(CBFactura->lineEdit(), &QLineEdit::returnPressed, this, &TFAnula::CBFacturaChange);
    connect(CBFactura->lineEdit(), &QLineEdit::textEdited, this, [this] { m_chosenKey = -1; });
    EdFec = new vx::ui::Edit(10, false, this);
    EdFec->setObjectName(QStringLiteral("EdFec"));
    vx::ui::filterDateKeys(EdFec);

    const auto button = [this](const char *name, const QString &caption, void (TFAnula::*handler)()) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    BAnular = button("BAnular", QStringLiteral("&Anular Comprobante"), &TFAnula::BAnularClick);
    BCerrar = button("BCerrar", QStringLiteral("&Cerrar"), &TFAnula::BCerrarClick);

    createGrids();

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Comprobante a Anular:"), CBFactura);
    form->addRow(QStringLiteral("Fecha de Anulación: "), EdFec);
    auto *actions = new QHBoxLayout;
    actions->addLayout(form);
    actions->addStretch(1);
    actions->addWidget(BAnular);
    actions->addWidget(BCerrar);

    auto *article = new QFormLayout;
    article->addRow(QStringLiteral("ART. - DESCRIPCION"), DBEdit1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(DBNavigator1);
    layout->addWidget(DBGrid1, 1);
    layout->addWidget(DBNavigator2);
    layout->addWidget(DBGrid2, 1);
    layout->addLayout(article);
    layout->addLayout(actions);
    resize(760, 600);
}

TFAnula::~TFAnula()
{
    if (FAnula == this)
        FAnula = nullptr;
}

void TFAnula::createGrids()
{
    using vx::ui::GridColumn;
    DBNavigator1 = navigator(this, "DBNavigator1", m_clicom.source);
    DBGrid1 = new vx::ui::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    GridColumn voided{QStringLiteral("COMANU"), QStringLiteral("Anu"), 5};
    voided.yesNo = true;
    DBGrid1->setColumns({{QStringLiteral("COMDIA"), QStringLiteral("Fecha"), 12},
                         {QStringLiteral("COMNRO"), QStringLiteral("Comprobante"), 13},
                         {QStringLiteral("COMTOT"), QStringLiteral("Total"), 12},
                         voided});
    DBGrid1->setReadOnly(true);
    DBGrid1->setDataSource(m_clicom.source);
    connect(DBGrid1, &vx::ui::DBGrid::clicked, this, &TFAnula::DBGrid1CellClick);
    connect(DBGrid1, &vx::ui::DBGrid::TitleClick, this, &TFAnula::DBGrid1TitleClick);

    DBNavigator2 = navigator(this, "DBNavigator2", m_itecli.source);
    DBGrid2 = new vx::ui::DBGrid(this);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    GridColumn lineVoided{QStringLiteral("ITEANU"), QStringLiteral("Anu"), 5};
    lineVoided.yesNo = true;
    DBGrid2->setColumns({lineVoided,
                         {QStringLiteral("ITEFEC"), QStringLiteral("Fecha"), 12},
                         {QStringLiteral("ITECOM"), QStringLiteral("Nro.Comp."), 12},
                         {QStringLiteral("ITECOD"), QStringLiteral("Código Art."), 15},
                         {QStringLiteral("ITECAN"), QStringLiteral("Cant."), 8},
                         {QStringLiteral("ITEPRE"), QStringLiteral("Precio Uni."), 12}});
    DBGrid2->setReadOnly(true);
    DBGrid2->setDataSource(m_itecli.source);
    connect(DBGrid2, &vx::ui::DBGrid::TitleClick, this, &TFAnula::DBGrid2TitleClick);

    DBEdit1 = new vx::ui::DBEdit(this);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit1->setReadOnly(true);
    DBEdit1->setDataSource(m_stock.source);
    DBEdit1->setDataField(QStringLiteral("ARTDES"));
}

void TFAnula::openViews()
{
    m_chosenKey = -1;
    m_clicom.table->open();
    m_itecli.table->open();
    m_stock.table->open();
}

void TFAnula::closeViews()
{
    for (vx::Table *view : {m_stock.table.get(), m_itecli.table.get(), m_clicom.table.get()}) {
        view->setFiltered(false);
        view->close();
    }
}

void TFAnula::DBGrid1CellClick()
{
    if (m_clicom.table->active() && !m_clicom.table->isEmpty()) {
        CBFactura->setEditText(m_clicom.table->fieldByName(QStringLiteral("COMNRO"))->asString());
        // Of receipts sharing a number, the one clicked is the one to void.
        m_chosenKey = m_clicom.table->fieldByName(QStringLiteral("COMUNO"))->value().toLongLong();
    }
}

void TFAnula::CBFacturaChange()
{
    const std::optional<double> number = vx::shopformat::parseNumber(CBFactura->currentText().trimmed());
    if (!number || !m_clicom.table->active())
        return;
    try {
        m_clicom.table->locate(QStringLiteral("COMNRO"), *number);
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFAnula::DBGrid1TitleClick(int column)
{
    DBGrid1->sortByTitle(column);
}

void TFAnula::DBGrid2TitleClick(int column)
{
    DBGrid2->sortByTitle(column);
}

bool TFAnula::chosenNumber(double &number)
{
    const QString text = CBFactura->currentText().trimmed();
    if (text.isEmpty()) {
        vx::ui::dialogs().showMessage(QStringLiteral("Seleccione Comprobante a Anular."));
        return false;
    }
    const std::optional<double> parsed = vx::shopformat::parseNumber(text);
    if (!parsed) {
        vx::ui::dialogs().showMessage(vx::shopformat::notANumberMessage(text));
        return false;
    }
    number = *parsed;
    return true;
}

void TFAnula::BAnularClick()
{
    double number = 0;
    if (!chosenNumber(number))
        return;
    vx::Connection &connection = *DM1->ADOConnection1;
    sales::ReceiptToCancel receipt;
    try {
        receipt = sales::findReceiptToCancel(connection, number, m_chosenKey);
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
        return;
    }
    if (receipt.state != sales::ReceiptToCancel::State::Open) {
        vx::ui::dialogs().showMessage(QStringLiteral("Comprobante Anulado."));
        return;
    }
    const QString numberText = vx::shopformat::formatGeneral(number);
    if (!vx::ui::dialogs().confirm(
            this, QStringLiteral("Confirma la anulación del comprobante Nro. ") + numberText + QStringLiteral(" ?"),
            QStringLiteral("Confirmación")))
        return;
    if (EdFec->text().trimmed().isEmpty())
        EdFec->setText(vx::shopformat::formatDate(QDate::currentDate()));
    const std::optional<QDate> date = vx::shopformat::parseDate(EdFec->text());
    if (!date) {
        vx::ui::dialogs().showMessage(vx::shopformat::notADateMessage(EdFec->text()));
        EdFec->setFocus();
        return;
    }
    if (connection.inTransaction()) {
        vx::ui::dialogs().showMessage(QStringLiteral("Archivos ocupados, intente en unos instantes."));
        return;
    }
    // Asked before the transaction starts, so that no workstation waits on this question.
    const bool refund =
        receipt.refundable() &&
        vx::ui::dialogs().confirm(this, QStringLiteral("Devuelve importe abonado?"), QStringLiteral("Confirmación"));

    aguarde::show();
    try {
        sales::cancelSale(connection, {number, *date, refund, uGlobales::session().operatorCode, receipt.key},
                          aguarde::progress);
    } catch (const sales::CancellationError &failure) {
        aguarde::close();
        vx::ui::dialogs().showMessage(failure.message());
        return;
    }
    aguarde::close();
    for (vx::Table *view : {m_clicom.table.get(), m_itecli.table.get(), m_stock.table.get()}) {
        if (view->active())
            view->refresh();
    }
    vx::ui::dialogs().showMessage(QStringLiteral("Proceso Terminado."));
}

void TFAnula::BCerrarClick()
{
    closeViews();
    if (DM1->Movim->active())
        DM1->Movim->close();
    if (DM1->Caja->active())
        DM1->Caja->close();
    accept();
}

void openAnula(TFAnula &window)
{
    aguarde::show();
    try {
        window.openViews();
    } catch (const std::exception &failure) {
        aguarde::close();
        vx::ui::dialogs().showException(&window, failure);
        window.closeViews();
        return;
    }
    // Each opening starts with no receipt chosen: not the number voided last time.
    window.CBFactura->clear();
    window.CBFactura->clearEditText();
    aguarde::close();
    vx::ui::dialogs().showModal(&window);
    DM1->Clicom->close();
    window.closeViews();
}
