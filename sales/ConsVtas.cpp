#include "sales/ConsVtas.h"

#include "app/Aguarde.h"
#include "app/ArticleLists.h"
#include "app/QueryBoxes.h"
#include "app/uGlobales.h"
#include "data/DataModule.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/DataSource.h"
#include "platform/db/Query.h"
#include "platform/db/SqlConditionBuilder.h"
#include "platform/db/Table.h"
#include "platform/db/Totals.h"
#include "platform/report/Report.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/NamedControls.h"
#include "sales/ConsVtasReport.h"
#include "sales/SalesQueries.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFConsVtas *FConsVtas = nullptr;

namespace {

constexpr auto navigation = vx::ui::NavigatorButton::First | vx::ui::NavigatorButton::Prior
                            | vx::ui::NavigatorButton::Next | vx::ui::NavigatorButton::Last;

}  // namespace

TFConsVtas::TFConsVtas(QWidget *parent)
    : QDialog(parent),
      m_clicom(std::make_unique<vx::Query>(DM1->ADOConnection1)),
      m_itecli(std::make_unique<vx::Table>(DM1->ADOConnection1, QStringLiteral("ITECLI")))
{
    setObjectName(QStringLiteral("FConsVtas"));
    setWindowTitle(QStringLiteral("CONSULTA de VENTAS"));
    m_clicom->setObjectName(QStringLiteral("Clicom"));
    // The receipts stream in pages from the date index, counted apart: a month of a big shop
    // shows its first rows without reading every receipt of the month first.
    m_clicom->setStatement(sales::receiptListStatement());
    // The range's total is read in the same pass over its receipts as their count.
    m_clicom->setCountedSums({sales::receiptAmountNotCancelled()});
    m_itecli->setObjectName(QStringLiteral("Itecli"));
    m_receiptSource = new vx::DataSource(m_clicom.get(), this);
    m_lineSource = new vx::DataSource(m_itecli.get(), this);
    m_itecli->setSort(QStringLiteral("ITECOM"));
    m_itecli->setMasterLink(m_receiptSource, QStringLiteral("COMNRO"), QStringLiteral("ITECOM"));
    createControls();
    connect(m_receiptSource, &vx::DataSource::dataSetScrolled, this, &TFConsVtas::Edit3DblClick);
    connect(m_receiptSource, &vx::DataSource::dataSetChanged, this, &TFConsVtas::Edit3DblClick);
    connect(m_lineSource, &vx::DataSource::dataSetScrolled, this, &TFConsVtas::showLine);
    connect(m_lineSource, &vx::DataSource::dataSetChanged, this, &TFConsVtas::showLine);
}

TFConsVtas::~TFConsVtas()
{
    disconnect(m_receiptSource, nullptr, this, nullptr);
    disconnect(m_lineSource, nullptr, this, nullptr);
    m_itecli->setMasterLink(nullptr, QString(), QString());
    if (FConsVtas == this)
        FConsVtas = nullptr;
}

void TFConsVtas::createControls()
{
    EdDesF = new QLineEdit(this);
    EdDesF->setObjectName(QStringLiteral("EdDesF"));
    EdDesF->setMaxLength(10);
    EdHasF = new QLineEdit(this);
    EdHasF->setObjectName(QStringLiteral("EdHasF"));
    EdHasF->setMaxLength(10);
    for (QLineEdit *box : {EdDesF, EdHasF})
        connect(box, &QLineEdit::editingFinished, this,
                [this, box] { app::normaliseDateBox(box, QDate::currentDate(), this); });
    BxTot = vx::ui::namedButton(this, "BxTot", QStringLiteral("Consultar x Totales"));
    connect(BxTot, &QPushButton::clicked, this, &TFConsVtas::BxTotClick);

    DBGrid1 = new vx::ui::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setReadOnly(true);
    DBGrid1->setColumns({{QStringLiteral("COMDIA"), QStringLiteral("Fecha"), 17},
                         {QStringLiteral("COMNRO"), QStringLiteral("Comprobante"), 13},
                         {QStringLiteral("COMTOT"), QStringLiteral("Total"), 12},
                         {QStringLiteral("COMANU"), QStringLiteral("Anu"), 4, {}, true, false, true}});
    DBGrid1->setDataSource(m_receiptSource);
    connect(DBGrid1, &vx::ui::DBGrid::TitleClick, DBGrid1, &vx::ui::DBGrid::sortByTitle);
    DBGrid2 = new vx::ui::DBGrid(this);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    DBGrid2->setReadOnly(true);
    DBGrid2->setColumns({{QStringLiteral("ITEFEC"), QStringLiteral("Fecha"), 17},
                         {QStringLiteral("ITECOM"), QStringLiteral("Comprobante"), 13},
                         {QStringLiteral("ITECOD"), QStringLiteral("Código Art."), 14},
                         {QStringLiteral("ITECAN"), QStringLiteral("Cant."), 7},
                         {QStringLiteral("ITEPRE"), QStringLiteral("Precio"), 10},
                         {QStringLiteral("ITECAU"), QStringLiteral("Costo"), 10},
                         {QStringLiteral("ITEANU"), QStringLiteral("Anu"), 4, {}, true, false, true},
                         {QStringLiteral("ITEOPE"), QStringLiteral("Ope"), 4}});
    DBGrid2->setDataSource(m_lineSource);
    connect(DBGrid2, &vx::ui::DBGrid::TitleClick, DBGrid2, &vx::ui::DBGrid::sortByTitle);
    DBNavigator1 = new vx::ui::DBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setVisibleButtons(navigation);
    DBNavigator1->setDataSource(m_receiptSource);
    DBNavigator2 = new vx::ui::DBNavigator(this);
    DBNavigator2->setObjectName(QStringLiteral("DBNavigator2"));
    DBNavigator2->setVisibleButtons(navigation);
    DBNavigator2->setDataSource(m_lineSource);

    DBEdit1 = vx::ui::readOnlyBox(this, "DBEdit1");
    Edit1 = vx::ui::readOnlyBox(this, "Edit1");
    Label2 = new QLabel(QStringLiteral("Costo del Comp.  "), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Edit3 = vx::ui::readOnlyBox(this, "Edit3");
    Edit3->installEventFilter(this);
    BImp = vx::ui::namedButton(this, "BImp", QStringLiteral("&Imprimir"));
    connect(BImp, &QPushButton::clicked, this, &TFConsVtas::BImpClick);
    BExportar = vx::ui::namedButton(this, "BExportar", QStringLiteral("&Exportar"));
    connect(BExportar, &QPushButton::clicked, this, &TFConsVtas::BExportarClick);
    BCerrar = vx::ui::namedButton(this, "BCerrar", QStringLiteral("&Cerrar"));
    connect(BCerrar, &QPushButton::clicked, this, &TFConsVtas::BCerrarClick);

    auto *dates = new QHBoxLayout;
    dates->addWidget(new QLabel(QStringLiteral("Desde Fecha:"), this));
    dates->addWidget(EdDesF);
    dates->addWidget(new QLabel(QStringLiteral("Hasta Fecha:"), this));
    dates->addWidget(EdHasF);
    dates->addWidget(BxTot);
    dates->addStretch(1);
    auto *lineInfo = new QGridLayout;
    lineInfo->addWidget(new QLabel(QStringLiteral("Art. - DESCRIPCION"), this), 0, 0);
    lineInfo->addWidget(DBEdit1, 0, 1);
    lineInfo->addWidget(new QLabel(QStringLiteral("Total Ventas:"), this), 1, 0);
    lineInfo->addWidget(Edit1, 1, 1);
    lineInfo->addWidget(Label2, 2, 0);
    lineInfo->addWidget(Edit3, 2, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BExportar);
    buttons->addWidget(BImp);
    buttons->addWidget(BCerrar);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(dates);
    layout->addWidget(DBGrid1, 1);
    layout->addWidget(DBNavigator1);
    layout->addWidget(DBGrid2, 1);
    layout->addWidget(DBNavigator2);
    layout->addLayout(lineInfo);
    layout->addLayout(buttons);
    resize(820, 640);
}

bool TFConsVtas::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Edit3 && event->type() == QEvent::MouseButtonDblClick)
        Edit3DblClick();
    return QDialog::eventFilter(watched, event);
}

void TFConsVtas::applyLevel()
{
    // Costs are for level 9 only.
    const bool costs = uGlobales::session().accessLevel == 9;
    DBGrid2->setColumnVisible(DBGrid2->columnOf(QStringLiteral("ITECAU")), costs);
    Label2->setVisible(costs);
    Edit3->setVisible(costs);
    BExportar->setVisible(costs);
}

void TFConsVtas::prepareOpening()
{
    applyLevel();
    m_clicom->setRecordFilter(vx::SqlCondition{QStringLiteral("1 = 0"), {}});
    m_clicom->setFiltered(true);
    m_clicom->open();
    m_itecli->open();
    EdDesF->setText(vx::shopformat::formatDate(QDate::currentDate()));
    EdHasF->clear();
    BxTotClick();
}

void TFConsVtas::closeTables()
{
    m_itecli->close();
    m_clicom->setFiltered(false);
    m_clicom->close();
}

void TFConsVtas::BxTotClick()
{
    const std::optional<vx::DayRange> days =
        app::readDays(EdDesF, EdHasF, QDate::currentDate(), QDate::currentDate(), this);
    if (!days)
        return;
    aguarde::show();
    try {
        // The new list stands at its first receipt, whose lines and cost it shows as it changes.
        m_clicom->setRecordFilter(sales::receiptRangeCondition(m_clicom->connection()->dialect(), *days));
        m_clicom->setFiltered(true);
        m_total = m_clicom->countedSums().first();
        m_days = days;
        Edit1->setText(app::totalText(m_total));
    } catch (const std::exception &failure) {
        aguarde::close();
        vx::ui::dialogs().showException(this, failure);
        return;
    }
    aguarde::close();
}

void TFConsVtas::Edit3DblClick()
{
    if (!m_clicom->active() || m_clicom->isEmpty()) {
        Label2->setText(QStringLiteral("Costo del Comp.  "));
        Edit3->setText(app::totalText(0));
        return;
    }
    try {
        const QVariant number = m_clicom->fieldByName(QStringLiteral("COMNRO"))->value();
        Label2->setText(QStringLiteral("Costo del Comp.  ") + m_clicom->fieldByName(QStringLiteral("COMNRO"))->asString());
        const vx::SqlCondition lines = vx::SqlConditionBuilder(m_clicom->connection()->dialect())
                                           .equal(QStringLiteral("ITECOM"), vx::FieldType::Float, number)
                                           .build();
        const double cost = vx::Totals::sums(*m_clicom->connection(), QStringLiteral("ITECLI"), lines,
                                             {sales::lineCostNotCancelled()})
                                .first();
        Edit3->setText(app::totalText(cost));
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFConsVtas::showLine()
{
    if (!m_itecli->active() || m_itecli->isEmpty()) {
        DBEdit1->clear();
        return;
    }
    try {
        const auto article = app::findArticle(*m_itecli->connection(), app::ArticleColumn::OwnCode,
                                              m_itecli->fieldByName(QStringLiteral("ITECOD"))->asString());
        DBEdit1->setText(article ? article->description : QString());
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFConsVtas::BImpClick()
{
    if (!m_days)
        return;
    try {
        const std::unique_ptr<vx::Query> list = sales::receiptPrintList(*m_clicom->connection(), *m_days);
        sales::qrVentasTI(*list, *m_days, m_total)->preview(this);
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFConsVtas::BExportarClick()
{
    if (!m_days)
        return;
    try {
        const std::unique_ptr<vx::Query> list = sales::receiptPrintList(*m_clicom->connection(), *m_days);
        app::exportList(this, *list,
                        QStringLiteral("Consulta de Ventas desde el %1 hasta el %2").arg(m_days->firstText(), m_days->lastText()),
                        {{QStringLiteral("COMDIA"), QStringLiteral("Fecha")},
                         {QStringLiteral("COMNRO"), QStringLiteral("Comprobante")},
                         {QStringLiteral("COMTOT"), QStringLiteral("Importe")},
                         {QStringLiteral("ANULADO"), QStringLiteral("Anulado")}});
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFConsVtas::BCerrarClick()
{
    closeTables();
    for (QLineEdit *box : {EdDesF, EdHasF, Edit1, Edit3})
        box->clear();
    m_days.reset();
    accept();
}

void openConsVtas(TFConsVtas &window)
{
    aguarde::show();
    try {
        window.prepareOpening();
    } catch (const std::exception &failure) {
        aguarde::close();
        vx::ui::dialogs().showException(&window, failure);
        window.closeTables();
        return;
    }
    aguarde::close();
    vx::ui::dialogs().showModal(&window);
    window.closeTables();
}
