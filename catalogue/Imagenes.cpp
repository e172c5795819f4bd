#include "catalogue/Imagenes.h"

#include "app/ArticleLists.h"
#include "catalogue/ABMArt.h"
#include "catalogue/PhotoFile.h"
#include "data/DataModule.h"
#include "platform/ui/DBEdit.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/PickList.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFImagen::TFImagen(QWidget *parent)
    : QDialog(parent), m_stock(DM1->ADOConnection1, QStringLiteral("STOCK"), QStringLiteral("ImagenStock"), this)
{
    setObjectName(QStringLiteral("FImagen"));
    setWindowTitle(QStringLiteral("Imagen"));
    buildControls();
    buildLayout();
    resize(1000, 620);
}

TFImagen::~TFImagen()
{
    // The list goes before this window's members: it must not ask for a photo on its way out.
    disconnect(m_stock.source, nullptr, this, nullptr);
}

void TFImagen::buildControls()
{
    DBGrid1 = new vx::ui::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setColumns({{QStringLiteral("ARTCMCT"), QStringLiteral("CODIGO "), 14},
                         {QStringLiteral("ARTDES"), QStringLiteral("DESCRIPCION"), 28},
                         {QStringLiteral("ARTFOT"), QStringLiteral("Arch.deFoto"), 24}});
    DBGrid1->setReadOnly(true);
    DBGrid1->setDataSource(m_stock.source);
    connect(DBGrid1, &vx::ui::DBGrid::TitleClick, this, &TFImagen::DBGrid1TitleClick);
    // However the current article changes (grid, navigator, searches), its photo follows.
    connect(m_stock.source, &vx::DataSource::dataSetScrolled, this, &TFImagen::showPhoto);
    connect(m_stock.source, &vx::DataSource::dataSetChanged, this, &TFImagen::showPhoto);

    Image1 = new vx::ui::ImageView(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setScaling(vx::ui::ImageView::Scaling::Proportional);
    Image1->setMinimumSize(320, 280);
    Image1->setFrameShape(QFrame::Box);
    LabFoto = new QLabel(this);
    LabFoto->setObjectName(QStringLiteral("LabFoto"));
    LabFoto->setAlignment(Qt::AlignCenter);
    LabFoto->setStyleSheet(QStringLiteral("color: red"));

    const auto shown = [this](const char *name, const char *field) {
        auto *edit = new vx::ui::DBEdit(this);
        edit->setObjectName(QLatin1String(name));
        edit->setDataSource(m_stock.source);
        edit->setDataField(QLatin1String(field));
        edit->setReadOnly(true);
        return edit;
    };
    DBPrecio = shown("DBPrecio", "ARTVEN1");
    DBStock1 = shown("DBStock1", "ARTEX1");
    DBStock2 = shown("DBStock2", "ARTEX2");
    DBCodigoP = shown("DBCodigoP", "ARTCOD");
    DBCodigo = shown("DBCodigo", "ARTCMCT");
    DBDescripcion = shown("DBDescripcion", "ARTDES");
    DBFoto = shown("DBFoto", "ARTFOT");

    CBRub = new vx::ui::PickList(this);
    CBRub->setObjectName(QStringLiteral("CBRub"));
    CBRub->setSorted(true);
    CBRub->setUpperCase(true);
    CBRub->setMaxLength(30);
    connect(CBRub, &QComboBox::activated, this, &TFImagen::CBRubSelect);
    EdDes1 = new vx::ui::Edit(50, true, this);
    EdDes1->setObjectName(QStringLiteral("EdDes1"));
    EdDes1->installEventFilter(this);
    Lupa = new QPushButton(QStringLiteral("Buscar"), this);
    Lupa->setObjectName(QStringLiteral("Lupa"));
    Lupa->setToolTip(QStringLiteral("Buscar"));
    Lupa->setAutoDefault(false);
    connect(Lupa, &QPushButton::clicked, this, &TFImagen::LupaClick);

    DBNavigator1 = new vx::ui::DBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    using vx::ui::NavigatorButton;
    DBNavigator1->setVisibleButtons(NavigatorButton::First | NavigatorButton::Prior | NavigatorButton::Next
                                    | NavigatorButton::Last);
    DBNavigator1->setDataSource(m_stock.source);

    const auto button = [this](const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    BitBtn1 = button("BitBtn1", QStringLiteral("&Nuevo"));
    connect(BitBtn1, &QPushButton::clicked, this, &TFImagen::BitBtn1Click);
    BitBtn2 = button("BitBtn2", QStringLiteral("Cancelar"));
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    BitBtn3 = button("BitBtn3", QStringLiteral("&Cerrar"));
    connect(BitBtn3, &QPushButton::clicked, this, &QDialog::reject);
}

void TFImagen::buildLayout()
{
    auto *details = new QGridLayout;
    const std::pair<const char *, QWidget *> rows[] = {
        {"Codigo", DBCodigo},      {"Cod.Proveed.", DBCodigoP},    {"DESCRIPCION", DBDescripcion},
        {"Precio: $", DBPrecio},   {"Stock Depo.1", DBStock1},     {"Stock Depo.2", DBStock2},
        {"Archivo de Foto", DBFoto}};
    int row = 0;
    for (const auto &[caption, widget] : rows) {
        details->addWidget(new QLabel(QString::fromUtf8(caption), this), row, 0);
        details->addWidget(widget, row++, 1);
    }

    auto *search = new QGroupBox(QStringLiteral("Buscar Articulo"), this);
    auto *searchGrid = new QGridLayout(search);
    searchGrid->addWidget(new QLabel(QStringLiteral("Codigo Propio"), this), 0, 0);
    searchGrid->addWidget(CBRub, 0, 1);
    searchGrid->addWidget(new QLabel(QStringLiteral("Descripcion:"), this), 1, 0);
    searchGrid->addWidget(EdDes1, 1, 1);
    searchGrid->addWidget(Lupa, 1, 2);

    auto *right = new QVBoxLayout;
    right->addWidget(Image1, 1);
    right->addWidget(LabFoto);
    right->addLayout(details);

    auto *left = new QVBoxLayout;
    left->addWidget(search);
    left->addWidget(DBGrid1, 1);
    left->addWidget(DBNavigator1);

    auto *body = new QHBoxLayout;
    body->addLayout(left, 3);
    body->addLayout(right, 2);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *b : {BitBtn1, BitBtn2, BitBtn3})
        buttons->addWidget(b);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);
}

bool TFImagen::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == EdDes1 && event->type() == QEvent::KeyRelease)
        EdDes1KeyUp();
    return QDialog::eventFilter(watched, event);
}

void TFImagen::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    // Photos are decoded at the frame's size.
    if (stock().active())
        showPhoto();
}

void TFImagen::prepare()
{
    vx::Table &table = stock();
    if (!table.active())
        table.open();
    table.first();
    app::askArticleLists(*DM1->ADOConnection1, CBRub, nullptr, nullptr);
    showPhoto();
}

void TFImagen::tidyUp()
{
    EdDes1->clear();
    stock().close();
}

void TFImagen::showPhoto()
{
    vx::Table &table = stock();
    const QString stored = table.active() && !table.isEmpty()
                               ? table.fieldByName(QStringLiteral("ARTFOT"))->asString()
                               : QString();
    const QSize frame = Image1->contentsRect().size();
    if (!m_shownFrame.isEmpty() && stored == m_shownName && frame == m_shownFrame)
        return;
    m_shownName = stored;
    m_shownFrame = frame;
    const catalogue::ShownPhoto photo = catalogue::loadPhoto(stored, frame);
    Image1->setPicture(photo.picture);
    LabFoto->setText(photo.problem);
}

void TFImagen::CBRubSelect()
{
    vx::Table &table = stock();
    try {
        if (table.active() && table.locate(QStringLiteral("ARTCMCT"), CBRub->currentText()))
            EdDes1->setText(table.fieldByName(QStringLiteral("ARTDES"))->asString());
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFImagen::searchDescription()
{
    vx::Table &table = stock();
    if (EdDes1->text().isEmpty() || !table.active())
        return;
    try {
        if (table.locate(QStringLiteral("ARTDES"), EdDes1->text(), vx::LocateOption::PartialKey))
            CBRub->setEditText(table.fieldByName(QStringLiteral("ARTCMCT"))->asString());
        else
            vx::ui::dialogs().showMessage(QStringLiteral("Codigo no encontrado."));
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFImagen::LupaClick()
{
    searchDescription();
}

void TFImagen::EdDes1KeyUp()
{
    searchDescription();
}

void TFImagen::DBGrid1TitleClick(int column)
{
    DBGrid1->sortByTitle(column);
}

void TFImagen::BitBtn1Click()
{
    vx::Table &table = stock();
    if (!FABMArt || !table.active() || table.isEmpty())
        return;
    const QString code = table.fieldByName(QStringLiteral("ARTCMCT"))->asString();
    vx::Table &shared = *DM1->Stock;
    const bool wasOpen = shared.active();
    try {
        if (!wasOpen)
            shared.open();
        if (shared.locate(QStringLiteral("ARTCMCT"), code))
            FABMArt->VerDatos();
        vx::ui::dialogs().showModal(FABMArt);
        FABMArt->close();
        if (!wasOpen && shared.active())
            shared.close();
        // The window is loaded again in place: the article as it was saved, and its photo.
        table.refresh();
        table.locate(QStringLiteral("ARTCMCT"), code);
        // The same name may now hold another picture.
        m_shownFrame = QSize();
        showPhoto();
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}
