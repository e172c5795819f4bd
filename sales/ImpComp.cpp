#include "sales/ImpComp.h"

#include "data/DataModule.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/DataSource.h"
#include "platform/db/Table.h"
#include "platform/report/Report.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBText.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/PickList.h"
#include "sales/CustomerBlock.h"
#include "sales/FilColStore.h"
#include "sales/ReceiptStaging.h"
#include "sales/TicketHeader.h"
#include "app/Aguarde.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFImpComp *FImpComp = nullptr;

namespace {

QString fixed2(double value)
{
    return vx::shopformat::formatFixed(value, 2);
}

} // namespace

TFImpComp::TFImpComp(QWidget *parent)
    : QDialog(parent), m_clicom(DM1->ADOConnection1, QStringLiteral("CLICOM"), QStringLiteral("Clicom"), this),
      m_clientes(DM1->ADOConnection1, QStringLiteral("CLIENTE"), QStringLiteral("Clientes"), this)
{
    setObjectName(QStringLiteral("FImpComp"));
    setWindowTitle(QStringLiteral("Imprimir Comprobante"));

    m_clientes.followMaster(m_clicom, QStringLiteral("COMCLI"), QStringLiteral("CLICOD"));
    m_staging = std::make_unique<sales::ReceiptStaging>(*DM1->ADOConnection1);
    m_stagingSource = new vx::DataSource(this);
    m_shownReceipt = new vx::DataSource(this);
    m_shownCustomer = new vx::DataSource(this);

    CBComp = new vx::ui::PickList(this);
    CBComp->setObjectName(QStringLiteral("CBComp"));
    CBComp->setSorted(false);
    connect(CBComp, &QComboBox::activated, this, &TFImpComp::CBCompChange);
    connect(CBComp->lineEdit(), &QLineEdit::returnPressed, this, &TFImpComp::CBCompChange);

    const auto dbText = [this](const char *name, vx::DataSource *source, const char *field) {
        auto *text = new vx::ui::DBText(this);
        text->setObjectName(QLatin1String(name));
        text->setFrameShape(QFrame::StyledPanel);
        text->setMinimumWidth(110);
        text->setDataSource(source);
        text->setDataField(QLatin1String(field));
        return text;
    };
    DBTextFecha = dbText("DBTextFecha", m_shownReceipt, "COMDIA");
    DBTextCliente = dbText("DBTextCliente", m_shownCustomer, "CLIAPE");
    DBTextSubTotal = dbText("DBTextSubTotal", m_shownReceipt, "COMSUB");
    DBTextPorc = dbText("DBTextPorc", m_shownReceipt, "COMPOR");
    DBTextTotal = dbText("DBTextTotal", m_shownReceipt, "COMTOT");
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);

    const auto button = [this](const char *name, const QString &caption, void (TFImpComp::*handler)()) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    BImprimir = button("BImprimir", QStringLiteral("&Imprimir"), &TFImpComp::BImprimirClick);
    BTicket70 = button("BTicket70", QStringLiteral("Ticket 70"), &TFImpComp::BTicket70Click);
    BTicket58 = button("BTicket58", QStringLiteral("Ticket 58"), &TFImpComp::BTicket58Click);
    BPos57 = button("BPos57", QStringLiteral("POS 57"), &TFImpComp::BPos57Click);
    BCerrar = button("BCerrar", QStringLiteral("&Cerrar"), &TFImpComp::BCerrarClick);

    createGrid();

    auto *choose = new QFormLayout;
    choose->addRow(QStringLiteral("Seleccionar Nro. de Comprobante"), CBComp);
    auto *values = new QGridLayout;
    values->addWidget(new QLabel(QStringLiteral("Fecha"), this), 0, 0);
    values->addWidget(DBTextFecha, 0, 1);
    values->addWidget(new QLabel(QStringLiteral("Cliente"), this), 0, 2);
    values->addWidget(DBTextCliente, 0, 3, 1, 3);
    values->addWidget(new QLabel(QStringLiteral("Sub Total"), this), 1, 0);
    values->addWidget(DBTextSubTotal, 1, 1);
    values->addWidget(new QLabel(QStringLiteral("% Porc."), this), 1, 2);
    values->addWidget(DBTextPorc, 1, 3);
    values->addWidget(new QLabel(QStringLiteral("Descuento"), this), 1, 4);
    values->addWidget(Edit1, 1, 5);
    values->addWidget(new QLabel(QStringLiteral("Total"), this), 2, 4);
    values->addWidget(DBTextTotal, 2, 5);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {BImprimir, BTicket70, BTicket58, BPos57})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(BCerrar);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(choose);
    layout->addLayout(values);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(buttons);
    resize(720, 480);
}

TFImpComp::~TFImpComp()
{
    if (FImpComp == this)
        FImpComp = nullptr;
}

void TFImpComp::createGrid()
{
    DBGrid1 = new vx::ui::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setColumns({{QStringLiteral("TM1CHR1"), QStringLiteral("Articulo"), 14},
                         {QStringLiteral("TM1CHR10"), QStringLiteral("Descripcion"), 30},
                         {QStringLiteral("TM1NUM1"), QStringLiteral("Cant."), 7},
                         {QStringLiteral("TM1PRE1"), QStringLiteral("Precio U."), 10},
                         {QStringLiteral("TM1PRE3"), QStringLiteral("% Dto."), 7},
                         {QStringLiteral("TM1PRE2"), QStringLiteral("Total"), 10}});
    DBGrid1->setReadOnly(true);
    DBGrid1->setDataSource(m_stagingSource);
}

void TFImpComp::openViews()
{
    m_clicom.table->open();
    m_clientes.table->open();
    vx::Table &staging = m_staging->view();
    for (const char *name : {"TM1PRE1", "TM1PRE2", "TM1PRE3"})
        staging.fieldByName(QLatin1String(name))->setDisplayFormat(QStringLiteral("0.00"));
    m_staging->clear();
    m_stagingSource->setDataSet(&staging);
    // Each opening starts with no receipt shown: not the first one of the table, not the
    // discount of the receipt chosen last time.
    m_receipt.reset();
    showChosen(false);
    aguarde::progress(QStringLiteral("Cargando Nros.de Comprobantes de Vtas."));
    const QStringList numbers = vx::ui::fieldTexts(*m_clicom.table, QStringLiteral("COMNRO"), [](int recNo) {
        if (recNo % 1000 == 0)
            aguarde::progress(QStringLiteral("Cargando Nros.de Comprobantes:  %1").arg(recNo));
    });
    CBComp->setItems(numbers);
    CBComp->setEditText(QString());
}

void TFImpComp::showChosen(bool shown)
{
    m_shownReceipt->setDataSet(shown ? m_clicom.table.get() : nullptr);
    m_shownCustomer->setDataSet(shown ? m_clientes.table.get() : nullptr);
    if (!shown)
        Edit1->clear();
}

void TFImpComp::closeViews()
{
    showChosen(false);
    m_stagingSource->setDataSet(nullptr);
    m_clientes.table->close();
    m_clicom.table->close();
    m_staging->close();
    m_receipt.reset();
}

void TFImpComp::CBCompChange()
{
    const QString text = CBComp->currentText().trimmed();
    const std::optional<double> number = vx::shopformat::parseNumber(text);
    if (!number) {
        vx::ui::dialogs().showMessage(vx::shopformat::notANumberMessage(text));
        return;
    }
    try {
        m_receipt = sales::loadStoredReceipt(*DM1->ADOConnection1, *number);
        if (!m_receipt) {
            m_staging->clear();
            showChosen(false);
            vx::ui::dialogs().showMessage(QStringLiteral("No existe el comprobante Nro. %1").arg(text));
            return;
        }
        m_clicom.table->locate(QStringLiteral("COMNRO"), *number);
        showChosen(true);
        // A receipt without discount shows none, not the one of the receipt chosen before.
        Edit1->setText(fixed2(m_receipt->discount()));
        m_staging->stage(m_receipt->lines, vx::shopformat::formatGeneral(*number), m_receipt->date);
    } catch (const std::exception &failure) {
        m_receipt.reset();
        vx::ui::dialogs().showException(this, failure);
    }
}

QString TFImpComp::customerName() const
{
    return sales::customerByCode(*DM1->ADOConnection1, m_receipt->customerCode).name;
}

bool TFImpComp::receiptChosen()
{
    if (m_receipt)
        return true;
    vx::ui::dialogs().showMessage(QStringLiteral("Seleccione un Nro. de Comprobante."));
    CBComp->setFocus();
    return false;
}

void TFImpComp::BImprimirClick()
{
    if (!receiptChosen())
        return;
    try {
        sales::ReceiptPrint print;
        print.number = vx::shopformat::formatGeneral(m_receipt->number);
        print.date = vx::shopformat::formatDate(m_receipt->date);
        print.subtotal = fixed2(m_receipt->subtotal);
        print.percentage = fixed2(m_receipt->percentage);
        print.discount = Edit1->text();
        print.total = fixed2(m_receipt->total);
        print.customer = sales::customerByCode(*DM1->ADOConnection1, m_receipt->customerCode);
        if (const std::optional<QImage> logo = sales::ticketheader::logo())
            print.logo = *logo;
        else
            vx::ui::dialogs().showMessage(QStringLiteral("No se pudo cargar el archivo. Revisar el archivo LOGO.BMP"));
        sales::receiptReport(m_staging->view(), print)->preview(this);
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFImpComp::printTicket(sales::TicketPaper paper)
{
    if (!receiptChosen())
        return;
    try {
        sales::TicketPrint print;
        print.subtotal = fixed2(m_receipt->subtotal);
        print.discount = Edit1->text();
        print.total = fixed2(m_receipt->total);
        if (const std::optional<QStringList> header = sales::ticketheader::read()) {
            print.header = *header;
        } else {
            vx::ui::dialogs().showMessage(QStringLiteral("No se encuentra el archivo MemTik.txt"));
            print.header = sales::ticketheader::builtInLines();
        }
        if ((print.positions = sales::filcol::ticketPositions(*DM1->ADOConnection1))) {
            const QString separator =
                paper == sales::TicketPaper::Pos57 ? QStringLiteral(" - Nro.: ") : QStringLiteral(" - T.Nro.: ");
            print.dateLine = QStringLiteral("Fecha: ") + vx::shopformat::formatDate(m_receipt->date) + separator +
                             vx::shopformat::formatGeneral(m_receipt->number);
            const QString name = customerName();
            print.customerLine = QStringLiteral("Cliente: ") + name;
            print.articleTitle = QStringLiteral("Articulo - Descripcion ");
            print.quantityTitle = QStringLiteral("Cant.- Precio Un.");
            print.amountTitle = QStringLiteral("Sub Total");
        }
        sales::ticketReport(m_staging->view(), paper, print)->preview(this);
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFImpComp::BCerrarClick()
{
    Edit1->clear();
    accept();
}

void openImpComp(TFImpComp &window)
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
    aguarde::close();
    vx::ui::dialogs().showModal(&window);
    try {
        window.closeViews();
    } catch (const std::exception &) {
        // Deleting staging rows stops at the first failure without a word; the next opening
        // clears them.
    }
}
