#include "cash/Bcos.h"

#include "app/Aguarde.h"
#include "cash/BankStore.h"
#include "data/DataModule.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/Table.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton *button(QDialog *window, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, window);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

QLineEdit *box(QDialog *window, const char *name, int maxLength, bool upper)
{
    auto *b = new vx::ui::Edit(maxLength, upper, window);
    b->setObjectName(QLatin1String(name));
    b->installEventFilter(window);
    return b;
}

// Keeps the wait window up while a bank is written, and takes it down however that ends.
struct WaitWindow {
    WaitWindow() { aguarde::show(); }
    ~WaitWindow() { aguarde::close(); }
    WaitWindow(const WaitWindow &) = delete;
    WaitWindow &operator=(const WaitWindow &) = delete;
};

} // namespace

TFBcos::TFBcos(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FBcos"));
    setWindowTitle(QStringLiteral("Bancos"));
    createControls();
}

TFBcos::~TFBcos() = default;

void TFBcos::createControls()
{
    using vx::ui::NavigatorButton;
    DBNavigator1 = new vx::ui::DBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setVisibleButtons(NavigatorButton::First | NavigatorButton::Prior | NavigatorButton::Next |
                                    NavigatorButton::Last | NavigatorButton::Delete | NavigatorButton::Refresh);
    DBNavigator1->setDataSource(DM1->DSBancos);
    DBGrid1 = new vx::ui::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setColumns({{QStringLiteral("BANCOD"), QStringLiteral("CODIGO"), 8},
                         {QStringLiteral("BANDES"), QStringLiteral("DESCRIPCION"), 40}});
    DBGrid1->setReadOnly(true);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setDataSource(DM1->DSBancos);

    EdCod = box(this, "EdCod", 10, false);
    EdDes = box(this, "EdDes", 50, true);
    Cod = box(this, "Cod", 3, false);
    Des = box(this, "Des", 50, true);
    BActual = button(this, "BActual", QStringLiteral("Actualizar"));
    BCerrar = button(this, "BCerrar", QStringLiteral("&Cerrar"));
    connect(BActual, &QPushButton::clicked, this, &TFBcos::BActualClick);
    connect(BCerrar, &QPushButton::clicked, this, &TFBcos::BCerrarClick);

    auto *search = new QGroupBox(QStringLiteral("Buscar"), this);
    auto *searchBoxes = new QGridLayout(search);
    searchBoxes->addWidget(new QLabel(QStringLiteral("Código"), search), 0, 0);
    searchBoxes->addWidget(new QLabel(QStringLiteral("Descripción"), search), 0, 1);
    searchBoxes->addWidget(EdCod, 1, 0);
    searchBoxes->addWidget(EdDes, 1, 1);
    searchBoxes->setColumnStretch(1, 1);
    auto *entry = new QGroupBox(QStringLiteral("Agregar nuevo"), this);
    auto *entryBoxes = new QGridLayout(entry);
    entryBoxes->addWidget(new QLabel(QStringLiteral("Código"), entry), 0, 0);
    entryBoxes->addWidget(new QLabel(QStringLiteral("Descripción"), entry), 0, 1);
    entryBoxes->addWidget(Cod, 1, 0);
    entryBoxes->addWidget(Des, 1, 1);
    entryBoxes->addWidget(BActual, 1, 2);
    entryBoxes->setColumnStretch(1, 1);
    EdCod->setMaximumWidth(80);
    Cod->setMaximumWidth(80);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(DBNavigator1);
    layout->addWidget(DBGrid1, 1);
    layout->addWidget(search);
    layout->addWidget(entry);
    layout->addWidget(BCerrar, 0, Qt::AlignRight);
    resize(520, 480);
    EdCod->setText(QStringLiteral("0"));
}

bool TFBcos::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress) {
        if (watched == EdCod)
            EdCodClick();
        else if (watched == EdDes)
            EdDesClick();
        else if (watched == Cod)
            CodClick();
    } else if (type == QEvent::KeyRelease) {
        if (watched == EdCod)
            EdCodKeyUp();
        else if (watched == EdDes)
            EdDesKeyUp();
    } else if (type == QEvent::FocusOut && watched == Cod) {
        CodExit();
    }
    return QDialog::eventFilter(watched, event);
}

void TFBcos::EdCodClick()
{
    DM1->Bancos->setIndexFieldNames(QStringLiteral("BANCOD"));
}

void TFBcos::EdCodKeyUp()
{
    const QString digits = EdCod->text().trimmed();
    if (digits.isEmpty())
        return;
    if (const std::optional<int> code = cash::firstBankCodeStartingWith(*DM1->ADOConnection1, digits))
        DM1->Bancos->locate(QStringLiteral("BANCOD"), double(*code));
}

void TFBcos::EdDesClick()
{
    DM1->Bancos->setIndexFieldNames(QStringLiteral("BANDES"));
}

void TFBcos::EdDesKeyUp()
{
    if (!EdDes->text().isEmpty())
        DM1->Bancos->locate(QStringLiteral("BANDES"), EdDes->text(), vx::LocateOption::PartialKey);
}

void TFBcos::CodClick()
{
    DM1->Bancos->setIndexFieldNames(QStringLiteral("BANCOD"));
    DM1->Bancos->last();
    Cod->setText(QString::number(cash::nextBankCode(*DM1->ADOConnection1)));
    Des->clear();
}

void TFBcos::CodExit()
{
    if (const std::optional<int> code = cash::wholeNumber(Cod->text())) {
        if (const std::optional<QString> name = cash::bankName(*DM1->ADOConnection1, *code))
            Des->setText(*name);
    }
}

void TFBcos::BActualClick()
{
    const std::optional<int> code = cash::wholeNumber(Cod->text());
    if (!code) {
        vx::ui::dialogs().error(this, vx::shopformat::notANumberMessage(Cod->text()), windowTitle());
        return;
    }
    if (Des->text().trimmed().isEmpty()) {
        vx::ui::dialogs().showMessage(QStringLiteral("Ingrese el nombre del banco."));
        return;
    }
    try {
        const WaitWindow wait;
        cash::addBank(*DM1->ADOConnection1, *code, Des->text());
    } catch (const cash::BankError &error) {
        vx::ui::dialogs().error(this, error.message(), windowTitle());
        return;
    }
    DM1->Bancos->refresh();
    DM1->Bancos->locate(QStringLiteral("BANCOD"), double(*code));
    vx::ui::dialogs().showMessage(QStringLiteral("Proceso Terminado."));
}

void TFBcos::BCerrarClick()
{
    done(QDialog::Rejected);
}

void TFBcos::reject()
{
    BCerrarClick();
}

void openBcos(QWidget *parent)
{
    DM1->Bancos->open();
    {
        TFBcos window(parent);
        vx::ui::dialogs().showModal(&window);
    }
    DM1->Bancos->close();
}
