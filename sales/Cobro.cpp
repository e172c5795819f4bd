#include "sales/Cobro.h"

#include "data/DataModule.h"
#include "platform/core/ShopFormat.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"
#include "platform/ui/KeyFilter.h"
#include "sales/CouponRecording.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QVBoxLayout>

TFCobro::TFCobro(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FCobro"));
    setWindowTitle(QStringLiteral("Cobros con Tarjetas"));

    EdFec = addBox("EdFec", 10);
    EdFec->setFocusPolicy(Qt::ClickFocus);
    vx::ui::filterDateKeys(EdFec);
    EdFac = addBox("EdFac", 13);
    EdFac->setFocusPolicy(Qt::ClickFocus);
    CBTarj = new QComboBox(this);
    CBTarj->setObjectName(QStringLiteral("CBTarj"));
    CBTarj->setEditable(true);
    CBTarj->setInsertPolicy(QComboBox::NoInsert);
    vx::ui::setUpperCase(CBTarj->lineEdit(), true);
    EdNTar = addBox("EdNTar", 50);
    EdCupon = addBox("EdCupon", 50);
    EdImp = addBox("EdImp", 20);
    vx::ui::filterAmountKeys(EdImp);
    EdFec->installEventFilter(this);
    EdImp->installEventFilter(this);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Fecha:"), EdFec);
    form->addRow(QStringLiteral("Factura Nro.:"), EdFac);
    form->addRow(QStringLiteral("Tarjeta - Descripción:"), CBTarj);
    form->addRow(QStringLiteral("Tarjeta - Número:"), EdNTar);
    form->addRow(QStringLiteral("Cupón Nro.:"), EdCupon);
    auto *amountLabel = new QLabel(QStringLiteral("IMPORTE"), this);
    QFont bold = amountLabel->font();
    bold.setBold(true);
    amountLabel->setFont(bold);
    EdImp->setFont(bold);
    form->addRow(amountLabel, EdImp);

    BBConfirmar = new QPushButton(QStringLiteral("OK"), this);
    BBConfirmar->setObjectName(QStringLiteral("BBConfirmar"));
    BBConfirmar->setDefault(true);
    BBCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    BBCancelar->setObjectName(QStringLiteral("BBCancelar"));
    BBSalir = new QPushButton(QStringLiteral("&Salir"), this);
    BBSalir->setObjectName(QStringLiteral("BBSalir"));
    connect(BBConfirmar, &QPushButton::clicked, this, &TFCobro::BBConfirmarClick);
    connect(BBCancelar, &QPushButton::clicked, this, &TFCobro::BBCancelarClick);
    connect(BBSalir, &QPushButton::clicked, this, &TFCobro::BBSalirClick);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BBConfirmar);
    buttons->addWidget(BBCancelar);
    buttons->addWidget(BBSalir);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 14);
    layout->setSpacing(12);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setMinimumWidth(420);
    setTabOrder(CBTarj, EdNTar);
    setTabOrder(EdNTar, EdCupon);
    setTabOrder(EdCupon, EdImp);
}

TFCobro::~TFCobro() = default;

QLineEdit *TFCobro::addBox(const char *name, int maxLength)
{
    auto *box = new vx::ui::Edit(maxLength, false, this);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

void TFCobro::prepare(const QString &saleDate, const QString &receiptNumber, double amount)
{
    m_written.reset();
    fillCards();
    EdFec->setText(saleDate);
    EdFac->setText(receiptNumber);
    EdImp->setText(vx::shopformat::formatFixed(amount, 2));
    CBTarj->setFocus();
}

void TFCobro::fillCards()
{
    CBTarj->clear();
    QStringList names;
    QSqlQuery query = DM1->ADOConnection1->execute(
        QStringLiteral("SELECT TARNOM FROM TARJETAS WHERE TARNOM IS NOT NULL ORDER BY TARNOM"));
    while (query.next())
        names << query.value(0).toString();
    CBTarj->addItems(names);
    CBTarj->setCurrentIndex(-1);
    CBTarj->setEditText(QString());
}

void TFCobro::EdFecExit()
{
    if (EdFec->text().trimmed().isEmpty())
        EdFec->setText(vx::shopformat::formatDate(QDate::currentDate()));
}

void TFCobro::EdImpExit()
{
    const QString text = EdImp->text().trimmed();
    const std::optional<double> amount =
        text.isEmpty() ? std::optional<double>(0.0) : vx::shopformat::parseNumber(text);
    // A text that is no number stays as typed: confirming it then says the coupon was not stored.
    if (amount)
        EdImp->setText(vx::shopformat::formatFixed(*amount, 2));
}

void TFCobro::BBConfirmarClick()
{
    // Enter on the default button confirms without leaving the amount box: read it as leaving does.
    EdImpExit();
    const sales::CouponEntry entry{EdFec->text(), EdFac->text(), CBTarj->currentText(), EdCupon->text(), EdImp->text()};
    try {
        m_written = WrittenCoupon{EdImp->text(), sales::recordCoupon(*DM1->ADOConnection1, entry)};
    } catch (const sales::CouponRecordingError &failure) {
        vx::ui::dialogs().showMessage(QString::fromUtf8(failure.what()));
    }
    clearBoxes();
    done(m_written ? QDialog::Accepted : QDialog::Rejected);
}

void TFCobro::BBCancelarClick()
{
    clearBoxes();
    done(QDialog::Rejected);
}

void TFCobro::BBSalirClick()
{
    clearBoxes();
    done(QDialog::Rejected);
}

void TFCobro::reject()
{
    // Escape and the title bar's close button leave as "Cancelar" does.
    BBCancelarClick();
}

void TFCobro::clearBoxes()
{
    EdFec->clear();
    EdFac->clear();
    EdNTar->clear();
    EdCupon->clear();
    EdImp->clear();
    CBTarj->setCurrentIndex(-1);
    CBTarj->setEditText(QString());
}

bool TFCobro::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut) {
        if (watched == EdFec)
            EdFecExit();
        else if (watched == EdImp)
            EdImpExit();
    }
    return QDialog::eventFilter(watched, event);
}
