#include "cash/CierreCaja.h"

#include "app/OwnCursor.h"
#include "cash/CashReports.h"
#include "cash/CashWidgets.h"
#include "data/DataModule.h"
#include "platform/core/Paths.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/Table.h"
#include "platform/report/Report.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"
#include "platform/ui/KeyFilter.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString warning = QStringLiteral("ATENCION: Este proceso BORRA todos los movimientos en CAJA.\n\r"
                                       "Sugerimos imprimir la consulta de CAJA DIARIA antes de hacer el cierre.");

QLineEdit *amountBox(QWidget *parent, const char *name)
{
    auto *box = new vx::ui::Edit(9, false, parent);
    box->setObjectName(QLatin1String(name));
    box->setAlignment(Qt::AlignRight);
    vx::ui::filterAmountKeys(box);
    return box;
}

} // namespace

TFCierreCaja::TFCierreCaja(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FCierreCaja"));
    setWindowTitle(QStringLiteral("Cierre de Caja"));
    createControls();
}

TFCierreCaja::~TFCierreCaja() = default;

void TFCierreCaja::createControls()
{
    EdSaldoIni = cash::readOnlyBox(this, "EdSaldoIni");
    EdMovDia = cash::readOnlyBox(this, "EdMovDia");
    EdEFEC = cash::readOnlyBox(this, "EdEFEC");
    EdRET = amountBox(this, "EdRET");
    EdAPER = amountBox(this, "EdAPER");
    EdFec = cash::dateBox(this, "EdFec");
    EdFec2 = cash::dateBox(this, "EdFec2");
    connect(EdRET, &QLineEdit::textEdited, this, [this] { m_lastTyped = Box::Withdrawal; });
    connect(EdAPER, &QLineEdit::textEdited, this, [this] { m_lastTyped = Box::Opening; });
    connect(EdRET, &QLineEdit::editingFinished, this, &TFCierreCaja::EdRETExit);
    connect(EdAPER, &QLineEdit::editingFinished, this, &TFCierreCaja::EdAPERExit);
    BConfirma = new QPushButton(QStringLiteral("Confirma"), this);
    BConfirma->setObjectName(QStringLiteral("BConfirma"));
    BConfirma->setAutoDefault(false);
    connect(BConfirma, &QPushButton::clicked, this, &TFCierreCaja::BConfirmaClick);
    BCerrar = new QPushButton(QStringLiteral("&Cerrar"), this);
    BCerrar->setObjectName(QStringLiteral("BCerrar"));
    BCerrar->setAutoDefault(false);
    connect(BCerrar, &QPushButton::clicked, this, &TFCierreCaja::BCerrarClick);

    auto *heading = new QLabel(QStringLiteral("CIERRE  DE  CAJA"), this);
    QFont font = heading->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.4);
    heading->setFont(font);
    auto *boxes = new QFormLayout;
    boxes->addRow(QStringLiteral("Fecha:"), EdFec);
    boxes->addRow(QStringLiteral("SALDO INICIAL DEL DIA:"), EdSaldoIni);
    boxes->addRow(QStringLiteral("Movimientos del Dia"), EdMovDia);
    boxes->addRow(QStringLiteral("Efectivo en Caja:"), EdEFEC);
    boxes->addRow(QStringLiteral("Retiro del Dia:"), EdRET);
    auto *opening = new QHBoxLayout;
    opening->addWidget(EdAPER);
    opening->addWidget(new QLabel(QStringLiteral("del dia:"), this));
    opening->addWidget(EdFec2);
    boxes->addRow(QStringLiteral("Saldo para Apertura"), opening);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BConfirma);
    buttons->addWidget(BCerrar);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading, 0, Qt::AlignHCenter);
    layout->addLayout(boxes);
    layout->addLayout(buttons);
}

// The next opening date is proposed at once (tomorrow), so that typing only the withdrawal closes.
void TFCierreCaja::openClosing()
{
    m_figures = cash::readCashFigures(*DM1->ADOConnection1);
    EdSaldoIni->setText(cash::centsText(m_figures.openingCents));
    EdMovDia->setText(cash::centsText(m_figures.cashCents));
    EdEFEC->setText(cash::centsText(m_figures.tillCents()));
    EdRET->setText(QStringLiteral("0"));
    EdAPER->setText(QStringLiteral("0"));
    EdFec->setText(vx::shopformat::formatDate(QDate::currentDate()));
    EdFec2->setText(vx::shopformat::formatDate(QDate::currentDate().addDays(1)));
    m_lastTyped = Box::None;
}

// Withdrawal and next opening always add up to the till, whichever of the two was typed.
bool TFCierreCaja::applySplit(Box box)
{
    QLineEdit *typed = box == Box::Withdrawal ? EdRET : EdAPER;
    const std::optional<double> value = vx::shopformat::parseNumber(typed->text().trimmed());
    if (!value) {
        vx::ui::dialogs().error(this, vx::shopformat::notANumberMessage(typed->text()), windowTitle());
        return false;
    }
    const qint64 cents = cash::toCents(*value);
    const qint64 rest = m_figures.tillCents() - cents;
    EdRET->setText(cash::centsText(box == Box::Withdrawal ? cents : rest));
    EdAPER->setText(cash::centsText(box == Box::Withdrawal ? rest : cents));
    if (box == Box::Opening)
        EdFec2->setText(vx::shopformat::formatDate(QDate::currentDate().addDays(1)));
    return true;
}

void TFCierreCaja::EdRETExit()
{
    applySplit(Box::Withdrawal);
}

void TFCierreCaja::EdAPERExit()
{
    applySplit(Box::Opening);
}

// Every box is read before anything is written; the split of the box typed last is applied
// again first, so that what is written adds up whatever the order of the keys.
bool TFCierreCaja::readRequest(cash::ClosingRequest &request)
{
    const bool noOpening = EdAPER->text().trimmed().isEmpty();
    if (m_lastTyped == Box::Withdrawal || (m_lastTyped == Box::Opening && !noOpening)) {
        if (!applySplit(m_lastTyped))
            return false;
    }
    const auto failed = [this](const QString &message) {
        vx::ui::dialogs().error(this, message, windowTitle());
        return false;
    };
    const std::optional<QDate> closing = vx::shopformat::parseDate(EdFec->text());
    if (!closing)
        return failed(vx::shopformat::notADateMessage(EdFec->text()));
    const std::optional<double> withdrawal = vx::shopformat::parseNumber(EdRET->text().trimmed());
    if (!withdrawal)
        return failed(vx::shopformat::notANumberMessage(EdRET->text()));
    request.closingDate = *closing;
    request.withdrawalCents = cash::toCents(*withdrawal);
    request.figures = m_figures;
    if (noOpening)
        return true;
    const std::optional<double> opening = vx::shopformat::parseNumber(EdAPER->text().trimmed());
    if (!opening)
        return failed(vx::shopformat::notANumberMessage(EdAPER->text()));
    const std::optional<QDate> openingDate = vx::shopformat::parseDate(EdFec2->text());
    if (!openingDate)
        return failed(vx::shopformat::notADateMessage(EdFec2->text()));
    request.openingCents = cash::toCents(*opening);
    request.openingDate = *openingDate;
    return true;
}

// The period's rows as the A4 report prints them, kept as a PDF before they leave the cash book.
bool TFCierreCaja::saveReport()
{
    m_savedReport.clear();
    if (m_reportFolder.isEmpty())
        return true;
    const QString path = QDir(m_reportFolder).filePath(
        QStringLiteral("Cierre de Caja %1.pdf").arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh.mm.ss"))));
    try {
        QDir().mkpath(m_reportFolder);
        vx::Table book(DM1->ADOConnection1, QStringLiteral("CAJA"));
        book.setRecordFilter(QStringLiteral("CAJUNO <= %1").arg(m_figures.lastRow));
        book.setFiltered(true);
        book.open();
        const cash::CashBookPrint print{QStringLiteral(" Fecha: ") + EdFec->text(), cash::centsText(m_figures.tillCents()),
                                        cash::centsText(m_figures.cardCents)};
        cash::cashBookReport(book, print)->savePdf(path);
    } catch (const std::exception &failure) {
        vx::ui::dialogs().error(this,
                                QStringLiteral("No se pudo guardar el detalle de la caja en \"%1\"; el cierre no se "
                                               "hizo.\n%2")
                                    .arg(QDir::toNativeSeparators(path), vx::ui::failureText(failure)),
                                windowTitle());
        return false;
    }
    m_savedReport = path;
    return true;
}

void TFCierreCaja::BConfirmaClick()
{
    vx::ui::dialogs().information(this, warning, windowTitle());
    if (!vx::ui::dialogs().confirm(this, QStringLiteral("Confirma el Cierre de Caja?"), windowTitle()))
        return;
    cash::ClosingRequest request;
    if (!readRequest(request) || !saveReport())
        return;
    cash::ClosedCash closed;
    try {
        closed = cash::closeCash(*DM1->ADOConnection1, request);
    } catch (const cash::CashError &error) {
        // A report of rows that were not closed would tell of a closing that never was.
        if (!m_savedReport.isEmpty())
            QFile::remove(m_savedReport);
        m_savedReport.clear();
        vx::ui::dialogs().error(this, error.message(), windowTitle());
        if (error.kind() == cash::CashError::Kind::ClosedElsewhere)
            BCerrarClick();
        return;
    }
    vx::ui::dialogs().showMessage(QStringLiteral("Proceso Terminado."));
    emit cashClosed(closed);
    BCerrarClick();
}

void TFCierreCaja::BCerrarClick()
{
    m_figures = {};
    for (QLineEdit *box : {EdSaldoIni, EdEFEC, EdRET, EdAPER})
        box->clear();
    done(QDialog::Rejected);
}

void TFCierreCaja::reject()
{
    BCerrarClick();
}

void openCierreCaja(QWidget *parent, const std::function<void(const cash::ClosedCash &)> &afterClosing)
{
    TFCierreCaja window(parent);
    try {
        window.openClosing();
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(parent, failure);
        return;
    }
    if (!vx::ui::dialogs().confirm(parent,
                                   warning + QStringLiteral("\n\rdesea continuar..?"), window.windowTitle()))
        return;
    window.setReportFolder(vx::paths::userFolder());
    if (afterClosing)
        QObject::connect(&window, &TFCierreCaja::cashClosed, &window, afterClosing);
    vx::ui::dialogs().showModal(&window);
}
