#include "catalogue/CBarras.h"

#include "barcode/pDBBarcode.h"
#include "catalogue/CBarrasLabel.h"
#include "data/DataModule.h"
#include "platform/ui/DBEdit.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

TFBarCode *FBarCode = nullptr;

namespace {

const char *const memoText =
    "Cuando crea un Código Propio, según el Tipo de Código o Codificación que utilice para crear el Código de "
    "Barras, puede ser que este le agregue (o le saque) un dígito; en este caso, al escanear el código de barras "
    "impreso el sistema no va a encontrar el artículo. Verifique que el código de barras corresponda fielmente al "
    "código del artículo. De ser necesario, elija otro tipo de código o codificación.";

struct ChosenType {
    const char *name;
    zebrune::TBarType type;
};
constexpr ChosenType chosenTypes[] = {{"bcCode128C", zebrune::bcCode128C},
                                      {"bcCode39", zebrune::bcCode39},
                                      {"bcCodeEAN128C", zebrune::bcCodeEAN128C},
                                      {"bcCodeEAN13", zebrune::bcCodeEAN13}};

QLineEdit *box(QWidget *parent, const char *name, const QString &text = {}, int maxLength = 0)
{
    auto *edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(name));
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    return edit;
}

}  // namespace

TFBarCode::TFBarCode(QWidget *parent)
    : QDialog(parent), m_stock(DM1->ADOConnection1, QStringLiteral("STOCK"), QStringLiteral("BarCodeStock"), this)
{
    setObjectName(QStringLiteral("FBarCode"));
    setWindowTitle(QStringLiteral("Codigos de Barra"));
    setModal(false);
    FBarCode = this;
    buildControls();
    buildLayout();
    resize(1000, 640);
}

TFBarCode::~TFBarCode()
{
    if (FBarCode == this)
        FBarCode = nullptr;
}

void TFBarCode::buildControls()
{
    CB1 = new QComboBox(this);
    CB1->setObjectName(QStringLiteral("CB1"));
    CB1->addItems({QStringLiteral("Cod.Proveedor"), QStringLiteral("Cod.Propio"), QStringLiteral("Descripcion")});
    CB1->setCurrentIndex(1);
    EdBusca = new vx::ui::Edit(50, true, this);
    EdBusca->setObjectName(QStringLiteral("EdBusca"));
    EdBusca->setToolTip(QStringLiteral("Doble Click para Buscar"));
    EdBusca->installEventFilter(this);

    DBNavigator1 = new vx::ui::DBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    using vx::ui::NavigatorButton;
    DBNavigator1->setVisibleButtons(NavigatorButton::First | NavigatorButton::Prior | NavigatorButton::Next
                                    | NavigatorButton::Last);
    DBNavigator1->setDataSource(m_stock.source);

    DBGrid1 = new vx::ui::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setColumns({{QStringLiteral("ARTCOD"), QStringLiteral("Cod.Prove."), 13},
                         {QStringLiteral("ARTCMCT"), QStringLiteral("CODIGO PROPIO"), 14},
                         {QStringLiteral("ARTDES"), QStringLiteral("DESCRIPCION"), 30}});
    DBGrid1->setReadOnly(true);
    DBGrid1->setDataSource(m_stock.source);
    connect(DBGrid1, &vx::ui::DBGrid::TitleClick, this, &TFBarCode::DBGrid1TitleClick);
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this, &TFBarCode::DBGrid1DblClick);

    DBBarcode1 = new zebrune::TDBBarcode(this);
    DBBarcode1->setObjectName(QStringLiteral("DBBarcode1"));
    DBBarcode1->SetBarHeight(30);
    DBBarcode1->SetModul(1);
    DBBarcode1->SetRatio(2);
    DBBarcode1->SetReadOnly(true);
    DBBarcode1->SetDataSource(m_stock.source);
    DBBarcode1->SetDataField(QStringLiteral("ARTCMCT"));
    DBBarcode1->setMinimumHeight(60);

    DBEdit1 = new vx::ui::DBEdit(this);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit1->setDataSource(m_stock.source);
    DBEdit1->setDataField(QStringLiteral("ARTCMCT"));
    DBEdit1->setReadOnly(true);
    DBEdit2 = new vx::ui::DBEdit(this);
    DBEdit2->setObjectName(QStringLiteral("DBEdit2"));
    DBEdit2->setDataSource(m_stock.source);
    DBEdit2->setDataField(QStringLiteral("ARTDES"));
    DBEdit2->setReadOnly(true);

    Memo1 = new QPlainTextEdit(QString::fromUtf8(memoText), this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setMaximumHeight(90);

    CBBarType = new QComboBox(this);
    CBBarType->setObjectName(QStringLiteral("CBBarType"));
    for (const ChosenType &chosen : chosenTypes)
        CBBarType->addItem(QString::fromLatin1(chosen.name));
    CBBarType->setCurrentText(QStringLiteral("bcCodeEAN13"));
    connect(CBBarType, &QComboBox::activated, this, &TFBarCode::CBBarTypeChange);
    EdAlto = box(this, "EdAlto", QStringLiteral("15"));
    EdMI = box(this, "EdMI", QStringLiteral("10"));
    edMS = box(this, "edMS", QStringLiteral("20"));
    EdMID = box(this, "EdMID", QStringLiteral("100"));
    EdMSD = box(this, "EdMSD", QStringLiteral("200"));

    BarCode1 = new zebrune::TBarCode(this);
    BarCode1->setObjectName(QStringLiteral("BarCode1"));
    BarCode1->SetBarType(zebrune::bcCodeEAN13);
    BarCode1->SetModul(1);
    BarCode1->SetRatio(2);
    BarCode1->SetTextShow(zebrune::tsBarCode);
    BarCode1->setMinimumHeight(60);
    Edit1 = box(this, "Edit1");
    Edit2 = box(this, "Edit2", {}, 30);
    connect(Edit1, &QLineEdit::textChanged, this, &TFBarCode::Edit1Change);
    connect(Edit2, &QLineEdit::textChanged, this, &TFBarCode::Edit1Change);
    LabAviso = new QLabel(this);
    LabAviso->setObjectName(QStringLiteral("LabAviso"));
    LabAviso->setWordWrap(true);
    LabAviso->setStyleSheet(QStringLiteral("color: red"));

    Imprimir = new QPushButton(QStringLiteral("&Imprimir"), this);
    Imprimir->setObjectName(QStringLiteral("Imprimir"));
    Imprimir->setAutoDefault(false);
    connect(Imprimir, &QPushButton::clicked, this, &TFBarCode::ImprimirClick);
    BCerrar = new QPushButton(QStringLiteral("&Cerrar"), this);
    BCerrar->setObjectName(QStringLiteral("BCerrar"));
    BCerrar->setAutoDefault(false);
    connect(BCerrar, &QPushButton::clicked, this, &QDialog::reject);
}

void TFBarCode::buildLayout()
{
    auto *search = new QHBoxLayout;
    search->addWidget(new QLabel(QStringLiteral("Buscar por:"), this));
    search->addWidget(CB1);
    search->addWidget(new QLabel(QStringLiteral("Igual A:"), this));
    search->addWidget(EdBusca, 1);
    search->addWidget(DBNavigator1);

    auto *current = new QHBoxLayout;
    current->addWidget(DBEdit1);
    current->addWidget(DBEdit2, 1);

    auto *positions = new QGroupBox(QStringLiteral("Posiciones donde imprimir "), this);
    auto *grid = new QGridLayout(positions);
    const std::pair<const char *, QLineEdit *> boxes[] = {{"Alto de Barras:", EdAlto},
                                                          {"Margen Izq.:", EdMI},
                                                          {"Margen Sup.:", edMS},
                                                          {"Margen Izq. Desc.:", EdMID},
                                                          {"Margen Sup. Desc:", EdMSD}};
    int row = 0;
    for (const auto &[caption, edit] : boxes) {
        grid->addWidget(new QLabel(QString::fromUtf8(caption), this), row, 0);
        grid->addWidget(edit, row++, 1);
    }

    auto *code = new QGridLayout;
    code->addWidget(new QLabel(QStringLiteral("Tipo de Código: "), this), 0, 0);
    code->addWidget(CBBarType, 0, 1);
    code->addWidget(new QLabel(QStringLiteral("Código a Generar:"), this), 1, 0);
    code->addWidget(Edit1, 1, 1);
    code->addWidget(new QLabel(QStringLiteral("LINEA de TEXTO"), this), 2, 0);
    code->addWidget(Edit2, 2, 1);
    code->addWidget(BarCode1, 3, 0, 1, 2);
    code->addWidget(LabAviso, 4, 0, 1, 2);

    auto *label = new QHBoxLayout;
    label->addLayout(code, 1);
    label->addWidget(positions);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Imprimir);
    buttons->addWidget(BCerrar);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(search);
    layout->addWidget(DBGrid1, 1);
    layout->addWidget(DBBarcode1);
    layout->addLayout(current);
    layout->addWidget(Memo1);
    layout->addLayout(label);
    layout->addLayout(buttons);
}

bool TFBarCode::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == EdBusca && event->type() == QEvent::KeyRelease)
        EdBuscaKeyUp();
    return QDialog::eventFilter(watched, event);
}

void TFBarCode::prepare()
{
    vx::Table &table = stock();
    table.close();
    table.setIndexFieldNames(QStringLiteral("ARTCMCT"));
    table.open();
    table.first();
}

void TFBarCode::EdBuscaKeyUp()
{
    static const std::pair<const char *, const char *> columns[] = {
        {"Descripcion", "ARTDES"}, {"Cod.Proveedor", "ARTCOD"}, {"Cod.Propio", "ARTCMCT"}};
    vx::Table &table = stock();
    if (!table.active())
        return;
    for (const auto &[mode, column] : columns) {
        if (CB1->currentText() != QLatin1String(mode))
            continue;
        try {
            table.locate(QString::fromLatin1(column), EdBusca->text(), vx::LocateOption::PartialKey);
        } catch (const std::exception &failure) {
            vx::ui::dialogs().showException(this, failure);
        }
    }
}

void TFBarCode::DBGrid1DblClick()
{
    vx::Table &table = stock();
    if (!table.active() || table.isEmpty())
        return;
    Edit1->setText(table.fieldByName(QStringLiteral("ARTCMCT"))->asString());
    Edit2->setText(table.fieldByName(QStringLiteral("ARTDES"))->asString());
}

void TFBarCode::warn(const QString &text)
{
    LabAviso->setText(text);
}

void TFBarCode::checkReadBack()
{
    warn(catalogue::readBackWarning(BarCode1->BarType(), Edit1->text()));
}

void TFBarCode::Edit1Change()
{
    // A text the type refuses leaves the previous code in the bar; printing checks for it. The
    // reason shows under the bar, not in a box on every key.
    try {
        BarCode1->SetBarcode(Edit1->text());
        checkReadBack();
    } catch (const zebrune::BarcodeError &failure) {
        warn(QString::fromUtf8(failure.what()));
    }
}

void TFBarCode::CBBarTypeChange()
{
    for (const ChosenType &chosen : chosenTypes) {
        if (CBBarType->currentText() != QLatin1String(chosen.name))
            continue;
        try {
            BarCode1->SetBarType(chosen.type);
            BarCode1->SetBarHeight(EdAlto->text().trimmed().toInt());
            BarCode1->update();
            // The text typed before may suit the new type where it did not suit the old one.
            Edit1Change();
        } catch (const zebrune::BarcodeError &failure) {
            warn(QString::fromUtf8(failure.what()));
        }
    }
}

void TFBarCode::DBGrid1TitleClick(int column)
{
    DBGrid1->sortByTitle(column);
}

void TFBarCode::ImprimirClick()
{
    vx::ui::Dialogs &dialogs = vx::ui::dialogs();
    if (Edit1->text().isEmpty()) {
        dialogs.showMessage(QStringLiteral("Escriba el código a generar."));
        return;
    }
    if (BarCode1->BarCode() != Edit1->text()) {
        dialogs.showMessage(QStringLiteral("El código %1 no se puede generar con el tipo %2: %3")
                                .arg(Edit1->text(), CBBarType->currentText(), LabAviso->text()));
        return;
    }
    try {
        const catalogue::LabelPositions at =
            catalogue::readPositions(EdMI->text(), edMS->text(), EdAlto->text(), EdMID->text(), EdMSD->text());
        QPrinter printer(QPrinter::HighResolution);
        if (!dialogs.printDialog(this, &printer))
            return;
        catalogue::printLabel(printer, *BarCode1, at, Edit2->text());
    } catch (const catalogue::LabelError &failure) {
        dialogs.error(this, failure.message(), windowTitle());
    }
}

void TFBarCode::done(int result)
{
    try {
        stock().close();
    } catch (const std::exception &) {
        // Closing goes on: the next opening prepares the list afresh.
    }
    QDialog::done(result);
}
