#include "stock/Ing.h"

#include "app/Aguarde.h"
#include "data/DataModule.h"
#include "platform/core/ShopFormat.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/PickList.h"
#include "platform/ui/NamedControls.h"
#include "stock/IngFactura.h"
#include "suppliers/SupplierPickList.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFIng *FIng = nullptr;

TFIng::TFIng(QWidget *parent)
    : MovementWindow(QStringLiteral("FIng"), QStringLiteral("Ingreso de Mercaderia"), stock::receiptSeries,
                     uGlobales::ArticleList::Ingresos, parent)
{
    createSharedControls();
    EdCan->setToolTip(QStringLiteral("Cantidad a Ingresar al deposito uno"));
    EdCan2->setToolTip(QStringLiteral("Cantidad a Ingresar al deposito dos"));
    BCancelar = button("BCancelar", QStringLiteral("Ca&ncelar"));
    connect(BCancelar, &QPushButton::clicked, this, &TFIng::BCancelarClick);
    for (QLineEdit *amount : amountBoxes())
        watch(amount);
    CBProv = suppliers::newSupplierPickList(this, "CBProv");
    CBProv->setToolTip(QStringLiteral("Proveedor de la mercaderia; vacio si no se indica"));
    watch(CBProv->lineEdit());

    DBGrid1->setColumns({{QStringLiteral("TM1CHR1"), QStringLiteral("CODIGO PROPIO"), 14},
                         {QStringLiteral("TM1CHR10"), QStringLiteral("Descripcion"), 36},
                         {QStringLiteral("TM1NUM1"), QStringLiteral("Cantidad"), 9},
                         {QStringLiteral("TM1PRE1"), QStringLiteral("Costo"), 10},
                         {QStringLiteral("TM1NUM2"), QStringLiteral("Cant.2"), 9},
                         {QStringLiteral("TM1NUM3"), QStringLiteral("en Stock"), 9},
                         {QStringLiteral("TM1NUM4"), QStringLiteral("en Stock 2"), 9}});

    // The second cost is kept from the article but not offered: it follows the receipt unchanged.
    QLabel *cost2Caption = vx::ui::captionFor(QStringLiteral("Costo 2"), EdPre2);
    cost2Caption->hide();
    EdPre2->hide();

    auto *header = new QGridLayout;
    header->addWidget(vx::ui::captionFor(QStringLiteral("Fecha:"), EdFec), 0, 0);
    header->addWidget(EdFec, 0, 1);
    header->addWidget(vx::ui::captionFor(QStringLiteral("Numero Comprobante:"), EdNro), 0, 2);
    header->addWidget(EdNro, 0, 3);
    header->setColumnStretch(4, 1);
    header->addWidget(BCerrar, 0, 5);
    header->addWidget(vx::ui::captionFor(QStringLiteral("Proveedor"), CBProv), 1, 0);
    header->addWidget(CBProv, 1, 1, 1, 3);

    auto *entry = new QGridLayout;
    entry->addWidget(vx::ui::captionFor(QStringLiteral("CODIGO PROPIO"), CBCMCT), 0, 0);
    entry->addWidget(vx::ui::captionFor(QStringLiteral("Descripcion"), CBDes), 0, 1);
    entry->addWidget(vx::ui::captionFor(QStringLiteral("Cantidad"), EdCan), 0, 2);
    entry->addWidget(vx::ui::captionFor(QStringLiteral("Costo"), EdPre), 0, 3);
    entry->addWidget(vx::ui::captionFor(QStringLiteral("en Stock"), EdSt1), 0, 4);
    entry->addWidget(CBCMCT, 1, 0);
    entry->addWidget(CBDes, 1, 1);
    entry->addWidget(EdCan, 1, 2);
    entry->addWidget(EdPre, 1, 3);
    entry->addWidget(EdSt1, 1, 4);
    entry->addWidget(BAgregar, 1, 5);
    entry->addWidget(vx::ui::captionFor(QStringLiteral("CODIGO de Origen"), CBCodP), 2, 0);
    entry->addWidget(vx::ui::captionFor(QStringLiteral("Cant. 2"), EdCan2), 2, 2);
    entry->addWidget(cost2Caption, 2, 3);
    entry->addWidget(vx::ui::captionFor(QStringLiteral("Stock 2"), EdSt2), 2, 4);
    entry->addWidget(CBCodP, 3, 0);
    entry->addWidget(EdCan2, 3, 2);
    entry->addWidget(EdPre2, 3, 3);
    entry->addWidget(EdSt2, 3, 4);
    entry->setColumnStretch(1, 1);

    auto *help = new QLabel(
        QStringLiteral("(Luego de seleccionar el artículo y poner la/s cantidades, oprima Agregar, Luego de agregar "
                       "todos los artículos oprima Grabar para que ingresen los artículos al depósito y generar el "
                       "movimiento)"),
        this);
    help->setWordWrap(true);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(DBNavigator1);
    buttons->addStretch(1);
    buttons->addWidget(BEliminar);
    buttons->addWidget(BCancelar);
    buttons->addWidget(BGrabar);

    auto *main = new QVBoxLayout(this);
    main->addLayout(header);
    main->addLayout(entry);
    main->addWidget(help);
    main->addWidget(DBGrid1, 1);
    main->addLayout(buttons);
    resize(860, 560);
    // The supplier follows the header boxes; the article boxes keep their order after it.
    setTabOrder(EdNro, CBProv);
    setTabOrder(CBProv, CBCMCT);
    setTabOrder(CBCMCT, EdCan);
    setTabOrder(EdCan, EdPre);
    setTabOrder(EdPre, EdCan2);
    setTabOrder(EdCan2, BAgregar);
    FIng = this;
}

TFIng::~TFIng()
{
    stopWatching();
    if (FIng == this)
        FIng = nullptr;
}

bool TFIng::eventFilter(QObject *watched, QEvent *event)
{
    // Enter after the supplier's name goes on to the articles, once the name is one of a supplier.
    if (watched == CBProv->lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (namedSupplier())
                CBCMCT->setFocus();
            return true;
        }
    }
    return MovementWindow::eventFilter(watched, event);
}

void TFIng::prepareOwnLists()
{
    CBProv->askDatabase(DM1->ADOConnection1, {QStringLiteral("PROVEEDORES"), QStringLiteral("CLIAPE")});
}

void TFIng::clearOwnBoxes()
{
    // A new receipt names its own supplier: the last one is not carried over to it.
    CBProv->setEditText(QString());
}

std::optional<int> TFIng::namedSupplier()
{
    const QString name = CBProv->currentText().trimmed();
    if (name.isEmpty())
        return 0;
    try {
        const QVariant code = DM1->ADOConnection1->scalar(
            QStringLiteral("SELECT CLICOD FROM PROVEEDORES WHERE CLIAPE = ? ORDER BY CLIUNO LIMIT 1"), {name});
        if (!code.isNull())
            return code.toInt();
        vx::ui::dialogs().showMessage(
            QStringLiteral("No hay un proveedor llamado \"%1\"; elíjalo de la lista o deje el proveedor vacío.").arg(name));
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
    CBProv->setFocus();
    return std::nullopt;
}

QList<stock::ReceiptLine> TFIng::receiptLines()
{
    QList<stock::ReceiptLine> lines;
    for (const stock::WorkLine &line : workLines())
        lines.append({line.code, line.description, line.quantity1, line.price1, line.quantity2, line.price2});
    return lines;
}

bool TFIng::readyToRecord()
{
    m_supplierCode = 0;
    m_invoiceNumber = 0;
    const std::optional<int> supplier = namedSupplier();
    if (!supplier)
        return false;
    m_supplierCode = *supplier;
    const qint64 cents = stock::receiptCostCents(receiptLines());
    if (m_supplierCode == 0 || cents <= 0)
        return true;
    const QString total = vx::shopformat::formatFixed(double(cents) / 100, 2);
    if (!vx::ui::dialogs().confirm(
            this, QStringLiteral("¿Registra la factura del proveedor por el costo total del ingreso ($ %1)?").arg(total),
            windowTitle()))
        return true;
    const std::optional<double> number = TFIngFactura::ask(this, CBProv->currentText().trimmed(), total);
    if (!number)
        return false;
    m_invoiceNumber = *number;
    return true;
}

QList<stock::MovementWindow::LineBox> TFIng::lineBoxes() const
{
    return {{EdCan, "TM1NUM1", "La cantidad"},
            {EdPre, "TM1PRE1", "El costo"},
            {EdCan2, "TM1NUM2", "La cantidad 2"},
            {EdPre2, "TM1PRE2", "El costo 2"}};
}

void TFIng::showArticle(const stock::StockArticle &article)
{
    EdPre->setText(vx::shopformat::formatFixed(article.cost1, 2));
    EdPre2->setText(vx::shopformat::formatFixed(article.cost2, 2));
}

stock::RecordedMovement TFIng::record(const stock::NumberBox &number)
{
    stock::ReceiptEntry entry;
    entry.number = number;
    entry.dateText = EdFec->text();
    entry.operatorCode = uGlobales::session().operatorCode;
    entry.accessLevel = uGlobales::session().accessLevel;
    entry.supplierCode = m_supplierCode;
    entry.invoiceNumber = m_invoiceNumber;
    entry.lines = receiptLines();
    return stock::recordReceipt(*DM1->ADOConnection1, entry, [](const QString &step) { aguarde::progress(step); });
}
