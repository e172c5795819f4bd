#include "catalogue/MODArt.h"

#include "catalogue/BoxExit.h"
#include "catalogue/PhotoFile.h"
#include "data/DataModule.h"
#include "platform/ui/DBEdit.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/KeyFilter.h"

#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

TFModArt *FModArt = nullptr;

TFModArt::TFModArt(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FModArt"));
    setWindowTitle(QStringLiteral("Modificaion de Articulos"));
    FModArt = this;

    DBEdit1 = addBox("DBEdit1", "ARTCMCT");
    DBEdit12 = addBox("DBEdit12", "ARTCOD");
    DBEdit3 = addBox("DBEdit3", "ARTEX1");
    DBEdit4 = addBox("DBEdit4", "ARTEX2");
    for (vx::ui::DBEdit *box : {DBEdit1, DBEdit12, DBEdit3, DBEdit4})
        box->setReadOnly(true);
    DBEdit6 = addBox("DBEdit6", "ARTDES");
    DBEdit6->setUpperCase(true);
    DBEdit6->setMaxLength(50);
    DBEdit7 = addBox("DBEdit7", "ARTFOT");
    DBEdit7->setUpperCase(true);
    DBEdit5 = addBox("DBEdit5", "ARTREP");
    DBEdit8 = addBox("DBEdit8", "ARTCOS1");
    DBEdit10 = addBox("DBEdit10", "ARTVEN1");
    DBEdit11 = addBox("DBEdit11", "ARTVEN2");
    DBEdit18 = addBox("DBEdit18", "ARTVEN3");
    DBEdit20 = addBox("DBEdit20", "ARTVEN4");
    DBEdit13 = addBox("DBEdit13", "ARTUTI1");
    DBEdit16 = addBox("DBEdit16", "ARTUTI2");
    DBEdit17 = addBox("DBEdit17", "ARTUTI3");
    DBEdit19 = addBox("DBEdit19", "ARTUTI4");
    DBEdit14 = addBox("DBEdit14", "ARTFEC1");
    DBEdit15 = addBox("DBEdit15", "ARTFEC2");
    DBEdit2 = addBox("DBEdit2", "ARTOBS");
    for (vx::ui::DBEdit *box : {DBEdit10, DBEdit11, DBEdit18, DBEdit20, DBEdit13, DBEdit16, DBEdit17, DBEdit19})
        vx::ui::filterAmountKeys(box);

    const auto button = [this](const char *name, const QString &caption, void (TFModArt::*handler)()) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    BGrabar = button("BGrabar", QStringLiteral("Grabar"), &TFModArt::BGrabarClick);
    BCerrar = button("BCerrar", QStringLiteral("&Cerrar"), &TFModArt::BCerrarClick);
    BitBtn1 = button("BitBtn1", QStringLiteral("..."), &TFModArt::BitBtn1Click);
    BitBtn1->setToolTip(QStringLiteral("Busca ubicacion y nombre del archivo de  la foto del artículo)"));

    buildLayout();
}

TFModArt::~TFModArt()
{
    if (FModArt == this)
        FModArt = nullptr;
}

vx::ui::DBEdit *TFModArt::addBox(const char *name, const char *field)
{
    auto *box = new vx::ui::DBEdit(this);
    box->setObjectName(QLatin1String(name));
    box->setDataSource(DM1->DSStk);
    box->setDataField(QLatin1String(field));
    box->installEventFilter(this);
    return box;
}

void TFModArt::buildLayout()
{
    const auto caption = [this](const QString &text) { return new QLabel(text, this); };

    auto *fixed = new QGroupBox(QStringLiteral("Datos que no se pueden Modificar"), this);
    auto *fixedGrid = new QGridLayout(fixed);
    fixedGrid->addWidget(caption(QStringLiteral("Código Propio")), 0, 0);
    fixedGrid->addWidget(DBEdit1, 0, 1);
    fixedGrid->addWidget(caption(QStringLiteral("Codigo de Origen")), 0, 2);
    fixedGrid->addWidget(DBEdit12, 0, 3);
    fixedGrid->addWidget(caption(QStringLiteral("Cant.1")), 1, 0);
    fixedGrid->addWidget(DBEdit3, 1, 1);
    fixedGrid->addWidget(caption(QStringLiteral("Cant.2")), 1, 2);
    fixedGrid->addWidget(DBEdit4, 1, 3);

    auto *grid = new QGridLayout;
    grid->addWidget(caption(QStringLiteral("Descripción ")), 0, 0);
    grid->addWidget(DBEdit6, 0, 1, 1, 3);
    grid->addWidget(caption(QStringLiteral("Arch.de Foto")), 1, 0);
    auto *photo = new QHBoxLayout;
    photo->addWidget(DBEdit7, 1);
    photo->addWidget(BitBtn1);
    grid->addLayout(photo, 1, 1, 1, 3);
    grid->addWidget(caption(QStringLiteral("Pto.de Rep.")), 2, 0);
    grid->addWidget(DBEdit5, 2, 1);
    grid->addWidget(caption(QStringLiteral("Costo")), 2, 2);
    grid->addWidget(DBEdit8, 2, 3);
    const QStringList priceCaptions{QStringLiteral("Venta"), QStringLiteral("Venta 2"), QStringLiteral("Venta 3"),
                                    QStringLiteral("Venta 4")};
    const std::array<vx::ui::DBEdit *, 4> priceBoxes{DBEdit10, DBEdit11, DBEdit18, DBEdit20};
    for (int i = 0; i < 4; ++i) {
        grid->addWidget(caption(QStringLiteral("% Util")), 3 + i, 0);
        grid->addWidget(marginBoxes()[size_t(i)], 3 + i, 1);
        grid->addWidget(caption(priceCaptions[i]), 3 + i, 2);
        grid->addWidget(priceBoxes[size_t(i)], 3 + i, 3);
    }
    grid->addWidget(caption(QStringLiteral("Fecha Ultimo Ingreso")), 7, 0);
    grid->addWidget(DBEdit14, 7, 1);
    grid->addWidget(caption(QStringLiteral("Fecha Ultimo Egreso")), 7, 2);
    grid->addWidget(DBEdit15, 7, 3);
    grid->addWidget(caption(QStringLiteral("Observaciones")), 8, 0);
    grid->addWidget(DBEdit2, 8, 1, 1, 3);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BGrabar);
    buttons->addWidget(BCerrar);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fixed);
    layout->addLayout(grid);
    layout->addLayout(buttons);
}

bool TFModArt::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && catalogue::leftByOperator(static_cast<QFocusEvent *>(event))) {
        for (int i = 0; i < 4; ++i) {
            if (watched == marginBoxes()[size_t(i)])
                marginToPrice(i);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFModArt::marginToPrice(int index)
{
    vx::Table &stock = *DM1->Stock;
    try {
        vx::ui::DBEdit *margin = marginBoxes()[size_t(index)];
        const vx::Field *percent = stock.fieldByName(QStringLiteral("ARTUTI%1").arg(index + 1));
        // Passing through an empty margin box leaves the price as it is.
        if (!margin->isModified() && percent->isNull())
            return;
        stock.edit();
        // The margin typed is written before the price is worked out from it.
        if (margin->isModified())
            margin->updateRecord();
        if (!percent->isNull()) {
            const double cost = stock.fieldByName(QStringLiteral("ARTCOS1"))->asFloat();
            stock.fieldByName(QStringLiteral("ARTVEN%1").arg(index + 1))
                ->setAsFloat((percent->asFloat() / 100.0 + 1.0) * cost);
        }
        stock.post();
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFModArt::BGrabarClick()
{
    vx::Table &stock = *DM1->Stock;
    try {
        if (!stock.active())
            stock.open();
        vx::Transaction transaction(*DM1->ADOConnection1);
        stock.edit();
        stock.post();
        transaction.commit();
    } catch (const std::exception &) {
        vx::ui::dialogs().showMessage(QStringLiteral("No se pudo actualizar la tabla..."));
        return;
    }
    vx::ui::dialogs().showMessage(QStringLiteral("Proceso Terminado..."));
    accept();
}

void TFModArt::BCerrarClick()
{
    accept();
}

void TFModArt::done(int result)
{
    // What was not saved is dropped; margins and the photo were posted as they were set.
    vx::Table &stock = *DM1->Stock;
    if (stock.state() == vx::Dataset::State::Edit || stock.state() == vx::Dataset::State::Insert)
        stock.cancel();
    QDialog::done(result);
}

void TFModArt::BitBtn1Click()
{
    const QString chosen = vx::ui::dialogs().openFileName(this, catalogue::photoFileOptions());
    // Cancelling keeps the photo the article has.
    if (chosen.isEmpty())
        return;
    const QString name = catalogue::storedPhotoName(chosen);
    const QString problem = catalogue::photoNameProblem(name);
    if (!problem.isEmpty()) {
        vx::ui::dialogs().showMessage(problem);
        return;
    }
    vx::Table &stock = *DM1->Stock;
    try {
        stock.edit();
        stock.fieldByName(QStringLiteral("ARTFOT"))->setAsString(name);
        stock.post();
    } catch (const std::exception &) {
        // A name the field refuses leaves the photo as it was.
        if (stock.state() == vx::Dataset::State::Edit)
            stock.cancel();
    }
}
