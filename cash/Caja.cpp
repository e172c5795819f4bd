#include "cash/Caja.h"

#include "cash/CashFigures.h"
#include "cash/CashWidgets.h"
#include "platform/core/ShopFormat.h"
#include "data/DataModule.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Dialogs.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString hastaMessage = QStringLiteral("La fecha HASTA debe ser mayor que la fecha DESDE.");

} // namespace

TFCaja::TFCaja(QWidget *parent)
    : QDialog(parent), m_book(DM1->ADOConnection1, QStringLiteral("CAJA"), QStringLiteral("Caja"), this)
{
    setObjectName(QStringLiteral("FCaja"));
    setWindowTitle(QStringLiteral("RESUMEN DE CAJA"));
    createControls();
}

TFCaja::~TFCaja() = default;

void TFCaja::createControls()
{
    EdDesF = cash::dateBox(this, "EdDesF");
    EdHasF = cash::dateBox(this, "EdHasF");
    connect(EdDesF, &QLineEdit::editingFinished, this, &TFCaja::EdDesFExit);
    connect(EdHasF, &QLineEdit::editingFinished, this, &TFCaja::EdHasFExit);
    BConsultar = new QPushButton(QStringLiteral("C&onsultar"), this);
    BConsultar->setObjectName(QStringLiteral("BConsultar"));
    BConsultar->setAutoDefault(false);
    connect(BConsultar, &QPushButton::clicked, this, &TFCaja::BConsultarClick);
    BCerrar = new QPushButton(QStringLiteral("&Cerrar"), this);
    BCerrar->setObjectName(QStringLiteral("BCerrar"));
    BCerrar->setAutoDefault(false);
    connect(BCerrar, &QPushButton::clicked, this, &TFCaja::BCerrarClick);
    EdEfePer = cash::readOnlyBox(this, "EdEfePer");
    Edit1 = cash::readOnlyBox(this, "Edit1");
    EdEfect = cash::readOnlyBox(this, "EdEfect");
    EdTarj = cash::readOnlyBox(this, "EdTarj");
    DBNavigator1 = cash::moveNavigator(this, m_book);
    DBGrid1 = cash::cashBookGrid(this, m_book, QStringLiteral("IMPORTE"));

    auto *dates = new QHBoxLayout;
    dates->addWidget(new QLabel(QStringLiteral("Desde Fecha"), this));
    dates->addWidget(EdDesF);
    dates->addWidget(new QLabel(QStringLiteral("Hasta Fecha"), this));
    dates->addWidget(EdHasF);
    dates->addWidget(BConsultar);
    dates->addStretch(1);
    dates->addWidget(BCerrar);

    auto *period = new QGroupBox(QStringLiteral("SALDO del PERIODO"), this);
    auto *periodBoxes = new QGridLayout(period);
    periodBoxes->addWidget(new QLabel(QStringLiteral("EFECTIVO"), period), 0, 0);
    periodBoxes->addWidget(EdEfePer, 0, 1);
    periodBoxes->addWidget(new QLabel(QStringLiteral("TARJETAS"), period), 1, 0);
    periodBoxes->addWidget(Edit1, 1, 1);
    auto *inCash = new QGroupBox(QStringLiteral("En CAJA"), this);
    auto *cashBoxes = new QGridLayout(inCash);
    cashBoxes->addWidget(new QLabel(QStringLiteral("EFECTIVO En CAJA"), inCash), 0, 0);
    cashBoxes->addWidget(EdEfect, 0, 1);
    cashBoxes->addWidget(new QLabel(QStringLiteral("TARJETAS En CAJA"), inCash), 1, 0);
    cashBoxes->addWidget(EdTarj, 1, 1);
    auto *figures = new QHBoxLayout;
    figures->addWidget(period);
    figures->addWidget(inCash);
    figures->addStretch(1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(dates);
    layout->addWidget(DBNavigator1);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(figures);
    resize(900, 520);
}

void TFCaja::openBook()
{
    const cash::CashFigures figures = cash::readCashFigures(*DM1->ADOConnection1);
    EdEfect->setText(cash::centsText(figures.cashCents));
    EdTarj->setText(cash::centsText(figures.cardCents));
    EdEfePer->setText(QStringLiteral("0"));
    Edit1->setText(QStringLiteral("0"));
    book().open();
}

void TFCaja::EdDesFExit()
{
    cash::leaveDateBox(EdDesF);
}

void TFCaja::EdHasFExit()
{
    const std::optional<QDate> to = cash::leaveDateBox(EdHasF);
    const std::optional<QDate> from = vx::shopformat::parseDate(EdDesF->text());
    if (to && from && *to < *from)
        vx::ui::dialogs().error(this, hastaMessage, windowTitle());
}

// The grid and the period's figures are read over the same rows: those written from the first
// day's start to the last day's end.
void TFCaja::BConsultarClick()
{
    const std::optional<QDate> from = cash::leaveDateBox(EdDesF);
    if (!from)
        return;
    const std::optional<QDate> to = cash::leaveDateBox(EdHasF);
    if (!to)
        return;
    EdEfePer->setText(QStringLiteral("0"));
    Edit1->setText(QStringLiteral("0"));
    try {
        const cash::PeriodFigures period = cash::readPeriodFigures(*DM1->ADOConnection1, *from, *to);
        book().setFilter(cash::dayRangeFilter(QStringLiteral("CAJFEC"), *from, *to));
        book().setFiltered(true);
        book().first();
        EdEfePer->setText(cash::centsText(period.cashCents));
        Edit1->setText(cash::centsText(period.cardCents));
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFCaja::BCerrarClick()
{
    book().setFiltered(false);
    book().close();
    for (QLineEdit *box : {EdEfect, EdTarj, EdEfePer, Edit1})
        box->setText(QStringLiteral("0"));
    EdDesF->clear();
    EdHasF->clear();
    done(QDialog::Rejected);
}

void TFCaja::reject()
{
    BCerrarClick();
}

void openCaja(QWidget *parent)
{
    TFCaja window(parent);
    try {
        window.openBook();
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(parent, failure);
        return;
    }
    vx::ui::dialogs().showModal(&window);
}
