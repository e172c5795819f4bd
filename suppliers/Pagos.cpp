#include "suppliers/Pagos.h"

#include "app/Aguarde.h"
#include "app/uGlobales.h"
#include "data/DataModule.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/DateTimeValue.h"
#include "platform/db/Field.h"
#include "platform/ui/DBEdit.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"
#include "platform/ui/KeyFilter.h"
#include "platform/ui/NamedControls.h"
#include "platform/ui/PickList.h"
#include "suppliers/SupplierPayment.h"
#include "suppliers/SupplierPickList.h"
#include "suppliers/SupplierText.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QVBoxLayout>

#include <cstdlib>

namespace {

const QString markColumn = QStringLiteral("TM1CHR1");

vx::ui::Edit *box(QWidget *parent, const char *name, int length)
{
    auto *edit = new vx::ui::Edit(length, false, parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QLineEdit *amountBox(QWidget *parent, const char *name)
{
    QLineEdit *edit = box(parent, name, 12);
    edit->setAlignment(Qt::AlignRight);
    vx::ui::filterAmountKeys(edit);
    return edit;
}

QString amountText(qint64 cents)
{
    return vx::shopformat::formatFixed(suppliers::fromCents(cents), 2);
}

vx::Connection &shop()
{
    return *DM1->ADOConnection1;
}

} // namespace

TFPagos::TFPagos(QWidget *parent)
    : QDialog(parent), m_list(DM1->ADOConnection1, QStringLiteral("TMP1"), QStringLiteral("TMP1Pagos"), this),
      m_supplier(DM1->ADOConnection1, QStringLiteral("PROVEEDORES"), QStringLiteral("ProveedPagos"), this)
{
    setObjectName(QStringLiteral("FPagos"));
    setWindowTitle(QStringLiteral("Pagos"));
    createControls();
    layoutControls();
}

TFPagos::~TFPagos() = default;

void TFPagos::createControls()
{
    EdFec = box(this, "EdFec", 10);
    vx::ui::filterDateKeys(EdFec);
    EdFec->setMaximumWidth(110);
    EdNro = box(this, "EdNro", 13);
    EdNro->setMaximumWidth(140);
    CBCli = suppliers::newSupplierPickList(this, "CBCli");
    CBCli->setSorted(true);
    CBCli->setToolTip(QStringLiteral("Doble Click para seleccionar"));
    LabCli = new QLabel(this);
    LabCli->setObjectName(QStringLiteral("LabCli"));
    LabCli->setMinimumWidth(50);
    DBEdit1 = new vx::ui::DBEdit(this);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit1->setDataSource(m_supplier.source);
    DBEdit1->setDataField(QStringLiteral("CLISAL"));
    DBEdit1->setReadOnly(true);
    DBEdit1->setAlignment(Qt::AlignRight);

    DBNavigator1 = new vx::ui::DBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    using vx::ui::NavigatorButton;
    DBNavigator1->setVisibleButtons(NavigatorButton::First | NavigatorButton::Prior | NavigatorButton::Next |
                                    NavigatorButton::Last);
    DBNavigator1->setDataSource(m_list.source);
    DBGrid1 = new vx::ui::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setColumns({{markColumn, QStringLiteral("OK"), 3, Qt::AlignHCenter},
                         {QStringLiteral("TM1NUM1"), QStringLiteral("Cli"), 5},
                         {QStringLiteral("TM1CHR8"), QStringLiteral("Tipo"), 5},
                         {QStringLiteral("TM1NUM2"), QStringLiteral("Comprobante"), 12},
                         {QStringLiteral("TM1DAT1"), QStringLiteral("Fecha"), 10},
                         {QStringLiteral("TM1PRE1"), QStringLiteral("Importe"), 11},
                         {QStringLiteral("TM1PRE2"), QStringLiteral("Saldo"), 11}});
    DBGrid1->setReadOnly(true);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setToolTip(QStringLiteral("Doble click para seleccionar"));
    DBGrid1->setDataSource(m_list.source);

    EdImp = amountBox(this, "EdImp");
    EdEFE = amountBox(this, "EdEFE");
    EdTAR = amountBox(this, "EdTAR");
    EdTot = vx::ui::readOnlyFigureBox(this, "EdTot");
    EdDif = vx::ui::readOnlyFigureBox(this, "EdDif");
    RBCDiaria = new QRadioButton(QStringLiteral("Caja Diaria"), this);
    RBCDiaria->setObjectName(QStringLiteral("RBCDiaria"));
    RBCDiaria->setChecked(true);
    RBCCentral = new QRadioButton(QStringLiteral("Caja Central"), this);
    RBCCentral->setObjectName(QStringLiteral("RBCCentral"));
    BGrabar = vx::ui::namedButton(this, "BGrabar", QStringLiteral("&Grabar"));
    BCerrar = vx::ui::namedButton(this, "BCerrar", QStringLiteral("&Cerrar"));

    connect(CBCli, &QComboBox::activated, this, &TFPagos::CBCliSelect);
    // The list activates a typed name only when it differs from its current item: Enter on the
    // name already there reads the supplier again, and Enter on a name no supplier has says so.
    connect(CBCli->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        const int found = CBCli->findText(CBCli->currentText());
        if (found < 0 || found == CBCli->currentIndex())
            CBCliSelect();
    });
    connect(DBGrid1, &QAbstractItemView::clicked, this, &TFPagos::DBGrid1CellClick);
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this, &TFPagos::DBGrid1DblClick);
    connect(DBGrid1, &vx::ui::DBGrid::TitleClick, DBGrid1, &vx::ui::DBGrid::sortByTitle);
    connect(EdNro, &QLineEdit::editingFinished, this, &TFPagos::EdNroExit);
    for (QLineEdit *amount : {EdImp, EdEFE, EdTAR})
        connect(amount, &QLineEdit::editingFinished, this, &TFPagos::evaluatePayment);
    connect(BGrabar, &QPushButton::clicked, this, &TFPagos::BGrabarClick);
    connect(BCerrar, &QPushButton::clicked, this, &TFPagos::BCerrarClick);
}

void TFPagos::layoutControls()
{
    auto *header = new QGridLayout;
    header->addWidget(vx::ui::captionFor(QStringLiteral("Fecha:"), EdFec), 0, 0);
    header->addWidget(EdFec, 0, 1);
    header->addWidget(vx::ui::captionFor(QStringLiteral("Número:"), EdNro), 0, 2);
    header->addWidget(EdNro, 0, 3);
    header->addWidget(vx::ui::captionFor(QStringLiteral("Proveedor:"), CBCli), 1, 0);
    header->addWidget(CBCli, 1, 1, 1, 3);
    header->addWidget(LabCli, 1, 4);
    header->addWidget(vx::ui::captionFor(QStringLiteral("Saldo "), DBEdit1), 1, 5);
    header->addWidget(DBEdit1, 1, 6);
    header->setColumnStretch(4, 1);

    auto *amounts = new QGridLayout;
    vx::ui::addCaptionedBoxes(amounts, 0,
                              {{QStringLiteral("Imp.A Cobrar"), EdImp},
                               {QStringLiteral("Efectivo"), EdEFE},
                               {QStringLiteral("Tarjeta/Otros"), EdTAR},
                               {QStringLiteral("Total M.Pagos"), EdTot},
                               {QStringLiteral("Diferencia:"), EdDif}});
    auto *cash = new QGroupBox(this);
    auto *cashChoice = new QVBoxLayout(cash);
    cashChoice->addWidget(RBCDiaria);
    cashChoice->addWidget(RBCCentral);
    amounts->addWidget(cash, 0, amounts->columnCount(), 2, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BGrabar);
    buttons->addWidget(BCerrar);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addWidget(DBNavigator1);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(amounts);
    layout->addLayout(buttons);
    resize(820, 520);
}

void TFPagos::prepare()
{
    shop().execute(QStringLiteral("DELETE FROM TMP1"));
    m_list.table->setIndexFieldNames(QStringLiteral("TM1DAT1;TM1NUM2;TM1UNO"));
    m_list.table->open();
    m_list.table->fieldByName(QStringLiteral("TM1NUM1"))->setDisplayFormat(QStringLiteral("0"));
    m_list.table->fieldByName(QStringLiteral("TM1NUM2"))->setDisplayFormat(QStringLiteral("0"));
    for (const char *amount : {"TM1PRE1", "TM1PRE2"})
        m_list.table->fieldByName(QLatin1String(amount))->setDisplayFormat(QStringLiteral("0.00"));
    CBCli->setItems(suppliers::supplierNames(shop()));
    CBCli->setEditText(QString());
    m_supplierCode.reset();
    LabCli->clear();
    EdFec->setText(vx::shopformat::formatDate(vx::naiveNow().date()));
    EdNro->clear();
    m_proposedNumber.clear();
    RBCDiaria->setChecked(true);
    EdEFE->clear();
    EdTAR->clear();
    recomputeDue();
}

void TFPagos::CBCliSelect()
{
    // The box turns what reaches it to upper case: a name stored otherwise is still found, though
    // the name exactly as typed comes first.
    const QString name = CBCli->currentText();
    const vx::SqlDialect &dialect = shop().dialect();
    QSqlQuery query = shop().execute(QStringLiteral("SELECT CLICOD, CLIAPE FROM PROVEEDORES WHERE %1 = %2 ORDER BY CLIUNO")
                                         .arg(dialect.upper(QStringLiteral("CLIAPE")), dialect.upper(QStringLiteral("?"))),
                                     {name});
    std::optional<int> found;
    while (query.next()) {
        if (!found || query.value(1).toString() == name)
            found = query.value(0).toInt();
        if (query.value(1).toString() == name)
            break;
    }
    if (!found) {
        vx::ui::dialogs().showMessage(suppliers::noSupplierMessage());
        return;
    }
    m_supplierCode = *found;
    LabCli->setText(QString::number(*m_supplierCode));
    m_supplier.table->close();
    m_supplier.table->setRecordFilter(QStringLiteral("CLICOD = %1").arg(*m_supplierCode));
    m_supplier.table->setFiltered(true);
    m_supplier.table->open();
    m_supplier.table->fieldByName(QStringLiteral("CLISAL"))->setDisplayFormat(QStringLiteral("0.00"));
    fillList();
}

void TFPagos::fillList()
{
    shop().execute(QStringLiteral("DELETE FROM TMP1"));
    if (m_supplierCode) {
        // One statement: a supplier with thousands of open documents lists them at once.
        shop().execute(
            QStringLiteral(
                "INSERT INTO TMP1 (TM1CHR1, TM1NUM1, TM1CHR8, TM1NUM2, TM1DAT1, TM1PRE1, TM1PRE2, TM1NUM3) "
                "SELECT '', COMCLI, CASE COMTIP WHEN '26' THEN 'CRE.' ELSE 'FAC.' END, COMNRO, COMDIA, "
                "CASE COMTIP WHEN '26' THEN -COMTOT ELSE COMTOT END, "
                "CASE COMTIP WHEN '26' THEN -1 ELSE 1 END * ROUND(COMSAL * 100) / 100, COMUNO FROM PROCOM "
                "WHERE COMCLI = ? AND COMTIP IN ('13', '26') AND ROUND(COMSAL * 100) <> 0 "
                "AND (COMANU IS NULL OR COMANU = ?)"),
            {*m_supplierCode, shop().dialect().toDatabase(false, vx::FieldType::Boolean)});
    }
    shop().noteWrite();
    m_list.table->refresh();
    m_list.table->first();
    if (m_supplier.table->active())
        m_supplier.table->refresh();
    recomputeDue();
}

void TFPagos::DBGrid1CellClick(const QModelIndex &index)
{
    if (index.isValid() && DBGrid1->column(index.column()).fieldName == markColumn)
        toggleMark();
}

void TFPagos::DBGrid1DblClick(const QModelIndex &index)
{
    // In the "OK" column the first click of the two has marked the row already.
    if (index.isValid() && DBGrid1->column(index.column()).fieldName != markColumn)
        toggleMark();
}

void TFPagos::toggleMark()
{
    vx::Table &list = *m_list.table;
    if (!list.active() || list.isEmpty())
        return;
    vx::Field *mark = list.fieldByName(markColumn);
    const bool marked = mark->asString() == QLatin1String("X");
    list.edit();
    mark->setValue(marked ? QString() : QStringLiteral("X"));
    list.post();
    recomputeDue();
}

void TFPagos::recomputeDue()
{
    const qint64 due =
        qRound64(shop()
                     .scalar(QStringLiteral("SELECT COALESCE(SUM(ROUND(TM1PRE2 * 100)), 0) FROM TMP1 WHERE %1 = 'X'")
                                 .arg(markColumn))
                     .toDouble());
    EdImp->setText(amountText(due));
    evaluatePayment();
}

bool TFPagos::evaluatePayment()
{
    qint64 cents[3] = {0, 0, 0};
    const QList<QLineEdit *> boxes{EdImp, EdEFE, EdTAR};
    for (int i = 0; i < boxes.size(); ++i) {
        const QString text = boxes[i]->text().trimmed();
        const std::optional<double> value = text.isEmpty() ? 0.0 : vx::shopformat::parseNumber(text);
        if (!value) {
            vx::ui::dialogs().error(this, vx::shopformat::notANumberMessage(text), windowTitle());
            boxes[i]->setFocus();
            return false;
        }
        cents[i] = suppliers::toCents(*value);
        boxes[i]->setText(amountText(cents[i]));
    }
    EdTot->setText(amountText(cents[1] + cents[2]));
    EdDif->setText(amountText(cents[0] - cents[1] - cents[2]));
    return true;
}

void TFPagos::EdNroExit()
{
    if (!EdNro->text().trimmed().isEmpty())
        return;
    try {
        m_proposedNumber = suppliers::nextReceiptText(shop());
        EdNro->setText(m_proposedNumber);
    } catch (const std::exception &failure) {
        vx::ui::dialogs().error(this, vx::ui::failureText(failure), windowTitle());
    }
}

void TFPagos::BGrabarClick()
{
    if (!m_supplierCode) {
        vx::ui::dialogs().showMessage(suppliers::noSupplierMessage());
        return;
    }
    if (!evaluatePayment())
        return;
    suppliers::PaymentEntry entry;
    entry.supplierCode = m_supplierCode;
    QSqlQuery marked = shop().execute(
        QStringLiteral("SELECT TM1NUM3, TM1PRE2 FROM TMP1 WHERE %1 = 'X' ORDER BY TM1UNO").arg(markColumn));
    while (marked.next())
        entry.marked << suppliers::MarkedDocument{marked.value(0).toLongLong(),
                                                  std::abs(suppliers::toCents(marked.value(1).toDouble()))};
    entry.cash = vx::shopformat::parseNumber(EdEFE->text()).value_or(0);
    entry.otherMeans = vx::shopformat::parseNumber(EdTAR->text()).value_or(0);
    entry.dateText = EdFec->text();
    entry.receiptNumberText = EdNro->text();
    entry.receiptNumberProposed = !m_proposedNumber.isEmpty() && EdNro->text() == m_proposedNumber;
    entry.centralCash = RBCCentral->isChecked();
    entry.operatorCode = uGlobales::session().operatorCode;

    aguarde::show();
    try {
        const suppliers::RecordedPayment payment = suppliers::recordPayment(shop(), entry, aguarde::progress);
        aguarde::close();
        if (payment.numberChanged)
            vx::ui::dialogs().showMessage(
                QStringLiteral("El número de recibo propuesto ya fue usado en otro puesto: el pago se grabó con el "
                               "número %1.")
                    .arg(payment.receiptText));
        vx::ui::dialogs().showMessage(QStringLiteral("Proceso Terminado."));
    } catch (const suppliers::PaymentError &error) {
        aguarde::close();
        using Kind = suppliers::PaymentError::Kind;
        vx::ui::dialogs().showMessage(error.message());
        // Nothing was written: the operator corrects the boxes, or looks at the list read again.
        if (error.kind() == Kind::Stale)
            fillList();
        if (error.kind() != Kind::Busy && error.kind() != Kind::Failed)
            return;
    }
    BCerrarClick();
}

void TFPagos::BCerrarClick()
{
    shop().execute(QStringLiteral("DELETE FROM TMP1"));
    shop().noteWrite();
    m_list.table->close();
    m_supplier.table->close();
    EdImp->setText(QStringLiteral("0"));
    EdTot->setText(QStringLiteral("0"));
    EdNro->setText(QStringLiteral("0"));
    CBCli->setEditText(QString());
    EdEFE->clear();
    EdTAR->clear();
    m_supplierCode.reset();
    done(QDialog::Rejected);
}

void TFPagos::reject()
{
    BCerrarClick();
}

void openPagos(QWidget *parent)
{
    TFPagos window(parent);
    window.prepare();
    vx::ui::dialogs().showModal(&window);
}
