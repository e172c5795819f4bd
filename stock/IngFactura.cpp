#include "stock/IngFactura.h"

#include "platform/ui/Dialogs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace {

// The invoice numbers the supplier documents hold: whole, up to 13 digits.
constexpr int numberDigits = 13;

}  // namespace

TFIngFactura::TFIngFactura(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FIngFactura"));
    setWindowTitle(QStringLiteral("Factura del Proveedor"));
    LabTexto = new QLabel(this);
    LabTexto->setObjectName(QStringLiteral("LabTexto"));
    LabTexto->setWordWrap(true);
    EdFactura = new QLineEdit(this);
    EdFactura->setObjectName(QStringLiteral("EdFactura"));
    EdFactura->setMaxLength(numberDigits);
    EdFactura->setAlignment(Qt::AlignRight);
    EdFactura->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{1,%1}").arg(numberDigits)), EdFactura));
    auto *caption = new QLabel(QStringLiteral("Numero de Factura:"), this);
    caption->setBuddy(EdFactura);
    BAceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
    BAceptar->setObjectName(QStringLiteral("BAceptar"));
    BAceptar->setDefault(true);
    BCancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    BCancelar->setObjectName(QStringLiteral("BCancelar"));
    BCancelar->setAutoDefault(false);
    connect(BAceptar, &QPushButton::clicked, this, &TFIngFactura::BAceptarClick);
    connect(BCancelar, &QPushButton::clicked, this, &QDialog::reject);

    auto *boxes = new QGridLayout(this);
    boxes->addWidget(LabTexto, 0, 0, 1, 2);
    boxes->addWidget(caption, 1, 0);
    boxes->addWidget(EdFactura, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BAceptar);
    buttons->addWidget(BCancelar);
    boxes->addLayout(buttons, 2, 0, 1, 2);
}

void TFIngFactura::BAceptarClick()
{
    bool ok = false;
    const qint64 typed = EdFactura->text().toLongLong(&ok);
    if (!ok || typed <= 0) {
        vx::ui::dialogs().showMessage(QStringLiteral("El número de factura debe ser un entero mayor que cero."));
        EdFactura->setFocus();
        return;
    }
    m_number = double(typed);
    accept();
}

std::optional<double> TFIngFactura::ask(QWidget *parent, const QString &supplier, const QString &total)
{
    TFIngFactura dialog(parent);
    dialog.LabTexto->setText(QStringLiteral("Factura de %1 por $ %2").arg(supplier, total));
    if (vx::ui::dialogs().showModal(&dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.number();
}
