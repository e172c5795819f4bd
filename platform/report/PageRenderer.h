#pragma once

#include "platform/VxPlatformExport.h"
#include "platform/report/PreparedReport.h"

class QPainter;

namespace vx::report {

// Draws one prepared page on a painter whose device has `dotsPerMm` device pixels per
// millimetre and whose origin is the paper's top-left corner. Fonts keep their point sizes: the
// painter's device scales them.
class VXPLATFORM_EXPORT PageRenderer {
public:
    PageRenderer(const PreparedReport &report, double dotsPerMm);

    void render(QPainter &painter, int pageIndex) const;

private:
    QPointF toDevice(const QPointF &mm) const { return mm * m_scale; }
    QRectF toDevice(const QRectF &mm) const;

    const PreparedReport &m_report;
    double m_scale;
};

} // namespace vx::report
