#include "stock/Remi.h"

#include "app/Aguarde.h"
#include "data/DataModule.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/DataSource.h"
#include "platform/db/Table.h"
#include "platform/report/Report.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"
#include "stock/ImpRemi.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFRemi *FRemi = nullptr;

TFRemi::TFRemi(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FRemi"));
    setWindowTitle(QStringLiteral("Remitos"));
    m_lines = std::make_unique<stock::NoteStaging>(*DM1->ADOConnection1, QStringLiteral("REMITO"));
    m_print = std::make_unique<TFImpRemi>(*DM1->ADOConnection1);
    m_source = new vx::DataSource(this);

    const auto box = [this](const char *name, bool readOnly) {
        auto *edit = new vx::ui::Edit(this);
        edit->setObjectName(QLatin1String(name));
        edit->setReadOnly(readOnly);
        return edit;
    };
    const auto button = [this](const char *name, const QString &text, void (TFRemi::*handler)()) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    EdNro = box("EdNro", false);
    EdNro->setMaxLength(13);
    Edit1 = box("Edit1", true);
    Edit2 = box("Edit2", true);
    EdCant1 = box("EdCant1", true);
    EdCant2 = box("EdCant2", true);
    for (QLineEdit *total : {EdCant1, EdCant2})
        total->setAlignment(Qt::AlignRight);
    Armar = button("Armar", QStringLiteral("Armar Remito"), &TFRemi::ArmarClick);
    BImp = button("BImp", QStringLiteral("&Imprimir"), &TFRemi::BImpClick);
    BCerrar = button("BCerrar", QStringLiteral("&Cerrar"), &TFRemi::BCerrarClick);
    // Enter in the number box builds the note, as a click on "Armar Remito" does.
    connect(EdNro, &QLineEdit::returnPressed, this, &TFRemi::ArmarClick);

    DBGrid1 = new vx::ui::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setReadOnly(true);
    DBGrid1->setColumns({{QStringLiteral("TM1DAT1"), QStringLiteral("Fecha"), 10},
                         {QStringLiteral("TM1NUM1"), QStringLiteral("Numero"), 8},
                         {QStringLiteral("TM1CHR1"), QStringLiteral("Articulo"), 14},
                         {QStringLiteral("TM1CHR10"), QStringLiteral("Descripcion"), 36},
                         {QStringLiteral("TM1NUM2"), QStringLiteral("Cant.1"), 8},
                         {QStringLiteral("TM1NUM3"), QStringLiteral("Cant.2"), 8}});
    DBGrid1->setDataSource(m_source);
    DBNavigator1 = new vx::ui::DBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setVisibleButtons(vx::ui::NavigatorButton::First | vx::ui::NavigatorButton::Prior |
                                    vx::ui::NavigatorButton::Next | vx::ui::NavigatorButton::Last);
    DBNavigator1->setDataSource(m_source);

    auto *top = new QGridLayout;
    top->addWidget(new QLabel(QStringLiteral("Ver Remito No.: "), this), 0, 0);
    top->addWidget(EdNro, 0, 1);
    top->addWidget(Armar, 0, 2);
    top->addWidget(new QLabel(QStringLiteral("Fecha:"), this), 1, 0);
    top->addWidget(Edit1, 1, 1);
    top->addWidget(new QLabel(QStringLiteral("Numero:"), this), 1, 2);
    top->addWidget(Edit2, 1, 3);
    top->setColumnStretch(4, 1);
    auto *totals = new QHBoxLayout;
    totals->addWidget(DBNavigator1);
    totals->addStretch(1);
    totals->addWidget(new QLabel(QStringLiteral("Total de Unidades Entregadas: "), this));
    totals->addWidget(EdCant1);
    totals->addWidget(EdCant2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BImp);
    buttons->addWidget(BCerrar);
    auto *main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addWidget(DBGrid1, 1);
    main->addLayout(totals);
    main->addLayout(buttons);
    resize(760, 480);
    FRemi = this;
}

TFRemi::~TFRemi()
{
    if (FRemi == this)
        FRemi = nullptr;
}

void TFRemi::setMode(Mode mode)
{
    m_mode = mode;
}

stock::NoteMode TFRemi::noteMode() const
{
    return m_mode == Mode::Egresos ? stock::NoteMode::Issues : stock::NoteMode::Receipts;
}

void TFRemi::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return;
    QDialog::keyPressEvent(event);
}

void TFRemi::openViews()
{
    m_lines->clear();
    m_source->setDataSet(&m_lines->view());
    m_closing = false;
    showTotals(0, 0);
}

void TFRemi::closeViews()
{
    m_source->setDataSet(nullptr);
    m_lines->close();
    m_print->clear();
}

void TFRemi::showTotals(double total1, double total2)
{
    EdCant1->setText(stock::quantityText(total1));
    EdCant2->setText(stock::quantityText(total2));
}

void TFRemi::ArmarClick()
{
    aguarde::show();
    try {
        const std::optional<stock::DeliveryNote> note =
            stock::loadDeliveryNote(*DM1->ADOConnection1, noteMode(), EdNro->text());
        if (!note) {
            m_lines->clear();
            Edit1->clear();
            Edit2->clear();
            showTotals(0, 0);
            aguarde::close();
            vx::ui::dialogs().showMessage(QStringLiteral("Número de comprobante no encontrado."));
            return;
        }
        m_lines->stage(note->lines);
        Edit1->setText(vx::shopformat::formatDate(note->lines.first().date));
        Edit2->setText(QString::number(note->lines.first().number));
        showTotals(note->total1, note->total2);
    } catch (const std::exception &failure) {
        aguarde::close();
        vx::ui::dialogs().showException(this, failure);
        return;
    }
    aguarde::close();
}

void TFRemi::BImpClick()
{
    try {
        TFImpRemi::Print print;
        print.mode = noteMode();
        print.logo = TFImpRemi::logo();
        if (print.logo.isNull())
            vx::ui::dialogs().showMessage(QStringLiteral("No se pudo cargar el logo..."));
        if (const std::optional<QStringList> letterhead = TFImpRemi::letterhead()) {
            print.letterhead = *letterhead;
        } else {
            vx::ui::dialogs().showMessage(QStringLiteral("No se pudo cargar el membrete..."));
            print.letterhead = TFImpRemi::builtInLetterhead();
        }
        print.total1 = EdCant1->text();
        print.total2 = EdCant2->text();
        const std::unique_ptr<vx::report::Report> report = m_print->build(m_lines->lines(), print);
        report->preview(this);
        m_print->clear();
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFRemi::BCerrarClick()
{
    m_closing = true;
    try {
        closeViews();
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
    EdNro->clear();
    Edit1->clear();
    Edit2->clear();
    QDialog::reject();
}

void TFRemi::reject()
{
    if (!m_closing)
        BCerrarClick();
}

void openRemi(QWidget *owner, TFRemi::Mode mode)
{
    try {
        if (!DM1)
            return;
        if (!FRemi)
            new TFRemi(owner);
        FRemi->setMode(mode);
        FRemi->openViews();
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showMessage(QStringLiteral("No se puede realizar el proceso. Intente más tarde...") +
                                      QLatin1Char('\n') + vx::ui::failureText(failure));
        return;
    }
    vx::ui::dialogs().showModal(FRemi);
    try {
        FRemi->closeViews();
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(owner, failure);
    }
}
