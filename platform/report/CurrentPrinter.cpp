#include "platform/report/CurrentPrinter.h"

#include "platform/report/ReportError.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace vx::report {

namespace {

PrinterFactory &installedFactory()
{
    static PrinterFactory factory;
    return factory;
}

} // namespace

std::unique_ptr<QPrinter> currentPrinter()
{
    if (installedFactory())
        return installedFactory()();
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull())
        throw ReportError(QStringLiteral("No hay una impresora predeterminada instalada."));
    return std::make_unique<QPrinter>(printer, QPrinter::HighResolution);
}

void setCurrentPrinterFactory(PrinterFactory factory)
{
    installedFactory() = std::move(factory);
}

PrinterFactory pdfPrinterFactory(const QString &path)
{
    return [path] {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(path);
        return printer;
    };
}

} // namespace vx::report
