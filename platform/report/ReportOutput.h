#pragma once

#include "platform/VxPlatformExport.h"
#include "platform/report/PreparedReport.h"

#include <QString>

class QPagedPaintDevice;
class QPrinter;

namespace vx::report {

// Draws pages `fromPage`..`toPage` (1-based, inclusive) on a paged device whose page layout was
// set to the report's, starting with the device's current page. Throws ReportError when the
// device cannot be painted on.
VXPLATFORM_EXPORT void renderPages(const PreparedReport &report, QPagedPaintDevice &device, int fromPage, int toPage);

// Writes every page to a PDF file; throws ReportError when the file cannot be written.
VXPLATFORM_EXPORT void writePdf(const PreparedReport &report, const QString &path);

// Sends the pages to a printer: the report's paper and a full-page origin are set on it, and
// the page range chosen in a print dialog is honoured. Throws ReportError when printing fails.
VXPLATFORM_EXPORT void printReport(const PreparedReport &report, QPrinter &printer);

} // namespace vx::report
