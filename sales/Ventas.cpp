// The sales window: its controls, its keys, its opening and closing, and the totals of the sale
// in progress. Article entry lives in VentasLookup.cpp, recording and the card tender in
// VentasRecord.cpp.
#include "sales/Ventas.h"

#include "catalogue/Precios.h"
#include "data/DataModule.h"
#include "platform/core/ShopFormat.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"
#include "platform/ui/KeyFilter.h"
#include "platform/ui/PickList.h"
#include "platform/ui/NamedControls.h"
#include "sales/Cobro.h"
#include "sales/SaleRecording.h"
#include "sales/SaleTotals.h"
#include "app/Aguarde.h"
#include "app/uGlobales.h"

#include <QApplication>
#include <QDate>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include <exception>
#include <utility>

TFVentas *FVentas = nullptr;

namespace {

// Leaving a box counts when the operator moved on, not when another window or a drop-down list
// took the focus for a moment.
bool leftByOperator(const QFocusEvent *event)
{
    return event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
}

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

QLineEdit *box(QWidget *parent, const char *name, int maxLength = 0)
{
    auto *edit = new vx::ui::Edit(parent);
    edit->setObjectName(QLatin1String(name));
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    return edit;
}

vx::ui::PickList *pickList(QWidget *parent, const char *name, bool sorted, bool upper, bool autoComplete)
{
    auto *list = new vx::ui::PickList(parent);
    list->setObjectName(QLatin1String(name));
    list->setSorted(sorted);
    list->setUpperCase(upper);
    list->setAutoComplete(autoComplete);
    return list;
}

}  // namespace

TFVentas::TFVentas(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FVentas"));
    setWindowTitle(QStringLiteral("Ventas"));
    createControls();
    layoutControls();
    connectHandlers();
    FVentas = this;
}

TFVentas::~TFVentas()
{
    if (FVentas == this)
        FVentas = nullptr;
}

void TFVentas::createControls()
{
    EdFec = box(this, "EdFec", 10);
    EdFec->setFocusPolicy(Qt::ClickFocus);
    EdNro = box(this, "EdNro", 13);
    EdNro->setFocusPolicy(Qt::ClickFocus);
    CBCliente = pickList(this, "CBCliente", true, true, true);
    CBCliente->setMaxLength(50);
    CBCliente->setMinimumContentsLength(30);
    CBCliente->setEditText(QStringLiteral("CONSUMIDOR FINAL"));

    CBLista1 = new QRadioButton(QStringLiteral("Lista 1"), this);
    CBLista2 = new QRadioButton(QStringLiteral("Lista 2"), this);
    CBLista3 = new QRadioButton(QStringLiteral("Lista 3"), this);
    CBLista4 = new QRadioButton(QStringLiteral("Lista 4"), this);
    CBLista1->setObjectName(QStringLiteral("CBLista1"));
    CBLista2->setObjectName(QStringLiteral("CBLista2"));
    CBLista3->setObjectName(QStringLiteral("CBLista3"));
    CBLista4->setObjectName(QStringLiteral("CBLista4"));
    CBLista1->setChecked(true);

    CBCod = pickList(this, "CBCod", false, false, false);
    CBCod->setMaxLength(sales::ownCodeLength);
    CBDes = pickList(this, "CBDes", true, true, true);
    CBDes->setFocusPolicy(Qt::ClickFocus);
    CBDes->setMinimumContentsLength(30);
    EdPre = box(this, "EdPre");
    EdPre->setFocusPolicy(Qt::ClickFocus);
    EdCan = box(this, "EdCan");
    EdStock = box(this, "EdStock");
    EdStock->setReadOnly(true);
    EdStock->setFocusPolicy(Qt::ClickFocus);
    CBCodP = pickList(this, "CBCodP", true, true, false);
    CBCodP->setMaxLength(13);
    Label6 = new QLabel(QStringLiteral("Detalle"), this);
    Label6->setObjectName(QStringLiteral("Label6"));

    const auto button = [this](const char *name, const QString &text) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        return b;
    };
    BNuevo = button("BNuevo", QStringLiteral("&Nuevo"));
    BCerrar = button("BCerrar", QStringLiteral("&Cerrar"));
    BAgregar = button("BAgregar", QStringLiteral("&Agregar"));
    BAgregar2 = button("BAgregar2", QStringLiteral("&Agregar"));
    BEliminar = button("BEliminar", QStringLiteral("&Eliminar"));
    BCancelar = button("BCancelar", QStringLiteral("Ca&ncelar"));
    Button2 = button("Button2", QStringLiteral("TARJETA"));
    BGrabar = button("BGrabar", QStringLiteral("&Grabar"));
    BBGrabar = button("BBGrabar", QStringLiteral("F9 Grabar"));
    BBGrabar->setDefault(true);
    BImp = button("BImp", QStringLiteral("&Imprimir"));
    BTicket = button("BTicket", QStringLiteral("&Ticket"));
    BFiscal = button("BFiscal", QStringLiteral("Imp Fiscal"));
    BImp->hide();
    BTicket->hide();
    BFiscal->hide();

    DBGrid1 = new vx::ui::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setReadOnly(true);
    DBGrid1->setToolTip(QStringLiteral("Doble Click para modificar precio y/o cantiddad"));
    DBGrid1->setColumns({{QStringLiteral("TM1CHR1"), QStringLiteral("Articulo"), 14},
                         {QStringLiteral("TM1CHR10"), QStringLiteral("Descripcion"), 40},
                         {QStringLiteral("TM1NUM1"), QStringLiteral("Cantidad"), 9},
                         {QStringLiteral("TM1PRE1"), QStringLiteral("P.Venta"), 11},
                         {QStringLiteral("TM1PRE2"), QStringLiteral("TOTAL"), 12}});
    DBNavigator1 = new vx::ui::DBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setVisibleButtons(vx::ui::NavigatorButton::First | vx::ui::NavigatorButton::Prior
                                    | vx::ui::NavigatorButton::Next | vx::ui::NavigatorButton::Last
                                    | vx::ui::NavigatorButton::Refresh);
    if (DM1) {
        DBGrid1->setDataSource(DM1->DSTmp);
        DBNavigator1->setDataSource(DM1->DSTmp);
    }

    EdSTot = box(this, "EdSTot");
    EdPor = box(this, "EdPor", 5);
    EdPor->setText(QStringLiteral("0"));
    EdDcto = box(this, "EdDcto");
    EdTotal = box(this, "EdTotal");
    EdTOT = box(this, "EdTOT");
    EdTOT->setReadOnly(true);
    EdTOT->setText(QStringLiteral("0"));
    EdTar = box(this, "EdTar");
    EdEFE = box(this, "EdEFE");
    EdVTO = box(this, "EdVTO");
    for (QLineEdit *amount : {EdPre, EdCan, EdStock, EdSTot, EdPor, EdDcto, EdTotal, EdTOT, EdTar, EdEFE, EdVTO})
        amount->setAlignment(Qt::AlignRight);
    QFont large = EdTOT->font();
    large.setPointSizeF(large.pointSizeF() * 1.6);
    large.setBold(true);
    for (QLineEdit *amount : {EdTOT, EdEFE, EdVTO})
        amount->setFont(large);

    vx::ui::filterAmountKeys(EdCan, true);
    vx::ui::filterAmountKeys(EdStock, true);
    vx::ui::filterAmountKeys(EdPre, true);
    vx::ui::filterAmountKeys(EdPor);
    vx::ui::filterAmountKeys(EdEFE);
    vx::ui::filterAmountKeys(EdTar);
}

void TFVentas::layoutControls()
{
    auto *header = new QGridLayout;
    header->addWidget(vx::ui::captionFor(QStringLiteral("Fecha:"), EdFec), 0, 0);
    header->addWidget(EdFec, 0, 1);
    header->addWidget(vx::ui::captionFor(QStringLiteral("Numero Comprobante:"), EdNro), 0, 2);
    header->addWidget(EdNro, 0, 3);
    header->addWidget(BNuevo, 0, 4);
    header->addWidget(vx::ui::captionFor(QStringLiteral("Cliente: "), CBCliente), 1, 0);
    header->addWidget(CBCliente, 1, 1, 1, 4);
    auto *lists = new QGroupBox(QStringLiteral("Lista de Precios"), this);
    auto *listsLayout = new QHBoxLayout(lists);
    for (QRadioButton *list : {CBLista1, CBLista2, CBLista3, CBLista4})
        listsLayout->addWidget(list);
    header->addWidget(lists, 0, 5, 2, 1);
    header->setColumnStretch(6, 1);
    header->addWidget(BCerrar, 0, 7);

    auto *entry = new QGridLayout;
    entry->addWidget(vx::ui::captionFor(QStringLiteral("Articulo:"), CBCod), 0, 0);
    entry->addWidget(vx::ui::captionFor(QStringLiteral("Descripcion"), CBDes), 0, 1);
    entry->addWidget(vx::ui::captionFor(QStringLiteral("P.Venta"), EdPre), 0, 2);
    entry->addWidget(vx::ui::captionFor(QStringLiteral("Cantidad"), EdCan), 0, 3);
    entry->addWidget(vx::ui::captionFor(QStringLiteral("En Stock 1"), EdStock), 0, 4);
    entry->addWidget(CBCod, 1, 0);
    entry->addWidget(CBDes, 1, 1);
    entry->addWidget(EdPre, 1, 2);
    entry->addWidget(EdCan, 1, 3);
    entry->addWidget(EdStock, 1, 4);
    entry->addWidget(BAgregar, 1, 5);
    entry->addWidget(vx::ui::captionFor(QStringLiteral("CODIGO de ORIGEN"), CBCodP), 2, 0);
    entry->addWidget(CBCodP, 3, 0);
    entry->addWidget(Label6, 3, 1, 1, 4);
    entry->addWidget(BAgregar2, 3, 5);
    entry->setColumnStretch(1, 1);

    auto *gridButtons = new QHBoxLayout;
    gridButtons->addWidget(DBNavigator1);
    gridButtons->addStretch(1);
    gridButtons->addWidget(BEliminar);
    gridButtons->addWidget(BCancelar);
    gridButtons->addWidget(BImp);
    gridButtons->addWidget(BTicket);
    gridButtons->addWidget(BFiscal);

    auto *totals = new QGridLayout;
    totals->addWidget(vx::ui::captionFor(QStringLiteral("Sub Total"), EdSTot), 0, 0);
    totals->addWidget(EdSTot, 1, 0);
    totals->addWidget(vx::ui::captionFor(QStringLiteral("% Porc."), EdPor), 0, 1);
    totals->addWidget(EdPor, 1, 1);
    totals->addWidget(vx::ui::captionFor(QStringLiteral("Descuento"), EdDcto), 0, 2);
    totals->addWidget(EdDcto, 1, 2);
    totals->addWidget(vx::ui::captionFor(QStringLiteral("Total"), EdTotal), 0, 3);
    totals->addWidget(EdTotal, 1, 3);
    totals->addWidget(vx::ui::captionFor(QStringLiteral(" A COBRAR"), EdTOT), 2, 0);
    totals->addWidget(EdTOT, 3, 0, 1, 2);
    totals->addWidget(Button2, 2, 2);
    totals->addWidget(EdTar, 3, 2);
    totals->addWidget(vx::ui::captionFor(QStringLiteral("EFECTIVO"), EdEFE), 2, 3);
    totals->addWidget(EdEFE, 3, 3);
    totals->addWidget(vx::ui::captionFor(QStringLiteral("VUELTO"), EdVTO), 2, 4);
    totals->addWidget(EdVTO, 3, 4);
    totals->addWidget(BGrabar, 1, 5);
    totals->addWidget(BBGrabar, 3, 5);
    EdPor->setMaximumWidth(EdPor->fontMetrics().horizontalAdvance(QStringLiteral("0000000")));

    auto *main = new QVBoxLayout(this);
    main->addLayout(header);
    main->addLayout(entry);
    main->addWidget(DBGrid1, 1);
    main->addLayout(gridButtons);
    main->addLayout(totals);
    resize(900, 620);

    setTabOrder(CBCod, EdCan);
    setTabOrder(EdCan, CBCodP);
    setTabOrder(CBCodP, BAgregar);
}

void TFVentas::connectHandlers()
{
    connect(CBCod->lineEdit(), &QLineEdit::textEdited, this, &TFVentas::CBCodChange);
    connect(CBCod, &QComboBox::activated, this, &TFVentas::CBCodSelect);
    connect(CBCodP->lineEdit(), &QLineEdit::textEdited, this, [this] { m_entryArmed = true; });
    connect(CBCodP, &QComboBox::activated, this, &TFVentas::CBCodPSelect);
    connect(CBDes, &QComboBox::activated, this, &TFVentas::CBDesSelect);
    for (QPushButton *add : {BAgregar, BAgregar2})
        connect(add, &QPushButton::clicked, this, [this] {
            // The press that took the focus from a code box already added this click's line.
            if (std::exchange(m_lineAddedOnLeave, false))
                return;
            BAgregarClick();
        });
    connect(BEliminar, &QPushButton::clicked, this, &TFVentas::BEliminarClick);
    connect(BCancelar, &QPushButton::clicked, this, &TFVentas::BCancelarClick);
    connect(BNuevo, &QPushButton::clicked, this, &TFVentas::BNuevoClick);
    connect(BCerrar, &QPushButton::clicked, this, &TFVentas::BCerrarClick);
    connect(Button2, &QPushButton::clicked, this, &TFVentas::Button2Click);
    connect(BGrabar, &QPushButton::clicked, this, &TFVentas::BGrabarClick);
    connect(BBGrabar, &QPushButton::clicked, this, &TFVentas::BGrabarClick);
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this, &TFVentas::DBGrid1DblClick);
    connect(DBGrid1, &vx::ui::DBGrid::TitleClick, this, &TFVentas::DBGrid1TitleClick);
    connect(EdSTot, &QLineEdit::textEdited, this, &TFVentas::EdSTotChange);
    for (QLineEdit *tender : {EdTOT, EdEFE, EdTar})
        connect(tender, &QLineEdit::textChanged, this, &TFVentas::tenderChange);

    for (QWidget *watched : {static_cast<QWidget *>(CBCod), static_cast<QWidget *>(CBCod->lineEdit()),
                             static_cast<QWidget *>(CBCodP), static_cast<QWidget *>(CBCodP->lineEdit()),
                             static_cast<QWidget *>(CBDes), static_cast<QWidget *>(EdPor),
                             static_cast<QWidget *>(EdEFE), static_cast<QWidget *>(EdTar),
                             static_cast<QWidget *>(BBGrabar)})
        watched->installEventFilter(this);
}

bool TFVentas::eventFilter(QObject *watched, QEvent *event)
{
    const bool ownCode = watched == CBCod || watched == CBCod->lineEdit();
    const bool originCode = watched == CBCodP || watched == CBCodP->lineEdit();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (ownCode || originCode)
            m_entryArmed = true;
        break;
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent *>(event)->key();
        const QString typed = static_cast<QKeyEvent *>(event)->text();
        m_lineAddedOnLeave = false;
        // Enter in the percentage box applies the discount at once.
        if (watched == EdPor && isEnter(key)) {
            EdPorExit();
            return true;
        }
        // A key typed on "F9 Grabar" records, as a click does; moving on or Escape does not.
        if (watched == BBGrabar && (isEnter(key) || (!typed.isEmpty() && typed.at(0).isPrint()))) {
            BGrabarClick();
            return true;
        }
        // Enter in a code box looks the code up when released; it never records the sale.
        if ((ownCode || originCode) && isEnter(key))
            return true;
        break;
    }
    case QEvent::KeyRelease:
        if (isEnter(static_cast<QKeyEvent *>(event)->key())) {
            if (ownCode)
                ownCodeLeft(false);
            else if (originCode)
                originCodeLeft();
        }
        break;
    case QEvent::FocusIn:
        // A box entered for a new amount has its old one selected, so typing replaces it.
        if (watched == EdPor || watched == EdEFE || watched == EdTar)
            QTimer::singleShot(0, static_cast<QLineEdit *>(watched), &QLineEdit::selectAll);
        break;
    case QEvent::FocusOut:
        if (!leftByOperator(static_cast<QFocusEvent *>(event)) || m_closing)
            break;
        if (watched == CBCod || watched == CBCodP) {
            // The focus has already moved on: a press on "&Agregar" is what took it.
            const QWidget *next = QApplication::focusWidget();
            const bool toAdd = next == BAgregar || next == BAgregar2;
            const int before = m_linesAdded;
            if (watched == CBCod)
                CBCodExit();
            else
                CBCodPExit();
            m_lineAddedOnLeave = toAdd && m_linesAdded != before;
        } else if (watched == CBDes)
            CBDesExit();
        else if (watched == EdPor)
            EdPorExit();
        else if (watched == EdEFE)
            EdEFEExit();
        else if (watched == EdTar)
            EdTarExit();
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TFVentas::keyPressEvent(QKeyEvent *event)
{
    if (FormKeyDown(event->key()))
        return;
    QDialog::keyPressEvent(event);
}

bool TFVentas::FormKeyDown(int key)
{
    switch (key) {
    case Qt::Key_F9:
        BGrabarClick();
        return true;
    case Qt::Key_F2:
        openPriceVerifier(this);
        return true;
    // Enter left over by an entry box and Escape do nothing: neither records nor drops the sale.
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return true;
    default:
        return false;
    }
}

void TFVentas::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    CBCod->setFocus();
}

void TFVentas::prepareAndShow()
{
    if (prepareOpening())
        vx::ui::dialogs().showModal(this);
    finishClosing();
}

bool TFVentas::prepareOpening()
{
    aguarde::show();
    try {
        // Customers are picked as articles are: a page of the names that begin with the text.
        CBCliente->askDatabase(DM1->ADOConnection1, {QStringLiteral("CLIENTE"), QStringLiteral("CLIAPE")});

        proposeReceiptNumber(true);

        // The lists ask the article file as the operator types and when they drop down, so opening
        // costs a page of each whatever the size of the shop; a changed article list only has them
        // read the page they hold again.
        if (!CBCod->asksDatabase() || uGlobales::articleListChanged(uGlobales::ArticleList::Ventas)) {
            app::askArticleLists(*DM1->ADOConnection1, CBCod, CBDes, CBCodP);
            uGlobales::setArticleListChanged(uGlobales::ArticleList::Ventas, false);
        }
        openWorkTable();
    } catch (const std::exception &failure) {
        aguarde::close();
        vx::ui::dialogs().showException(this, failure);
        finishClosing();
        return false;
    }
    aguarde::close();
    EdFec->setText(vx::shopformat::formatDate(QDate::currentDate()));
    m_closing = false;
    return true;
}

void TFVentas::finishClosing()
{
    releaseWorkTable();
    for (vx::Table *table : {DM1->Stock, DM1->Clientes})
        if (table->active())
            table->close();
}

void TFVentas::proposeReceiptNumber(bool saleTypesOnly)
{
    // The highest number is the last row in number order, without reading every receipt.
    const QString sql = saleTypesOnly
        ? QStringLiteral("SELECT MAX(COMNRO) FROM CLICOM WHERE COMTIP = '1A' OR COMTIP = '1B' OR COMTIP = '1C'")
        : QStringLiteral("SELECT MAX(COMNRO) FROM CLICOM");
    const QVariant last = DM1->ADOConnection1->scalar(sql);
    const qint64 number = last.isNull() ? 0 : qint64(last.toDouble());
    if (number >= 0) {
        m_proposedNumber = QString::number(number + 1);
        EdNro->setText(m_proposedNumber);
    }
}

void TFVentas::openWorkTable()
{
    vx::Table *work = DM1->TMP1;
    if (!work->active())
        work->open();
    for (const char *amount : {"TM1PRE1", "TM1PRE2"})
        work->fieldByName(QLatin1String(amount))->setDisplayFormat(QStringLiteral("0.00"));
}

// The work table is this workstation's own (the data module gives every connection a private
// one), so emptying it touches no other counter's sale.
void TFVentas::clearWorkTable()
{
    DM1->ADOConnection1->execute(QStringLiteral("DELETE FROM TMP1"));
    releaseWorkTable();
}

void TFVentas::releaseWorkTable()
{
    vx::Table *work = DM1->TMP1;
    if (work->active())
        work->close();
}

int TFVentas::checkedList() const
{
    if (CBLista2->isChecked())
        return 2;
    if (CBLista3->isChecked())
        return 3;
    if (CBLista4->isChecked())
        return 4;
    return 1;
}

void TFVentas::recomputeTotals()
{
    // The same arithmetic as the recording, so that the window announces what will be charged.
    QList<sales::SaleLine> lines;
    if (DM1->TMP1->active())
        for (const QVariantList &row :
             DM1->TMP1->columnValues({QStringLiteral("TM1NUM1"), QStringLiteral("TM1PRE1")}))
            lines.append({QString(), row.value(0).toDouble(), row.value(1).toDouble()});
    const double subtotal = sales::saleAmounts(lines, 0).subtotal;
    EdTOT->setText(sales::amountText(subtotal));
    EdSTot->setText(sales::amountText(subtotal));
    applyPercentage();
    rewriteTender();
}

void TFVentas::EdSTotChange()
{
    if (!EdSTot->text().isEmpty())
        applyPercentage();
}

void TFVentas::EdPorExit()
{
    applyPercentage();
    tenderChange();
}

void TFVentas::applyPercentage()
{
    if (!EdPor->text().trimmed().isEmpty()) {
        const std::optional<double> typed = sales::boxAmount(EdPor->text());
        if (!typed) {
            vx::ui::dialogs().error(this, vx::shopformat::notANumberMessage(EdPor->text()), windowTitle());
            return;
        }
        m_percentage = *typed;
        EdPor->setText(sales::amountText(m_percentage));
    }
    const std::optional<double> subtotal = sales::boxAmount(EdSTot->text());
    if (!subtotal)
        return;
    const sales::Discount discount = sales::applyDiscount(*subtotal, m_percentage);
    EdDcto->setText(sales::amountText(discount.amount));
    EdTotal->setText(sales::amountText(discount.total));
    EdTOT->setText(sales::amountText(discount.total));
}

void TFVentas::tenderChange()
{
    const std::optional<double> total = sales::boxAmount(EdTOT->text());
    const std::optional<double> cash = sales::boxAmount(EdEFE->text());
    const std::optional<double> card = sales::boxAmount(EdTar->text());
    // While a box holds something that is no number yet, the change keeps its last value.
    if (total && cash && card)
        EdVTO->setText(sales::amountText(sales::changeDue(*cash, *card, *total)));
}

void TFVentas::rewriteTender()
{
    for (QLineEdit *tender : {EdEFE, EdTar})
        if (const std::optional<double> amount = sales::boxAmount(tender->text()))
            tender->setText(sales::amountText(*amount));
    tenderChange();
}

void TFVentas::EdEFEExit()
{
    rewriteTender();
}

void TFVentas::EdTarExit()
{
    rewriteTender();
}

void TFVentas::clearEntry()
{
    m_lineTakenBack = false;
    for (QComboBox *combo : {static_cast<QComboBox *>(CBCod), static_cast<QComboBox *>(CBDes),
                             static_cast<QComboBox *>(CBCodP)})
        combo->setEditText(QString());
    for (QLineEdit *edit : {EdCan, EdPre, EdStock})
        edit->clear();
}
