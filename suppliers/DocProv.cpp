#include "suppliers/DocProv.h"

#include "app/Aguarde.h"
#include "app/uGlobales.h"
#include "data/DataModule.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/Connection.h"
#include "platform/db/DateTimeValue.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/KeyFilter.h"
#include "platform/ui/NamedControls.h"
#include "platform/ui/PickList.h"
#include "suppliers/SupplierDocuments.h"
#include "suppliers/SupplierPayment.h"
#include "suppliers/SupplierPickList.h"
#include "suppliers/SupplierStore.h"
#include "suppliers/SupplierText.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QKeyEvent>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace {

vx::Connection &shop()
{
    return *DM1->ADOConnection1;
}

QLineEdit *box(QWidget *parent, const char *name, int limit)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(limit);
    return edit;
}

QString dateText(const QDate &date)
{
    return date.isValid() ? vx::shopformat::formatDate(date) : QString();
}

// A box's date; an empty box gives `empty`, a wrong one is told and gives nothing.
std::optional<QDate> dateIn(QLineEdit *edit, const std::optional<QDate> &empty)
{
    const QString text = edit->text().trimmed();
    if (text.isEmpty())
        return empty ? empty : QDate();
    const std::optional<QDate> date = vx::shopformat::parseDate(text);
    if (!date) {
        vx::ui::dialogs().showMessage(vx::shopformat::notADateMessage(text));
        edit->setFocus();
    }
    return date;
}

// The list's columns: title, width in characters (0: the rest of the row), and whether the
// column holds a figure, shown against the right edge as every grid of the program shows them.
struct ListColumn {
    const char *title;
    int characters;
    bool figure;
};
const ListColumn listColumns[] = {{"Fecha", 10, false},  {"Tipo", 4, false},  {"Comprobante", 12, true},
                                  {"Vence", 10, false},  {"Total", 11, true}, {"Saldo", 11, true},
                                  {"Anu", 3, false},     {"Nota", 0, false}};

// Titles, rows and widths as the data grids of the other windows have them.
void layOutList(QTableWidget *grid)
{
    grid->setColumnCount(int(std::size(listColumns)));
    QHeaderView *titles = grid->horizontalHeader();
    titles->setHighlightSections(false);
    titles->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    titles->setStretchLastSection(true);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->setWordWrap(false);
    grid->setCornerButtonEnabled(false);
    const int digit = grid->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    const QFontMetrics titleFont(titles->font());
    for (int column = 0; column < grid->columnCount(); ++column) {
        const QString title = QString::fromUtf8(listColumns[column].title);
        grid->setHorizontalHeaderItem(column, new QTableWidgetItem(title));
        if (listColumns[column].characters > 0)
            grid->setColumnWidth(column, std::max(listColumns[column].characters * digit,
                                                  titleFont.horizontalAdvance(title)) + 8);
    }
}

} // namespace

TFDocProv::TFDocProv(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FDocProv"));
    setWindowTitle(QStringLiteral("Comprobantes de Proveedores"));
    createControls();
}

TFDocProv::~TFDocProv() = default;

void TFDocProv::createControls()
{
    CBProv = suppliers::newSupplierPickList(this, "CBProv");
    LabCod = new QLabel(this);
    LabCod->setObjectName(QStringLiteral("LabCod"));
    EdSal = vx::ui::readOnlyFigureBox(this, "EdSal");
    CBTip = new QComboBox(this);
    CBTip->setObjectName(QStringLiteral("CBTip"));
    CBTip->addItems({QStringLiteral("Factura"), QStringLiteral("Crédito")});
    EdNro = box(this, "EdNro", 13);
    vx::ui::filterAmountKeys(EdNro);
    EdFec = box(this, "EdFec", 10);
    vx::ui::filterDateKeys(EdFec);
    EdVto = box(this, "EdVto", 10);
    vx::ui::filterDateKeys(EdVto);
    EdTot = box(this, "EdTot", 14);
    EdTot->setAlignment(Qt::AlignRight);
    vx::ui::filterAmountKeys(EdTot);
    EdNota = box(this, "EdNota", 60);
    Grilla = new QTableWidget(this);
    Grilla->setObjectName(QStringLiteral("Grilla"));
    layOutList(Grilla);
    Grilla->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grilla->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grilla->setSelectionMode(QAbstractItemView::SingleSelection);
    BGrabar = vx::ui::namedButton(this, "BGrabar", QStringLiteral("F9 &Grabar"));
    BAnular = vx::ui::namedButton(this, "BAnular", QStringLiteral("&Anular"));
    BCerrar = vx::ui::namedButton(this, "BCerrar", QStringLiteral("&Cerrar"));

    connect(CBProv, &QComboBox::activated, this, &TFDocProv::CBProvSelect);
    connect(CBProv->lineEdit(), &QLineEdit::returnPressed, this, &TFDocProv::CBProvSelect);
    connect(BGrabar, &QPushButton::clicked, this, &TFDocProv::BGrabarClick);
    connect(BAnular, &QPushButton::clicked, this, &TFDocProv::BAnularClick);
    connect(BCerrar, &QPushButton::clicked, this, &QDialog::accept);

    auto *grid = new QGridLayout;
    const auto add = [&](int row, int column, const QString &caption, QWidget *widget, int span = 1) {
        auto *label = new QLabel(caption, this);
        label->setBuddy(widget);
        grid->addWidget(label, row, column);
        grid->addWidget(widget, row, column + 1, 1, span);
    };
    add(0, 0, QStringLiteral("Proveedor:"), CBProv, 3);
    grid->addWidget(LabCod, 0, 4);
    add(0, 5, QStringLiteral("Saldo"), EdSal);
    add(1, 0, QStringLiteral("Tipo:"), CBTip);
    add(1, 2, QStringLiteral("Número:"), EdNro);
    add(1, 5, QStringLiteral("Total:"), EdTot);
    add(2, 0, QStringLiteral("Fecha:"), EdFec);
    add(2, 2, QStringLiteral("Vencimiento:"), EdVto);
    add(3, 0, QStringLiteral("Nota:"), EdNota, 6);
    grid->setColumnStretch(4, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(BAnular);
    buttons->addStretch(1);
    buttons->addWidget(BGrabar);
    buttons->addWidget(BCerrar);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(Grilla, 1);
    layout->addLayout(buttons);
    resize(820, 520);
}

void TFDocProv::keyPressEvent(QKeyEvent *event)
{
    // F9 records from whichever box the operator is in, as the other recording windows do.
    if (event->key() == Qt::Key_F9) {
        BGrabarClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFDocProv::prepare()
{
    // The list asks for a page of names as the operator types: a shop's whole supplier file is never read.
    CBProv->askDatabase(DM1->ADOConnection1, {QStringLiteral("PROVEEDORES"), QStringLiteral("CLIAPE")});
    CBProv->setEditText(QString());
    m_supplierCode.reset();
    LabCod->clear();
    EdSal->clear();
    Grilla->setRowCount(0);
    clearEntry();
}

void TFDocProv::clearEntry()
{
    CBTip->setCurrentIndex(0);
    for (QLineEdit *edit : {EdNro, EdVto, EdTot, EdNota})
        edit->clear();
    EdFec->setText(vx::shopformat::formatDate(vx::naiveNow().date()));
}

void TFDocProv::CBProvSelect()
{
    try {
        m_supplierCode = suppliers::supplierCodeByName(shop(), CBProv->currentText());
        if (!m_supplierCode) {
            LabCod->clear();
            EdSal->clear();
            Grilla->setRowCount(0);
            vx::ui::dialogs().showMessage(suppliers::noSupplierMessage());
            return;
        }
        LabCod->setText(QString::number(*m_supplierCode));
        fillList();
        EdNro->setFocus();
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFDocProv::fillList()
{
    const std::optional<suppliers::Supplier> supplier = suppliers::findSupplier(shop(), *m_supplierCode);
    EdSal->setText(vx::shopformat::formatFixed(supplier ? supplier->balance : 0.0, 2));
    const QList<suppliers::DocumentLine> lines = suppliers::documentsOf(shop(), *m_supplierCode);
    Grilla->setRowCount(int(lines.size()));
    for (int row = 0; row < lines.size(); ++row) {
        const suppliers::DocumentLine &line = lines[row];
        const bool credit = line.type == suppliers::DocumentType::Credit;
        const QStringList cells{dateText(line.date),
                                credit ? QStringLiteral("CRE") : QStringLiteral("FAC"),
                                suppliers::numberText(line.number),
                                dateText(line.dueDate),
                                vx::shopformat::formatFixed(line.total, 2),
                                vx::shopformat::formatFixed(credit ? -line.balance : line.balance, 2),
                                line.cancelled ? QStringLiteral("Si") : QStringLiteral("No"),
                                line.note};
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            item->setTextAlignment((listColumns[column].figure ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
            Grilla->setItem(row, column, item);
        }
        Grilla->item(row, 0)->setData(Qt::UserRole, line.key);
    }
}

void TFDocProv::BGrabarClick()
{
    if (!m_supplierCode) {
        vx::ui::dialogs().showMessage(suppliers::noSupplierMessage());
        CBProv->setFocus();
        return;
    }
    const QString numberText = EdNro->text().trimmed();
    const std::optional<double> number = vx::shopformat::parseNumber(numberText);
    if (numberText.isEmpty() || !number) {
        vx::ui::dialogs().showMessage(numberText.isEmpty() ? QStringLiteral("Debe ingresar el número del comprobante.")
                                                           : vx::shopformat::notANumberMessage(numberText));
        EdNro->setFocus();
        return;
    }
    const std::optional<double> total = vx::shopformat::parseNumber(EdTot->text());
    if (!total) {
        vx::ui::dialogs().showMessage(vx::shopformat::notANumberMessage(EdTot->text()));
        EdTot->setFocus();
        return;
    }
    const std::optional<QDate> date = dateIn(EdFec, vx::naiveNow().date());
    if (!date)
        return;
    const std::optional<QDate> due = dateIn(EdVto, std::nullopt);
    if (!due)
        return;
    const suppliers::SupplierDocument document{
        *m_supplierCode,
        CBTip->currentIndex() == 1 ? suppliers::DocumentType::Credit : suppliers::DocumentType::Invoice,
        *number, *date, *total, uGlobales::session().operatorCode, *due, EdNota->text().trimmed()};
    aguarde::show();
    try {
        suppliers::recordSupplierDocument(shop(), document);
    } catch (const suppliers::PaymentError &failure) {
        aguarde::close();
        vx::ui::dialogs().showMessage(failure.message());
        return;
    }
    aguarde::close();
    clearEntry();
    try {
        fillList();
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
    EdNro->setFocus();
}

void TFDocProv::BAnularClick()
{
    const int row = Grilla->currentRow();
    if (!m_supplierCode || row < 0) {
        vx::ui::dialogs().showMessage(QStringLiteral("Seleccione en la lista el comprobante a anular."));
        return;
    }
    const qint64 key = Grilla->item(row, 0)->data(Qt::UserRole).toLongLong();
    const QString what = Grilla->item(row, 1)->text() + QLatin1Char(' ') + Grilla->item(row, 2)->text();
    if (!vx::ui::dialogs().confirm(this, QStringLiteral("Desea ANULAR el comprobante %1 ?").arg(what),
                                   QStringLiteral("Confirmación")))
        return;
    try {
        suppliers::cancelSupplierDocument(shop(), key);
    } catch (const suppliers::PaymentError &failure) {
        vx::ui::dialogs().showMessage(failure.message());
        return;
    }
    try {
        fillList();
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void openDocProv(QWidget *parent)
{
    vx::ui::openPrepared<TFDocProv>(parent);
}
