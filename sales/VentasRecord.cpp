// The sales window's sale as a whole: the card tender, recording with its print offer, and
// starting over ("&Nuevo", "Ca&ncelar", "&Cerrar").
#include "data/DataModule.h"
#include "platform/core/ShopFormat.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/PickList.h"
#include "sales/Cobro.h"
#include "sales/ReceiptNumbers.h"
#include "sales/SalePrint.h"
#include "sales/SaleRecording.h"
#include "sales/SaleTotals.h"
#include "sales/Ventas.h"
#include "app/Aguarde.h"
#include "app/uGlobales.h"

#include <QLineEdit>

#include <exception>

void TFVentas::Button2Click()
{
    if (EdTOT->text().trimmed().isEmpty())
        EdTOT->setText(QStringLiteral("0"));
    if (EdEFE->text().trimmed().isEmpty())
        EdEFE->setText(QStringLiteral("0"));
    const std::optional<double> total = sales::boxAmount(EdTOT->text());
    const std::optional<double> cash = sales::boxAmount(EdEFE->text());
    if (!total || !cash) {
        vx::ui::dialogs().error(this, vx::shopformat::notANumberMessage(total ? EdEFE->text() : EdTOT->text()),
                                windowTitle());
        return;
    }
    if (!m_cobro)
        m_cobro = std::make_unique<TFCobro>(this);
    m_cobro->prepare(EdFec->text(), EdNro->text(), *total - *cash);
    vx::ui::dialogs().showModal(m_cobro.get());
    if (const std::optional<TFCobro::WrittenCoupon> coupon = m_cobro->writtenCoupon()) {
        EdTar->setText(coupon->amountText);
        m_couponIds << coupon->couponId;
    }
    tenderChange();
}

void TFVentas::BNuevoClick()
{
    BCancelarClick();
    try {
        proposeReceiptNumber(false);
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFVentas::BCancelarClick()
{
    clearEntry();
    clearAmounts();
    EdNro->clear();
    m_couponIds.clear();
    m_proposedNumber.clear();
    try {
        clearWorkTable();
        openWorkTable();
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
    CBCod->setFocus();
}

void TFVentas::clearAmounts()
{
    // The total first: its change would otherwise write a change of 0 into the emptied box.
    EdTOT->setText(QStringLiteral("0"));
    for (QLineEdit *edit : {EdEFE, EdTar, EdVTO, EdSTot, EdPor, EdDcto, EdTotal})
        edit->clear();
    // An emptied percentage box would otherwise bring the last discount back on the next line.
    m_percentage = 0;
}

void TFVentas::BCerrarClick()
{
    m_closing = true;
    clearEntry();
    // The next customer starts from nothing: no discount, no tender of an abandoned sale.
    clearAmounts();
    EdNro->clear();
    m_couponIds.clear();
    m_proposedNumber.clear();
    try {
        DM1->Caja->setFiltered(false);
        clearWorkTable();
        for (vx::Table *table : {DM1->Stock, DM1->Egresos, DM1->Movim, DM1->Caja})
            if (table->active())
                table->close();
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
    QDialog::reject();
}

void TFVentas::reject()
{
    if (!m_closing)
        BCerrarClick();
}

void TFVentas::BGrabarClick()
{
    recordSale();
    m_entryArmed = true;
}

// A line taken back by double click and not added again goes back into the sale before it is
// recorded, with the quantity and price now in the boxes: the operator meant to change it, not to
// drop it. False (the operator told) when it cannot be added.
bool TFVentas::putBackTakenLine()
{
    if (!m_lineTakenBack)
        return true;
    const QString code = CBCod->currentText();
    if (!code.trimmed().isEmpty())
        BAgregarClick();
    else
        m_lineTakenBack = false;
    if (!m_lineTakenBack)
        return true;
    vx::ui::dialogs().error(
        this,
        QStringLiteral("El artículo %1 quedó fuera de la venta: revise cantidad y precio y agréguelo, o bórrelo.")
            .arg(code),
        windowTitle());
    return false;
}

// A number typed by hand may repeat one already recorded; the operator says whether that is meant.
bool TFVentas::typedNumberAccepted(const sales::SaleEntry &entry)
{
    if (entry.receiptNumberText.isEmpty() || entry.receiptNumberProposed)
        return true;
    bool ok = false;
    const int number = entry.receiptNumberText.toInt(&ok);
    // A number that is none fails in the recording, which rolls back and says so.
    if (!ok || !sales::receiptNumberTaken(*DM1->ADOConnection1, number))
        return true;
    return vx::ui::dialogs().confirm(
        this, QStringLiteral("El comprobante %1 ya existe. ¿Graba otro con el mismo número?").arg(number),
        windowTitle());
}

void TFVentas::recordSale()
{
    if (!putBackTakenLine())
        return;
    sales::SaleEntry entry;
    for (QLineEdit *box : {EdTOT, EdTar, EdEFE}) {
        if (box->text().trimmed().isEmpty())
            box->setText(QStringLiteral("0"));
    }
    // The percentage is the one in its box now, even when F9 came before the box was left.
    for (QLineEdit *box : {EdTar, EdEFE, EdPor}) {
        if (!sales::boxAmount(box->text())) {
            vx::ui::dialogs().error(this, vx::shopformat::notANumberMessage(box->text()), windowTitle());
            return;
        }
    }
    entry.card = *sales::boxAmount(EdTar->text());
    entry.cash = *sales::boxAmount(EdEFE->text());
    entry.percentage = *sales::boxAmount(EdPor->text());
    entry.receiptNumberText = EdNro->text().trimmed();
    entry.receiptNumberProposed = !m_proposedNumber.isEmpty() && entry.receiptNumberText == m_proposedNumber;
    entry.dateText = EdFec->text();
    entry.customerName = CBCliente->currentText();
    entry.couponIds = m_couponIds;
    entry.operatorCode = uGlobales::session().operatorCode;
    entry.accessLevel = uGlobales::session().accessLevel;

    sales::RecordedSale recorded;
    try {
        if (!typedNumberAccepted(entry))
            return;
        aguarde::show();
        if (DM1->TMP1->active())
            for (const QVariantList &row : DM1->TMP1->columnValues(
                     {QStringLiteral("TM1CHR1"), QStringLiteral("TM1NUM1"), QStringLiteral("TM1PRE1")}))
                entry.lines.append({row.value(0).toString(), row.value(1).toDouble(), row.value(2).toDouble()});
        recorded = sales::recordSale(*DM1->ADOConnection1, entry,
                                     [](const QString &step) { aguarde::progress(step); });
    } catch (const std::exception &failure) {
        // Nothing of the sale was stored; the window closes as "&Cerrar" closes it.
        aguarde::close();
        vx::ui::dialogs().error(this, vx::ui::failureText(failure), windowTitle());
        BCerrarClick();
        return;
    }
    aguarde::close();

    const QString number = QString::number(recorded.receiptNumber);
    if (recorded.numberChanged)
        vx::ui::dialogs().information(
            this,
            QStringLiteral("El comprobante %1 ya había sido usado en otro puesto. La venta se grabó con el número %2.")
                .arg(EdNro->text(), number),
            windowTitle());
    EdNro->setText(number);
    showRecorded(recorded);

    if (vx::ui::dialogs().confirm(this, QStringLiteral("Proceso Terminado. Imprime Comprobante?"), QString())) {
        try {
            sales::printRecordedSale(this, {EdNro->text(), EdFec->text(), CBCliente->currentText(), EdSTot->text(),
                                            EdPor->text(), EdDcto->text(), EdTotal->text()});
        } catch (const std::exception &failure) {
            vx::ui::dialogs().error(
                this,
                QStringLiteral("No se pudo imprimir el comprobante: %1\nLa venta %2 quedó grabada.")
                    .arg(vx::ui::failureText(failure), number),
                windowTitle());
        }
    }

    m_percentage = 0;
    EdPor->setText(QStringLiteral("0"));
    EdDcto->setText(QStringLiteral("0"));
    BCancelarClick();
    // The next buyer is a walk-in one until the operator names another.
    CBCliente->setEditText(QStringLiteral("CONSUMIDOR FINAL"));
    // The wait window and the questions took the activation; the next scan goes to CBCod.
    activateWindow();
}

// The boxes show the amounts stored, so that the receipt printed from them is the one recorded.
void TFVentas::showRecorded(const sales::RecordedSale &recorded)
{
    EdSTot->setText(sales::amountText(recorded.subtotal));
    EdPor->setText(sales::amountText(recorded.percentage));
    EdDcto->setText(sales::amountText(recorded.discount));
    EdTotal->setText(sales::amountText(recorded.total));
    EdTOT->setText(sales::amountText(recorded.total));
}
