#include "sales/FilCol.h"

#include "data/DataModule.h"
#include "platform/core/Paths.h"
#include "platform/db/DbError.h"
#include "platform/db/Table.h"
#include "platform/ui/DBEdit.h"
#include "platform/ui/Dialogs.h"
#include "sales/FilColStore.h"
#include "sales/TicketHeader.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <limits>

TFFilCol *FFilCol = nullptr;

namespace {

// The value of a position box: a small integer, as the column stores it.
int boxValue(const QLineEdit *box)
{
    bool ok = false;
    const int value = box->text().trimmed().toInt(&ok);
    if (!ok || value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max())
        throw vx::DbError(QStringLiteral("'%1' no es un valor entero válido.").arg(box->text()));
    return value;
}

QStringList memoLines(const QPlainTextEdit *memo)
{
    return memo->toPlainText().split(QLatin1Char('\n'));
}

} // namespace

TFFilCol::TFFilCol(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FFilCol"));
    setWindowTitle(QStringLiteral("Posiciones de Filas y Columnas"));
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet1 = createInvoiceTab();
    TabSheet2 = createTicketTab();
    PageControl1->addTab(TabSheet1, QStringLiteral("Factura C"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Ticket"));
    connect(PageControl1, &QTabWidget::currentChanged, this, &TFFilCol::PageControl1Change);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    resize(640, 560);
}

TFFilCol::~TFFilCol()
{
    if (FFilCol == this)
        FFilCol = nullptr;
}

QWidget *TFFilCol::createInvoiceTab()
{
    auto *tab = new QWidget(this);
    tab->setObjectName(QStringLiteral("TabSheet1"));
    for (int number = 1; number <= 24; ++number) {
        auto *box = new QLineEdit(QStringLiteral("0"), tab);
        box->setObjectName(QStringLiteral("Edit%1").arg(number));
        box->setMaximumWidth(70);
        invoiceEdits[size_t(number - 1)] = box;
    }
    edit(23)->setText(QStringLiteral("8"));
    edit(24)->setText(QStringLiteral("40"));

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Fila"), tab), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Columna"), tab), 0, 2);
    const QStringList items{QStringLiteral("Fecha:"),
                            QStringLiteral("Clilente:"),
                            QStringLiteral("Artículo Código:"),
                            QStringLiteral("Art. Descripción:"),
                            QStringLiteral("Cantidad:"),
                            QStringLiteral("Precio Un.:"),
                            QStringLiteral("Total "),
                            QStringLiteral("Sub Total"),
                            QStringLiteral("Dcto. %"),
                            QStringLiteral("Descuento $"),
                            QStringLiteral("TOTAL")};
    for (int item = 0; item < items.size(); ++item) {
        grid->addWidget(new QLabel(items[item], tab), item + 1, 0);
        grid->addWidget(edit(2 * item + 1), item + 1, 1);
        grid->addWidget(edit(2 * item + 2), item + 1, 2);
    }
    grid->addWidget(new QLabel(QStringLiteral("Tamaño de Letra:"), tab), 1, 4);
    grid->addWidget(edit(23), 1, 5);
    grid->addWidget(new QLabel(QStringLiteral("Separación entre artículos"), tab), 2, 4);
    grid->addWidget(edit(24), 2, 5);
    grid->setColumnStretch(3, 1);

    const auto button = [this, tab](const char *name, const QString &caption, void (TFFilCol::*handler)()) {
        auto *b = new QPushButton(caption, tab);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    BGrabar = button("BGrabar", QStringLiteral("&Grabar Valores de Fact.C"), &TFFilCol::BGrabarClick);
    BImprimir = button("BImprimir", QStringLiteral("&Imprimir Hoja Escala"), &TFFilCol::BImprimirClick);
    BCerrar = button("BCerrar", QStringLiteral("&Cerrar"), &TFFilCol::BCerrarClick);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(BGrabar);
    buttons->addWidget(BImprimir);
    buttons->addStretch(1);
    buttons->addWidget(BCerrar);

    auto *layout = new QVBoxLayout(tab);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(buttons);
    return tab;
}

QWidget *TFFilCol::createTicketTab()
{
    auto *tab = new QWidget(this);
    tab->setObjectName(QStringLiteral("TabSheet2"));
    auto *grid = new QGridLayout;
    for (int item = 1; item <= 9; ++item) {
        const auto bound = [tab](int number, const QString &field) {
            auto *box = new vx::ui::DBEdit(tab);
            box->setObjectName(QStringLiteral("DBEdit%1").arg(number));
            box->setMaximumWidth(70);
            box->setDataSource(DM1->DSFilCol);
            box->setDataField(field);
            return box;
        };
        const QString suffix = QStringLiteral("%1").arg(item, 2, 10, QLatin1Char('0'));
        ticketRows[size_t(item - 1)] = bound(2 * item - 1, QStringLiteral("FCFILA") + suffix);
        ticketColumns[size_t(item - 1)] = bound(2 * item, QStringLiteral("FCCOL") + suffix);
        grid->addWidget(new QLabel(QStringLiteral("Fila %1").arg(item), tab), item - 1, 0);
        grid->addWidget(ticketRows[size_t(item - 1)], item - 1, 1);
        grid->addWidget(new QLabel(QStringLiteral("Col %1").arg(item), tab), item - 1, 2);
        grid->addWidget(ticketColumns[size_t(item - 1)], item - 1, 3);
    }
    Edit25 = new QLineEdit(QStringLiteral("8"), tab);
    Edit25->setObjectName(QStringLiteral("Edit25"));
    Edit25->setMaximumWidth(70);
    Edit26 = new QLineEdit(QStringLiteral("40"), tab);
    Edit26->setObjectName(QStringLiteral("Edit26"));
    Edit26->setMaximumWidth(70);
    grid->addWidget(new QLabel(QStringLiteral("Tamaño de Letra:"), tab), 9, 0);
    grid->addWidget(Edit25, 9, 1);
    grid->addWidget(new QLabel(QStringLiteral("Separación entre filas"), tab), 9, 2);
    grid->addWidget(Edit26, 9, 3);

    auto *notes = new QVBoxLayout;
    for (const QString &note :
         {QStringLiteral("Fila 1 - Columna 1: Membrete"), QStringLiteral("Fila 1 - Columna 2: Precio total"),
          QStringLiteral("Fila 1 - Columna 2: Tarjeta"), QStringLiteral("Fila 1 - Columna 2: Efectivo")})
        notes->addWidget(new QLabel(note, tab));
    notes->addWidget(new QLabel(QStringLiteral("Membrete"), tab));
    Memo1 = new QPlainTextEdit(tab);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    notes->addWidget(Memo1, 1);

    auto *top = new QHBoxLayout;
    top->addLayout(grid);
    top->addLayout(notes, 1);

    BGrabaTK = new QPushButton(QStringLiteral("&Grabar Valores de TICKETS"), tab);
    BGrabaTK->setObjectName(QStringLiteral("BGrabaTK"));
    BGrabaTK->setAutoDefault(false);
    connect(BGrabaTK, &QPushButton::clicked, this, &TFFilCol::BGrabaTKClick);
    Button1 = new QPushButton(QStringLiteral("&Cerrar"), tab);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &TFFilCol::BCerrarClick);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(BGrabaTK);
    buttons->addStretch(1);
    buttons->addWidget(Button1);

    auto *layout = new QVBoxLayout(tab);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
    return tab;
}

void TFFilCol::loadInvoiceBoxes()
{
    const std::optional<sales::filcol::InvoiceLayout> layout = sales::filcol::invoiceLayout(*DM1->FilCol);
    if (!layout)
        return;
    for (int item = 0; item < 11; ++item) {
        edit(2 * item + 1)->setText(QString::number(layout->rows[size_t(item)]));
        edit(2 * item + 2)->setText(QString::number(layout->columns[size_t(item)]));
    }
    edit(24)->setText(QString::number(layout->spacing));
}

void TFFilCol::loadMemo(const QString &folder)
{
    if (const std::optional<QStringList> lines = sales::ticketheader::readFrom(folder))
        Memo1->setPlainText(lines->join(QLatin1Char('\n')));
}

void TFFilCol::PageControl1Change(int index)
{
    try {
        if (index == PageControl1->indexOf(TabSheet2)) {
            sales::filcol::showTicketRow(*DM1->FilCol);
            loadMemo(QDir::currentPath());
        } else {
            loadInvoiceBoxes();
        }
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFFilCol::BGrabarClick()
{
    try {
        sales::filcol::InvoiceLayout layout;
        for (int item = 0; item < 11; ++item) {
            layout.rows[size_t(item)] = boxValue(edit(2 * item + 1));
            layout.columns[size_t(item)] = boxValue(edit(2 * item + 2));
        }
        layout.spacing = boxValue(edit(24));
        sales::filcol::saveInvoiceLayout(*DM1->FilCol, layout);
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
        return;
    }
    vx::ui::dialogs().showMessage(QStringLiteral("Proceso Terminado."));
    accept();
}

void TFFilCol::BGrabaTKClick()
{
    try {
        sales::filcol::saveTicketSpacing(*DM1->FilCol, boxValue(Edit26));
    } catch (const std::exception &failure) {
        if (DM1->FilCol->state() != vx::Dataset::State::Browse)
            DM1->FilCol->cancel();
        vx::ui::dialogs().showException(this, failure);
        return;
    }
    if (!sales::ticketheader::writeTo(QDir::currentPath(), memoLines(Memo1))) {
        vx::ui::dialogs().showMessage(QStringLiteral("No se pudo grabar el archivo MemTik.txt"));
        return;
    }
    vx::ui::dialogs().showMessage(QStringLiteral("Proceso Terminado."));
}

// The sheet is a ruler in the unit the ticket reads its positions in: tenths of a millimetre from
// the paper's top-left corner. Each label sits at its value, with a tick mark at the exact spot.
void TFFilCol::BImprimirClick()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    if (!vx::ui::dialogs().printDialog(this, &printer))
        return;
    bool ok = false;
    const int size = edit(23)->text().trimmed().toInt(&ok);
    QPainter painter;
    if (!painter.begin(&printer)) {
        vx::ui::dialogs().showMessage(QStringLiteral("No se pudo imprimir la hoja de escala."));
        return;
    }
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(ok && size > 0 ? size : 8);
    painter.setFont(font);
    const double dotsX = printer.logicalDpiX() / 254.0;
    const double dotsY = printer.logicalDpiY() / 254.0;
    const auto at = [&](int x, int y) { return QPointF(x * dotsX, y * dotsY); };
    const QSizeF paper = printer.pageLayout().fullRect(QPageLayout::Millimeter).size() * 10;
    painter.setPen(QPen(Qt::black, 0));
    // Down the page: rows, measured from the top edge.
    for (int y = 100; y <= paper.height() - 50; y += 100) {
        painter.drawLine(at(0, y), at(80, y));
        painter.drawText(at(100, y), QString::number(y));
    }
    // Across the page: columns, measured from the left edge, labels staggered so they never touch.
    for (int x = 200; x <= paper.width() - 100; x += 100) {
        painter.drawLine(at(x, 0), at(x, 30));
        painter.drawText(at(x, (x / 100) % 2 == 0 ? 50 : 150), QString::number(x));
    }
    painter.drawText(at(300, 300), QStringLiteral("Posiciones en décimas de milímetro desde el borde de la hoja"));
    painter.end();
}

void TFFilCol::BCerrarClick()
{
    accept();
}

void openFilCol(TFFilCol &window)
{
    vx::Table &filcol = *DM1->FilCol;
    try {
        filcol.open();
        window.loadInvoiceBoxes();
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(&window, failure);
        filcol.close();
        return;
    }
    window.loadMemo(vx::paths::userFolder());
    {
        const QSignalBlocker quiet(window.PageControl1);
        window.PageControl1->setCurrentWidget(window.TabSheet1);
    }
    vx::ui::dialogs().showModal(&window);
    if (!window.Memo1->toPlainText().isEmpty())
        sales::ticketheader::writeTo(vx::paths::userFolder(), memoLines(window.Memo1));
    if (filcol.state() != vx::Dataset::State::Browse)
        filcol.cancel();
    filcol.close();
}
