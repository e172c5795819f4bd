#include "catalogue/ABMArt.h"

#include "catalogue/BoxExit.h"
#include "catalogue/PhotoFile.h"
#include "catalogue/ConsArt.h"
#include "data/DataModule.h"
#include "platform/db/DateTimeValue.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"
#include "platform/ui/KeyFilter.h"
#include "app/GlobalFunction.h"
#include "app/uGlobales.h"

#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>
#include <exception>

TFABMArt *FABMArt = nullptr;

namespace {

// The price of a margin over a cost, worked out in extended precision and rounded half away from
// zero only in the text.
QString priceText(double margin, double cost)
{
    const long double price = (static_cast<long double>(margin) / 100.0L + 1.0L) * static_cast<long double>(cost);
    const long double cents = std::roundl(price * 100.0L);
    return GlobalFunction::floatToFixed(static_cast<double>(cents / 100.0L), 2);
}

QString fixedText(const vx::Field *field)
{
    return GlobalFunction::floatToFixed(field->asFloat(), 2);
}

}  // namespace

TFABMArt::TFABMArt(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FABMArt"));
    setWindowTitle(QStringLiteral("Articulos"));
    FABMArt = this;

    COD = addBox("COD", 13, true);
    EdCodP = addBox("EdCodP", 13, true);
    Des = addBox("Des", 45, true);
    EdFoto = addBox("EdFoto", 100, true);
    EdObs = addBox("EdObs", 100, false);
    Cant1 = addBox("Cant1", 8, false);
    Cant2 = addBox("Cant2", 6, false);
    PtoRep = addBox("PtoRep", 6, false);
    Costo1 = addBox("Costo1", 10, false);
    Util1 = addBox("Util1", 6, false);
    Util2 = addBox("Util2", 6, false);
    Util3 = addBox("Util3", 6, false);
    Util4 = addBox("Util4", 6, false);
    Pre1 = addBox("Pre1", 10, false);
    Pre2 = addBox("Pre2", 10, false);
    Pre3 = addBox("Pre3", 10, false);
    Pre4 = addBox("Pre4", 10, false);
    UltFecI = addBox("UltFecI", 10, false);
    UltFecE = addBox("UltFecE", 10, false);
    for (QLineEdit *box : {Cant1, Cant2, PtoRep, Costo1, Util1, Util2, Util3, Util4, Pre1, Pre2, Pre3, Pre4})
        vx::ui::filterAmountKeys(box);
    const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (QLineEdit *box : {Costo1, Util1, Util2, Util3, Util4, Pre1, Pre2, Pre3, Pre4})
        box->setMinimumWidth(digit * 11);
    connect(COD, &QLineEdit::textEdited, this, [this] { m_ownCodeTyped = true; });
    connect(EdCodP, &QLineEdit::textEdited, this, [this] { m_originTyped = true; });
    for (QLineEdit *box : {UltFecI, UltFecE}) {
        vx::ui::filterDateKeys(box);
        box->setToolTip(QStringLiteral("Use ' / ' como separador"));
    }

    const auto button = [this](const char *name, const QString &caption, void (TFABMArt::*handler)()) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    BGrabar = button("BGrabar", QStringLiteral("Grabar"), &TFABMArt::BGrabarClick);
    BNuevo = button("BNuevo", QStringLiteral("&Nuevo"), &TFABMArt::BNuevoClick);
    BCerrar = button("BCerrar", QStringLiteral("&Cerrar"), &TFABMArt::BCerrarClick);
    BitBtn1 = button("BitBtn1", QStringLiteral("..."), &TFABMArt::BitBtn1Click);
    BitBtn1->setToolTip(QStringLiteral("Busca ubicacion y nombre del archivo de  la foto del artículo)"));
    Image1 = new QToolButton(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setText(QStringLiteral("Consultar"));
    Image1->setToolTip(QStringLiteral("Consultar"));
    connect(Image1, &QToolButton::clicked, this, &TFABMArt::Image1Click);

    DBNavigator1 = new vx::ui::DBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    using vx::ui::NavigatorButton;
    DBNavigator1->setVisibleButtons(NavigatorButton::First | NavigatorButton::Prior | NavigatorButton::Next
                                    | NavigatorButton::Last);
    DBNavigator1->setDataSource(DM1->DSStk);
    connect(DBNavigator1, &vx::ui::DBNavigator::clicked, this, &TFABMArt::DBNavigator1Click);

    buildLayout();
}

TFABMArt::~TFABMArt()
{
    if (FABMArt == this)
        FABMArt = nullptr;
}

QLineEdit *TFABMArt::addBox(const char *name, int maxLength, bool upper)
{
    auto *box = new vx::ui::Edit(maxLength, upper, this);
    box->setObjectName(QLatin1String(name));
    box->installEventFilter(this);
    return box;
}

void TFABMArt::buildLayout()
{
    const auto caption = [this](const QString &text) { return new QLabel(text, this); };

    auto *article = new QGroupBox(QStringLiteral("  ARTICULO"), this);
    auto *articleGrid = new QGridLayout(article);
    articleGrid->addWidget(caption(QStringLiteral("CODIGO PROPIO")), 0, 0);
    articleGrid->addWidget(COD, 0, 1);
    articleGrid->addWidget(caption(QStringLiteral("el sistema completa un codigo de 13 digitos")), 0, 2);
    articleGrid->addWidget(caption(QStringLiteral("CODIGO de ORIGEN")), 1, 0);
    articleGrid->addWidget(EdCodP, 1, 1);
    articleGrid->addWidget(caption(QStringLiteral("Descripcion ")), 2, 0);
    articleGrid->addWidget(Des, 2, 1, 1, 2);

    auto *stock = new QGroupBox(QStringLiteral("EXISTENCIAS"), this);
    auto *stockGrid = new QGridLayout(stock);
    stockGrid->addWidget(caption(QStringLiteral("Local 1")), 0, 0);
    stockGrid->addWidget(Cant1, 0, 1);
    stockGrid->addWidget(caption(QStringLiteral("Deposito 2")), 1, 0);
    stockGrid->addWidget(Cant2, 1, 1);
    stockGrid->addWidget(caption(QStringLiteral("Pto. de Repos. ")), 2, 0);
    stockGrid->addWidget(PtoRep, 2, 1);
    stockGrid->addWidget(caption(QStringLiteral("Fecha Ultimo Ingreso")), 3, 0);
    stockGrid->addWidget(UltFecI, 3, 1);
    stockGrid->addWidget(caption(QStringLiteral("Fecha Ultimo Egreso")), 4, 0);
    stockGrid->addWidget(UltFecE, 4, 1);

    auto *prices = new QGroupBox(QStringLiteral("PRECIOS"), this);
    auto *priceGrid = new QGridLayout(prices);
    priceGrid->addWidget(caption(QStringLiteral("Costo 1")), 0, 0);
    priceGrid->addWidget(Costo1, 0, 1);
    const QStringList marginCaptions{QStringLiteral("% Util. 1"), QStringLiteral("% Util. 2"), QStringLiteral("% Util. 3"),
                                     QStringLiteral("% Util.4")};
    const QStringList priceCaptions{QStringLiteral("Venta.1"), QStringLiteral("Venta 2"), QStringLiteral("Venta.3"),
                                    QStringLiteral("Venta 4")};
    for (int i = 0; i < 4; ++i) {
        priceGrid->addWidget(caption(marginCaptions[i]), i + 1, 0);
        priceGrid->addWidget(margins()[size_t(i)], i + 1, 1);
        priceGrid->addWidget(caption(priceCaptions[i]), i + 1, 2);
        priceGrid->addWidget(this->prices()[size_t(i)], i + 1, 3);
    }

    auto *photo = new QGroupBox(this);
    auto *photoGrid = new QGridLayout(photo);
    photoGrid->addWidget(caption(QStringLiteral("Nombre del Archivo de Foto")), 0, 0);
    photoGrid->addWidget(EdFoto, 0, 1);
    photoGrid->addWidget(BitBtn1, 0, 2);
    photoGrid->addWidget(caption(QStringLiteral("(debe ser una imagen en formato .bmp)")), 1, 1);
    photoGrid->addWidget(caption(QStringLiteral("Observaciones:")), 2, 0);
    photoGrid->addWidget(EdObs, 2, 1, 1, 2);

    auto *middle = new QHBoxLayout;
    middle->addWidget(stock);
    middle->addWidget(prices, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(DBNavigator1);
    buttons->addWidget(Image1);
    buttons->addStretch(1);
    buttons->addWidget(BGrabar);
    buttons->addWidget(BNuevo);
    buttons->addWidget(BCerrar);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(article);
    layout->addLayout(middle);
    layout->addWidget(photo);
    layout->addLayout(buttons);
}

QList<QLineEdit *> TFABMArt::boxes() const
{
    return {COD,  EdCodP, EdFoto, Des,  Cant1, Cant2, PtoRep, Costo1, Util1,   Util2,  Util3,
            Util4, Pre1,  Pre2,   Pre3, Pre4,  EdObs, UltFecI, UltFecE};
}

bool TFABMArt::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && catalogue::leftByOperator(static_cast<QFocusEvent *>(event))) {
        boxLeft(watched);
    } else if (watched == EdCodP && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            EdCodPExit();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFABMArt::boxLeft(QObject *box)
{
    if (box == COD)
        CODExit();
    else if (box == EdCodP)
        EdCodPExit();
    else if (box == Costo1 || box == Pre1 || box == Pre2 || box == Pre3 || box == Pre4)
        amountExit(static_cast<QLineEdit *>(box));
    else if (box == UltFecI || box == UltFecE)
        dateExit(static_cast<QLineEdit *>(box));
    for (int i = 0; i < 4; ++i) {
        if (box == margins()[size_t(i)])
            marginToPrice(i);
    }
}

void TFABMArt::VerDatos()
{
    LimpiarDatos();
    vx::Table &stock = *DM1->Stock;
    if (!stock.active() || stock.isEmpty())
        return;
    const auto field = [&stock](const QString &name) { return stock.fieldByName(name); };
    COD->setText(field(QStringLiteral("ARTCMCT"))->asString());
    EdCodP->setText(field(QStringLiteral("ARTCOD"))->asString());
    Des->setText(field(QStringLiteral("ARTDES"))->asString());
    const auto general = [&](QLineEdit *box, const char *name) {
        const vx::Field *f = field(QLatin1String(name));
        if (!f->isNull())
            box->setText(GlobalFunction::floatToStr(f->asFloat()));
    };
    general(PtoRep, "ARTREP");
    general(Cant1, "ARTEX1");
    general(Cant2, "ARTEX2");
    const auto fixed = [&](QLineEdit *box, const QString &name) {
        const vx::Field *f = field(name);
        if (!f->isNull())
            box->setText(fixedText(f));
    };
    for (int i = 0; i < 4; ++i) {
        fixed(prices()[size_t(i)], QStringLiteral("ARTVEN%1").arg(i + 1));
        fixed(margins()[size_t(i)], QStringLiteral("ARTUTI%1").arg(i + 1));
    }
    fixed(Costo1, QStringLiteral("ARTCOS1"));
    EdFoto->setText(field(QStringLiteral("ARTFOT"))->asString());
    UltFecI->setText(field(QStringLiteral("ARTFEC1"))->displayText());
    UltFecE->setText(field(QStringLiteral("ARTFEC2"))->displayText());
    EdObs->setText(field(QStringLiteral("ARTOBS"))->asString());
    m_loadedCode = COD->text();
    m_loadedStock1 = Cant1->text();
    m_loadedStock2 = Cant2->text();
}

void TFABMArt::LimpiarDatos()
{
    for (QLineEdit *box : boxes())
        box->clear();
    m_ownCodeTyped = m_originTyped = false;
    m_loadedCode.clear();
    m_loadedStock1.clear();
    m_loadedStock2.clear();
}

void TFABMArt::CODExit()
{
    // A code shown by loading an article is not checked: clicking into another box of the article
    // just loaded would refuse it as existing.
    if (!m_ownCodeTyped)
        return;
    checkOwnCode();
}

void TFABMArt::checkOwnCode()
{
    m_ownCodeTyped = false;
    if (!COD->text().isEmpty())
        COD->setText(GlobalFunction::articleCode(COD->text()));
    const QString code = COD->text();
    uGlobales::session().currentArticleCode = code;
    try {
        vx::Table &stock = *DM1->Stock;
        if (code.isEmpty() || !stock.active() || !stock.locate(QStringLiteral("ARTCMCT"), code))
            return;
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
        return;
    }
    // An existing code cannot be created twice: the operator sees the article, then the boxes
    // are emptied for the next one.
    VerDatos();
    vx::ui::dialogs().showMessage(QStringLiteral("Articulo existente..."));
    LimpiarDatos();
}

void TFABMArt::EdCodPExit()
{
    // Only an origin code the operator typed is copied: passing through a loaded or emptied box
    // keeps the own code, and emptying the origin code does not wipe it either.
    if (!m_originTyped)
        return;
    m_originTyped = false;
    if (EdCodP->text().isEmpty())
        return;
    COD->setText(EdCodP->text());
    checkOwnCode();
}

void TFABMArt::amountExit(QLineEdit *box)
{
    if (box->text().isEmpty())
        return;
    try {
        box->setText(GlobalFunction::floatToFixed(GlobalFunction::strToFloat(box->text()), 2));
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFABMArt::marginToPrice(int index)
{
    QLineEdit *margin = margins()[size_t(index)];
    if (margin->text().isEmpty())
        return;
    try {
        const double value = GlobalFunction::strToFloat(margin->text());
        margin->setText(GlobalFunction::floatToFixed(value, 2));
        prices()[size_t(index)]->setText(priceText(value, GlobalFunction::strToFloat(Costo1->text())));
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFABMArt::dateExit(QLineEdit *box)
{
    if (box->text().isEmpty())
        return;
    try {
        box->setText(GlobalFunction::dateToStr(GlobalFunction::strToDate(box->text())));
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

catalogue::ArticleForm TFABMArt::form() const
{
    catalogue::ArticleForm out;
    out.code = COD->text();
    out.originCode = EdCodP->text();
    out.description = Des->text();
    out.photo = EdFoto->text();
    out.remark = EdObs->text();
    out.stock1 = Cant1->text();
    out.stock2 = Cant2->text();
    out.reorderPoint = PtoRep->text();
    out.cost1 = Costo1->text();
    for (size_t i = 0; i < 4; ++i) {
        out.margins[i] = margins()[i]->text();
        out.prices[i] = prices()[i]->text();
    }
    out.lastIn = UltFecI->text();
    out.lastOut = UltFecE->text();
    out.loadedCode = m_loadedCode;
    out.loadedStock1 = m_loadedStock1;
    out.loadedStock2 = m_loadedStock2;
    return out;
}

void TFABMArt::BGrabarClick()
{
    const catalogue::ArticleForm entry = form();
    uGlobales::session().currentArticleCode = GlobalFunction::articleCode(entry.code);
    const uGlobales::Session &session = uGlobales::session();
    try {
        catalogue::saveArticle(*DM1, entry, {session.operatorCode, session.accessLevel, vx::naiveNow()});
    } catch (const std::exception &) {
        vx::ui::dialogs().showMessage(QStringLiteral("No se pudo actualizar la tabla..."));
        return;
    }
    uGlobales::setAllArticleListsChanged();
    vx::ui::dialogs().showMessage(QStringLiteral("Proceso Terminado..."));
    LimpiarDatos();
}

void TFABMArt::BCerrarClick()
{
    LimpiarDatos();
    for (vx::Table *table : {DM1->Stock, DM1->Ingresos}) {
        if (table->active())
            table->close();
    }
    accept();
}

void TFABMArt::Image1Click()
{
    uGlobales::session().articleSearchCaller = QStringLiteral("ARTICULO");
    try {
        vx::Table &stock = *DM1->Stock;
        if (!stock.active())
            stock.open();
        stock.setIndexFieldNames(QStringLiteral("ARTCMCT"));
        stock.last();
        if (FBuscando)
            vx::ui::dialogs().showModal(FBuscando);
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFABMArt::BitBtn1Click()
{
    const QString chosen = vx::ui::dialogs().openFileName(this, catalogue::photoFileOptions());
    if (chosen.isEmpty())
        return;
    const QString name = catalogue::storedPhotoName(chosen);
    const QString problem = catalogue::photoNameProblem(name);
    if (!problem.isEmpty()) {
        vx::ui::dialogs().showMessage(problem);
        return;
    }
    EdFoto->setText(name);
}

void TFABMArt::DBNavigator1Click()
{
    VerDatos();
}
