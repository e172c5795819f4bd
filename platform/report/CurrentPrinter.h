#pragma once

#include "platform/VxPlatformExport.h"

#include <QString>

#include <functional>
#include <memory>

class QPrinter;

namespace vx::report {

// The printer that Report::print() sends pages to without asking the operator: the system's
// default printer, unless a test or a headless run pointed it elsewhere (a PDF file).
using PrinterFactory = std::function<std::unique_ptr<QPrinter>()>;

// A high-resolution printer on the default printer, or the one the installed factory makes.
// Throws ReportError when there is no printer to print on.
VXPLATFORM_EXPORT std::unique_ptr<QPrinter> currentPrinter();
// Installs a factory; an empty one restores the system's default printer.
VXPLATFORM_EXPORT void setCurrentPrinterFactory(PrinterFactory factory);
// A factory whose printers write the PDF file at `path`.
VXPLATFORM_EXPORT PrinterFactory pdfPrinterFactory(const QString &path);

} // namespace vx::report
