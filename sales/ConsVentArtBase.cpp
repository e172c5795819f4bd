#include "sales/ConsVentArtBase.h"

#include "app/Aguarde.h"
#include "app/ArticleLists.h"
#include "app/QueryBoxes.h"
#include "app/uGlobales.h"
#include "data/DataModule.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/DataSource.h"
#include "platform/db/Query.h"
#include "platform/db/SqlConditionBuilder.h"
#include "platform/report/Report.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/NamedControls.h"
#include "platform/ui/PickList.h"
#include "sales/ConsVentArtReport.h"
#include "sales/SalesQueries.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

vx::ui::PickList *pickList(QWidget *parent, const char *name, int length)
{
    auto *list = new vx::ui::PickList(parent);
    list->setObjectName(QLatin1String(name));
    list->setUpperCase(true);
    list->setMaxLength(length);
    list->setSorted(true);
    return list;
}

const QString code = QStringLiteral("ITECOD");

}  // namespace

TFSaleLinesQuery::TFSaleLinesQuery(const vx::QueryStatement &statement, const QString &unitsCaption, QWidget *parent)
    : QDialog(parent), m_query(std::make_unique<vx::Query>(DM1->ADOConnection1))
{
    m_query->setObjectName(QStringLiteral("ADOQuery1"));
    vx::QueryStatement listed = statement;
    listed.columns << QStringLiteral("CASE WHEN ITEANU THEN 'Anulado' ELSE '' END AS ANULADO");
    m_query->setStatement(listed);
    // The totals are read with the count: one pass over a month of lines and their articles.
    m_query->setCountedSums(sales::saleLineTotalsExpressions());
    m_source = new vx::DataSource(m_query.get(), this);
    createControls(unitsCaption);
    connect(m_source, &vx::DataSource::dataSetScrolled, this, &TFSaleLinesQuery::showLine);
    connect(m_source, &vx::DataSource::dataSetChanged, this, &TFSaleLinesQuery::showLine);
}

TFSaleLinesQuery::~TFSaleLinesQuery()
{
    disconnect(m_source, nullptr, this, nullptr);
}

void TFSaleLinesQuery::createControls(const QString &unitsCaption)
{
    RBxCod = new QRadioButton(QStringLiteral("Por Codigo"), this);
    RBxCod->setObjectName(QStringLiteral("RBxCod"));
    RBxDes = new QRadioButton(QStringLiteral("Por Descripcion"), this);
    RBxDes->setObjectName(QStringLiteral("RBxDes"));
    RBxFec = new QRadioButton(QStringLiteral("Solo x Fecha"), this);
    RBxFec->setObjectName(QStringLiteral("RBxFec"));
    RBxFec->setChecked(true);
    CBCod = pickList(this, "CBCod", 13);
    CBCodH = pickList(this, "CBCodH", 13);
    CBDes = pickList(this, "CBDes", 30);
    CBDesH = pickList(this, "CBDesH", 30);
    connect(CBCod, &QComboBox::editTextChanged, this, [this] { fillPartner(CBCod, true, CBDes); });
    connect(CBDes, &QComboBox::editTextChanged, this, [this] { fillPartner(CBDes, false, CBCod); });
    connect(CBDesH, &QComboBox::editTextChanged, this, [this] { fillPartner(CBDesH, false, CBCodH); });
    EdDes = new QLineEdit(this);
    EdDes->setObjectName(QStringLiteral("EdDes"));
    EdDes->setMaxLength(10);
    EdHas = new QLineEdit(this);
    EdHas->setObjectName(QStringLiteral("EdHas"));
    EdHas->setMaxLength(10);
    for (QLineEdit *box : {EdDes, EdHas})
        connect(box, &QLineEdit::editingFinished, this,
                [this, box] { app::normaliseDateBox(box, QDate::currentDate(), this); });
    BConsultar = vx::ui::namedButton(this, "BConsultar", QStringLiteral("C&onsultar"));
    connect(BConsultar, &QPushButton::clicked, this, &TFSaleLinesQuery::BConsultarClick);
    BImp = vx::ui::namedButton(this, "BImp", QStringLiteral("&Imprimir"));
    connect(BImp, &QPushButton::clicked, this, &TFSaleLinesQuery::BImpClick);
    BExportar = vx::ui::namedButton(this, "BExportar", QStringLiteral("&Exportar"));
    connect(BExportar, &QPushButton::clicked, this, &TFSaleLinesQuery::BExportarClick);
    BCerrar = vx::ui::namedButton(this, "BCerrar", QStringLiteral("&Cerrar"));
    connect(BCerrar, &QPushButton::clicked, this, &TFSaleLinesQuery::BCerrarClick);

    DBGrid1 = new vx::ui::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setReadOnly(true);
    QList<vx::ui::GridColumn> columns{{QStringLiteral("ITEFEC"), QStringLiteral("Fecha"), 17},
                                      {QStringLiteral("ITECOM"), QStringLiteral("Comprobante"), 12},
                                      {code, QStringLiteral("Código"), 14},
                                      {QStringLiteral("ARTDES"), QStringLiteral("Descripcion"), 26},
                                      {QStringLiteral("ITECAN"), QStringLiteral("Cant."), 7},
                                      {QStringLiteral("ITEPRE"), QStringLiteral("P.Unit. "), 10},
                                      {QStringLiteral("ITECAU"), QStringLiteral("Costo U. $"), 10}};
    if (m_query->statement().columns.contains(QStringLiteral("ITECLI")))
        columns << vx::ui::GridColumn{QStringLiteral("CLIAPE"), QStringLiteral("CLIENTE"), 20};
    columns << vx::ui::GridColumn{QStringLiteral("ITEANU"), QStringLiteral("Anu"), 4, {}, true, false, true};
    if (m_query->statement().columns.contains(QStringLiteral("ITEOPE")))
        columns << vx::ui::GridColumn{QStringLiteral("OPEAPE"), QStringLiteral("Operador"), 16};
    DBGrid1->setColumns(columns);
    DBGrid1->setDataSource(m_source);
    connect(DBGrid1, &vx::ui::DBGrid::TitleClick, DBGrid1, &vx::ui::DBGrid::sortByTitle);
    DBNavigator1 = new vx::ui::DBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setVisibleButtons(vx::ui::NavigatorButton::First | vx::ui::NavigatorButton::Prior
                                    | vx::ui::NavigatorButton::Next | vx::ui::NavigatorButton::Last);
    DBNavigator1->setDataSource(m_source);
    DBEdit4 = new QLineEdit(this);
    DBEdit4->setObjectName(QStringLiteral("DBEdit4"));
    DBEdit4->setReadOnly(true);
    EdUni = vx::ui::readOnlyFigureBox(this, "EdUni");
    EdPreC = vx::ui::readOnlyFigureBox(this, "EdPreC");
    EdCUS = vx::ui::readOnlyFigureBox(this, "EdCUS");
    EdDif = vx::ui::readOnlyFigureBox(this, "EdDif");

    auto *kinds = new QHBoxLayout;
    kinds->addWidget(RBxCod);
    kinds->addWidget(RBxDes);
    kinds->addWidget(RBxFec);
    m_ownChoices = new QHBoxLayout;
    kinds->addLayout(m_ownChoices);
    kinds->addStretch(1);
    auto *choices = new QGridLayout;
    choices->addWidget(new QLabel(QStringLiteral("Seleccionar Artículo  Desde - Hasta"), this), 0, 0, 1, 2);
    choices->addWidget(CBCod, 1, 0);
    choices->addWidget(CBCodH, 1, 1);
    choices->addWidget(CBDes, 2, 0);
    choices->addWidget(CBDesH, 2, 1);
    choices->addWidget(new QLabel(QStringLiteral("Fecha Desde"), this), 1, 2);
    choices->addWidget(EdDes, 1, 3);
    choices->addWidget(new QLabel(QStringLiteral("Hasta"), this), 2, 2);
    choices->addWidget(EdHas, 2, 3);
    choices->addWidget(BConsultar, 1, 4, 2, 1);
    choices->setColumnStretch(0, 1);
    choices->setColumnStretch(1, 1);
    auto *totals = new QGridLayout;
    const auto addTotal = [&](int column, const QString &caption, QLineEdit *box, bool cost) {
        auto *label = new QLabel(caption, this);
        totals->addWidget(label, 0, column);
        totals->addWidget(box, 1, column);
        if (cost)
            m_costWidgets << label << box;
    };
    addTotal(0, unitsCaption, EdUni, false);
    addTotal(1, QStringLiteral("Total Venta"), EdPreC, false);
    addTotal(2, QStringLiteral("Total Costo "), EdCUS, true);
    addTotal(3, QStringLiteral("Dif. Vta - Costo "), EdDif, true);
    m_costWidgets << BImp << BExportar;
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(DBEdit4, 1);
    bottom->addWidget(BExportar);
    bottom->addWidget(BImp);
    bottom->addWidget(BCerrar);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(kinds);
    layout->addLayout(choices);
    layout->addWidget(DBGrid1, 1);
    layout->addWidget(DBNavigator1);
    layout->addLayout(totals);
    layout->addLayout(bottom);
    resize(1000, 640);
}

void TFSaleLinesQuery::applyLevel()
{
    // Costs, and the print and sheet that carry them, are for level 9 only.
    const bool costs = uGlobales::session().accessLevel == 9;
    DBGrid1->setColumnVisible(DBGrid1->columnOf(QStringLiteral("ITECAU")), costs);
    for (QWidget *widget : std::as_const(m_costWidgets))
        widget->setVisible(costs);
}

void TFSaleLinesQuery::fillPartner(vx::ui::PickList *from, bool byCode, vx::ui::PickList *to)
{
    if (m_filling || from->currentText().isEmpty())
        return;
    try {
        const auto article = app::findArticle(*DM1->ADOConnection1,
                                              byCode ? app::ArticleColumn::OwnCode : app::ArticleColumn::Description,
                                              from->currentText());
        if (!article)
            return;
        m_filling = true;
        to->setEditText(byCode ? article->description : article->ownCode);
        m_filling = false;
    } catch (const std::exception &) {
        // A look-up while typing that fails leaves the partner box as it is; the query reports.
        m_filling = false;
    }
}

void TFSaleLinesQuery::prepareOpening()
{
    aguarde::show();
    if (refillArticleLists()) {
        aguarde::progress(articleListCaption());
        app::askArticleLists(*DM1->ADOConnection1, CBCod, CBDes, nullptr);
        CBCodH->askDatabase(DM1->ADOConnection1, {QStringLiteral("STOCK"), QStringLiteral("ARTCMCT")});
        CBDesH->askDatabase(DM1->ADOConnection1, {QStringLiteral("STOCK"), QStringLiteral("ARTDES")});
    }
    // Every opening starts from all articles: no bound left in a box.
    m_filling = true;
    for (vx::ui::PickList *list : {CBCod, CBCodH, CBDes, CBDesH})
        list->setEditText(QString());
    m_filling = false;
    prepareOwnLists();
    applyLevel();
    aguarde::close();
    EdDes->setText(vx::shopformat::formatDate(QDate::currentDate()));
    BConsultarClick();
}

void TFSaleLinesQuery::closeQuery()
{
    m_query->close();
}

std::optional<vx::SqlCondition> TFSaleLinesQuery::codeCondition()
{
    vx::SqlConditionBuilder where(DM1->ADOConnection1->dialect());
    if (RBxDes->isChecked()) {
        // The article of the description chosen, by its whole code; none lists nothing.
        const auto article = app::findArticle(*DM1->ADOConnection1, app::ArticleColumn::Description, CBDes->currentText());
        if (!article) {
            vx::ui::dialogs().showMessage(QStringLiteral("No hay un artículo con la descripción \"%1\".").arg(CBDes->currentText()));
            return std::nullopt;
        }
        m_filling = true;
        CBCod->setEditText(article->ownCode);
        m_filling = false;
        return where.equal(code, vx::FieldType::String, article->ownCode).build();
    }
    if (RBxCod->isChecked() || ownKindChosen())
        return where.from(code, vx::FieldType::String, CBCod->currentText())
            .to(code, vx::FieldType::String, CBCodH->currentText())
            .build();
    return vx::SqlCondition{};
}

void TFSaleLinesQuery::BConsultarClick()
{
    clearTotals();
    if (!RBxCod->isChecked() && !RBxDes->isChecked() && !RBxFec->isChecked() && !ownKindChosen())
        RBxFec->setChecked(true);
    const std::optional<vx::DayRange> days = app::readDays(EdDes, EdHas, QDate::currentDate(), QDate::currentDate(), this);
    if (!days)
        return;
    if (RBxFec->isChecked()) {
        m_filling = true;
        CBCod->setEditText(QString());
        CBDes->setEditText(QString());
        m_filling = false;
    }
    aguarde::show();
    try {
        vx::SqlConditionBuilder where(DM1->ADOConnection1->dialect());
        where.days(QStringLiteral("ITEFEC"), *days);
        const std::optional<vx::SqlCondition> codes = codeCondition();
        const std::optional<vx::SqlCondition> own = ownKindChosen() ? ownCondition() : vx::SqlCondition{};
        if (codes && own)
            where.add(*codes).add(*own);
        else
            where.nothing();
        m_query->setRecordFilter(where.build());
        m_query->setFiltered(true);
        if (!m_query->active())
            m_query->open();
        m_query->first();
        aguarde::progress(QStringLiteral("Calculando Totales."));
        showTotals(m_query->countedSums());
        m_days = days;
    } catch (const std::exception &failure) {
        aguarde::close();
        vx::ui::dialogs().showException(this, failure);
        return;
    }
    aguarde::close();
}

void TFSaleLinesQuery::showTotals(const QList<double> &totals)
{
    EdUni->setText(app::totalText(totals[0]));
    EdPreC->setText(app::totalText(totals[1], true));
    EdCUS->setText(app::totalText(totals[2], true));
    EdDif->setText(app::totalText(totals[1] - totals[2]));
}

void TFSaleLinesQuery::clearTotals()
{
    for (QLineEdit *box : {EdUni, EdPreC, EdCUS, EdDif})
        box->clear();
}

void TFSaleLinesQuery::showLine()
{
    DBEdit4->setText(m_query->active() && !m_query->isEmpty()
                         ? m_query->fieldByName(QStringLiteral("ARTDES"))->asString()
                         : QString());
}

void TFSaleLinesQuery::BImpClick()
{
    if (!m_days || !m_query->active())
        return;
    aguarde::show();
    try {
        const auto report = sales::qrEstad(*m_query, *m_days,
                                           {EdUni->text(), EdPreC->text(), EdCUS->text(), EdDif->text()});
        aguarde::close();
        report->preview(this);
    } catch (const std::exception &failure) {
        aguarde::close();
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFSaleLinesQuery::BExportarClick()
{
    if (!m_days || !m_query->active())
        return;
    app::exportList(this, *m_query,
                    QStringLiteral("Consulta de Ventas desde el %1 hasta el %2").arg(m_days->firstText(), m_days->lastText()),
                    {{QStringLiteral("ITEFEC"), QStringLiteral("Fecha")},
                     {QStringLiteral("ITECOM"), QStringLiteral("Nro.Comp.")},
                     {code, QStringLiteral("      Articulo")},
                     {QStringLiteral("ARTDES"), QStringLiteral("Descripcion")},
                     {QStringLiteral("ITECAN"), QStringLiteral("Cant.")},
                     {QStringLiteral("ITEPRE"), QStringLiteral("Precio Un.")},
                     {QStringLiteral("ITECAU"), QStringLiteral("Costo Un.")},
                     {QStringLiteral("ANULADO"), QStringLiteral("Anul.")}});
}

void TFSaleLinesQuery::BCerrarClick()
{
    aguarde::show();
    closeQuery();
    m_filling = true;
    for (vx::ui::PickList *list : {CBCod, CBDes, CBCodH, CBDesH})
        list->setEditText(QString());
    m_filling = false;
    for (QLineEdit *box : {EdDes, EdHas, EdUni, EdPreC, EdCUS, EdDif})
        box->clear();
    m_days.reset();
    aguarde::close();
    accept();
}

void openSaleLinesQuery(TFSaleLinesQuery &window)
{
    try {
        window.prepareOpening();
    } catch (const std::exception &failure) {
        aguarde::close();
        vx::ui::dialogs().showException(&window, failure);
        window.closeQuery();
        return;
    }
    vx::ui::dialogs().showModal(&window);
    window.closeQuery();
}
