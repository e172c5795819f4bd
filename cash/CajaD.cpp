#include "cash/CajaD.h"

#include "app/Aguarde.h"
#include "cash/CashReports.h"
#include "cash/CashWidgets.h"
#include "data/DataModule.h"
#include "platform/core/ShopFormat.h"
#include "platform/report/Report.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Dialogs.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFCajaD::TFCajaD(QWidget *parent)
    : QDialog(parent), m_book(DM1->ADOConnection1, QStringLiteral("CAJA"), QStringLiteral("Caja"), this)
{
    setObjectName(QStringLiteral("FCajaD"));
    setWindowTitle(QStringLiteral("Caja del Dia"));
    createControls();
}

TFCajaD::~TFCajaD() = default;

void TFCajaD::createControls()
{
    EdSaldoIni = cash::readOnlyBox(this, "EdSaldoIni");
    EdEFEDia = cash::readOnlyBox(this, "EdEFEDia");
    EdSaldoHoy = cash::readOnlyBox(this, "EdSaldoHoy");
    EdTar = cash::readOnlyBox(this, "EdTar");
    EdDesF = new QLabel(this);
    EdDesF->setObjectName(QStringLiteral("EdDesF"));
    const auto button = [this](const char *name, const QString &caption, void (TFCajaD::*handler)()) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    BActualizarSdos = button("BActualizarSdos", QStringLiteral("Actualizar Saldos"), &TFCajaD::BActualizarSdosClick);
    BImp = button("BImp", QStringLiteral("&Imprime A4"), &TFCajaD::BImpClick);
    BImp2 = button("BImp2", QStringLiteral("Impri.TKT"), &TFCajaD::BImp2Click);
    BCerrar = button("BCerrar", QStringLiteral("&Cerrar"), &TFCajaD::BCerrarClick);
    DBNavigator1 = cash::moveNavigator(this, m_book);
    DBGrid1 = cash::cashBookGrid(this, m_book, QStringLiteral("Importe"));

    auto *boxes = new QFormLayout;
    boxes->addRow(QStringLiteral("Saldo Inicial"), EdSaldoIni);
    boxes->addRow(QStringLiteral("Efectivo del Dia"), EdEFEDia);
    boxes->addRow(QStringLiteral("Efectivo en Caja"), EdSaldoHoy);
    boxes->addRow(QStringLiteral("Tarjetas"), EdTar);
    auto *side = new QVBoxLayout;
    side->addWidget(EdDesF);
    side->addLayout(boxes);
    side->addWidget(BActualizarSdos);
    side->addWidget(BImp);
    side->addWidget(BImp2);
    side->addStretch(1);
    side->addWidget(BCerrar);
    auto *gridSide = new QVBoxLayout;
    gridSide->addWidget(DBNavigator1);
    gridSide->addWidget(DBGrid1, 1);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(gridSide, 1);
    layout->addLayout(side);
    resize(980, 520);
}

void TFCajaD::openBook()
{
    EdDesF->setText(QStringLiteral(" Fecha: ") + vx::shopformat::formatDate(QDate::currentDate()));
    BActualizarSdosClick();
}

// The figures and the grid are read together, and the grid keeps to the rows the figures
// counted: what the window shows and prints always adds up. Both boxes of totals are rewritten.
void TFCajaD::BActualizarSdosClick()
{
    try {
        m_figures = cash::readCashFigures(*DM1->ADOConnection1);
        vx::Table &table = book();
        table.setRecordFilter(QStringLiteral("CAJUNO <= %1").arg(m_figures.lastRow));
        table.setFiltered(true);
        if (table.active())
            table.refresh();
        else
            table.open();
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
        return;
    }
    EdSaldoIni->setText(cash::centsText(m_figures.openingCents));
    EdEFEDia->setText(cash::centsText(m_figures.cashCents));
    EdSaldoHoy->setText(cash::centsText(m_figures.tillCents()));
    EdTar->setText(cash::centsText(m_figures.cardCents));
}

void TFCajaD::printBook(bool ticket)
{
    BActualizarSdosClick();
    if (!book().active())
        return;
    try {
        const cash::CashBookPrint print{EdDesF->text(), EdSaldoHoy->text(), EdTar->text()};
        const auto report = ticket ? cash::cashBookTicket(book(), print) : cash::cashBookReport(book(), print);
        aguarde::show();
        report->prepare();
        aguarde::close();
        report->preview(this);
    } catch (const std::exception &failure) {
        aguarde::close();
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFCajaD::BImpClick()
{
    printBook(false);
}

void TFCajaD::BImp2Click()
{
    printBook(true);
}

void TFCajaD::BCerrarClick()
{
    book().close();
    book().setFiltered(false);
    EdDesF->clear();
    EdSaldoIni->clear();
    EdSaldoHoy->clear();
    EdEFEDia->clear();
    EdTar->clear();
    m_figures = {};
    done(QDialog::Rejected);
}

void TFCajaD::reject()
{
    BCerrarClick();
}

void openCajaD(QWidget *parent)
{
    TFCajaD window(parent);
    aguarde::show();
    window.openBook();
    aguarde::close();
    if (window.book().active())
        vx::ui::dialogs().showModal(&window);
}
