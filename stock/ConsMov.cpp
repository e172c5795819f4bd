#include "stock/ConsMov.h"

#include "app/Aguarde.h"
#include "app/uGlobales.h"
#include "data/DataModule.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/DataSource.h"
#include "platform/db/Query.h"
#include "platform/db/SqlConditionBuilder.h"
#include "platform/db/Totals.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/NamedControls.h"
#include "platform/ui/PickList.h"
#include "stock/MovementQueries.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QVBoxLayout>

TFMovim *FMovim = nullptr;

namespace {

constexpr int questionAbove = 500;

// The columns every level sees; level 9 sees every column of the journal.
QList<vx::ui::GridColumn> shownColumns()
{
    return {{QStringLiteral("MOVFEC"), QStringLiteral("Fecha"), 17},
            {QStringLiteral("MOVHOR"), QStringLiteral("Hora"), 8},
            {QStringLiteral("MOVTIP"), QStringLiteral("I / E"), 4, Qt::AlignHCenter},
            {QStringLiteral("MOVCMCT"), QStringLiteral("CODIGO "), 14},
            {QStringLiteral("MOVCAN1"), QStringLiteral("Cant."), 7},
            {QStringLiteral("MOVCAN2"), QString(), 7},
            {QStringLiteral("MOVOBS"), QString(), 30}};
}

}  // namespace

TFMovim::TFMovim(QWidget *parent) : QDialog(parent), m_query(std::make_unique<vx::Query>(DM1->ADOConnection1))
{
    setObjectName(QStringLiteral("FMovim"));
    setWindowTitle(QStringLiteral("Consulta de movimientos de artículos"));
    m_query->setObjectName(QStringLiteral("Movim"));
    m_query->setStatement(stock::movementJournalStatement());
    m_source = new vx::DataSource(m_query.get(), this);
    createControls();
    connect(m_source, &vx::DataSource::dataSetScrolled, this, &TFMovim::showArticle);
    connect(m_source, &vx::DataSource::dataSetChanged, this, &TFMovim::showArticle);
}

TFMovim::~TFMovim()
{
    disconnect(m_source, nullptr, this, nullptr);
    if (FMovim == this)
        FMovim = nullptr;
}

void TFMovim::createControls()
{
    RBTodos = new QRadioButton(QStringLiteral("Ver Todos"), this);
    RBTodos->setObjectName(QStringLiteral("RBTodos"));
    RBTodos->setChecked(true);
    RBArt = new QRadioButton(QStringLiteral("por Articulo"), this);
    RBArt->setObjectName(QStringLiteral("RBArt"));
    EdArt = new vx::ui::PickList(this);
    EdArt->setObjectName(QStringLiteral("EdArt"));
    EdArt->setUpperCase(true);
    EdArt->setMaxLength(13);
    connect(EdArt, &QComboBox::activated, RBArt, [this] { RBArt->setChecked(true); });
    connect(EdArt->lineEdit(), &QLineEdit::editingFinished, this, &TFMovim::EdArtExit);
    BCons = vx::ui::namedButton(this, "BCons", QStringLiteral("C&onsultar"));
    connect(BCons, &QPushButton::clicked, this, &TFMovim::BConsClick);
    BConsultar = vx::ui::namedButton(this, "BConsultar", QStringLiteral("Actualizar C&antidades"));
    connect(BConsultar, &QPushButton::clicked, this, &TFMovim::BConsultarClick);
    DBGrid1 = new vx::ui::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setReadOnly(true);
    DBGrid1->setDataSource(m_source);
    DBNavigator1 = new vx::ui::DBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setVisibleButtons(vx::ui::NavigatorButton::First | vx::ui::NavigatorButton::Prior
                                    | vx::ui::NavigatorButton::Next | vx::ui::NavigatorButton::Last
                                    | vx::ui::NavigatorButton::Refresh);
    DBNavigator1->setDataSource(m_source);
    DBEdit1 = vx::ui::readOnlyBox(this, "DBEdit1");
    DBEdit2 = vx::ui::readOnlyBox(this, "DBEdit2");
    LabStock = new QLabel(QStringLiteral("Cantidades En Stock"), this);
    LabStock->setObjectName(QStringLiteral("LabStock"));
    DBEdit5 = vx::ui::readOnlyBox(this, "DBEdit5");
    DBEdit6 = vx::ui::readOnlyBox(this, "DBEdit6");
    EdIng1 = vx::ui::readOnlyBox(this, "EdIng1");
    EdIng2 = vx::ui::readOnlyBox(this, "EdIng2");
    EdEgr1 = vx::ui::readOnlyBox(this, "EdEgr1");
    EdEgr2 = vx::ui::readOnlyBox(this, "EdEgr2");
    Edit1 = vx::ui::readOnlyBox(this, "Edit1");
    Edit2 = vx::ui::readOnlyBox(this, "Edit2");
    BCerrar = vx::ui::namedButton(this, "BCerrar", QStringLiteral("&Cerrar"));
    connect(BCerrar, &QPushButton::clicked, this, &TFMovim::BCerrarClick);

    auto *choice = new QHBoxLayout;
    choice->addWidget(RBTodos);
    choice->addWidget(RBArt);
    choice->addWidget(EdArt, 1);
    choice->addWidget(BCons);
    choice->addWidget(BConsultar);
    auto *article = new QGridLayout;
    article->addWidget(new QLabel(QStringLiteral("Descripcion"), this), 0, 0);
    article->addWidget(DBEdit1, 0, 1);
    article->addWidget(new QLabel(QStringLiteral("ARTICULO: Cod. Proveedor"), this), 1, 0);
    article->addWidget(DBEdit2, 1, 1);
    article->addWidget(LabStock, 0, 2, 1, 2);
    article->addWidget(new QLabel(QStringLiteral("Depósito 1"), this), 1, 2);
    article->addWidget(DBEdit5, 1, 3);
    article->addWidget(new QLabel(QStringLiteral("Depósito 2"), this), 2, 2);
    article->addWidget(DBEdit6, 2, 3);
    auto *totals = new QGridLayout;
    const QList<std::pair<const char *, QLineEdit *>> boxes{
        {"Ingresos 1", EdIng1}, {"Ingresos 2", EdIng2}, {"Egresos 1", EdEgr1},
        {"Egresos 2", EdEgr2},  {"Cant.1 x Movimientos", Edit1}, {"Cant.2 x Movimientos", Edit2}};
    for (int i = 0; i < boxes.size(); ++i) {
        totals->addWidget(new QLabel(QString::fromUtf8(boxes[i].first), this), 0, i);
        totals->addWidget(boxes[i].second, 1, i);
    }
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(BCerrar);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(choice);
    layout->addWidget(DBNavigator1);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(article);
    layout->addLayout(totals);
    layout->addLayout(bottom);
    resize(980, 640);
    setStockVisible(false);
}

void TFMovim::applyLevel()
{
    // Level 9 sees every column of the journal; the others the movement's date, kind, article,
    // quantities and explanation.
    if (uGlobales::session().accessLevel == 9)
        DBGrid1->setColumns({});
    else
        DBGrid1->setColumns(shownColumns());
}

void TFMovim::setStockVisible(bool visible)
{
    for (QWidget *widget : {static_cast<QWidget *>(LabStock), static_cast<QWidget *>(DBEdit5),
                            static_cast<QWidget *>(DBEdit6)})
        widget->setVisible(visible);
}

void TFMovim::prepareOpening()
{
    aguarde::show();
    EdArt->askDatabase(DM1->ADOConnection1, {QStringLiteral("STOCK"), QStringLiteral("ARTCMCT")});
    EdArt->setEditText(QString());
    applyLevel();
    m_query->setFiltered(false);
    m_query->open();
    m_query->last();
    aguarde::close();
}

void TFMovim::closeQuery()
{
    m_query->close();
}

void TFMovim::EdArtExit()
{
    const QString text = EdArt->currentText().trimmed();
    // An empty box changes nothing.
    if (text.isEmpty())
        return;
    EdArt->setEditText(text.rightJustified(13, QLatin1Char('0')));
    RBArt->setChecked(true);
    BConsClick();
}

void TFMovim::BConsClick()
{
    m_code = EdArt->currentText();
    try {
        if (RBArt->isChecked()) {
            setStockVisible(true);
            m_query->setRecordFilter(vx::SqlConditionBuilder(m_query->connection()->dialect())
                                         .equal(QStringLiteral("MOVCMCT"), vx::FieldType::String, m_code)
                                         .build());
            m_query->setFiltered(true);
        } else {
            m_query->setFiltered(false);
            setStockVisible(false);
        }
        m_query->last();
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
        return;
    }
    showArticle();
    BConsultarClick();
}

void TFMovim::clearTotals()
{
    for (QLineEdit *box : {EdIng1, EdIng2, EdEgr1, EdEgr2, Edit1, Edit2})
        box->clear();
}

void TFMovim::BConsultarClick()
{
    clearTotals();
    try {
        if (!m_query->active())
            return;
        // Totals of another list never stand beside this one: a No leaves the boxes empty.
        if (m_query->recordCount() > questionAbove
            && !vx::ui::dialogs().confirm(
                this,
                QStringLiteral("Este proceso suma las cantidades en Cant y en Cant2.        \r\n"
                               "Si el archivo es muy grande, este proceso puede demorarse...\r\nDesea Continuar..?"),
                QString()))
            return;
        aguarde::show();
        const QList<double> t = vx::Totals::sums(*m_query, stock::movementTotalsExpressions());
        aguarde::close();
        EdIng1->setText(vx::shopformat::formatGeneral(t[0]));
        EdIng2->setText(vx::shopformat::formatGeneral(t[1]));
        EdEgr1->setText(vx::shopformat::formatGeneral(t[2]));
        EdEgr2->setText(vx::shopformat::formatGeneral(t[3]));
        Edit1->setText(vx::shopformat::formatGeneral(t[0] - t[2]));
        Edit2->setText(vx::shopformat::formatGeneral(t[1] - t[3]));
    } catch (const std::exception &failure) {
        aguarde::close();
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFMovim::showArticle()
{
    for (QLineEdit *box : {DBEdit1, DBEdit2, DBEdit5, DBEdit6})
        box->clear();
    if (!m_query->active() || m_query->isEmpty())
        return;
    try {
        // The current movement's article; one that is no longer in STOCK shows nothing.
        QSqlQuery &article = m_query->connection()->executeCached(
            QStringLiteral("SELECT ARTDES, ARTCOD, ARTEX1, ARTEX2 FROM STOCK WHERE ARTCMCT = ? ORDER BY ARTUNO"),
            {m_query->fieldByName(QStringLiteral("MOVCMCT"))->asString()});
        if (!article.next())
            return;
        DBEdit1->setText(article.value(0).toString());
        DBEdit2->setText(article.value(1).toString());
        DBEdit5->setText(article.value(2).isNull() ? QString() : vx::shopformat::formatGeneral(article.value(2).toDouble()));
        DBEdit6->setText(article.value(3).isNull() ? QString() : vx::shopformat::formatGeneral(article.value(3).toDouble()));
        article.finish();
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFMovim::BCerrarClick()
{
    aguarde::show();
    m_query->setFiltered(false);
    closeQuery();
    Edit1->clear();
    Edit2->clear();
    aguarde::close();
    accept();
}

void openMovim(QWidget *parent)
{
    aguarde::show();
    FMovim = new TFMovim(parent);
    try {
        FMovim->prepareOpening();
        vx::ui::dialogs().showModal(FMovim);
    } catch (const std::exception &failure) {
        aguarde::close();
        vx::ui::dialogs().showException(FMovim, failure);
    }
    FMovim->closeQuery();
    delete FMovim;
}
