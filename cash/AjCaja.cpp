#include "cash/AjCaja.h"

#include "cash/CashAdjustment.h"
#include "cash/CashWidgets.h"
#include "data/DataModule.h"
#include "platform/core/ShopFormat.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"
#include "platform/ui/KeyFilter.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const QString doneMessage = QStringLiteral("Proceso Terminado.");

QPushButton *button(QDialog *window, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, window);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

TFAjCaja::TFAjCaja(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FAjCaja"));
    setWindowTitle(QStringLiteral("Ajuste de caja"));
    createControls();
    BCancelClick();
}

TFAjCaja::~TFAjCaja() = default;

void TFAjCaja::createControls()
{
    RB1 = new QRadioButton(QStringLiteral("INGRESA"), this);
    RB1->setObjectName(QStringLiteral("RB1"));
    RB2 = new QRadioButton(QStringLiteral("RETIRA"), this);
    RB2->setObjectName(QStringLiteral("RB2"));
    RB2->setChecked(true);
    EdFec = cash::dateBox(this, "EdFec");
    EdImp = new vx::ui::Edit(10, false, this);
    EdImp->setObjectName(QStringLiteral("EdImp"));
    vx::ui::filterAmountKeys(EdImp);
    EdCon = new vx::ui::Edit(20, true, this);
    EdCon->setObjectName(QStringLiteral("EdCon"));
    BGrabar = button(this, "BGrabar", QStringLiteral("&Grabar"));
    BCancel = button(this, "BCancel", QStringLiteral("C&ancelar"));
    BCerrar = button(this, "BCerrar", QStringLiteral("&Cerrar"));
    EdDesF = cash::dateBox(this, "EdDesF");
    EdHasF = cash::dateBox(this, "EdHasF");
    BEliminar = button(this, "BEliminar", QStringLiteral("&Eliminar"));
    connect(BGrabar, &QPushButton::clicked, this, &TFAjCaja::BGrabarClick);
    connect(BCancel, &QPushButton::clicked, this, &TFAjCaja::BCancelClick);
    connect(BCerrar, &QPushButton::clicked, this, &TFAjCaja::BCerrarClick);
    connect(BEliminar, &QPushButton::clicked, this, &TFAjCaja::BEliminarClick);
    connect(EdDesF, &QLineEdit::editingFinished, this, [this] { cash::leaveDateBox(EdDesF); });
    connect(EdHasF, &QLineEdit::editingFinished, this, [this] { cash::leaveDateBox(EdHasF); });

    auto *money = new QGroupBox(QStringLiteral("EFECTIVO"), this);
    auto *directions = new QHBoxLayout;
    directions->addWidget(RB1);
    directions->addWidget(RB2);
    auto *moneyBoxes = new QFormLayout(money);
    moneyBoxes->addRow(directions);
    moneyBoxes->addRow(QStringLiteral("Fecha"), EdFec);
    moneyBoxes->addRow(QStringLiteral("Importe"), EdImp);
    moneyBoxes->addRow(QStringLiteral("Concepto"), EdCon);
    auto *moneyButtons = new QHBoxLayout;
    moneyButtons->addWidget(BGrabar);
    moneyButtons->addWidget(BCancel);
    moneyBoxes->addRow(moneyButtons);

    auto *cards = new QGroupBox(QStringLiteral("TARJETAS"), this);
    auto *cardBoxes = new QFormLayout(cards);
    cardBoxes->addRow(QStringLiteral("Eliminar Tarjetas de Caja Desde el: "), EdDesF);
    cardBoxes->addRow(QStringLiteral("Hasta el: "), EdHasF);
    cardBoxes->addRow(BEliminar);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(money);
    layout->addWidget(cards);
    layout->addWidget(BCerrar, 0, Qt::AlignRight);
}

void TFAjCaja::BGrabarClick()
{
    const QString amountText = EdImp->text().trimmed();
    if (amountText.isEmpty()) {
        vx::ui::dialogs().showMessage(QStringLiteral("Debe ingresar el importe..."));
        return;
    }
    const std::optional<double> amount = vx::shopformat::parseNumber(amountText);
    if (!amount) {
        vx::ui::dialogs().error(this, vx::shopformat::notANumberMessage(amountText), windowTitle());
        return;
    }
    const std::optional<QDate> date = vx::shopformat::parseDate(EdFec->text());
    if (!date) {
        vx::ui::dialogs().error(this, vx::shopformat::notADateMessage(EdFec->text()), windowTitle());
        return;
    }
    try {
        cash::recordAdjustment(*DM1->ADOConnection1, {RB1->isChecked(), *amount, *date, EdCon->text()});
    } catch (const cash::CashError &error) {
        vx::ui::dialogs().error(this, error.message(), windowTitle());
        return;
    }
    vx::ui::dialogs().showMessage(doneMessage);
    BCerrarClick();
}

void TFAjCaja::BCancelClick()
{
    EdFec->setText(vx::shopformat::formatDate(QDate::currentDate()));
    EdImp->setText(QStringLiteral("0"));
    EdCon->clear();
}

void TFAjCaja::BCerrarClick()
{
    BCancelClick();
    done(QDialog::Rejected);
}

void TFAjCaja::BEliminarClick()
{
    const std::optional<QDate> from = cash::leaveDateBox(EdDesF);
    if (!from)
        return;
    const std::optional<QDate> to = cash::leaveDateBox(EdHasF);
    if (!to)
        return;
    try {
        cash::clearCardRows(*DM1->ADOConnection1, *from, *to);
    } catch (const cash::CashError &error) {
        vx::ui::dialogs().error(this, error.message(), windowTitle());
        return;
    }
    vx::ui::dialogs().showMessage(doneMessage);
    BCerrarClick();
}

void TFAjCaja::reject()
{
    BCerrarClick();
}

void openAjCaja(QWidget *parent)
{
    TFAjCaja window(parent);
    vx::ui::dialogs().showModal(&window);
}
