#include "catalogue/MaestStk.h"

#include "catalogue/BoxExit.h"
#include "catalogue/MaestStkExport.h"
#include "catalogue/MaestStkReport.h"
#include "catalogue/StockTotals.h"
#include "data/DataModule.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"
#include "app/Aguarde.h"
#include "export/DataToXLS.h"
#include "platform/core/Paths.h"

#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFMArt *FMArt = nullptr;

namespace {

// An own code typed short is padded in front with zeros to its 13 characters.
QString padded(const QString &text)
{
    return text.size() >= 13 ? text : QString(13 - text.size(), QLatin1Char('0')) + text;
}

QString quoted(const QString &text)
{
    return QLatin1Char('\'') + QString(text).replace(QLatin1String("'"), QLatin1String("''")) + QLatin1Char('\'');
}

}  // namespace

TFMArt::TFMArt(QWidget *parent)
    : QDialog(parent), m_stock(DM1->ADOConnection1, QStringLiteral("STOCK"), QStringLiteral("MArtStock"), this)
{
    setObjectName(QStringLiteral("FMArt"));
    setWindowTitle(QStringLiteral("Listado Maestro de Articulos"));
    setModal(false);
    FMArt = this;
    buildControls();
    buildLayout();
    resize(1100, 620);
}

TFMArt::~TFMArt()
{
    if (FMArt == this)
        FMArt = nullptr;
}

void TFMArt::buildControls()
{
    EdDesA = new vx::ui::Edit(20, true, this);
    EdDesA->setObjectName(QStringLiteral("EdDesA"));
    EdDesA->installEventFilter(this);
    EdHasA = new vx::ui::Edit(20, true, this);
    EdHasA->setObjectName(QStringLiteral("EdHasA"));
    EdHasA->installEventFilter(this);

    const auto button = [this](const char *name, const QString &caption, void (TFMArt::*handler)()) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    BCons = button("BCons", QStringLiteral("C&onsultar"), &TFMArt::BConsClick);
    Button1 = button("Button1", QStringLiteral("Ver Todos"), &TFMArt::Button1Click);
    BExportar = button("BExportar", QStringLiteral("&Exportar"), &TFMArt::BExportarClick);
    BExportar->setToolTip(QStringLiteral("Exporta Stock a Excel"));
    BTotales = button("BTotales", QStringLiteral("&TOTALES"), &TFMArt::BTotalesClick);
    BImp = button("BImp", QStringLiteral("&Imprimir"), &TFMArt::BImpClick);
    BCerrar = button("BCerrar", QStringLiteral("&Cerrar"), &TFMArt::BCerrarClick);

    DBNavigator1 = new vx::ui::DBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    using vx::ui::NavigatorButton;
    DBNavigator1->setVisibleButtons(NavigatorButton::First | NavigatorButton::Prior | NavigatorButton::Next
                                    | NavigatorButton::Last | NavigatorButton::Refresh);
    DBNavigator1->setDataSource(m_stock.source);

    DBGrid1 = new vx::ui::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setColumns({{QStringLiteral("ARTCMCT"), QStringLiteral("CODIGO "), 14},
                         {QStringLiteral("ARTDES"), QStringLiteral("DESCRIPCION"), 30},
                         {QStringLiteral("ARTEX1"), QStringLiteral("Cant.1"), 8},
                         {QStringLiteral("ARTEX2"), QStringLiteral("Cant.2"), 8},
                         {QStringLiteral("ARTCOS1"), QStringLiteral("Costo 1"), 9},
                         {QStringLiteral("ARTVEN1"), QStringLiteral("Venta 1"), 9},
                         {QStringLiteral("ARTVEN2"), QStringLiteral("Venta 2"), 9},
                         {QStringLiteral("ARTVEN3"), QStringLiteral("Venta 3"), 9},
                         {QStringLiteral("ARTVEN4"), QStringLiteral("Venta 4"), 9},
                         {QStringLiteral("ARTFEC1"), QStringLiteral("Ult.F.Ingreso"), 10},
                         {QStringLiteral("ARTFEC2"), QStringLiteral("Ult.F.Egreso"), 10},
                         {QStringLiteral("ARTFOT"), QStringLiteral("Arch.de Foto"), 20},
                         {QStringLiteral("ARTOBS"), QStringLiteral("Observaciones"), 20}});
    DBGrid1->setReadOnly(true);
    DBGrid1->setDataSource(m_stock.source);
    connect(DBGrid1, &vx::ui::DBGrid::TitleClick, this, &TFMArt::DBGrid1TitleClick);

    const auto total = [this](const char *name) {
        auto *box = new QLineEdit(this);
        box->setObjectName(QLatin1String(name));
        box->setReadOnly(true);
        box->setAlignment(Qt::AlignRight);
        return box;
    };
    EdTot1 = total("EdTot1");
    EdTot2 = total("EdTot2");
    EdVen1 = total("EdVen1");
    EdVen2 = total("EdVen2");
    EdDepo1 = total("EdDepo1");
    EdDepo2 = total("EdDepo2");
}

void TFMArt::buildLayout()
{
    auto *range = new QGroupBox(QStringLiteral("Filtra x CODIGO PROPIO"), this);
    auto *rangeRow = new QHBoxLayout(range);
    rangeRow->addWidget(new QLabel(QStringLiteral("Desde Art.:"), this));
    rangeRow->addWidget(EdDesA);
    rangeRow->addWidget(new QLabel(QStringLiteral("Hasta Art.:"), this));
    rangeRow->addWidget(EdHasA);
    rangeRow->addWidget(BCons);
    rangeRow->addWidget(Button1);

    auto *top = new QHBoxLayout;
    top->addWidget(range);
    top->addStretch(1);
    top->addWidget(BExportar);
    top->addWidget(DBNavigator1);

    auto *totals = new QGridLayout;
    const auto place = [this, totals](int row, int column, const QString &caption, QLineEdit *box) {
        totals->addWidget(new QLabel(caption, this), row, column * 2);
        totals->addWidget(box, row, column * 2 + 1);
    };
    place(0, 0, QStringLiteral("Cant. x Costo:"), EdTot1);
    place(1, 0, QStringLiteral("Cant.2 x Costo 2:"), EdTot2);
    place(0, 1, QStringLiteral("Cant. x Venta"), EdVen1);
    place(1, 1, QStringLiteral("Cant.2 x Venta 2"), EdVen2);
    place(0, 2, QStringLiteral("Unidades x Depos."), EdDepo1);
    totals->addWidget(EdDepo2, 1, 5);

    auto *buttons = new QHBoxLayout;
    buttons->addLayout(totals);
    buttons->addStretch(1);
    for (QPushButton *b : {BTotales, BImp, BCerrar})
        buttons->addWidget(b);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(buttons);
}

bool TFMArt::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && catalogue::leftByOperator(static_cast<QFocusEvent *>(event))) {
        if (watched == EdDesA)
            EdDesAExit();
        else if (watched == EdHasA)
            EdHasAExit();
    }
    return QDialog::eventFilter(watched, event);
}

void TFMArt::prepare()
{
    vx::Table &table = stock();
    table.close();
    table.setFiltered(false);
    table.setFilter(QString());
    table.setIndexFieldNames(QStringLiteral("ARTCMCT"));
    table.open();
    table.first();
}

void TFMArt::EdDesAExit()
{
    EdDesA->setText(padded(EdDesA->text()));
}

void TFMArt::EdHasAExit()
{
    // An empty "Hasta" stays empty: it lists up to the last article.
    if (!EdHasA->text().isEmpty())
        EdHasA->setText(padded(EdHasA->text()));
}

QString TFMArt::rangeFilter() const
{
    QString filter = QStringLiteral("ARTCMCT >= ") + quoted(padded(EdDesA->text()));
    if (!EdHasA->text().isEmpty())
        filter += QStringLiteral(" and ARTCMCT <= ") + quoted(padded(EdHasA->text()));
    return filter;
}

void TFMArt::BConsClick()
{
    try {
        vx::Table &table = stock();
        table.setFiltered(false);
        table.setFilter(rangeFilter());
        table.setFiltered(true);
        table.first();
        CalcTotales();
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFMArt::Button1Click()
{
    EdDesA->clear();
    EdHasA->clear();
    try {
        stock().setFiltered(false);
        stock().first();
        CalcTotales();
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFMArt::BTotalesClick()
{
    try {
        CalcTotales();
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFMArt::CalcTotales()
{
    const catalogue::StockTotals totals = catalogue::stockTotals(stock());
    EdTot1->setText(totals.cost1);
    EdTot2->setText(totals.cost2);
    EdVen1->setText(totals.sale1);
    EdVen2->setText(totals.sale2);
    EdDepo1->setText(totals.units1);
    EdDepo2->setText(totals.units2);
}

void TFMArt::DBGrid1TitleClick(int column)
{
    DBGrid1->sortByTitle(column);
}

void TFMArt::BImpClick()
{
    try {
        aguarde::show();
        TQRMaestro report(DM1->ADOConnection1);
        const vx::Table &table = stock();
        report.open(table.filtered() ? table.filter() : QString(), table.sort());
        report.report().prepare();
        aguarde::close();
        report.report().preview(this);
    } catch (const std::exception &failure) {
        aguarde::close();
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFMArt::BExportarClick()
{
    vx::ui::FileDialogOptions options;
    options.title = QStringLiteral("Guardar archivo:");
    options.defaultExtension = QStringLiteral("xls");
    options.folder = vx::paths::userFolder();
    options.proposedName = QDir(options.folder).filePath(QStringLiteral("Consulta de Stock.xls"));
    options.filter = QStringLiteral("Planillas de cálculo (*.xls *.xlsx)");
    const QString fileName = vx::ui::dialogs().saveFileName(this, options);
    if (fileName.isEmpty())
        return;
    try {
        aguarde::show();
        catalogue::exportStockList(stock(), fileName);
        aguarde::close();
        vx::ui::dialogs().showMessage(QStringLiteral("Exportación Terminada."));
    } catch (const ExportDeclined &) {
        aguarde::close();
    } catch (const std::exception &failure) {
        aguarde::close();
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFMArt::BCerrarClick()
{
    reject();
}

void TFMArt::done(int result)
{
    tidyUp();
    QDialog::done(result);
}

void TFMArt::tidyUp()
{
    EdDesA->clear();
    EdHasA->clear();
    try {
        stock().setFiltered(false);
        stock().close();
    } catch (const std::exception &) {
        // Closing goes on: the next opening prepares the list afresh.
    }
}
