#include "sales/ImpTF.h"

#include <QPushButton>
#include <QVBoxLayout>

TFImpTF *FImpTF = nullptr;

TFImpTF::TFImpTF(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FImpTF"));
    setWindowTitle(QStringLiteral("Imprimir"));
    auto *layout = new QVBoxLayout(this);
    const auto button = [this, layout](const char *name, const QString &caption, void (TFImpTF::*handler)()) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        b->setMinimumHeight(34);
        connect(b, &QPushButton::clicked, this, handler);
        layout->addWidget(b);
        return b;
    };
    BTicket = button("BTicket", QStringLiteral("Ticket &70"), &TFImpTF::BTicketClick);
    BFactura = button("BFactura", QStringLiteral("&Factura"), &TFImpTF::BFacturaClick);
    BTicket57 = button("BTicket57", QStringLiteral("Ticket &58"), &TFImpTF::BTicket57Click);
    BFiscal = button("BFiscal", QStringLiteral("F&iscal"), &TFImpTF::BFiscalClick);
    BFiscal->hide();
    BCancelar = button("BCancelar", QStringLiteral("&Cancelar"), &TFImpTF::BCancelarClick);
    setMinimumWidth(260);
}

TFImpTF::~TFImpTF()
{
    if (FImpTF == this)
        FImpTF = nullptr;
}

void TFImpTF::choose(const QString &printType)
{
    m_printType = printType;
    accept();
}
