#include "stock/ConsIngBase.h"

#include "app/Aguarde.h"
#include "app/ArticleLists.h"
#include "app/QueryBoxes.h"
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

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QDate firstDay(2000, 1, 1);

bool isCost(const QString &field)
{
    return field.contains(QStringLiteral("COS"));
}

}  // namespace

TFConsMovBase::TFConsMovBase(const stock::MovementQueryKind &kind, QWidget *parent)
    : QDialog(parent), m_kind(kind), m_query(std::make_unique<vx::Query>(DM1->ADOConnection1))
{
    setWindowTitle(kind.caption);
    m_query->setObjectName(QStringLiteral("ADOQuery1"));
    m_query->setStatement(kind.statement);
    m_source = new vx::DataSource(m_query.get(), this);
    createControls();
    connect(m_source, &vx::DataSource::dataSetScrolled, this, &TFConsMovBase::showLine);
    connect(m_source, &vx::DataSource::dataSetChanged, this, &TFConsMovBase::showLine);
}

TFConsMovBase::~TFConsMovBase()
{
    disconnect(m_source, nullptr, this, nullptr);
}

void TFConsMovBase::createControls()
{
    DBGrid1 = new vx::ui::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setReadOnly(true);
    QList<vx::ui::GridColumn> columns;
    for (const stock::ColumnTitle &column : m_kind.gridColumns)
        columns << vx::ui::GridColumn{column.field, column.title, column.width};
    DBGrid1->setColumns(columns);
    DBGrid1->setDataSource(m_source);
    connect(DBGrid1, &vx::ui::DBGrid::TitleClick, DBGrid1, &vx::ui::DBGrid::sortByTitle);
    DBNavigator1 = new vx::ui::DBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setVisibleButtons(vx::ui::NavigatorButton::First | vx::ui::NavigatorButton::Prior
                                    | vx::ui::NavigatorButton::Next | vx::ui::NavigatorButton::Last);
    DBNavigator1->setDataSource(m_source);

    BxTodos = vx::ui::namedButton(this, "BxTodos", QStringLiteral("Ver Todos"));
    connect(BxTodos, &QPushButton::clicked, this, &TFConsMovBase::BxTodosClick);
    EdDesF = new QLineEdit(this);
    EdDesF->setObjectName(QStringLiteral("EdDesF"));
    EdDesF->setMaxLength(10);
    EdHasF = new QLineEdit(this);
    EdHasF->setObjectName(QStringLiteral("EdHasF"));
    EdHasF->setMaxLength(10);
    connect(EdDesF, &QLineEdit::editingFinished, this, [this] { app::normaliseDateBox(EdDesF, firstDay, this); });
    connect(EdHasF, &QLineEdit::editingFinished, this,
            [this] { app::normaliseDateBox(EdHasF, QDate::currentDate(), this); });
    BxFec = vx::ui::namedButton(this, "BxFec", QStringLiteral("Ver por fecha"));
    connect(BxFec, &QPushButton::clicked, this, &TFConsMovBase::BxFecClick);
    CBDes = new vx::ui::PickList(this);
    CBDes->setObjectName(QStringLiteral("CBDes"));
    CBDes->setUpperCase(true);
    CBDes->setMaxLength(30);
    CBCod = new vx::ui::PickList(this);
    CBCod->setObjectName(QStringLiteral("CBCod"));
    CBCod->setUpperCase(true);
    CBCod->setMaxLength(20);
    connect(CBCod, &QComboBox::activated, this, &TFConsMovBase::CBCodChosen);
    connect(CBCod->lineEdit(), &QLineEdit::returnPressed, this, &TFConsMovBase::CBCodChosen);
    connect(CBDes, &QComboBox::activated, this, &TFConsMovBase::CBDesChosen);
    connect(CBDes->lineEdit(), &QLineEdit::editingFinished, this, &TFConsMovBase::CBDesChosen);
    for (QWidget *box : {static_cast<QWidget *>(EdDesF), static_cast<QWidget *>(EdHasF),
                         static_cast<QWidget *>(CBCod->lineEdit())})
        box->installEventFilter(this);
    BxArt = vx::ui::namedButton(this, "BxArt", QStringLiteral("Ver por Descrip."));
    connect(BxArt, &QPushButton::clicked, this, &TFConsMovBase::BxArtClick);
    BTotal = vx::ui::namedButton(this, "BTotal", QStringLiteral("Cant. Total"));
    connect(BTotal, &QPushButton::clicked, this, &TFConsMovBase::BTotalClick);
    EdCan = vx::ui::readOnlyBox(this, "EdCan");
    EdCan->setToolTip(QStringLiteral("Cant. en Stock segun codigo propio"));
    EdCan2 = vx::ui::readOnlyBox(this, "EdCan2");
    EdCan2->setToolTip(QStringLiteral("Cant. en Stock segun codigo propio !!!"));
    BExportar = vx::ui::namedButton(this, "BExportar", QStringLiteral("&Exportar"));
    connect(BExportar, &QPushButton::clicked, this, &TFConsMovBase::BExportarClick);
    BCerrar = vx::ui::namedButton(this, "BCerrar", QStringLiteral("&Cerrar"));
    connect(BCerrar, &QPushButton::clicked, this, &TFConsMovBase::BCerrarClick);
    DBEdit1 = vx::ui::readOnlyBox(this, "DBEdit1");
    EdOperador = vx::ui::readOnlyBox(this, "EdOperador");
    EdProveedor = vx::ui::readOnlyBox(this, "EdProveedor");

    auto *filters = new QGridLayout;
    filters->addWidget(BxTodos, 0, 0);
    filters->addWidget(new QLabel(QStringLiteral("Desde Fecha"), this), 0, 1);
    filters->addWidget(EdDesF, 0, 2);
    filters->addWidget(new QLabel(QStringLiteral("Hasta Fecha"), this), 0, 3);
    filters->addWidget(EdHasF, 0, 4);
    filters->addWidget(BxFec, 0, 5);
    filters->addWidget(new QLabel(QStringLiteral("Descripcion"), this), 1, 0);
    filters->addWidget(CBDes, 1, 1, 1, 2);
    filters->addWidget(new QLabel(m_kind.codeLabel, this), 1, 3);
    filters->addWidget(CBCod, 1, 4);
    filters->addWidget(BxArt, 1, 5);
    auto *current = new QGridLayout;
    current->addWidget(new QLabel(QStringLiteral("Descripcion"), this), 0, 0);
    current->addWidget(DBEdit1, 0, 1);
    if (m_kind.showsLookups) {
        current->addWidget(new QLabel(QStringLiteral("Operador"), this), 1, 0);
        current->addWidget(EdOperador, 1, 1);
        current->addWidget(new QLabel(QStringLiteral("Proveedor"), this), 2, 0);
        current->addWidget(EdProveedor, 2, 1);
    } else {
        EdOperador->hide();
        EdProveedor->hide();
    }
    auto *totals = new QHBoxLayout;
    totals->addWidget(BTotal);
    totals->addWidget(new QLabel(QStringLiteral("Cantidad 1"), this));
    totals->addWidget(EdCan);
    totals->addWidget(new QLabel(QStringLiteral("Cantidad 2"), this));
    totals->addWidget(EdCan2);
    totals->addStretch(1);
    totals->addWidget(BExportar);
    totals->addWidget(BCerrar);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(DBNavigator1);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(current);
    layout->addLayout(totals);
    resize(980, 640);
}

bool TFConsMovBase::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        m_filling = true;
        if (watched == EdDesF || watched == EdHasF) {
            CBDes->setEditText(QString());
            CBCod->setEditText(QString());
        } else if (watched == CBCod->lineEdit()) {
            CBDes->setEditText(QString());
            EdDesF->clear();
            EdHasF->clear();
        }
        m_filling = false;
    }
    return QDialog::eventFilter(watched, event);
}

void TFConsMovBase::applyLevel()
{
    // Costs, and the sheet that carries them, are for level 9 only.
    const bool costs = uGlobales::session().accessLevel == 9;
    for (int column = 0; column < DBGrid1->columnCount(); ++column) {
        if (isCost(DBGrid1->column(column).fieldName))
            DBGrid1->setColumnVisible(column, costs);
    }
    BExportar->setVisible(costs && !m_kind.exportColumns.isEmpty());
}

void TFConsMovBase::prepareOpening()
{
    aguarde::show();
    if (!CBCod->asksDatabase() || uGlobales::articleListChanged(m_kind.articleList)) {
        app::askArticleLists(*DM1->ADOConnection1, CBCod, CBDes, nullptr);
        uGlobales::setArticleListChanged(m_kind.articleList, false);
    }
    clearArticle();
    applyLevel();
    m_query->setFiltered(false);
    m_query->open();
    aguarde::close();
    BTotalClick();
}

void TFConsMovBase::closeQuery()
{
    m_query->close();
}

void TFConsMovBase::filterBy(const vx::SqlCondition &condition, const QString &sort)
{
    m_query->setRecordFilter(condition);
    m_query->setFiltered(true);
    // A sort given again would read the list once more for nothing.
    if (!sort.isNull() && m_query->sort() != sort)
        m_query->setSort(sort);
    m_query->first();
}

void TFConsMovBase::BxTodosClick()
{
    try {
        m_query->setFiltered(false);
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
        return;
    }
    BTotalClick();
}

void TFConsMovBase::BxFecClick()
{
    const std::optional<vx::DayRange> days = app::readDays(EdDesF, EdHasF, firstDay, QDate::currentDate(), this);
    if (!days)
        return;
    clearArticle();
    EdCan->clear();
    EdCan2->clear();
    aguarde::show();
    try {
        filterBy(vx::SqlConditionBuilder(m_query->connection()->dialect()).days(m_kind.dateColumn, *days).build(),
                 m_kind.dateColumn + QStringLiteral(" ASC"));
    } catch (const std::exception &failure) {
        aguarde::close();
        vx::ui::dialogs().showException(this, failure);
        return;
    }
    aguarde::close();
    BTotalClick();
}

void TFConsMovBase::clearArticle()
{
    m_filling = true;
    CBCod->setEditText(QString());
    CBDes->setEditText(QString());
    m_filling = false;
}

void TFConsMovBase::CBCodChosen()
{
    if (m_filling)
        return;
    const QString code = CBCod->currentText();
    try {
        const auto article = app::findArticle(*DM1->ADOConnection1, app::ArticleColumn::OwnCode, code);
        if (article) {
            m_filling = true;
            CBDes->setEditText(article->description);
            m_filling = false;
        }
        m_code = code;
        const vx::SqlCondition only = vx::SqlConditionBuilder(m_query->connection()->dialect())
                                          .equal(m_kind.codeColumn, vx::FieldType::String, code)
                                          .build();
        // A code with no line in the list leaves the list as it was.
        if (!m_query->holds(only))
            return;
        filterBy(only, QString());
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
        return;
    }
    BTotalClick();
}

void TFConsMovBase::CBDesChosen()
{
    if (m_filling || CBDes->currentText().isEmpty())
        return;
    try {
        const auto article = app::findArticle(*DM1->ADOConnection1, app::ArticleColumn::Description, CBDes->currentText());
        if (!article)
            return;
        m_filling = true;
        CBCod->setEditText(article->ownCode);
        m_filling = false;
        m_code = article->ownCode;
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFConsMovBase::BxArtClick()
{
    EdDesF->clear();
    EdHasF->clear();
    const QString code = CBCod->currentText();
    if (code.isEmpty())
        return;
    m_code = code;
    aguarde::show();
    try {
        vx::SqlConditionBuilder where(m_query->connection()->dialect());
        if (m_kind.codeContains)
            where.contains(m_kind.codeColumn, code);
        else
            where.equal(m_kind.codeColumn, vx::FieldType::String, code);
        filterBy(where.build(), QString());
    } catch (const std::exception &failure) {
        aguarde::close();
        vx::ui::dialogs().showException(this, failure);
        return;
    }
    aguarde::close();
    BTotalClick();
}

void TFConsMovBase::BTotalClick()
{
    EdCan->clear();
    EdCan2->clear();
    if (!m_query->active())
        return;
    aguarde::show();
    aguarde::progress(QStringLiteral("Calculando totales..."));
    try {
        const QList<double> totals = vx::Totals::sums(*m_query, m_kind.quantityColumns);
        EdCan->setText(vx::shopformat::formatGeneral(totals[0]));
        EdCan2->setText(vx::shopformat::formatGeneral(totals[1]));
    } catch (const std::exception &failure) {
        aguarde::close();
        vx::ui::dialogs().showException(this, failure);
        return;
    }
    aguarde::close();
}

void TFConsMovBase::showLine()
{
    if (!m_query->active() || m_query->isEmpty()) {
        for (QLineEdit *box : {DBEdit1, EdOperador, EdProveedor})
            box->clear();
        return;
    }
    DBEdit1->setText(m_query->fieldByName(QStringLiteral("ARTDES"))->asString());
    if (!m_kind.showsLookups)
        return;
    try {
        vx::Connection &db = *m_query->connection();
        const QVariant ope = m_query->fieldByName(QStringLiteral("INGOPE"))->value();
        EdOperador->setText(ope.isNull() ? QString()
                                         : db.scalar(QStringLiteral("SELECT MIN(OPEAPE) FROM OPERADOR WHERE OPECOD = ?"), {ope}).toString());
        // The list reads the supplier's name with each line.
        EdProveedor->setText(m_query->fieldByName(QStringLiteral("CLIAPE"))->asString());
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFConsMovBase::BExportarClick()
{
    if (!m_query->active())
        return;
    QList<app::ExportColumn> columns;
    for (const stock::ColumnTitle &column : m_kind.exportColumns)
        columns << app::ExportColumn{column.field, column.title};
    app::exportList(this, *m_query, m_kind.caption, columns);
}

void TFConsMovBase::BCerrarClick()
{
    m_query->setFiltered(false);
    closeQuery();
    for (QLineEdit *box : {EdDesF, EdHasF, EdCan, EdCan2})
        box->clear();
    clearArticle();
    accept();
}

void openMovementQuery(TFConsMovBase &window)
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
