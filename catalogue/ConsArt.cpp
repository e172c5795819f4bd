#include "catalogue/ConsArt.h"

#include "catalogue/ArticleDelete.h"
#include "catalogue/BoxExit.h"
#include "catalogue/MODArt.h"
#include "catalogue/QRArt.h"
#include "data/DataModule.h"
#include "platform/ui/DBEdit.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"
#include "app/Aguarde.h"
#include "app/GlobalFunction.h"
#include "app/uGlobales.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

TFBuscando *FBuscando = nullptr;

namespace {

double numberOrZero(const QVariant &value)
{
    return value.isNull() ? 0.0 : value.toDouble();
}

// Sorts only when the order differs: re-reading the order of a big shop on every key is too slow.
void sortBy(vx::Table &stock, const QString &column)
{
    if (stock.sort() != column)
        stock.setIndexFieldNames(column);
}

}  // namespace

TFBuscando::TFBuscando(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FBuscando"));
    setWindowTitle(QStringLiteral("CONSULTA de ARTICULOS"));
    FBuscando = this;
    buildControls();
    buildLayout();
    resize(1100, 600);
}

TFBuscando::~TFBuscando()
{
    if (FBuscando == this)
        FBuscando = nullptr;
}

QColor TFBuscando::reorderColor()
{
    return QColor(192, 220, 192);
}

void TFBuscando::buildControls()
{
    CB1 = new QComboBox(this);
    CB1->setObjectName(QStringLiteral("CB1"));
    CB1->addItems({byOrigin(), byOwnCode(), byDescription(), byReorder()});
    CB1->setCurrentIndex(1);
    CB1->installEventFilter(this);
    connect(CB1, &QComboBox::activated, this, &TFBuscando::CB1Change);

    EdBusca = new vx::ui::Edit(200, true, this);
    EdBusca->setObjectName(QStringLiteral("EdBusca"));
    EdBusca->setToolTip(QStringLiteral("Doble Click para Buscar"));
    EdBusca->installEventFilter(this);

    DBNavigator1 = new vx::ui::DBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    using vx::ui::NavigatorButton;
    DBNavigator1->setVisibleButtons(NavigatorButton::First | NavigatorButton::Prior | NavigatorButton::Next
                                    | NavigatorButton::Last | NavigatorButton::Refresh);
    DBNavigator1->setDataSource(DM1->DSStk);

    DBGrid1 = new vx::ui::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    vx::ui::GridColumn code{QStringLiteral("ARTCMCT"), QStringLiteral("CODIGO "), 14};
    code.titleBold = true;
    DBGrid1->setColumns({code,
                         {QStringLiteral("ARTCOD"), QStringLiteral("Cod. Origen"), 13},
                         {QStringLiteral("ARTDES"), QStringLiteral("DESCRIPCION"), 30},
                         {QStringLiteral("ARTREP"), QStringLiteral("Pto.Rep."), 7},
                         {QStringLiteral("ARTEX1"), QStringLiteral("Local 1"), 8},
                         {QStringLiteral("ARTEX2"), QStringLiteral("Depos.2"), 8},
                         {QStringLiteral("ARTCOS1"), QStringLiteral("Costo "), 9},
                         {QStringLiteral("ARTVEN1"), QStringLiteral("Venta 1"), 9},
                         {QStringLiteral("ARTVEN2"), QStringLiteral("Venta 2"), 9},
                         {QStringLiteral("ARTVEN3"), QStringLiteral("Venta 3"), 9},
                         {QStringLiteral("ARTVEN4"), QStringLiteral("Venta 4"), 9},
                         {QStringLiteral("ARTFEC1"), QStringLiteral("Ult.Ingreso"), 10},
                         {QStringLiteral("ARTFEC2"), QStringLiteral("Ult.Egreso"), 10}});
    DBGrid1->setReadOnly(true);
    DBGrid1->setCellColor([](const vx::ui::GridRow &row, int) {
        const qint64 stock = GlobalFunction::roundHalfEven(numberOrZero(row.value(QStringLiteral("ARTEX1"))));
        const qint64 reorder = GlobalFunction::roundHalfEven(numberOrZero(row.value(QStringLiteral("ARTREP"))));
        return stock < reorder ? reorderColor() : QColor();
    });
    DBGrid1->setDataSource(DM1->DSStk);
    connect(DBGrid1, &vx::ui::DBGrid::TitleClick, this, &TFBuscando::DBGrid1TitleClick);

    DBEdit1 = new vx::ui::DBEdit(this);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit1->setDataSource(DM1->DSStk);
    DBEdit1->setDataField(QStringLiteral("ARTFOT"));
    DBEdit1->setReadOnly(true);

    const auto button = [this](const char *name, const QString &caption, void (TFBuscando::*handler)()) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    BBModifi = button("BBModifi", QStringLiteral("&Modificar"), &TFBuscando::BBModifiClick);
    BBEliminar = button("BBEliminar", QStringLiteral("&Eliminar"), &TFBuscando::BBEliminarClick);
    BBImp = button("BBImp", QStringLiteral("&Imprimir"), &TFBuscando::BBImpClick);
    BCerrar = button("BCerrar", QStringLiteral("&Cerrar"), &TFBuscando::BCerrarClick);
}

void TFBuscando::buildLayout()
{
    auto *search = new QHBoxLayout;
    search->addWidget(new QLabel(QStringLiteral("Buscar por:"), this));
    search->addWidget(CB1);
    search->addWidget(new QLabel(QStringLiteral("Igual A:"), this));
    search->addWidget(EdBusca, 1);
    search->addWidget(DBNavigator1);

    auto *photo = new QHBoxLayout;
    photo->addWidget(new QLabel(QStringLiteral("Nombre del Archivo de Foto: "), this));
    photo->addWidget(DBEdit1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *b : {BBModifi, BBEliminar, BBImp, BCerrar})
        buttons->addWidget(b);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(search);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(photo);
    layout->addLayout(buttons);
}

bool TFBuscando::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == EdBusca && event->type() == QEvent::KeyRelease)
        EdBuscaKeyUp();
    else if (watched == EdBusca && event->type() == QEvent::MouseButtonDblClick)
        EdBuscaDblClick();
    else if (watched == CB1 && event->type() == QEvent::FocusOut
             && catalogue::leftByOperator(static_cast<QFocusEvent *>(event)))
        CB1Exit();
    return QDialog::eventFilter(watched, event);
}

void TFBuscando::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    CB1->setFocus();
}

void TFBuscando::CB1Change()
{
    // Leaving the list sets the mode; when the list does not hold the focus, set it here.
    if (!CB1->hasFocus())
        CB1Exit();
    EdBusca->setFocus();
}

void TFBuscando::CB1Exit()
{
    const QString mode = CB1->currentText();
    vx::Table &stock = *DM1->Stock;
    try {
        if (!stock.active())
            stock.open();
        stock.setFiltered(false);
        stock.first();
        if (mode == byDescription())
            sortBy(stock, QStringLiteral("ARTDES"));
        else if (mode == byOrigin())
            sortBy(stock, QStringLiteral("ARTCOD"));
        else if (mode == byOwnCode())
            sortBy(stock, QStringLiteral("ARTCMCT"));
        else if (mode == byReorder())
            reorderView(QStringLiteral("ARTEX1"));
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFBuscando::reorderView(const QString &sortColumn)
{
    vx::Table &stock = *DM1->Stock;
    if (!sortColumn.isEmpty())
        sortBy(stock, sortColumn);
    stock.setFiltered(true);
    stock.first();
}

void TFBuscando::search(bool sorting)
{
    const QString mode = CB1->currentText();
    QString column;
    if (mode == byDescription())
        column = QStringLiteral("ARTDES");
    else if (mode == byOrigin())
        column = QStringLiteral("ARTCOD");
    else if (mode == byOwnCode())
        column = QStringLiteral("ARTCMCT");
    vx::Table &stock = *DM1->Stock;
    try {
        if (!stock.active())
            return;
        if (mode == byReorder()) {
            reorderView(sorting ? QStringLiteral("ARTREP") : QString());
            return;
        }
        if (column.isEmpty())
            return;
        if (sorting)
            sortBy(stock, column);
        // Nothing found leaves the current article where it was.
        stock.locate(column, EdBusca->text(), vx::LocateOption::PartialKey);
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFBuscando::EdBuscaKeyUp()
{
    search(true);
}

void TFBuscando::EdBuscaDblClick()
{
    search(false);
}

void TFBuscando::DBGrid1TitleClick(int column)
{
    DBGrid1->sortByTitle(column);
}

void TFBuscando::BBModifiClick()
{
    vx::Table &stock = *DM1->Stock;
    try {
        if (!stock.active() || stock.isEmpty())
            return;
        const QString code = stock.fieldByName(QStringLiteral("ARTCMCT"))->asString();
        uGlobales::session().currentArticleCode = code;
        if (!stock.locate(QStringLiteral("ARTCMCT"), code) || !FModArt)
            return;
        vx::ui::dialogs().showModal(FModArt);
        if (!stock.active())
            stock.open();
    } catch (const std::exception &) {
        // The grid shows the article as it now stands; there is nothing for the operator to do.
    }
}

void TFBuscando::BBEliminarClick()
{
    vx::Table &stock = *DM1->Stock;
    if (!stock.active() || stock.isEmpty())
        return;
    const QString code = stock.fieldByName(QStringLiteral("ARTCMCT"))->asString();
    const QString description = stock.fieldByName(QStringLiteral("ARTDES"))->asString();
    if (!vx::ui::dialogs().confirm(this, QStringLiteral("Desea eliminar el Articulo: \r\n") + code + QStringLiteral(" - ")
                                             + description,
                                   QString()))
        return;
    catalogue::ArticleUsage usage;
    try {
        usage = catalogue::articleUsage(*DM1, code, stock.fieldByName(QStringLiteral("ARTEX1"))->asFloat(),
                                        stock.fieldByName(QStringLiteral("ARTEX2"))->asFloat());
    } catch (const std::exception &) {
        vx::ui::dialogs().showMessage(QStringLiteral("No se pudo completar el proceso..."));
        return;
    }
    if (usage.hasStock) {
        vx::ui::dialogs().showMessage(QStringLiteral("No se puede eliminar un articulo con cantidades en stock."));
        return;
    }
    if (usage.hasMovements) {
        if (uGlobales::session().accessLevel != 9) {
            vx::ui::dialogs().showMessage(
                QStringLiteral("No se puede eliminar un articulo con movimientos registrados..."));
            return;
        }
        if (!vx::ui::dialogs().confirm(
                this,
                QStringLiteral("ATENCION: Este articulo tiene movimientos registrados... También se eliminarán.\n\r"
                               "Tenga en cuenta que si tiene ventas registradas habra diferencias entre los totales de "
                               "ventas por FACTURAS y por ARTICULOS.\n\rConfirma que quiere eliminarlo ???"),
                QString()))
            return;
        aguarde::show();
    }
    try {
        catalogue::deleteArticle(*DM1, code, usage.hasMovements);
    } catch (const catalogue::FilesBusy &busy) {
        aguarde::close();
        vx::ui::dialogs().showMessage(busy.message());
        return;
    } catch (const std::exception &) {
        aguarde::close();
        vx::ui::dialogs().showMessage(QStringLiteral("No se pudo completar el proceso..."));
        return;
    }
    aguarde::close();
    vx::ui::dialogs().showMessage(QStringLiteral("Articulo eliminado..."));
}

void TFBuscando::BBImpClick()
{
    vx::Table &stock = *DM1->Stock;
    try {
        if (!stock.active())
            return;
        stock.first();
        TQRArt list(&stock);
        list.setSecondLine(uGlobales::session().accessLevel == 9);
        list.preview(this);
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFBuscando::done(int result)
{
    CB1->setCurrentIndex(-1);
    EdBusca->clear();
    try {
        DM1->Stock->setFiltered(false);
    } catch (const std::exception &) {
        // Closing goes on: the next opening turns the filter off again.
    }
    QDialog::done(result);
}
