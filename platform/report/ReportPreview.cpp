#include "platform/report/ReportPreview.h"

#include "platform/core/Paths.h"
#include "platform/report/PageRenderer.h"
#include "platform/report/ReportOutput.h"
#include "platform/ui/Dialogs.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

namespace vx::report {

namespace {

// The zoom choices: a factor of the paper's real size, or 0 and -1 for fitting the page's width
// or the whole page in the window.
constexpr double fitWidth = 0;
constexpr double fitPage = -1;
// Fitting a narrow roll ticket to the window's width would blow it up; this is as far as it goes.
constexpr double largestFit = 2.0;

QString previewCaption(const QString &title)
{
    return title.isEmpty() ? QStringLiteral("Vista Previa") : QStringLiteral("Vista Previa - %1").arg(title);
}

} // namespace

ReportPreview::ReportPreview(std::shared_ptr<const PreparedReport> report, QWidget *parent)
    : QDialog(parent), m_report(std::move(report))
{
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(previewCaption(m_report->title));
    buildWindow();
    resize(900, 720);
    showPage(0);
}

ReportPreview::~ReportPreview() = default;

QToolButton *ReportPreview::navigationButton(const char *name, const QString &text, const QString &tip)
{
    auto *button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setToolTip(tip);
    return button;
}

void ReportPreview::buildWindow()
{
    m_first = navigationButton("BPrimera", QStringLiteral("|<"), QStringLiteral("Primera página"));
    m_prior = navigationButton("BAnterior", QStringLiteral("<"), QStringLiteral("Página anterior"));
    m_next = navigationButton("BSiguiente", QStringLiteral(">"), QStringLiteral("Página siguiente"));
    m_last = navigationButton("BUltima", QStringLiteral(">|"), QStringLiteral("Última página"));
    m_pageLabel = new QLabel(this);
    m_pageLabel->setObjectName(QStringLiteral("LabPagina"));
    m_pageLabel->setMinimumWidth(110);
    m_pageLabel->setAlignment(Qt::AlignCenter);

    m_zoom = new QComboBox(this);
    m_zoom->setObjectName(QStringLiteral("CBZoom"));
    m_zoom->addItem(QStringLiteral("Página entera"), fitPage);
    m_zoom->addItem(QStringLiteral("Ancho de página"), fitWidth);
    for (const int percent : {50, 75, 100, 150, 200})
        m_zoom->addItem(QStringLiteral("%1 %").arg(percent), percent / 100.0);
    m_zoom->setCurrentIndex(1);

    m_print = new QPushButton(QStringLiteral("&Imprimir..."), this);
    m_print->setObjectName(QStringLiteral("BImprimir"));
    m_save = new QPushButton(QStringLiteral("&Guardar PDF..."), this);
    m_save->setObjectName(QStringLiteral("BGuardarPDF"));
    m_close = new QPushButton(QStringLiteral("&Cerrar"), this);
    m_close->setObjectName(QStringLiteral("BCerrar"));
    for (QPushButton *button : {m_print, m_save, m_close})
        button->setAutoDefault(false);

    auto *bar = new QHBoxLayout;
    bar->addWidget(m_first);
    bar->addWidget(m_prior);
    bar->addWidget(m_pageLabel);
    bar->addWidget(m_next);
    bar->addWidget(m_last);
    bar->addSpacing(12);
    bar->addWidget(new QLabel(QStringLiteral("Zoom:"), this));
    bar->addWidget(m_zoom);
    bar->addSpacing(12);
    bar->addWidget(m_print);
    bar->addWidget(m_save);
    bar->addStretch();
    bar->addWidget(m_close);

    m_sheet = new QLabel;
    m_sheet->setObjectName(QStringLiteral("LPagina"));
    m_scroll = new QScrollArea(this);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scroll->setWidget(m_sheet);
    m_scroll->viewport()->installEventFilter(this);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_scroll, 1);

    connect(m_first, &QToolButton::clicked, this, &ReportPreview::firstPage);
    connect(m_prior, &QToolButton::clicked, this, &ReportPreview::priorPage);
    connect(m_next, &QToolButton::clicked, this, &ReportPreview::nextPage);
    connect(m_last, &QToolButton::clicked, this, &ReportPreview::lastPage);
    connect(m_zoom, &QComboBox::currentIndexChanged, this, [this] { render(); });
    connect(m_print, &QPushButton::clicked, this, &ReportPreview::printPages);
    connect(m_save, &QPushButton::clicked, this, &ReportPreview::savePdf);
    connect(m_close, &QPushButton::clicked, this, &ReportPreview::accept);
}

double ReportPreview::pixelsPerMm() const
{
    const double actualSize = double(logicalDpiX()) / 25.4;
    const double choice = m_zoom->currentData().toDouble();
    if (choice > 0)
        return actualSize * choice;
    const QSizeF paper = m_report->page.paperSize();
    // Room inside the scroll area, less a small border around the sheet.
    const QSize room = m_scroll->viewport()->size() - QSize(24, 24);
    double fit = double(room.width()) / paper.width();
    if (choice == fitPage)
        fit = qMin(fit, double(room.height()) / paper.height());
    return qBound(actualSize * 0.1, fit, actualSize * largestFit);
}

void ReportPreview::showPage(int page)
{
    m_page = qBound(0, page, m_report->pageCount() - 1);
    const int count = m_report->pageCount();
    m_pageLabel->setText(QStringLiteral("Página %1 de %2").arg(m_page + 1).arg(count));
    m_first->setEnabled(m_page > 0);
    m_prior->setEnabled(m_page > 0);
    m_next->setEnabled(m_page < count - 1);
    m_last->setEnabled(m_page < count - 1);
    render();
    m_scroll->verticalScrollBar()->setValue(0);
}

void ReportPreview::render()
{
    const double scale = pixelsPerMm();
    const QSizeF paper = m_report->page.paperSize() * scale;
    m_image = QImage(paper.toSize().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    // Fonts keep their point sizes: the sheet's resolution is what scales them.
    const int dotsPerMeter = qRound(scale * 1000);
    m_image.setDotsPerMeterX(dotsPerMeter);
    m_image.setDotsPerMeterY(dotsPerMeter);
    m_image.fill(Qt::white);
    if (m_report->pageCount() > 0) {
        QPainter painter(&m_image);
        PageRenderer(*m_report, scale).render(painter, m_page);
    }
    m_sheet->setPixmap(QPixmap::fromImage(m_image));
    m_sheet->resize(m_image.size());
}

bool ReportPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_scroll->viewport() && event->type() == QEvent::Resize && m_zoom->currentData().toDouble() <= 0)
        render();
    return QDialog::eventFilter(watched, event);
}

void ReportPreview::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_PageDown:
        nextPage();
        break;
    case Qt::Key_PageUp:
        priorPage();
        break;
    case Qt::Key_Home:
        firstPage();
        break;
    case Qt::Key_End:
        lastPage();
        break;
    default:
        QDialog::keyPressEvent(event);
        return;
    }
    event->accept();
}

void ReportPreview::printPages()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(m_report->page.pageLayout());
    printer.setDocName(m_report->title);
    if (!ui::dialogs().printDialog(this, &printer))
        return;
    try {
        printReport(*m_report, printer);
    } catch (const std::exception &failure) {
        ui::dialogs().error(this, ui::failureText(failure), windowTitle());
    }
}

void ReportPreview::savePdf()
{
    ui::FileDialogOptions options;
    options.title = QStringLiteral("Guardar como PDF");
    options.defaultExtension = QStringLiteral("pdf");
    options.proposedName =
        (m_report->title.isEmpty() ? QStringLiteral("Informe") : m_report->title) + QStringLiteral(".pdf");
    options.filter = QStringLiteral("Documentos PDF (*.pdf)");
    options.folder = paths::userFolder();
    const QString path = ui::dialogs().saveFileName(this, options);
    if (path.isEmpty())
        return;
    try {
        writePdf(*m_report, path);
    } catch (const std::exception &failure) {
        ui::dialogs().error(this, ui::failureText(failure), windowTitle());
    }
}

} // namespace vx::report
