#include "customers/ConsCli.h"

#include "customers/CustomerList.h"
#include "customers/CustomerStore.h"
#include "data/DataModule.h"
#include "platform/db/DataSource.h"
#include "platform/db/Table.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"

#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TFConsCli *FConsCli = nullptr;

namespace {

// The list is the window's own cursor on CLIENTE with the columns the grid shows, in name order:
// its searches and its filter run on the table's indexes, so that a shop of thirty thousand
// customers opens and answers each key at once.
const QString byName = QStringLiteral("CLIAPE");
const QString byCode = QStringLiteral("CLICOD");

} // namespace

TFConsCli::TFConsCli(QWidget *parent)
    : QDialog(parent), m_list(std::make_unique<vx::Table>(DM1->ADOConnection1, QStringLiteral("CLIENTE")))
{
    setObjectName(QStringLiteral("FConsCli"));
    setWindowTitle(QStringLiteral("Consulta de Clientes"));
    m_list->setObjectName(QStringLiteral("Cliente"));
    m_source = new vx::DataSource(m_list.get(), this);
    connect(m_source, &vx::DataSource::dataSetScrolled, this, &TFConsCli::showCurrent);
    connect(m_source, &vx::DataSource::dataSetChanged, this, &TFConsCli::showCurrent);
    createControls();
}

TFConsCli::~TFConsCli()
{
    // The list goes before the data source: the window no longer follows it.
    disconnect(m_source, nullptr, this, nullptr);
    if (FConsCli == this)
        FConsCli = nullptr;
}

void TFConsCli::createControls()
{
    DBGrid1 = new vx::ui::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setColumns(customers::customerListColumns());
    DBGrid1->setReadOnly(true);
    DBGrid1->setDataSource(m_source);

    RBxCod = new QRadioButton(QStringLiteral("Buscar x Codigo"), this);
    RBxCod->setObjectName(QStringLiteral("RBxCod"));
    RBxApe = new QRadioButton(QStringLiteral("Buscar x Apellido"), this);
    RBxApe->setObjectName(QStringLiteral("RBxApe"));
    RBxApe->setChecked(true);
    connect(RBxCod, &QRadioButton::clicked, this, &TFConsCli::RBxCodClick);
    connect(RBxApe, &QRadioButton::clicked, this, &TFConsCli::RBxApeClick);
    EdBus = new vx::ui::Edit(50, true, this);
    EdBus->setObjectName(QStringLiteral("EdBus"));
    EdBus->setToolTip(QStringLiteral("Doble Click para buscar"));
    EdBus->installEventFilter(this);
    connect(EdBus, &QLineEdit::textChanged, this, &TFConsCli::EdBusChange);

    const auto readOnlyBox = [this](const char *name) {
        auto *box = new QLineEdit(this);
        box->setObjectName(QLatin1String(name));
        box->setReadOnly(true);
        return box;
    };
    EdTel = readOnlyBox("EdTel");
    EdCel = readOnlyBox("EdCel");
    EdMai = readOnlyBox("EdMai");
    EdObs = new vx::ui::Edit(50, false, this);
    EdObs->setObjectName(QStringLiteral("EdObs"));

    BBImp = new QPushButton(QStringLiteral("&Imprimir"), this);
    BBImp->setObjectName(QStringLiteral("BBImp"));
    BBImp->setAutoDefault(false);
    connect(BBImp, &QPushButton::clicked, this, &TFConsCli::BBImpClick);
    BBSalir = new QPushButton(QStringLiteral("&Salir"), this);
    BBSalir->setObjectName(QStringLiteral("BBSalir"));
    BBSalir->setAutoDefault(false);
    connect(BBSalir, &QPushButton::clicked, this, &TFConsCli::BBSalirClick);

    auto *searchLine = new QHBoxLayout;
    searchLine->addWidget(RBxCod);
    searchLine->addWidget(RBxApe);
    searchLine->addWidget(EdBus, 1);

    auto *details = new QGridLayout;
    details->addWidget(new QLabel(QStringLiteral("Telefono/s"), this), 0, 0);
    details->addWidget(EdTel, 0, 1);
    details->addWidget(new QLabel(QStringLiteral("Celular/es"), this), 0, 2);
    details->addWidget(EdCel, 0, 3);
    details->addWidget(new QLabel(QStringLiteral("E-Mail"), this), 1, 0);
    details->addWidget(EdMai, 1, 1, 1, 3);
    details->addWidget(new QLabel(QStringLiteral("Observaciones"), this), 2, 0);
    details->addWidget(EdObs, 2, 1, 1, 3);
    details->setColumnStretch(1, 1);
    details->setColumnStretch(3, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BBImp);
    buttons->addWidget(BBSalir);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(searchLine);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(details);
    layout->addLayout(buttons);
    resize(900, 560);
}

bool TFConsCli::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == EdBus && event->type() == QEvent::MouseButtonDblClick)
        EdBusDblClick();
    return QDialog::eventFilter(watched, event);
}

void TFConsCli::openList()
{
    m_shownCode = -1;
    m_storedObservations.clear();
    m_list->setSort(RBxCod->isChecked() ? byCode : byName);
    m_list->open();
    showCurrent();
}

void TFConsCli::closeList()
{
    m_list->setFiltered(false);
    m_list->setFilter(QString());
    m_list->close();
    m_shownCode = -1;
}

void TFConsCli::setSortOnce(const QString &field)
{
    if (m_list->sort() != field)
        m_list->setSort(field);
}

void TFConsCli::EdBusChange()
{
    if (!m_list->active())
        return;
    const QString text = EdBus->text();
    try {
        if (RBxCod->isChecked()) {
            setSortOnce(byCode);
            bool ok = false;
            const int code = text.trimmed().toInt(&ok);
            // Something that is not a number names no customer: nothing moves, nothing to report.
            if (ok)
                m_list->locate(byCode, code);
        } else {
            setSortOnce(byName);
            if (!text.isEmpty())
                m_list->locate(byName, text, vx::LocateOption::PartialKey);
        }
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFConsCli::RBxCodClick()
{
    EdBus->setText(QStringLiteral("0"));
    try {
        if (m_list->active())
            setSortOnce(byCode);
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFConsCli::RBxApeClick()
{
    EdBus->clear();
    try {
        if (m_list->active())
            setSortOnce(byName);
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFConsCli::EdBusDblClick()
{
    if (!RBxApe->isChecked() || !m_list->active())
        return;
    storePendingObservations();
    const QString text = EdBus->text();
    try {
        if (text.isEmpty()) {
            m_list->setFiltered(false);
        } else {
            // A quote in a name (D'ANGELO) is doubled, as the filter reads quoted text.
            QString quoted = text;
            quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
            m_list->setFilter(QStringLiteral("CLIAPE Like '*") + quoted + QStringLiteral("*'"));
            m_list->setFiltered(true);
        }
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFConsCli::showCurrent()
{
    storePendingObservations();
    vx::Table &q = *m_list;
    if (!q.active() || q.isEmpty()) {
        for (QLineEdit *box : {EdTel, EdCel, EdMai, static_cast<QLineEdit *>(EdObs)})
            box->clear();
        m_shownCode = -1;
        return;
    }
    m_shownCode = q.fieldByName(QStringLiteral("clicod"))->asInteger();
    EdTel->setText(q.fieldByName(QStringLiteral("clitel"))->asString());
    EdCel->setText(q.fieldByName(QStringLiteral("clicel"))->asString());
    EdMai->setText(q.fieldByName(QStringLiteral("climail"))->asString());
    m_shownObservations = m_storedObservations.value(m_shownCode, q.fieldByName(QStringLiteral("cliobs"))->asString());
    EdObs->setText(m_shownObservations);
}

void TFConsCli::storePendingObservations()
{
    if (m_shownCode < 0 || EdObs->text() == m_shownObservations)
        return;
    const int code = m_shownCode;
    const QString text = EdObs->text();
    try {
        customers::storeObservations(*DM1->ADOConnection1, code, text);
        m_storedObservations.insert(code, text);
        m_shownObservations = text;
    } catch (const customers::CustomerError &failure) {
        vx::ui::dialogs().showMessage(failure.message());
    }
}

void TFConsCli::done(int result)
{
    storePendingObservations();
    QDialog::done(result);
}

void TFConsCli::BBSalirClick()
{
    storePendingObservations();
    {
        const QSignalBlocker quiet(EdBus);
        EdBus->setText(QStringLiteral("0"));
    }
    RBxApe->setChecked(true);
    closeList();
    accept();
}

void TFConsCli::BBImpClick()
{
    storePendingObservations();
    try {
        customers::printCustomerList(*m_list, this);
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void openConsCli(TFConsCli &window)
{
    try {
        window.openList();
        vx::ui::dialogs().showModal(&window);
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(&window, failure);
    }
    window.closeList();
}
