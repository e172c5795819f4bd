#include "platform/report/ReportOutput.h"

#include "platform/report/PageRenderer.h"
#include "platform/report/ReportError.h"
#include "platform/report/ReportProgress.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace vx::report {

void renderPages(const PreparedReport &report, QPagedPaintDevice &device, int fromPage, int toPage)
{
    QPainter painter;
    if (!painter.begin(&device))
        throw ReportError(QStringLiteral("No se pudo comenzar la impresión de %1.").arg(report.title));
    const PageRenderer renderer(report, double(device.logicalDpiX()) / 25.4);
    ProgressReporter progress;
    for (int page = fromPage; page <= toPage; ++page) {
        progress.printed(page, report.pageCount());
        if (page > fromPage && !device.newPage())
            throw ReportError(QStringLiteral("No se pudo pasar a la página %1 de %2.").arg(page).arg(report.title));
        renderer.render(painter, page - 1);
    }
    if (!painter.end())
        throw ReportError(QStringLiteral("No se pudo terminar la impresión de %1.").arg(report.title));
}

void writePdf(const PreparedReport &report, const QString &path)
{
    QFile probe(path);
    if (!probe.open(QIODevice::WriteOnly))
        throw ReportError(QStringLiteral("No se pudo crear el archivo %1: %2")
                              .arg(QDir::toNativeSeparators(path), probe.errorString()));
    probe.close();
    QPdfWriter writer(path);
    writer.setCreator(QStringLiteral("Vendrix"));
    writer.setTitle(report.title);
    writer.setPageLayout(report.page.pageLayout());
    renderPages(report, writer, 1, report.pageCount());
}

void printReport(const PreparedReport &report, QPrinter &printer)
{
    printer.setFullPage(true);
    printer.setPageLayout(report.page.pageLayout());
    if (printer.docName().isEmpty())
        printer.setDocName(report.title);
    int from = 1;
    int to = report.pageCount();
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = qMax(from, printer.fromPage());
        to = qMin(to, printer.toPage() > 0 ? printer.toPage() : to);
    }
    if (from > to)
        return;
    renderPages(report, printer, from, to);
}

} // namespace vx::report
